#pragma once

#include <QString>
#include <vector>

class SettingsStore;

struct SettingDefault
{
    const char *section;
    const char *key;
    const char *text; // as start-up writes it
};

// Every key that start-up repairs, in the order it visits them.
const std::vector<SettingDefault> &startupDefaults();

// The default text of a key (start-up keys and the data-logging keys); empty when it has none.
QString defaultSetting(const QString &section, const QString &key);

// The start-up pass: each key that reads exactly empty gets its default. Any other text, valid or
// not, is left alone.
void applyStartupDefaults(SettingsStore &store);
