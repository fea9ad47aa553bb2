#pragma once

#include "display/ColourValue.h"

#include <QList>
#include <array>

class SettingsStore;

constexpr int kDisplayColourCount = 11;

// One colour of the gauge windows: the caption beside its swatch and its "Display" key.
struct DisplayColourRow
{
    const char *caption;
    const char *key;
    bool general; // in the "General Colors" frame rather than "Gauge Colours"
};

// Rows 0 to 10 in swatch order.
const std::array<DisplayColourRow, kDisplayColourCount> &displayColourRows();

// The eleven stored colours, as stored: system colours stay system colour numbers. A text that is
// not a colour number (edited by hand) reads as that key's default colour.
QList<ColourValue> loadDisplayColours(const SettingsStore &store);

// Writes each colour's decimal text to its key, rows 0 to 10.
void saveDisplayColours(SettingsStore &store, const QList<ColourValue> &colours);
