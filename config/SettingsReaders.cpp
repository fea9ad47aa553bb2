#include "config/SettingsReaders.h"

#include "app/Numbers.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"

#include <limits>

namespace SettingsReaders {
namespace {

template <typename T, typename Parse>
T readOr(const SettingsStore &store, const QString &section, const QString &key, Parse parse)
{
    if (const std::optional<T> value = parse(store.get(section, key)))
        return *value;
    if (const std::optional<T> fallback = parse(defaultSetting(section, key)))
        return *fallback;
    return T{};
}

std::optional<qint64> integerIn(const QString &text, qint64 low, qint64 high)
{
    const std::optional<qint64> value = Numbers::parseInteger(text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

std::optional<quint32> hexUpTo(const QString &text, quint32 high)
{
    const std::optional<quint32> value = Numbers::parseHex(text.trimmed());
    if (!value || *value > high)
        return std::nullopt;
    return value;
}

} // namespace

int integer(const SettingsStore &store, const QString &section, const QString &key)
{
    return static_cast<int>(readOr<qint64>(store, section, key, [](const QString &t) {
        return integerIn(t, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    }));
}

bool nonZero(const SettingsStore &store, const QString &section, const QString &key)
{
    return readOr<double>(store, section, key, Numbers::parseNumber) != 0.0;
}

bool exactlyOne(const SettingsStore &store, const QString &section, const QString &key)
{
    return readOr<double>(store, section, key, Numbers::parseNumber) == 1.0;
}

quint8 hexByte(const SettingsStore &store, const QString &section, const QString &key)
{
    return static_cast<quint8>(
        readOr<quint32>(store, section, key, [](const QString &t) { return hexUpTo(t, 0xFF); }));
}

quint16 hexAddress(const SettingsStore &store, const QString &section, const QString &key)
{
    return static_cast<quint16>(
        readOr<quint32>(store, section, key, [](const QString &t) { return hexUpTo(t, 0xFFFF); }));
}

float single(const SettingsStore &store, const QString &section, const QString &key)
{
    return static_cast<float>(readOr<double>(store, section, key, [](const QString &t) {
        std::optional<double> v = Numbers::parseNumber(t);
        if (v && std::abs(*v) > std::numeric_limits<float>::max())
            return std::optional<double>();
        return v;
    }));
}

quint8 catalogueIndex(const SettingsStore &store, const QString &section, const QString &key)
{
    return static_cast<quint8>(
        readOr<qint64>(store, section, key, [](const QString &t) { return integerIn(t, 0, 23); }));
}

quint8 flagByte(const SettingsStore &store, const QString &section, const QString &key)
{
    return static_cast<quint8>(
        readOr<qint64>(store, section, key, [](const QString &t) { return integerIn(t, 0, 1); }));
}

} // namespace SettingsReaders
