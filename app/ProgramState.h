#pragma once

#include "config/Catalogue.h"

#include <QString>
#include <array>

constexpr int kIndicatorCount = 12;

// The program-wide state every window shares. One instance lives for the whole run; it is passed
// to whatever reads or writes it.
struct ProgramState
{
    // Latest decoded value of each catalogue parameter, in display units.
    std::array<float, kCatalogueSize> LiveValues{};
    // Text of each on/off indicator ("On", "Off", "High", "Low", "Lean", "Rich"), empty until
    // its register has been decoded once.
    std::array<QString, kIndicatorCount> FlagText;

    GaugeCatalogue Gauges;
    // Catalogue index of each data-display gauge, then the four optional-register flags.
    std::array<quint8, kGaugeCount + kOptionalRegisterCount> GaugeSel{};
    std::array<quint8, 2> DashSel{};
    quint8 FrameLen = 0;
    quint8 DashFrameLen = 0;

    // Units and ECU variant, as the main window's status-bar routine last read them.
    bool mph = false;
    bool fahr = false;
    bool OBDIImodel = false;
    float SpeedCorrect = 1.0f;
};
