#include "config/SettingsDefaults.h"

#include "config/SettingsStore.h"

const std::vector<SettingDefault> &startupDefaults()
{
    static const std::vector<SettingDefault> table = {
        // The twelve data-display gauges and the optional on/off registers.
        {"Setup", "Gauge0", "0"},
        {"Setup", "Gauge1", "6"},
        {"Setup", "Gauge2", "3"},
        {"Setup", "Gauge3", "7"},
        {"Setup", "Gauge4", "13"},
        {"Setup", "Gauge5", "12"},
        {"Setup", "Gauge6", "20"},
        {"Setup", "Gauge7", "15"},
        {"Setup", "Gauge8", "8"},
        {"Setup", "Gauge9", "1"},
        {"Setup", "Gauge10", "4"},
        {"Setup", "Gauge11", "14"},
        {"Setup", "Register13", "1"},
        {"Setup", "Register1E", "1"},
        {"Setup", "Register1F", "1"},
        {"Setup", "Register21", "1"},
        // Serial link and ECU identity.
        {"Comms", "ComPort", "1"},
        {"Comms", "Speed", "9600"},
        {"Comms", "RomComm", "C9"},
        {"Comms", "ECUid", "EF"},
        {"Comms", "OBDIImodel", "0"},
        {"Comms", "AutoConnect", "0"},
        // Units.
        {"Preferences", "Speed", "0"},
        {"Preferences", "Temperature", "0"},
        // Gauge colours, 0x00BBGGRR as signed decimal; negative values name system colours.
        {"Display", "GaugeBack", "0"},
        {"Display", "GaugeDigits", "16777215"},
        {"Display", "GaugeMax", "65280"},
        {"Display", "GaugeValue", "65280"},
        {"Display", "GaugeName", "16776960"},
        {"Display", "GaugeNeedle", "255"},
        {"Display", "GaugeCircle", "16711680"},
        {"Display", "GaugeTicker", "65280"},
        {"Display", "GaugeSubTicker", "65280"},
        {"Display", "GaugeWindow", "-2147483633"},
        {"Display", "GaugeRegister", "-2147483630"},
        // Memory tools.
        {"RomData", "StartAddress", "0000"},
        {"RomData", "StopAddress", "7FFF"},
        {"AdrWatch", "Address1", "0000"},
        {"AdrWatch", "Address2", "0001"},
        {"AdrWatch", "Address3", "0002"},
        {"MapTrace", "TPmsbAddress", "F777"},
        {"MapTrace", "RPMmsbAddress", "F70C"},
        {"MapTrace", "RPMlsbAddress", "F70D"},
        {"MapTrace", "MapAddress", "7400"},
        {"MapTrace", "TPscaleAddress", "7AF0"},
        {"MapTrace", "RPMscaleAddress", "7B00"},
        // Tyre sizes and the speed correction they give.
        {"TyreSize", "Swidth", "205"},
        {"TyreSize", "Shight", "55"},
        {"TyreSize", "Ssize", "16"},
        {"TyreSize", "Uwidth", "205"},
        {"TyreSize", "Uhight", "55"},
        {"TyreSize", "Usize", "16"},
        {"TyreSize", "Correction", "1"},
        // Dashboard gauges and alert thresholds.
        {"Dashboard", "Gauge0", "0"},
        {"Dashboard", "Gauge1", "6"},
        {"Dashboard", "RPM", "6000"},
        {"Dashboard", "Speed", "110"},
    };
    return table;
}

QString defaultSetting(const QString &section, const QString &key)
{
    for (const SettingDefault &d : startupDefaults()) {
        if (section == QLatin1String(d.section) && key == QLatin1String(d.key))
            return QString::fromLatin1(d.text);
    }
    // The data-logging choices are written by the logger window on its first opening.
    if (section == QLatin1String("DataLog") &&
        (key.startsWith(QLatin1String("Param")) || key.startsWith(QLatin1String("Reg"))))
        return QStringLiteral("1");
    return QString();
}

void applyStartupDefaults(SettingsStore &store)
{
    for (const SettingDefault &d : startupDefaults()) {
        const QString section = QString::fromLatin1(d.section);
        const QString key = QString::fromLatin1(d.key);
        if (store.get(section, key).isEmpty())
            store.save(section, key, QString::fromLatin1(d.text));
    }
}
