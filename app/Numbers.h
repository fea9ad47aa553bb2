#pragma once

#include <QString>
#include <optional>

// The number helpers every part of the program shares. Fractions become whole numbers by
// rounding to nearest with halves to even; texts typed or edited by hand may use "." or ",".
namespace Numbers {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double x);

// x rounded to n decimals, halves to even, as the single-precision value the program stores.
float Dec(double x, int n);

// The shortest decimal text that reads back as the same single-precision value (up to 7
// significant digits): 1.05f -> "1.05", 1.0f -> "1", 0.98f -> "0.98".
QString singleToText(float value);

// A number typed by a person or stored as text: surrounding blanks allowed, "." or "," as the
// decimal separator. Empty or anything else gives no value.
std::optional<double> parseNumber(const QString &text);

// A whole number from text, fractions rounded halves to even (as a numeric conversion does).
std::optional<qint64> parseInteger(const QString &text);

// Bare hexadecimal digits (either case, no prefix) as an unsigned value.
std::optional<quint32> parseHex(const QString &text);

// Upper-case hex text of a value, padded with zeros to at least `digits` characters.
QString hexText(quint32 value, int digits);

} // namespace Numbers
