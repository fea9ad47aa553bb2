#include "display/GaugeGeometry.h"
#include "tests/support/TestRegistry.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace GaugeGeometry;

// Expected points below were worked out by hand from the dial formulas: phi = -(a - 45) * pi / 180
// with pi = 3.14159, x = nearest(-cos(phi) * r), y = nearest(sin(phi) * r), halves to even.
class TestGaugeGeometry : public QObject
{
    Q_OBJECT
private slots:
    void offsets_data();
    void offsets();
    void centreAndRadius_data();
    void centreAndRadius();
    void degreesPerUnit_data();
    void degreesPerUnit();
    void bandRadii_data();
    void bandRadii();
    void ticksOfAnRpmDial();
    void minorTicks_data();
    void minorTicks();
    void zeroCountsGiveNoSteps_data();
    void zeroCountsGiveNoSteps();
    void dialNumbers_data();
    void dialNumbers();
    void numberForms_data();
    void numberForms();
    void numberPositions_data();
    void numberPositions();
    void fontSizesAndNeedleWidth_data();
    void fontSizesAndNeedleWidth();
    void captionPlaces_data();
    void captionPlaces();
    void clamping_data();
    void clamping();
    void needleEnds_data();
    void needleEnds();
    void valueCaptions_data();
    void valueCaptions();
    void peakRule_data();
    void peakRule();
    void peakResetByZero();
};

void TestGaugeGeometry::offsets_data()
{
    QTest::addColumn<double>("sweep");
    QTest::addColumn<double>("radius");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("minimum, lower left") << 0.0 << 1760.0 << QPoint(-1245, 1245);
    QTest::newRow("half way, straight up") << 135.0 << 1760.0 << QPoint(0, -1760);
    QTest::newRow("maximum, lower right") << 270.0 << 1760.0 << QPoint(1245, 1245);
    QTest::newRow("first RPM tick") << 33.75 << 1760.0 << QPoint(-1726, 343);
    QTest::newRow("second RPM tick") << 67.5 << 1760.0 << QPoint(-1626, -674);
    QTest::newRow("inner radius is fractional") << 0.0 << 1443.2 << QPoint(-1020, 1020);
    // x = -696.5006 and y = 696.4997: with the full-precision pi y would come out 697.
    QTest::newRow("pi as 3.14159, minimum") << 0.0 << 985.0 << QPoint(-697, 696);
    QTest::newRow("pi as 3.14159, maximum") << 270.0 << 985.0 << QPoint(697, 696);
    // 527.5034 and 527.4999: each offset is made whole on its own.
    QTest::newRow("each offset on its own") << 270.0 << 746.0 << QPoint(528, 527);
    // At 45 degrees phi is 0: x = -radius exactly, so halves show their rounding.
    QTest::newRow("half goes to even, down") << 45.0 << 2.5 << QPoint(-2, 0);
    QTest::newRow("half goes to even, up") << 45.0 << 3.5 << QPoint(-4, 0);
    QTest::newRow("zero radius") << 100.0 << 0.0 << QPoint(0, 0);
}

void TestGaugeGeometry::offsets()
{
    QFETCH(double, sweep);
    QFETCH(double, radius);
    QFETCH(QPoint, expected);
    QCOMPARE(offset(sweep, radius), expected);
    QCOMPARE(dialPoint(QPoint(1920, 1792), sweep, radius), QPoint(1920, 1792) + expected);
}

void TestGaugeGeometry::centreAndRadius_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cx");
    QTest::addColumn<int>("cy");
    QTest::addColumn<int>("radius");

    // 1024 x 768 Data Display cell: 3840 x 3200, wide (3520 is not above 3840).
    QTest::newRow("wide") << 3840 << 3200 << 1920 << 1792 << 1760;
    // 1.1 x 3000 = 3300 > 2000: tall, radius from the width.
    QTest::newRow("tall") << 2000 << 3000 << 1000 << 1680 << 950;
    // 2250 x 0.95 / 2 = 1068.75.
    QTest::newRow("tall and narrow") << 2250 << 4500 << 1125 << 2520 << 1069;
    // 1.1 x 2000 = 2200 is not above 2200: still wide.
    QTest::newRow("exactly on the edge") << 2200 << 2000 << 1100 << 1120 << 1100;
    // 1.1 is not exact: 3000 x 1.1 comes out a hair above 3300, so tall; 1567.5 goes to 1568.
    QTest::newRow("a hair above the edge") << 3300 << 3000 << 1650 << 1680 << 1568;
    // Odd sizes: halves are dropped before scaling (3841 / 2 = 1920, 3201 / 2 = 1600).
    QTest::newRow("odd sizes") << 3841 << 3201 << 1920 << 1792 << 1760;
    // 5 x 1.1 = 5.5 -> 6 (even); 10 x 0.95 = 9.5 -> 10 (even).
    QTest::newRow("wide, half to even") << 40 << 10 << 20 << 6 << 6;
    QTest::newRow("tall, half to even") << 20 << 40 << 10 << 22 << 10;
    QTest::newRow("empty") << 0 << 0 << 0 << 0 << 0;
}

void TestGaugeGeometry::centreAndRadius()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, cx);
    QFETCH(int, cy);
    QFETCH(int, radius);
    QCOMPARE(centreX(width), cx);
    QCOMPARE(centreY(height), cy);
    QCOMPARE(dialRadius(width, height), radius);
}

void TestGaugeGeometry::degreesPerUnit_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");
    QTest::newRow("RPM") << 0 << 8000 << true << 0.03375;
    QTest::newRow("battery") << 6 << 16 << true << 27.0;
    QTest::newRow("across zero") << -10 << 10 << true << 13.5;
    QTest::newRow("reversed") << 10 << 0 << true << -27.0;
    QTest::newRow("empty range") << 5 << 5 << false << 0.0;
    QTest::newRow("range beyond 32 bits")
        << std::numeric_limits<int>::min() << std::numeric_limits<int>::max() << false << 0.0;
}

void TestGaugeGeometry::degreesPerUnit()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    const std::optional<double> perUnit = GaugeGeometry::degreesPerUnit(minimum, maximum);
    QCOMPARE(bool(perUnit), valid);
    if (valid)
        QCOMPARE(*perUnit, expected);
}

void TestGaugeGeometry::bandRadii_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<QVector<qint32>>("expected");
    // Down in steps of 40 while at or above 0.82 R (1443.2 for 1760).
    QTest::newRow("1760") << 1760
                          << QVector<qint32>{1760, 1720, 1680, 1640, 1600, 1560, 1520, 1480};
    QTest::newRow("last arc exactly at 0.82 R")
        << 2000 << QVector<qint32>{2000, 1960, 1920, 1880, 1840, 1800, 1760, 1720, 1680, 1640};
    QTest::newRow("small dial, one arc") << 200 << QVector<qint32>{200};
    QTest::newRow("no radius") << 0 << QVector<qint32>{0};
}

void TestGaugeGeometry::bandRadii()
{
    QFETCH(int, radius);
    QFETCH(QVector<qint32>, expected);
    QCOMPARE(GaugeGeometry::bandRadii(radius), expected);
}

void TestGaugeGeometry::ticksOfAnRpmDial()
{
    // 0..8000 with 8 intervals and 2 minor divisions on the 3840 x 3200 cell.
    const QPoint c(1920, 1792);
    const double perUnit = *GaugeGeometry::degreesPerUnit(0, 8000);
    const std::optional<TickSteps> steps = tickSteps(0, 8000, 8, 2, perUnit);
    QVERIFY(steps);
    QCOMPARE(steps->major, 33.75);
    QCOMPARE(steps->minor, 16.875);

    const TickLine first = majorTick(c, 1760, 0);
    QCOMPARE(first.from, c + QPoint(-1245, 1245));
    QCOMPARE(first.to, c + QPoint(-1020, 1020)); // 0.82 x 1760 = 1443.2
    const TickLine top = majorTick(c, 1760, 4 * steps->major);
    QCOMPARE(top.from, QPoint(1920, 32));
    QCOMPARE(top.to, QPoint(1920, 349)); // 1792 - nearest(1443.2)
    QCOMPARE(majorTick(c, 1760, 8 * steps->major).from, c + QPoint(1245, 1245));

    // The one minor tick between 0 and 1000, from 0.91 R (1601.6) out to R.
    const TickLine minor = minorTick(c, 1760, 16.875);
    QCOMPARE(minor.from, c + QPoint(-1412, 755));
    QCOMPARE(minor.to, c + QPoint(-1552, 830));
}

void TestGaugeGeometry::minorTicks_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("tickerNum");
    QTest::addColumn<int>("subTickerNum");
    QTest::addColumn<int>("i");
    QTest::addColumn<QVector<double>>("expected");

    QTest::newRow("RPM 8/2, first") << 0 << 8000 << 8 << 2 << 0 << QVector<double>{16.875};
    QTest::newRow("RPM 8/2, before the last")
        << 0 << 8000 << 8 << 2 << 7 << QVector<double>{253.125};
    QTest::newRow("RPM 8/2, none after the last") << 0 << 8000 << 8 << 2 << 8 << QVector<double>{};
    QTest::newRow("one division gives none") << 0 << 8000 << 8 << 1 << 0 << QVector<double>{};
    QTest::newRow("battery 10/5") << 6 << 16 << 10 << 5 << 1
                                  << QVector<double>{32.4, 37.8, 43.2, 48.6};
}

void TestGaugeGeometry::minorTicks()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, tickerNum);
    QFETCH(int, subTickerNum);
    QFETCH(int, i);
    QFETCH(QVector<double>, expected);

    const double perUnit = *GaugeGeometry::degreesPerUnit(minimum, maximum);
    const TickSteps steps = *tickSteps(minimum, maximum, tickerNum, subTickerNum, perUnit);
    const QVector<double> sweeps = minorSweeps(i, tickerNum, subTickerNum, steps);
    QCOMPARE(sweeps.size(), expected.size());
    for (int k = 0; k < sweeps.size(); ++k)
        QCOMPARE(sweeps[k], expected[k]);
}

void TestGaugeGeometry::zeroCountsGiveNoSteps_data()
{
    QTest::addColumn<int>("tickerNum");
    QTest::addColumn<int>("subTickerNum");
    QTest::newRow("no intervals") << 0 << 5;
    QTest::newRow("no minor divisions") << 8 << 0;
}

void TestGaugeGeometry::zeroCountsGiveNoSteps()
{
    QFETCH(int, tickerNum);
    QFETCH(int, subTickerNum);
    QVERIFY(!tickSteps(0, 8000, tickerNum, subTickerNum, 0.03375));
}

void TestGaugeGeometry::dialNumbers_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("tickerNum");
    QTest::addColumn<QVector<qint32>>("expected");
    QTest::newRow("2.5 goes to 2") << 0 << 5 << 2 << QVector<qint32>{0, 2, 5};
    QTest::newRow("1.5 goes to 2") << 0 << 3 << 2 << QVector<qint32>{0, 2, 3};
    QTest::newRow("0.5 goes to 0") << 0 << 1 << 2 << QVector<qint32>{0, 0, 1};
    QTest::newRow("-2.5 goes to -2") << -5 << 0 << 2 << QVector<qint32>{-5, -2, 0};
    QTest::newRow("RPM") << 0 << 8000 << 8
                         << QVector<qint32>{0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000};
    QTest::newRow("battery") << 6 << 16 << 10
                             << QVector<qint32>{6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    QTest::newRow("thirds") << 0 << 10 << 3 << QVector<qint32>{0, 3, 7, 10};
}

void TestGaugeGeometry::dialNumbers()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, tickerNum);
    QFETCH(QVector<qint32>, expected);
    QVector<qint32> numbers;
    for (int i = 0; i <= tickerNum; ++i)
        numbers.append(dialNumber(minimum, maximum, i, tickerNum));
    QCOMPARE(numbers, expected);
}

void TestGaugeGeometry::numberForms_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("measured");
    QTest::addColumn<QString>("printed");
    QTest::newRow("zero") << 0 << "0"
                          << " 0 ";
    QTest::newRow("positive") << 8000 << "8000"
                              << " 8000 ";
    QTest::newRow("negative, the sign takes the blank") << -5 << "-5"
                                                        << "-5 ";
}

void TestGaugeGeometry::numberForms()
{
    QFETCH(int, n);
    QFETCH(QString, measured);
    QFETCH(QString, printed);
    QCOMPARE(numberText(n), measured);
    QCOMPARE(numberPrintForm(n), printed);
}

void TestGaugeGeometry::numberPositions_data()
{
    QTest::addColumn<double>("sweep");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<QPointF>("expected");
    // Half diagonal q = sqrt(300^2 + 150^2) = 335.41.
    // Top: pushed down by q, left by width / 1.5.
    QTest::newRow("top") << 135.0 << 600.0 << 300.0 << QPointF(1000 - 400, 1000 + 335 - 150);
    // phi = 0: pushed right by q.
    QTest::newRow("left") << 45.0 << 600.0 << 300.0 << QPointF(1000 - 400 + 335, 1000 - 150);
    // Lower left: 0.70711 q = 237.17 each way, toward the centre (right and up).
    QTest::newRow("minimum") << 0.0 << 600.0 << 300.0
                             << QPointF(1000 - 400 + 237, 1000 - 150 - 237);
    // q = sqrt(225^2 + 120^2) = 255 exactly; 0.70711 x 255 = 180.31, toward the centre.
    QTest::newRow("maximum") << 270.0 << 450.0 << 240.0
                             << QPointF(1000 - 300 - 180, 1000 - 120 - 180);
    QTest::newRow("fractional size")
        << 135.0 << 100.5 << 201.0 << QPointF(1000 - 67, 1000 + 112 - 100.5);
}

void TestGaugeGeometry::numberPositions()
{
    QFETCH(double, sweep);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QPointF, expected);
    QCOMPARE(numberPosition(QPoint(1000, 1000), sweep, width, height), expected);
}

void TestGaugeGeometry::fontSizesAndNeedleWidth_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<double>("numbers");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("peak");
    QTest::addColumn<double>("name");
    QTest::addColumn<int>("needle");
    QTest::newRow("1024 x 768 cell") << 1760 << 12.32 << 26.4 << 8.8 << 12.32 << 4; // 3.52
    QTest::newRow("needle 2.5 goes to 2") << 1250 << 8.75 << 18.75 << 6.25 << 8.75 << 2;
    QTest::newRow("needle 3.5 goes to 4") << 1750 << 12.25 << 26.25 << 8.75 << 12.25 << 4;
    QTest::newRow("tiny dial") << 200 << 1.4 << 3.0 << 1.0 << 1.4 << 0;
}

void TestGaugeGeometry::fontSizesAndNeedleWidth()
{
    QFETCH(int, radius);
    QFETCH(double, numbers);
    QFETCH(double, value);
    QFETCH(double, peak);
    QFETCH(double, name);
    QFETCH(int, needle);
    QCOMPARE(dialNumberFontSize(radius), numbers);
    QCOMPARE(valueCaptionFontSize(radius), value);
    QCOMPARE(peakCaptionFontSize(radius), peak);
    QCOMPARE(nameCaptionFontSize(radius), name);
    QCOMPARE(needleWidth(radius), needle);
}

void TestGaugeGeometry::captionPlaces_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("captionWidth");
    QTest::addColumn<double>("captionHeight");
    QTest::addColumn<int>("left");
    QTest::addColumn<double>("nameTop");
    QTest::addColumn<double>("peakTop");
    QTest::addColumn<double>("valueTop");

    QTest::newRow("plain") << 3840 << 3200 << 1000.0 << 300.0 << 1420 << 1300.0 << 2210.0 << 2900.0;
    // nearest(1000.5) = 1000 (even); 1001 / 2 = 500 (truncated).
    QTest::newRow("width half to even")
        << 3840 << 3200 << 1000.5 << 300.0 << 1420 << 1300.0 << 2210.0 << 2900.0;
    QTest::newRow("odd width truncates")
        << 3840 << 3200 << 1001.0 << 300.0 << 1420 << 1300.0 << 2210.0 << 2900.0;
    QTest::newRow("odd surface") << 3841 << 3201 << 999.6 << 262.5 << 1420 << 1337.5 << 2273.75
                                 << 2938.5;
    QTest::newRow("caption wider than the area")
        << 1000 << 3000 << 1500.0 << 300.0 << -250 << 1200.0 << 2040.0 << 2700.0;
}

void TestGaugeGeometry::captionPlaces()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, captionWidth);
    QFETCH(double, captionHeight);
    QFETCH(int, left);
    QFETCH(double, nameTop);
    QFETCH(double, peakTop);
    QFETCH(double, valueTop);
    QCOMPARE(captionLeft(width, captionWidth), left);
    QCOMPARE(nameCaptionTop(height, captionHeight), nameTop);
    QCOMPARE(peakCaptionTop(height, captionHeight), peakTop);
    QCOMPARE(valueCaptionTop(height, captionHeight), valueTop);
}

void TestGaugeGeometry::clamping_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<float>("expected");
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("inside") << 3200.0f << 0 << 8000 << 3200.0f;
    QTest::newRow("below pins to the minimum") << -1.0f << 0 << 8000 << 0.0f;
    QTest::newRow("above pins to the maximum") << 8000.5f << 0 << 8000 << 8000.0f;
    QTest::newRow("on the minimum") << 6.0f << 6 << 16 << 6.0f;
    QTest::newRow("zero under a raised minimum") << 0.0f << 6 << 16 << 6.0f;
    QTest::newRow("just above the maximum") << std::nextafter(16.0f, 17.0f) << 6 << 16 << 16.0f;
    QTest::newRow("infinity") << inf << 0 << 100 << 100.0f;
    QTest::newRow("minus infinity") << -inf << 0 << 100 << 0.0f;
    QTest::newRow("not a number rests on the minimum")
        << std::numeric_limits<float>::quiet_NaN() << 6 << 16 << 6.0f;
}

void TestGaugeGeometry::clamping()
{
    QFETCH(float, value);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(float, expected);
    QCOMPARE(clampValue(value, minimum, maximum), expected);
}

void TestGaugeGeometry::needleEnds_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("sweep");
    QTest::addColumn<QPoint>("end");
    // RPM 0..8000 on the 3840 x 3200 cell: centre (1920, 1792), radius 1760.
    QTest::newRow("minimum") << 0.0f << 0.0f << QPoint(1920 - 1245, 1792 + 1245);
    QTest::newRow("middle") << 4000.0f << 135.0f << QPoint(1920, 1792 - 1760);
    QTest::newRow("maximum") << 8000.0f << 270.0f << QPoint(1920 + 1245, 1792 + 1245);
    QTest::newRow("first number") << 1000.0f << 33.75f << QPoint(1920 - 1726, 1792 + 343);
    QTest::newRow("3200") << 3200.0f << 108.0f << QPoint(1920 - 799, 1792 - 1568);
}

void TestGaugeGeometry::needleEnds()
{
    QFETCH(float, value);
    QFETCH(float, sweep);
    QFETCH(QPoint, end);
    const float a = needleSweep(value, 0, *GaugeGeometry::degreesPerUnit(0, 8000));
    QCOMPARE(a, sweep);
    QCOMPARE(needleEnd(QPoint(1920, 1792), a, 1760), end);
}

void TestGaugeGeometry::valueCaptions_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("two decimals") << 3.14159f << 2 << "3.14";
    QTest::newRow("one decimal") << 3.14159f << 1 << "3.1";
    QTest::newRow("shortest for 0") << 3.14159f << 0 << "3.14159";
    QTest::newRow("shortest for 3") << 3.14159f << 3 << "3.14159";
    QTest::newRow("shortest for -1") << 12.5f << -1 << "12.5";
    QTest::newRow("shortest whole") << 100.0f << 0 << "100";
    QTest::newRow("shortest fraction") << 0.25f << 0 << "0.25";
    QTest::newRow("zero, two decimals") << 0.0f << 2 << "0.00";
    QTest::newRow("zero, one decimal") << 0.0f << 1 << "0.0";
    QTest::newRow("zero, shortest") << 0.0f << 0 << "0";
    QTest::newRow("pads with zeros") << 8000.0f << 2 << "8000.00";
    QTest::newRow("battery") << 12.6f << 1 << "12.6";
    QTest::newRow("half to even, down") << 0.25f << 1 << "0.2";
    QTest::newRow("half to even, up") << 0.75f << 1 << "0.8";
    QTest::newRow("half to even, two decimals") << 3.125f << 2 << "3.12";
    QTest::newRow("negative") << -3.14159f << 2 << "-3.14";
    QTest::newRow("no minus zero") << -0.001f << 2 << "0.00";
}

void TestGaugeGeometry::valueCaptions()
{
    QFETCH(float, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(valueCaptionText(value, qint16(decimals)), text);
}

void TestGaugeGeometry::peakRule_data()
{
    QTest::addColumn<QString>("peak");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected"); // empty: the caption stays as it is
    QTest::newRow("rises from 0") << "0" << 5.0f << "5";
    QTest::newRow("lower value leaves it") << "5" << 3.0f << "";
    QTest::newRow("equal value leaves it") << "5" << 5.0f << "";
    QTest::newRow("shortest text whatever the decimals") << "5" << 12.5f << "12.5";
    QTest::newRow("single precision text") << "0" << 0.1f << "0.1";
    QTest::newRow("same single value leaves it") << "0.1" << 0.1f << "";
    QTest::newRow("typed with a comma") << "12,5" << 12.5f << "";
    QTest::newRow("zero does not rise above 0") << "0" << 0.0f << "";
    QTest::newRow("negative range") << "-1" << -0.5f << "-0.5";
    QTest::newRow("empty caption takes the value") << "" << 3.0f << "3";
    QTest::newRow("garbage caption takes the value") << "abc" << 3.0f << "3";
}

void TestGaugeGeometry::peakRule()
{
    QFETCH(QString, peak);
    QFETCH(float, value);
    QFETCH(QString, expected);
    const std::optional<QString> text = peakCaptionText(peak, value);
    QCOMPARE(text.value_or(QString()), expected);
}

void TestGaugeGeometry::peakResetByZero()
{
    // The window writes "0" to reset; then 5 sets the peak and a later 3 leaves it.
    QString peak = "7.5";
    peak = "0";
    for (float value : {5.0f, 3.0f})
        peak = peakCaptionText(peak, value).value_or(peak);
    QCOMPARE(peak, QString("5"));
}

ORVANTIS_TEST(TestGaugeGeometry)
#include "tst_gaugegeometry.moc"
