#include "display/GaugeGeometry.h"

#include "app/Numbers.h"

#include <cmath>
#include <limits>

namespace GaugeGeometry {

namespace {

// The sweep angle as the angle of standard trigonometry (counter-clockwise from 3 o'clock).
double phi(double sweep)
{
    return -(sweep - 45.0) * kPi / 180.0;
}

} // namespace

qint32 nearest(double x)
{
    const double whole = Numbers::roundHalfEven(x);
    // Only absurd sizes get here; pin them instead of overflowing.
    if (!(whole > double(std::numeric_limits<qint32>::min())))
        return std::isnan(whole) ? 0 : std::numeric_limits<qint32>::min();
    if (whole > double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    return static_cast<qint32>(whole);
}

qint32 centreX(qint32 surfaceWidth)
{
    return surfaceWidth / 2;
}

qint32 centreY(qint32 surfaceHeight)
{
    // Below the middle: the lower quarter of the dial is open.
    return nearest((surfaceHeight / 2) * 1.12);
}

qint32 dialRadius(qint32 surfaceWidth, qint32 surfaceHeight)
{
    if (surfaceHeight * 1.1 > surfaceWidth)
        return nearest((surfaceWidth / 2) * 0.95);
    return nearest((surfaceHeight / 2) * 1.1);
}

std::optional<double> degreesPerUnit(qint32 minimum, qint32 maximum)
{
    const qint64 range = qint64(maximum) - qint64(minimum);
    if (range == 0 || range > std::numeric_limits<qint32>::max() ||
        range < std::numeric_limits<qint32>::min())
        return std::nullopt;
    return 270.0 / double(range);
}

QPoint offset(double sweep, double radius)
{
    const double angle = phi(sweep);
    return QPoint(nearest(-std::cos(angle) * radius), nearest(std::sin(angle) * radius));
}

QPoint dialPoint(QPoint centre, double sweep, double radius)
{
    return centre + offset(sweep, radius);
}

QVector<qint32> bandRadii(qint32 radius)
{
    QVector<qint32> radii;
    for (qint32 r = radius; r >= 0.82 * radius; r -= 40)
        radii.append(r);
    return radii;
}

std::optional<TickSteps> tickSteps(qint32 minimum, qint32 maximum, qint32 tickerNum,
                                   qint32 subTickerNum, double degreesPerUnit)
{
    if (tickerNum == 0 || subTickerNum == 0)
        return std::nullopt;
    const double major = (double(maximum) - double(minimum)) / tickerNum * degreesPerUnit;
    return TickSteps{major, major / subTickerNum};
}

TickLine majorTick(QPoint centre, qint32 radius, double sweep)
{
    return {dialPoint(centre, sweep, radius), dialPoint(centre, sweep, radius * 0.82)};
}

TickLine minorTick(QPoint centre, qint32 radius, double sweep)
{
    return {dialPoint(centre, sweep, radius * 0.91), dialPoint(centre, sweep, radius)};
}

QVector<double> minorSweeps(qint32 i, qint32 tickerNum, qint32 subTickerNum, const TickSteps &steps)
{
    QVector<double> sweeps;
    if (i == tickerNum)
        return sweeps;
    for (qint32 j = 1; j <= subTickerNum - 1; ++j)
        sweeps.append(i * steps.major + j * steps.minor);
    return sweeps;
}

qint32 dialNumber(qint32 minimum, qint32 maximum, qint32 i, qint32 tickerNum)
{
    return nearest(minimum + (double(maximum) - double(minimum)) * i / tickerNum);
}

QString numberText(qint32 n)
{
    return QString::number(n);
}

QString numberPrintForm(qint32 n)
{
    return (n < 0 ? QString() : QStringLiteral(" ")) + QString::number(n) + QLatin1Char(' ');
}

QPointF numberPosition(QPoint innerPoint, double sweep, double textWidth, double textHeight)
{
    const double q =
        std::sqrt((textWidth / 2) * (textWidth / 2) + (textHeight / 2) * (textHeight / 2));
    const double angle = phi(sweep);
    return QPointF(innerPoint.x() - (textWidth / 1.5 + nearest(-std::cos(angle) * q)),
                   innerPoint.y() - (textHeight / 2 + nearest(std::sin(angle) * q)));
}

double dialNumberFontSize(qint32 radius)
{
    return radius * 0.007;
}

double valueCaptionFontSize(qint32 radius)
{
    return radius * 0.015;
}

double peakCaptionFontSize(qint32 radius)
{
    return radius * 0.005;
}

double nameCaptionFontSize(qint32 radius)
{
    return radius * 0.007;
}

qint32 needleWidth(qint32 radius)
{
    return nearest(radius * 0.002);
}

qint32 captionLeft(qint32 surfaceWidth, double captionWidth)
{
    return surfaceWidth / 2 - nearest(captionWidth) / 2;
}

double nameCaptionTop(qint32 surfaceHeight, double captionHeight)
{
    return surfaceHeight / 2 - captionHeight;
}

double peakCaptionTop(qint32 surfaceHeight, double captionHeight)
{
    return (surfaceHeight / 2 - captionHeight) * 1.7;
}

double valueCaptionTop(qint32 surfaceHeight, double captionHeight)
{
    return surfaceHeight - captionHeight;
}

float clampValue(float value, qint32 minimum, qint32 maximum)
{
    if (std::isnan(value))
        return float(minimum);
    if (double(value) < double(minimum))
        return float(minimum);
    if (double(value) > double(maximum))
        return float(maximum);
    return value;
}

float needleSweep(float value, qint32 minimum, double degreesPerUnit)
{
    return float((double(value) - double(minimum)) * degreesPerUnit);
}

QPoint needleEnd(QPoint centre, float sweep, qint32 radius)
{
    return dialPoint(centre, double(sweep), radius);
}

QString valueCaptionText(float value, qint16 decimals)
{
    if (decimals == 2 || decimals == 1) {
        float rounded = Numbers::Dec(double(value), decimals);
        if (rounded == 0.0f)
            rounded = 0.0f; // no "-0.00" for a value a hair below zero
        return QString::number(double(rounded), 'f', decimals);
    }
    return Numbers::singleToText(value);
}

std::optional<QString> peakCaptionText(const QString &peakText, float value)
{
    const std::optional<double> peak = Numbers::parseNumber(peakText);
    // The caption shows a single-precision value's text; reading it back as one keeps a value
    // equal to the peak from rewriting it.
    if (peak && !(double(value) > double(float(*peak))))
        return std::nullopt;
    return Numbers::singleToText(value);
}

} // namespace GaugeGeometry
