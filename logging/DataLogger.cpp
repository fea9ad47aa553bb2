#include "logging/DataLogger.h"

#include "app/ProgramState.h"
#include "config/SettingsStore.h"
#include "link/Clock.h"

#include <QDir>

namespace {
const QString kSection = QStringLiteral("DataLog");

QString paramKey(int i)
{
    return QStringLiteral("Param%1").arg(i);
}

QString regKey(int i)
{
    return QStringLiteral("Reg%1").arg(i);
}

bool isTicked(const SettingsStore &store, const QString &key)
{
    return store.get(kSection, key).trimmed() == QLatin1String("1");
}
} // namespace

LogChoices loadLogChoices(SettingsStore &store, const ProgramState &state)
{
    if (store.get(kSection, QStringLiteral("Path")).isEmpty())
        store.save(kSection, QStringLiteral("Path"), QDir::currentPath() + QLatin1Char('/'));
    if (store.get(kSection, paramKey(0)).isEmpty()) {
        for (int i = 0; i < kCatalogueSize; ++i)
            store.save(kSection, paramKey(i), QStringLiteral("1"));
        for (int i = 0; i < kIndicatorCount; ++i)
            store.save(kSection, regKey(i), QStringLiteral("1"));
    }

    LogChoices choices;
    choices.directory = store.get(kSection, QStringLiteral("Path"));
    if (!choices.directory.endsWith(QLatin1Char('/')))
        choices.directory += QLatin1Char('/');
    for (int g = 0; g < kGaugeCount; ++g) {
        const int k = state.GaugeSel[g];
        choices.offered.parameters[k] = true;
        choices.ticked.parameters[k] = isTicked(store, paramKey(k));
    }
    for (int i = 0; i < kIndicatorCount; ++i) {
        if (state.GaugeSel[LogFormat::indicatorRegisterFlag(i)] != 1)
            continue;
        choices.offered.indicators[i] = true;
        choices.ticked.indicators[i] = isTicked(store, regKey(i));
    }
    return choices;
}

void saveLogChoices(SettingsStore &store, const LogFormat::Selection &ticked)
{
    for (int i = 0; i < kCatalogueSize; ++i)
        store.save(kSection, paramKey(i), ticked.parameters[i] ? "1" : "0");
    for (int i = 0; i < kIndicatorCount; ++i)
        store.save(kSection, regKey(i), ticked.indicators[i] ? "1" : "0");
}

QPoint checkBoxCell(int code)
{
    constexpr int kRows = 7;
    constexpr int kEgr = LogFormat::kParameterColumns + 11;
    constexpr int kVct = LogFormat::kParameterColumns + 8;
    if (code == kEgr)
        return QPoint(checkBoxCell(kVct).x() + 1, checkBoxCell(kVct).y());
    return QPoint(code / kRows, code % kRows); // (column, row)
}

QString dateStampName(const QDateTime &now)
{
    const QDate d = now.date();
    const QTime t = now.time();
    return QString::number(d.year()) + QString::number(d.month()) + QString::number(d.day()) +
           QString::number(t.hour()) + QString::number(t.minute());
}

DataLogger::DataLogger(const Clock &clock) : m_clock(clock), m_file(clock) {}

QString DataLogger::start(const QString &path, const LogFormat::Selection &selection,
                          const GaugeCatalogue &catalogue)
{
    stop();
    if (!m_file.open(path)) {
        return QStringLiteral("The log file %1 could not be created: %2.")
            .arg(QDir::toNativeSeparators(path), m_file.errorString());
    }
    m_selection = selection;
    if (!m_file.writeLine(LogFormat::header(selection, catalogue))) {
        return QStringLiteral("The log file %1 could not be written: %2.")
            .arg(QDir::toNativeSeparators(path), m_file.errorString());
    }
    m_startTick = m_clock.tickCount();
    return QString();
}

QString DataLogger::saveLogData(const ProgramState &state)
{
    if (!isLogging())
        return QString();
    // Unsigned subtraction counts across one wrap of the tick counter.
    const quint32 elapsed = m_clock.tickCount() - m_startTick;
    if (m_file.writeLine(LogFormat::record(m_selection, state, elapsed)))
        return QString();
    return QStringLiteral("Logging stopped: the log file %1 could not be written (%2). The "
                          "records written before are kept.")
        .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString());
}

QString DataLogger::stop()
{
    if (!isLogging())
        return QString();
    const QString path = m_file.fileName();
    if (m_file.close())
        return QString();
    return QStringLiteral("The end of the log file %1 could not be saved: %2.")
        .arg(QDir::toNativeSeparators(path), m_file.errorString());
}
