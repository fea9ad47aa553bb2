#pragma once

#include <QPoint>
#include <QPointF>
#include <QString>
#include <QVector>
#include <optional>

// The arithmetic of the analog gauge, free of widgets so tests can check it to the twip.
// Lengths are twips of the gauge's drawing area, y grows downward. A sweep angle is in degrees:
// 0 at the scale's minimum (lower left), 135 straight up, 270 at the maximum (lower right).
// Every fraction made whole goes to the nearest whole number, halves to even.
namespace GaugeGeometry {

// Positions were laid out with this value of pi; the full constant moves some points by a twip.
constexpr double kPi = 3.14159;

// The scale band: arcs from 5.5 to 3.95 radians (counter-clockwise from 3 o'clock), one every
// 40 twips inward while the radius stays at or above 0.82 of the dial radius.
constexpr double kBandStartRadians = 5.5;
constexpr double kBandEndRadians = 3.95;
constexpr int kBandPenWidth = 4;
constexpr int kMajorTickPenWidth = 2;
constexpr int kMinorTickPenWidth = 1;

// Nearest whole number, halves to even.
qint32 nearest(double x);

qint32 centreX(qint32 surfaceWidth);
qint32 centreY(qint32 surfaceHeight);
// Tall areas (height x 1.1 > width) take the radius from the width, wide ones from the height.
qint32 dialRadius(qint32 surfaceWidth, qint32 surfaceHeight);
// 270 / (maximum - minimum); none for an empty range or one wider than 32 bits.
std::optional<double> degreesPerUnit(qint32 minimum, qint32 maximum);

// The offset from the centre of the point at `sweep` degrees on radius `radius`; x and y are each
// made whole on their own.
QPoint offset(double sweep, double radius);
QPoint dialPoint(QPoint centre, double sweep, double radius);

QVector<qint32> bandRadii(qint32 radius);

struct TickSteps
{
    double major; // degrees between numbered ticks
    double minor; // degrees between minor ticks
};
// None when the tick count or the minor division count is 0.
std::optional<TickSteps> tickSteps(qint32 minimum, qint32 maximum, qint32 tickerNum,
                                   qint32 subTickerNum, double degreesPerUnit);

struct TickLine
{
    QPoint from;
    QPoint to;
};
// Numbered tick i: from the dial radius in to 0.82 of it.
TickLine majorTick(QPoint centre, qint32 radius, double sweep);
// Minor tick: from 0.91 of the dial radius out to the radius.
TickLine minorTick(QPoint centre, qint32 radius, double sweep);
// Sweep angles of the minor ticks after numbered tick i; none after the last one.
QVector<double> minorSweeps(qint32 i, qint32 tickerNum, qint32 subTickerNum,
                            const TickSteps &steps);

// The number written at tick i.
qint32 dialNumber(qint32 minimum, qint32 maximum, qint32 i, qint32 tickerNum);
// The digits that are measured, and the form that is printed: a blank before a number that is
// not negative (where the minus sign would go) and a blank after it.
QString numberText(qint32 n);
QString numberPrintForm(qint32 n);
// Top left of the printed number, from the tick's inner point and the measured size of the bare
// digits: moved toward the centre by half the text's diagonal.
QPointF numberPosition(QPoint innerPoint, double sweep, double textWidth, double textHeight);

// Font sizes in points and the needle width in pixels, all from the dial radius.
double dialNumberFontSize(qint32 radius);
double valueCaptionFontSize(qint32 radius);
double peakCaptionFontSize(qint32 radius);
double nameCaptionFontSize(qint32 radius);
qint32 needleWidth(qint32 radius);

// Caption places from the surface size and the caption's own size (read after its font is set).
qint32 captionLeft(qint32 surfaceWidth, double captionWidth);
double nameCaptionTop(qint32 surfaceHeight, double captionHeight);
double peakCaptionTop(qint32 surfaceHeight, double captionHeight);
double valueCaptionTop(qint32 surfaceHeight, double captionHeight);

// The value held by the gauge: pinned to [minimum, maximum]. A value that is not a number rests
// on the minimum.
float clampValue(float value, qint32 minimum, qint32 maximum);
// Sweep of the needle, kept in single precision as the gauge stores it.
float needleSweep(float value, qint32 minimum, double degreesPerUnit);
QPoint needleEnd(QPoint centre, float sweep, qint32 radius);

// Value caption: 2 decimals, 1 decimal, or the shortest text of the value for anything else.
QString valueCaptionText(float value, qint16 decimals);
// The peak caption's new text when `value` rises above the number it shows; none otherwise.
// A caption that does not hold a number takes the value.
std::optional<QString> peakCaptionText(const QString &peakText, float value);

} // namespace GaugeGeometry
