#include "config/Catalogue.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "logging/LogFile.h"
#include "logging/LogFormat.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestRegistry.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

ProgramState defaultState(bool fahr = false)
{
    MemorySettingsStore store;
    applyStartupDefaults(store);
    ProgramState state;
    state.fahr = fahr;
    getSetup(state, store);
    return state;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Lowers the file-size limit of this process for the scope, as a full disk would stop writes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int);
};

} // namespace

class TestLogFormat : public QObject
{
    Q_OBJECT
private slots:
    void headerIsInCatalogueOrder();
    void nothingTicked();
    void timeStamps_data();
    void timeStamps();
    void valuesUseTheLocaleAndReadBackEitherWay();
    void columnNamesAndScaleSets();
    void fileKeepsWholeRecordsWhenTheDiskFills();
    void unwritablePlacesAreReported_data();
    void unwritablePlacesAreReported();
    void openingAgainReplacesTheFile();
};

void TestLogFormat::headerIsInCatalogueOrder()
{
    ProgramState state = defaultState();
    LogFormat::Selection selection;
    for (int g = 0; g < 12; ++g)
        selection.parameters[state.GaugeSel[g]] = true;
    for (int i = 0; i < 5; ++i)
        selection.indicators[i] = true; // register 0x13
    QCOMPARE(LogFormat::header(selection, state.Gauges),
             QString("Time, RPM, Air Flow, Water Temp C, O2 Sensor, Speed kph, Battery, Throttle, "
                     "Injector, Timing, AAC, A/F Base, Duty Cycle, Closed TPS, Power Steering, "
                     "Air Con sw, Start Signal, Neutral"));

    state.LiveValues[0] = 2450.0f;
    state.LiveValues[7] = 13.8f;
    state.LiveValues[1] = 0.25f;
    state.FlagText[0] = "On";
    const QString line = LogFormat::record(selection, state, 12345);
    QVERIFY2(line.startsWith("012.345, 2450, 0.25, 0, 0, 0, 13.8, 0, 0, 0, 0, 0, 0, On, , , , "),
             qPrintable(line));
    QCOMPARE(LogFormat::fields(line).size(),
             LogFormat::fields(LogFormat::header(selection, state.Gauges)).size());

    const ProgramState fahrenheit = defaultState(true);
    QVERIFY(LogFormat::header(selection, fahrenheit.Gauges).contains(", Water Temp F, "));
}

void TestLogFormat::nothingTicked()
{
    const ProgramState state = defaultState();
    const LogFormat::Selection none;
    QCOMPARE(LogFormat::header(none, state.Gauges), QString("Time"));
    QCOMPARE(LogFormat::record(none, state, 5123), QString("005.123"));
}

void TestLogFormat::timeStamps_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << "000.000";
    QTest::newRow("999 ms") << qint64(999) << "000.999";
    QTest::newRow("1000 ms") << qint64(1000) << "001.000";
    QTest::newRow("5123 ms") << qint64(5123) << "005.123";
    QTest::newRow("1234567 ms") << qint64(1234567) << "1234.567";
    QTest::newRow("100000 s") << qint64(100000000) << "100000.000";
}

void TestLogFormat::timeStamps()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(LogFormat::timeStamp(ms), text);
}

void TestLogFormat::valuesUseTheLocaleAndReadBackEitherWay()
{
    QCOMPARE(LogFormat::valueText(13.8f), QString("13.8"));
    QCOMPARE(LogFormat::valueText(40000.0f), QString("40000"));
    QCOMPARE(LogFormat::valueText(-10.0f), QString("-10"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString german = LogFormat::valueText(13.8f);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(german, QString("13,8"));
    QCOMPARE(LogFormat::parseValue("13,8").value_or(0), 13.8f);
    QCOMPARE(LogFormat::parseValue("13.8").value_or(0), 13.8f);
    QCOMPARE(LogFormat::parseValue("2450").value_or(0), 2450.0f);
    QVERIFY(!LogFormat::parseValue("On").has_value());
    QCOMPARE(LogFormat::fields("001.000, 13,8, On\r\n"), (QStringList{"001.000", "13,8", "On"}));
}

void TestLogFormat::columnNamesAndScaleSets()
{
    QCOMPARE(LogFormat::columnCode("RPM"), 0);
    QCOMPARE(LogFormat::columnCode("Water Temp F"), 3);
    QCOMPARE(LogFormat::columnCode("Water Temp C"), 3);
    QCOMPARE(LogFormat::columnCode("Oxygen"), 4);
    QCOMPARE(LogFormat::columnCode("Oxygen RH"), 5);
    QCOMPARE(LogFormat::columnCode("Speed mph"), 6);
    QCOMPARE(LogFormat::columnCode("Closed TPS"), 24);
    QCOMPARE(LogFormat::columnCode("EGR sol"), 35);
    QCOMPARE(LogFormat::columnCode("rpm"), -1);
    QCOMPARE(LogFormat::columnCode("Time"), -1);
    QCOMPARE(LogFormat::checkBoxCaption(3), QString("Water Temp"));
    QCOMPARE(LogFormat::checkBoxCaption(34), QString("A/F ratio"));
    QCOMPARE(LogFormat::indicatorRegisterFlag(11), 14);

    // The scale sets equal the catalogue's own values for that unit.
    for (bool fahr : {false, true}) {
        ProgramState state = defaultState(fahr);
        for (int k : {3, 9, 10}) {
            const GaugeInfo &g = state.Gauges[k];
            const auto set = LogFormat::scaleSetFor(g.name());
            QVERIFY2(set.has_value(), qPrintable(g.name()));
            QCOMPARE(set->minVal, g.minVal());
            QCOMPARE(set->maxVal, g.maxVal());
            QCOMPARE(set->tickerNum, g.tickerNum());
            QCOMPARE(set->subTickerNum, g.subTickerNum());
            QCOMPARE(set->decPointNum, g.decPointNum());
        }
    }
    QCOMPARE(LogFormat::scaleSetFor("Speed mph")->maxVal, 150);
    QCOMPARE(LogFormat::scaleSetFor("Speed kph")->maxVal, 240);
    QVERIFY(!LogFormat::scaleSetFor("RPM").has_value());
}

void TestLogFormat::fileKeepsWholeRecordsWhenTheDiskFills()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("full.log");
    FakeClock clock;
    LogFile file(clock);
    QVERIFY(file.open(path));
    int written = 0;
    {
        FileSizeLimit limit(100);
        while (written < 50 &&
               file.writeLine(QString("%1.000, 1234.5, On").arg(written, 3, 10, QChar('0'))))
            ++written;
    }
    QVERIFY(written > 0 && written < 50);
    QVERIFY(!file.isOpen());
    QVERIFY2(!file.errorString().isEmpty(), "the failure must be reported");
    const QByteArray content = readAll(path);
    QVERIFY(content.endsWith("\r\n"));
    QCOMPARE(content.count("\r\n"), written);
    QVERIFY(!file.close()); // the failure is not forgotten at close
}

void TestLogFormat::unwritablePlacesAreReported_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("opens");
    QTest::newRow("missing folder") << "/nonexistent-folder/x.log" << false;
    QTest::newRow("a folder, not a file") << "/tmp" << false;
    if (QFile::exists("/dev/full"))
        QTest::newRow("full device") << "/dev/full" << true;
}

void TestLogFormat::unwritablePlacesAreReported()
{
    QFETCH(QString, path);
    QFETCH(bool, opens);
    FakeClock clock;
    LogFile file(clock);
    QCOMPARE(file.open(path), opens);
    if (opens) {
        QVERIFY(!file.writeLine("Time, RPM"));
        QVERIFY(!file.isOpen());
    }
    QVERIFY(!file.errorString().isEmpty());
}

void TestLogFormat::openingAgainReplacesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run.log");
    FakeClock clock;
    LogFile file(clock);
    QVERIFY(file.open(path));
    QVERIFY(file.writeLine("Time, RPM"));
    QVERIFY(file.writeLine("000.100, 800"));
    clock.advance(1500); // a sync is due at the next line
    QVERIFY(file.writeLine("001.600, 900"));
    QVERIFY(file.close());
    QCOMPARE(readAll(path), QByteArray("Time, RPM\r\n000.100, 800\r\n001.600, 900\r\n"));
    QVERIFY(file.open(path));
    QVERIFY(file.writeLine("Time"));
    QVERIFY(file.close());
    QCOMPARE(readAll(path), QByteArray("Time\r\n"));
}

ORVANTIS_TEST(TestLogFormat)
#include "tst_logformat.moc"
