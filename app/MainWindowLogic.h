#pragma once

#include <QString>
#include <array>

class SettingsStore;

// What the main window's status bar and unit flags show, read from the settings.
struct StatusBarInfo
{
    float SpeedCorrect = 1.0f;
    std::array<QString, 4> panels; // speed correction, port - speed, speed unit, temperature unit
    bool mph = false;
    bool fahr = false;
    bool OBDIImodel = false;
    bool autoConnect = false;
};

StatusBarInfo readStatusBar(const SettingsStore &store);

// The activity bar climbs 0, 5, ..., 100 and restarts at 0, one step per handled chunk.
qint16 nextProgStep(qint16 ProgStep);

// The feature buttons of the main window, in the order of their function keys.
enum class Feature {
    DataDisplay,
    DataLogging,
    SelfDiagnostics,
    SpeedTrial,
    Dashboard,
    DataReplay,
    LogAnalyzer,
    ActiveTest,
    RomData,
    AddressWatch,
    MapTrace,
};

struct FeatureButton
{
    Feature feature;
    const char *caption; // as designed, runs of spaces included
    const char *buttonName;
    const char *menuCaption;
    const char *menuName;
    const char *shortcut;
    bool advanced; // in the "Advance Functions" frame
    int row;
    int column;
    bool needsEcu; // enabled by the identification reply
};

const std::array<FeatureButton, 11> &featureButtons();

// Pixels for a length in twips (1/1440 inch) at the screen's logical dpi.
int twipsToPixels(int twips, double logicalDpi);
