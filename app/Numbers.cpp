#include "app/Numbers.h"

#include <algorithm>
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
    if (value == 0.0f || !std::isfinite(value))
        return value == 0.0f ? QStringLiteral("0") : QString::number(double(value));
    // The fewest significant digits (at most 9) that read back as the same single value.
    int digits = 1;
    char buffer[64];
    for (; digits < 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value)
            break;
    }
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(double(value)))));
    if (exponent < -5 || exponent >= 7) {
        std::snprintf(buffer, sizeof buffer, "%.*E", digits - 1, static_cast<double>(value));
        return QString::fromLatin1(buffer);
    }
    // Plain decimal form, no exponent: 40000, 12.5, 0.25.
    std::snprintf(buffer, sizeof buffer, "%.*f", std::max(0, digits - 1 - exponent),
                  static_cast<double>(value));
    QString text = QString::fromLatin1(buffer);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
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
