#include "display/Indicators.h"

#include <array>

namespace {
struct IndicatorRow
{
    const char *caption;
    int flag;
};

const std::array<IndicatorRow, kIndicators> kRows = {{
    {" - Closed TPS", 12},
    {" - Power Steering", 12},
    {" - Air Con sw", 12},
    {" - Start Signal", 12},
    {" - Neutral", 12},
    {" - Air Con rly", 13},
    {" - Fuel Pump", 13},
    {" - Thermo Fan", 13},
    {" - VCT", 13},
    {" - Waste Gate sol", 14},
    {" - A/F ratio", 15},
    {" - EGR sol", 14},
}};

constexpr quint32 kGreen = 65280;
constexpr quint32 kRed = 255;
constexpr quint32 kOrange = 33023;
} // namespace

namespace Indicators {

QString registerCaption(int i)
{
    return QString::fromLatin1(kRows.at(i).caption);
}

QString designText(int i)
{
    return i == 10 ? QStringLiteral("Rich") : QStringLiteral("Off");
}

int registerFlag(int i)
{
    return kRows.at(i).flag;
}

std::optional<quint32> stateColour(const QString &text)
{
    if (text == QLatin1String("Off") || text == QLatin1String("Rich"))
        return kGreen;
    if (text == QLatin1String("On") || text == QLatin1String("High") ||
        text == QLatin1String("Lean"))
        return kRed;
    if (text == QLatin1String("Low"))
        return kOrange;
    return std::nullopt;
}

} // namespace Indicators
