#include "display/ColourValue.h"

ColourValue ColourValue::rgb(quint8 red, quint8 green, quint8 blue)
{
    return ColourValue(quint32(red) | (quint32(green) << 8) | (quint32(blue) << 16), false);
}

ColourValue ColourValue::system(quint8 index)
{
    return ColourValue(kSystemFlag | index, true);
}

std::optional<ColourValue> ColourValue::fromNumber(qint64 number)
{
    if (number >= 0 && number <= 0xFFFFFF)
        return ColourValue(quint32(number), false);
    if (number < 0 && number >= qint64(INT32_MIN)) {
        const quint32 bits = quint32(qint32(number));
        if ((bits & 0xFFFFFF00u) == kSystemFlag)
            return ColourValue(bits, true);
    }
    return std::nullopt;
}

std::optional<ColourValue> ColourValue::fromText(const QString &text)
{
    const QString t = text.trimmed();
    int first = 0;
    if (!t.isEmpty() && (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')))
        first = 1;
    // At most 10 digits keeps the number inside 64 bits; the range check does the rest.
    if (t.size() == first || t.size() - first > 10)
        return std::nullopt;
    for (int i = first; i < t.size(); ++i) {
        if (t.at(i) < QLatin1Char('0') || t.at(i) > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 number = t.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return fromNumber(number);
}
