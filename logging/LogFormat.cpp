#include "logging/LogFormat.h"

#include "app/Numbers.h"

#include <QLocale>

namespace LogFormat {
namespace {

struct Column
{
    QStringList names; // the first is the one the writer uses for the unit that is off
    const char *checkBox;
};

const ScaleSet kFahrenheit{20, 300, 14, 4, 0};
const ScaleSet kCelsius{0, 120, 12, 5, 0};
const ScaleSet kMph{0, 150, 15, 5, 1};
const ScaleSet kKph{0, 240, 12, 4, 1};

const std::array<Column, kColumnCodes> &columns()
{
    static const std::array<Column, kColumnCodes> table = {{
        {{"RPM"}, "RPM"},
        {{"Air Flow"}, "Air Flow"},
        {{"Air Flow RH"}, "Air Flow RH"},
        {{"Water Temp F", "Water Temp C"}, "Water Temp"},
        {{"O2 Sensor", "Oxygen"}, "O2 Sensor"},
        {{"O2 Sensor RH", "Oxygen RH"}, "O2 Sensor RH"},
        {{"Speed mph", "Speed kph"}, "Speed"},
        {{"Battery"}, "Battery"},
        {{"Throttle"}, "Throttle"},
        {{"Fuel Temp F", "Fuel Temp C"}, "Fuel Temp"},
        {{"Air Temp F", "Air Temp C"}, "Air Temp"},
        {{"EGT"}, "EGT"},
        {{"Injector"}, "Injector"},
        {{"Timing"}, "Timing"},
        {{"AAC"}, "AAC"},
        {{"A/F Base"}, "A/F Base"},
        {{"A/F Base RH"}, "A/F Base RH"},
        {{"A/F Base SL"}, "A/F Base SL"},
        {{"A/F Base SL RH"}, "A/F Base SL RH"},
        {{"Injector RH"}, "Injector RH"},
        {{"Duty Cycle"}, "Duty Cycle"},
        {{"Duty Cycle RH"}, "Duty Cycle RH"},
        {{"O2 Sensor B1"}, "O2 Sensor B1"},
        {{"O2 Sensor B2"}, "O2 Sensor B2"},
        {{"Closed TPS"}, "Closed TPS"},
        {{"Power Steering"}, "Power Steering"},
        {{"Air Con sw"}, "Air Con sw"},
        {{"Start Signal"}, "Start Signal"},
        {{"Neutral"}, "Neutral"},
        {{"Air Con rly"}, "Air Con rly"},
        {{"Fuel Pump"}, "Fuel Pump"},
        {{"Thermo Fan"}, "Thermo Fan"},
        {{"VCT"}, "VCT"},
        {{"Waste Gate sol"}, "Waste Gate sol"},
        {{"A/F ratio"}, "A/F ratio"},
        {{"EGR sol"}, "EGR sol"},
    }};
    return table;
}

constexpr int kIndicatorFlags[kIndicatorCount] = {12, 12, 12, 12, 12, 13, 13, 13, 13, 14, 15, 14};

} // namespace

int columnCode(const QString &headerName)
{
    const auto &table = columns();
    for (int code = 0; code < kColumnCodes; ++code) {
        if (table[code].names.contains(headerName))
            return code;
    }
    return -1;
}

std::optional<ScaleSet> scaleSetFor(const QString &headerName)
{
    if (headerName == QLatin1String("Water Temp F") || headerName == QLatin1String("Fuel Temp F") ||
        headerName == QLatin1String("Air Temp F"))
        return kFahrenheit;
    if (headerName == QLatin1String("Water Temp C") || headerName == QLatin1String("Fuel Temp C") ||
        headerName == QLatin1String("Air Temp C"))
        return kCelsius;
    if (headerName == QLatin1String("Speed mph"))
        return kMph;
    if (headerName == QLatin1String("Speed kph"))
        return kKph;
    return std::nullopt;
}

QString checkBoxCaption(int code)
{
    return QString::fromLatin1(columns().at(code).checkBox);
}

int indicatorRegisterFlag(int indicator)
{
    return kIndicatorFlags[indicator];
}

QString header(const Selection &selection, const GaugeCatalogue &catalogue)
{
    QString line = QStringLiteral("Time");
    for (int i = 0; i < kCatalogueSize; ++i) {
        if (selection.parameters[i])
            line += QLatin1String(kSeparator) + catalogue[i].name();
    }
    for (int i = 0; i < kIndicatorCount; ++i) {
        if (selection.indicators[i])
            line += QLatin1String(kSeparator) + columns()[kParameterColumns + i].names.first();
    }
    return line;
}

QString timeStamp(qint64 elapsedMs)
{
    return QString::number(elapsedMs / 1000).rightJustified(3, QLatin1Char('0')) +
           QLatin1Char('.') + QString::number(elapsedMs % 1000).rightJustified(3, QLatin1Char('0'));
}

QString valueText(float value)
{
    QString text = Numbers::singleToText(value);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

QString record(const Selection &selection, const ProgramState &state, qint64 elapsedMs)
{
    QString line = timeStamp(elapsedMs);
    for (int i = 0; i < kCatalogueSize; ++i) {
        if (selection.parameters[i])
            line += QLatin1String(kSeparator) + valueText(state.LiveValues[i]);
    }
    for (int i = 0; i < kIndicatorCount; ++i) {
        if (selection.indicators[i])
            line += QLatin1String(kSeparator) + state.FlagText[i];
    }
    return line;
}

QStringList fields(const QString &line)
{
    QString text = line;
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text.split(QLatin1String(kSeparator));
}

std::optional<float> parseValue(const QString &field)
{
    const std::optional<double> value = Numbers::parseNumber(field);
    if (!value)
        return std::nullopt;
    return static_cast<float>(*value);
}

} // namespace LogFormat
