#include "config/PreferenceSettings.h"

#include "app/Numbers.h"
#include "config/SettingsReaders.h"
#include "config/SettingsStore.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kTyreSize = QStringLiteral("TyreSize");
const QString kPreferences = QStringLiteral("Preferences");

constexpr double kPi = 3.1415; // as the correction has always been computed

bool isWellFormed(const TyreSizeText &tyre)
{
    return hasDigits(tyre.width, 3) && hasDigits(tyre.aspect, 2) && hasDigits(tyre.rim, 2);
}

double circumferenceOf(const TyreSizeText &tyre)
{
    return tyreCircumference(tyre.width.toInt(), tyre.aspect.toInt(), tyre.rim.toInt());
}

} // namespace

PreferenceValues loadPreferences(const SettingsStore &store)
{
    PreferenceValues v;
    v.speedUnit = SettingsReaders::nonZero(store, kPreferences, QStringLiteral("Speed")) ? 1 : 0;
    v.temperatureUnit =
        SettingsReaders::nonZero(store, kPreferences, QStringLiteral("Temperature")) ? 1 : 0;
    v.oem = {store.get(kTyreSize, QStringLiteral("Swidth")),
             store.get(kTyreSize, QStringLiteral("Shight")),
             store.get(kTyreSize, QStringLiteral("Ssize"))};
    v.current = {store.get(kTyreSize, QStringLiteral("Uwidth")),
                 store.get(kTyreSize, QStringLiteral("Uhight")),
                 store.get(kTyreSize, QStringLiteral("Usize"))};
    return v;
}

bool hasDigits(const QString &text, int count)
{
    return text.size() == count && std::all_of(text.begin(), text.end(), [](QChar c) {
               return c >= QLatin1Char('0') && c <= QLatin1Char('9');
           });
}

double tyreCircumference(double width, double aspect, double rim)
{
    return (aspect * 0.01 * (width * 0.1 * 2) + rim * 2.54) * kPi;
}

std::optional<float> speedCorrection(const TyreSizeText &oem, const TyreSizeText &current)
{
    if (!isWellFormed(oem) || !isWellFormed(current))
        return std::nullopt;
    const double oemCircumference = circumferenceOf(oem);
    const double currentCircumference = circumferenceOf(current);
    if (oemCircumference <= 0.0 || currentCircumference <= 0.0)
        return std::nullopt;
    const float ratio = static_cast<float>(currentCircumference / oemCircumference);
    const float correction = Numbers::Dec(ratio, 2);
    if (correction <= 0.0f)
        return std::nullopt; // every speed would read 0
    return correction;
}

QString preferencesValidationMessage(const PreferenceValues &values)
{
    if (!speedCorrection(values.oem, values.current))
        return QStringLiteral("Invalid tyre size");
    return QString();
}

bool savePreferences(SettingsStore &store, const PreferenceValues &values)
{
    const std::optional<float> correction = speedCorrection(values.oem, values.current);
    if (!correction)
        return false;
    store.save(kTyreSize, QStringLiteral("Correction"), Numbers::singleToText(*correction));
    store.save(kTyreSize, QStringLiteral("Swidth"), values.oem.width);
    store.save(kTyreSize, QStringLiteral("Shight"), values.oem.aspect);
    store.save(kTyreSize, QStringLiteral("Ssize"), values.oem.rim);
    store.save(kTyreSize, QStringLiteral("Uwidth"), values.current.width);
    store.save(kTyreSize, QStringLiteral("Uhight"), values.current.aspect);
    store.save(kTyreSize, QStringLiteral("Usize"), values.current.rim);
    store.save(kPreferences, QStringLiteral("Speed"), QString::number(values.speedUnit));
    store.save(kPreferences, QStringLiteral("Temperature"),
               QString::number(values.temperatureUnit));
    return true;
}
