#pragma once

#include <QString>
#include <optional>

class SettingsStore;

// One tyre as typed: width in mm ("###"), aspect ratio in per cent ("##"), rim in inches ("##").
struct TyreSizeText
{
    QString width;
    QString aspect;
    QString rim;
};

// What the preferences dialog edits.
struct PreferenceValues
{
    int speedUnit = 0;       // 0 KPH, 1 MPH
    int temperatureUnit = 0; // 0 Celsius, 1 Fahrenheit
    TyreSizeText oem;        // the tyre the ECU was built for
    TyreSizeText current;    // the tyre fitted now
};

// The stored preferences. Units read as the main window reads them (any non-zero number is the
// second unit); the tyre boxes get the stored texts as they are.
PreferenceValues loadPreferences(const SettingsStore &store);

// Exactly `count` decimal digits 0-9, nothing else.
bool hasDigits(const QString &text, int count);

// Rolling circumference in centimetres: two sidewalls of W/10 cm at H per cent plus the rim
// converted from inches, with pi as 3.1415.
double tyreCircumference(double width, double aspect, double rim);

// Current circumference over OEM circumference, in single precision, rounded to two decimals
// (halves to even). None when a size is malformed, or when a tyre has no size at all (000/00 R00)
// or the ratio rounds to 0: every speed would read zero or infinite.
std::optional<float> speedCorrection(const TyreSizeText &oem, const TyreSizeText &current);

// "Invalid tyre size" when the values may not be saved, otherwise an empty text.
QString preferencesValidationMessage(const PreferenceValues &values);

// Writes the correction, the six tyre texts and the two units, in that order. Values that do not
// pass the validation are not saved at all (false).
bool savePreferences(SettingsStore &store, const PreferenceValues &values);
