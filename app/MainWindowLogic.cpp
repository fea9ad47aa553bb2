#include "app/MainWindowLogic.h"

#include "app/Numbers.h"
#include "config/SettingsReaders.h"
#include "config/SettingsStore.h"

#include <cmath>

StatusBarInfo readStatusBar(const SettingsStore &store)
{
    using namespace SettingsReaders;
    const QString comms = QStringLiteral("Comms");
    const QString preferences = QStringLiteral("Preferences");
    StatusBarInfo info;
    info.SpeedCorrect = single(store, QStringLiteral("TyreSize"), QStringLiteral("Correction"));
    info.panels[0] = QStringLiteral("Spd Corr: ") + Numbers::singleToText(info.SpeedCorrect);
    info.panels[1] = store.get(comms, QStringLiteral("ComPort")) + QStringLiteral(" - ") +
                     store.get(comms, QStringLiteral("Speed"));
    info.mph = nonZero(store, preferences, QStringLiteral("Speed"));
    info.panels[2] = info.mph ? QStringLiteral("MPH") : QStringLiteral("KPH");
    info.fahr = nonZero(store, preferences, QStringLiteral("Temperature"));
    info.panels[3] = info.fahr ? QStringLiteral("Fahrenheit") : QStringLiteral("Celsius");
    info.OBDIImodel = nonZero(store, comms, QStringLiteral("OBDIImodel"));
    info.autoConnect = exactlyOne(store, comms, QStringLiteral("AutoConnect"));
    return info;
}

qint16 nextProgStep(qint16 ProgStep)
{
    const qint16 next = static_cast<qint16>(ProgStep + 5);
    return next > 100 ? 0 : next;
}

const std::array<FeatureButton, 11> &featureButtons()
{
    static const std::array<FeatureButton, 11> table = {{
        {Feature::DataDisplay, "Data Display     F1", "btnDataDisplay", "Data Display",
         "mnuDataDisplay", "F1", false, 0, 0, true},
        {Feature::DataLogging, "Data Logging    F2", "btnDataLogging", "DataLogging",
         "mnuDataLogging", "F2", false, 0, 1, true},
        {Feature::SelfDiagnostics, "Self Diagnostics F3", "btnSelfDiag", "Self Diagnostics",
         "mnuSelfDiagnostics", "F3", false, 0, 2, true},
        {Feature::SpeedTrial, "Speed Trial F4", "btnSpeedTrial", "Speed Trial", "mnuSpeedTrial",
         "F4", false, 0, 3, true},
        {Feature::Dashboard, "Dashboard F5", "btnDashBoard", "Dashboard", "mnuDashboard", "F5",
         false, 1, 0, true},
        {Feature::DataReplay, "Data Replay F6", "btnDataReplay", "Replay Data", "mnuReplayData",
         "F6", false, 1, 1, false},
        {Feature::LogAnalyzer, "Log Analyser F7", "btnLogAnalyzer", "Log Analyzer",
         "mnuLogAnalyzer", "F7", false, 1, 2, false},
        {Feature::ActiveTest, "Active Test F8", "btnActiveTest", "Active Test", "mnuActiveTest",
         "F8", true, 0, 0, true},
        {Feature::RomData, "Rom Data F9", "btnRomData", "Rom Data", "mnuRomData", "F9", true, 0, 1,
         true},
        {Feature::AddressWatch, "Address Watch F11", "btnAdrWatch", "Address Watch",
         "mnuAddressWatch", "F11", true, 1, 0, true},
        {Feature::MapTrace, "Map Trace F12", "btnMapTrace", "Map Trace", "mnuMapTrace", "F12", true,
         1, 1, true},
    }};
    return table;
}

int twipsToPixels(int twips, double logicalDpi)
{
    return static_cast<int>(Numbers::roundHalfEven(twips * logicalDpi / 1440.0));
}
