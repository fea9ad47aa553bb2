#include "config/DisplayColours.h"

#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"

namespace {
const QString kDisplay = QStringLiteral("Display");
} // namespace

const std::array<DisplayColourRow, kDisplayColourCount> &displayColourRows()
{
    static const std::array<DisplayColourRow, kDisplayColourCount> rows = {{
        {"Background: ", "GaugeBack", false},
        {"Scale Digits: ", "GaugeDigits", false},
        {"Peak Value: ", "GaugeMax", false},
        {"Value: ", "GaugeValue", false},
        {"Name: ", "GaugeName", false},
        {"Needle: ", "GaugeNeedle", false},
        {"Annular: ", "GaugeCircle", false},
        {"Ticker: ", "GaugeTicker", false},
        {"SubTicker: ", "GaugeSubTicker", false},
        {"Window Background: ", "GaugeWindow", true},
        {"Registers: ", "GaugeRegister", true},
    }};
    return rows;
}

QList<ColourValue> loadDisplayColours(const SettingsStore &store)
{
    QList<ColourValue> colours;
    for (const DisplayColourRow &row : displayColourRows()) {
        const QString key = QString::fromLatin1(row.key);
        std::optional<ColourValue> value = ColourValue::fromText(store.get(kDisplay, key));
        if (!value)
            value = ColourValue::fromText(defaultSetting(kDisplay, key));
        colours.append(value.value_or(ColourValue::rgb(0, 0, 0)));
    }
    return colours;
}

void saveDisplayColours(SettingsStore &store, const QList<ColourValue> &colours)
{
    const auto &rows = displayColourRows();
    for (int i = 0; i < kDisplayColourCount && i < colours.size(); ++i)
        store.save(kDisplay, QString::fromLatin1(rows[i].key), colours[i].toText());
}
