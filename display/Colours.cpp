#include "display/Colours.h"

#include "config/SettingsStore.h"

#include <array>

namespace {

struct SystemRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    bool known;
};

// Windows system colour numbers (COLOR_SCROLLBAR = 0 ... COLOR_MENUBAR = 30) and the palette
// role that plays the same part in Qt's widgets.
constexpr SystemRole kNone{QPalette::Active, QPalette::NoRole, false};
constexpr std::array<SystemRole, 31> kSystemRoles{{
    {QPalette::Active, QPalette::Button, true},            // 0 scroll bar
    kNone,                                                 // 1 desktop
    {QPalette::Active, QPalette::Highlight, true},         // 2 active caption
    {QPalette::Inactive, QPalette::Highlight, true},       // 3 inactive caption
    {QPalette::Active, QPalette::Window, true},            // 4 menu
    {QPalette::Active, QPalette::Base, true},              // 5 window
    {QPalette::Active, QPalette::Shadow, true},            // 6 window frame
    {QPalette::Active, QPalette::WindowText, true},        // 7 menu text
    {QPalette::Active, QPalette::Text, true},              // 8 window text
    {QPalette::Active, QPalette::HighlightedText, true},   // 9 caption text
    {QPalette::Active, QPalette::Button, true},            // 10 active border
    {QPalette::Inactive, QPalette::Button, true},          // 11 inactive border
    {QPalette::Active, QPalette::Dark, true},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight, true},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText, true},   // 14 highlight text
    {QPalette::Active, QPalette::Button, true},            // 15 button face
    {QPalette::Active, QPalette::Dark, true},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text, true},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText, true},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText, true}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light, true},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow, true},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight, true},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText, true},       // 23 info text
    {QPalette::Active, QPalette::ToolTipBase, true},       // 24 info background
    kNone,                                                 // 25 unused by the system
    {QPalette::Active, QPalette::Link, true},              // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight, true},         // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight, true},       // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight, true},         // 29 menu highlight
    {QPalette::Active, QPalette::Window, true},            // 30 menu bar
}};

} // namespace

namespace Colours {

std::optional<QColor> systemColour(int index, const QPalette &palette)
{
    if (index < 0 || index >= int(kSystemRoles.size()) || !kSystemRoles[index].known)
        return std::nullopt;
    return palette.color(kSystemRoles[index].group, kSystemRoles[index].role);
}

std::optional<QColor> toQColor(const ColourValue &value, const QPalette &palette)
{
    if (value.isSystem())
        return systemColour(value.systemIndex(), palette);
    return QColor(value.red(), value.green(), value.blue());
}

std::optional<QColor> fromText(const QString &text, const QPalette &palette)
{
    const std::optional<ColourValue> value = ColourValue::fromText(text);
    if (!value)
        return std::nullopt;
    return toQColor(*value, palette);
}

std::optional<QColor> read(const SettingsStore &store, const QString &section, const QString &key,
                           const QPalette &palette)
{
    return fromText(store.get(section, key), palette);
}

ColourValue fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return ColourValue::rgb(quint8(rgb.red()), quint8(rgb.green()), quint8(rgb.blue()));
}

} // namespace Colours
