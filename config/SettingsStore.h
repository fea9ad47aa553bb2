#pragma once

#include <QMap>
#include <QPair>
#include <QString>
#include <memory>

class QSettings;

// The per-user store of every persistent choice, addressed by section and key under the
// application "Orvantis". Values are text; an absent key reads as the empty string.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString get(const QString &section, const QString &key) const = 0;
    virtual void save(const QString &section, const QString &key, const QString &text) = 0;
};

// The native per-user store (an INI file under ~/.config/Orvantis on Linux).
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore();
    // A store in a given file, for throwaway settings (the demo run) and tests.
    explicit QSettingsStore(const QString &iniFile);
    ~QSettingsStore() override;

    QString get(const QString &section, const QString &key) const override;
    void save(const QString &section, const QString &key, const QString &text) override;
    QString location() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

// An in-memory store for tests; it also counts writes so a test can tell what start-up wrote.
class MemorySettingsStore : public SettingsStore
{
public:
    QString get(const QString &section, const QString &key) const override;
    void save(const QString &section, const QString &key, const QString &text) override;

    void remove(const QString &section, const QString &key);
    int size() const { return m_values.size(); }
    int writeCount() const { return m_writes; }

private:
    QMap<QPair<QString, QString>, QString> m_values;
    int m_writes = 0;
};
