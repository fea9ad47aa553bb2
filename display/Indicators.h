#pragma once

#include <QString>
#include <optional>

constexpr int kIndicators = 12;

// The twelve on/off indicators of the live windows.
namespace Indicators {

// The switch name as the Data Display shows it (" - Closed TPS" ...).
QString registerCaption(int i);
// The state text shown before the stream sets one: "Off", or "Rich" for the A/F ratio.
QString designText(int i);
// The GaugeSel entry (12..15) whose register carries indicator i.
int registerFlag(int i);
// Background colour (0x00BBGGRR) for a state text; none for a text that is not a state.
std::optional<quint32> stateColour(const QString &text);

} // namespace Indicators
