#pragma once

#include "display/ColourValue.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <optional>

class SettingsStore;

// Stored colours as QColors. System colours (0x800000nn) take the palette colour of the matching
// role, so "button face" follows the desktop theme as it would on the system the numbers come from.
namespace Colours {

// The palette colour standing for system colour number `index`; none for numbers that have no
// counterpart (1, the desktop, and anything past 30).
std::optional<QColor> systemColour(int index, const QPalette &palette);

std::optional<QColor> toQColor(const ColourValue &value, const QPalette &palette);

// A stored text to a colour; none when the text is not a colour number.
std::optional<QColor> fromText(const QString &text, const QPalette &palette);

// The colour kept under section/key; none when the key is missing or does not hold a colour.
std::optional<QColor> read(const SettingsStore &store, const QString &section, const QString &key,
                           const QPalette &palette);

// The number to store for a colour chosen by the user (always an RGB value).
ColourValue fromQColor(const QColor &colour);

} // namespace Colours
