#include "app/Numbers.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Numbers {

double roundHalfEven(double x)
{
    return std::nearbyint(x); // the default floating-point rounding mode is to nearest, ties even
}

float Dec(double x, int n)
{
    const double scale = std::pow(10.0, n);
    // Work on the decimal text of x so that 1.005 (stored as 1.00499999...) still counts as a half.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", 14, x * scale);
    const double scaled = std::strtod(buffer, nullptr);
    return static_cast<float>(roundHalfEven(scaled) / scale);
}

QString singleToText(float value)
{
    for (int precision = 1; precision <= 9; ++precision) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value)
            return QString::fromLatin1(buffer);
    }
    return QString::number(static_cast<double>(value), 'g', 9);
}

std::optional<double> parseNumber(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> parseInteger(const QString &text)
{
    const std::optional<double> value = parseNumber(text);
    if (!value || std::fabs(*value) > 9.0e15)
        return std::nullopt;
    return static_cast<qint64>(roundHalfEven(*value));
}

std::optional<quint32> parseHex(const QString &text)
{
    if (text.isEmpty() || text.size() > 8)
        return std::nullopt;
    bool ok = false;
    const quint32 value = text.toUInt(&ok, 16);
    // toUInt accepts a "0x" prefix and blanks; a stored hex value is bare digits only.
    for (QChar c : text) {
        if (!std::isxdigit(c.toLatin1()))
            return std::nullopt;
    }
    if (!ok)
        return std::nullopt;
    return value;
}

QString hexText(quint32 value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace Numbers
