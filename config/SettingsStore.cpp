#include "config/SettingsStore.h"

#include <QSettings>
#include <QStringList>

namespace {
const char *const kApplication = "Orvantis";

QString keyPath(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QString::fromLatin1(kApplication),
                                             QString::fromLatin1(kApplication)))
{}

QSettingsStore::QSettingsStore(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{}

QSettingsStore::~QSettingsStore()
{
    m_settings->sync();
}

QString QSettingsStore::get(const QString &section, const QString &key) const
{
    const QVariant value = m_settings->value(keyPath(section, key));
    // A hand-edited INI value with a comma in it comes back as a list; give the text back as typed.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void QSettingsStore::save(const QString &section, const QString &key, const QString &text)
{
    m_settings->setValue(keyPath(section, key), text);
    // Settings are written rarely (a dialog's save button); make each one durable at once.
    m_settings->sync();
}

QString QSettingsStore::location() const
{
    return m_settings->fileName();
}

QString MemorySettingsStore::get(const QString &section, const QString &key) const
{
    return m_values.value(qMakePair(section, key));
}

void MemorySettingsStore::save(const QString &section, const QString &key, const QString &text)
{
    m_values.insert(qMakePair(section, key), text);
    ++m_writes;
}

void MemorySettingsStore::remove(const QString &section, const QString &key)
{
    m_values.remove(qMakePair(section, key));
}
