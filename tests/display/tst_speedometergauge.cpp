#include "app/MainWindowLogic.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "display/GaugeGeometry.h"
#include "display/SpeedometerGauge.h"
#include "tests/support/TestRegistry.h"

#include <QtTest>
#include <memory>

using namespace GaugeGeometry;

namespace {

// One gauge as an owning window builds it: the surface, its needle and captions, colours first.
// Band, tick and minor tick colours are told apart by channel: red, green and blue.
struct GaugeFixture
{
    MemorySettingsStore settings;
    QWidget window;
    GaugeSurface *surface = new GaugeSurface(&window);
    NeedleLine *needle = new NeedleLine(surface);
    GaugeCaption *peak = new GaugeCaption(QStringLiteral("0"), surface);
    GaugeCaption *value = new GaugeCaption(QStringLiteral("0"), surface);
    GaugeCaption *name = new GaugeCaption(QStringLiteral("RPM"), surface);
    SpeedometerGauge gauge{settings};

    explicit GaugeFixture(QSize pixels = QSize(240, 200))
    {
        applyStartupDefaults(settings);
        settings.save("Display", "GaugeCircle", "255");         // red
        settings.save("Display", "GaugeTicker", "65280");       // green
        settings.save("Display", "GaugeSubTicker", "16711680"); // blue
        surface->setBackColour(Qt::black);
        surface->setForeColour(Qt::white);
        surface->setGeometry(QRect(QPoint(0, 0), pixels));
    }

    void setup(qint32 minimum, qint32 maximum, qint32 ticks, qint32 minors, qint16 decimals)
    {
        gauge.Setup(surface, needle, peak, value, name, minimum, maximum, ticks, minors, decimals);
    }

    QImage dial() const { return surface->image().toImage(); }
    QPoint px(QPoint twips) const { return surface->toPixels(twips); }
};

// At 96 dpi a pixel is 15 twips; the expected places below are worked out for that.
bool at96Dpi(const QWidget *w)
{
    return w->logicalDpiX() == 96 && w->logicalDpiY() == 96;
}

QColor pixel(const QImage &image, QPoint p)
{
    if (image.isNull() || !image.rect().contains(p))
        return QColor();
    return image.pixelColor(p);
}

// Antialiased digits in white on black are pure greys; nothing else on the dial is.
bool isDigitPixel(const QColor &c)
{
    return c.red() > 0 && c.red() == c.green() && c.green() == c.blue();
}

} // namespace

class TestSpeedometerGauge : public QObject
{
    Q_OBJECT
private slots:
    void setupRestsTheNeedleOnTheMinimum_data();
    void setupRestsTheNeedleOnTheMinimum();
    void needleFollowsTheValue_data();
    void needleFollowsTheValue();
    void tallAreaTakesTheRadiusFromTheWidth();
    void captionsPlacedFromTheirOwnSize();
    void peakRisesAndIsResetByZero();
    void dialIsDrawnOnlyBySetup();
    void bandAndTicksInTheirColours();
    void minorTicks_data();
    void minorTicks();
    void numbersPrintedWhereComputed_data();
    void numbersPrintedWhereComputed();
    void failuresStopTheDrawingQuietly_data();
    void failuresStopTheDrawingQuietly();
    void emptyRangeLeavesTheNeedleOnTheMinimum();
    void tinySurfaces_data();
    void tinySurfaces();
    void valueBeforeSetupIsHarmless();
    void deletedOverlaysAreSkipped();
    void captionSizesItselfToItsText();
    void captionReportsClicks();
    void needleCoversOnlyItsOwnBounds();
};

void TestSpeedometerGauge::setupRestsTheNeedleOnTheMinimum_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("peak");
    QTest::newRow("RPM") << 0 << 8000 << 0 << "0"
                         << "0";
    // The 0 written by Setup is pinned to 6, which is above the peak caption's initial "0".
    QTest::newRow("battery, minimum above 0") << 6 << 16 << 1 << "6.0"
                                              << "6";
    QTest::newRow("injector") << 0 << 40 << 2 << "0.00"
                              << "0";
}

void TestSpeedometerGauge::setupRestsTheNeedleOnTheMinimum()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, decimals);
    QFETCH(QString, caption);
    QFETCH(QString, peak);

    GaugeFixture f;
    if (!at96Dpi(f.surface))
        QSKIP("expected pixels are for 96 dpi");
    f.setup(minimum, maximum, 8, 5, qint16(decimals));

    // 240 x 200 px = 3600 x 3000 twips: wide, radius 1650, centre (1800, 1680) = (120, 112) px.
    // Minimum: offset (-1167, 1167) -> (633, 2847) twips = (42.2, 189.8) px.
    QCOMPARE(f.gauge.value(), float(minimum));
    QCOMPARE(f.value->text(), caption);
    QCOMPARE(f.needle->line(), QLine(120, 112, 42, 190));
    QCOMPARE(f.needle->lineWidth(), 3); // nearest(1650 x 0.002 = 3.3)
    QCOMPARE(f.peak->text(), peak);
}

void TestSpeedometerGauge::needleFollowsTheValue_data()
{
    QTest::addColumn<float>("newValue");
    QTest::addColumn<float>("stored");
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("peak");
    // RPM 0..8000 on 240 x 200 px; twips of the end point in the comments.
    QTest::newRow("minimum") << 0.0f << 0.0f << QPoint(42, 190) << "0"
                             << "0"; // (633, 2847)
    QTest::newRow("middle") << 4000.0f << 4000.0f << QPoint(120, 2) << "4000"
                            << "4000"; // (1800, 30)
    QTest::newRow("maximum") << 8000.0f << 8000.0f << QPoint(198, 190) << "8000"
                             << "8000"; // (2967, 2847)
    QTest::newRow("quarter") << 2000.0f << 2000.0f << QPoint(18, 70) << "2000"
                             << "2000"; // (276, 1049)
    QTest::newRow("below pins to the minimum") << -250.0f << 0.0f << QPoint(42, 190) << "0"
                                               << "0";
    QTest::newRow("above pins to the maximum, peak too")
        << 9500.0f << 8000.0f << QPoint(198, 190) << "8000"
        << "8000";
    // Sweep 41.664375: offset (-1647, 96) -> (153, 1776) twips = (10.2, 118.4) px.
    QTest::newRow("fraction, shortest text") << 1234.5f << 1234.5f << QPoint(10, 118) << "1234.5"
                                             << "1234.5";
}

void TestSpeedometerGauge::needleFollowsTheValue()
{
    QFETCH(float, newValue);
    QFETCH(float, stored);
    QFETCH(QPoint, end);
    QFETCH(QString, caption);
    QFETCH(QString, peak);

    GaugeFixture f;
    if (!at96Dpi(f.surface))
        QSKIP("expected pixels are for 96 dpi");
    f.setup(0, 8000, 8, 5, 0);
    f.gauge.setValue(newValue);
    QCOMPARE(f.gauge.value(), stored);
    QCOMPARE(f.needle->line(), QLine(QPoint(120, 112), end));
    QCOMPARE(f.value->text(), caption);
    QCOMPARE(f.peak->text(), peak);
}

void TestSpeedometerGauge::tallAreaTakesTheRadiusFromTheWidth()
{
    // 150 x 300 px = 2250 x 4500 twips: radius nearest(1125 x 0.95) = 1069, centre (1125, 2520).
    GaugeFixture f(QSize(150, 300));
    if (!at96Dpi(f.surface))
        QSKIP("expected pixels are for 96 dpi");
    f.setup(0, 100, 10, 5, 0);
    f.gauge.setValue(50);
    QCOMPARE(f.needle->line(), QLine(75, 168, 75, 97)); // top at 2520 - 1069 = 1451 twips
    QCOMPARE(f.needle->lineWidth(), 2);                 // nearest(2.138)
    QCOMPARE(f.value->fontSize(), 1069 * 0.015);
}

void TestSpeedometerGauge::captionsPlacedFromTheirOwnSize()
{
    GaugeFixture f;
    if (!at96Dpi(f.surface))
        QSKIP("expected pixels are for 96 dpi");
    f.setup(0, 8000, 8, 5, 0);

    // Radius 1650: fonts 24.75, 8.25 and 11.55 points.
    QCOMPARE(f.value->fontSize(), 24.75);
    QCOMPARE(f.peak->fontSize(), 8.25);
    QCOMPARE(f.name->fontSize(), 11.55);

    // Places in twips from the captions' own sizes (15 twips a pixel), W = 3600, H = 3000.
    const auto left = [](const GaugeCaption *c) {
        return twipsToPixels(1800 - nearest(c->width() * 15.0) / 2, 96);
    };
    const auto top = [](double twips) { return twipsToPixels(nearest(twips), 96); };
    QCOMPARE(f.name->pos(), QPoint(left(f.name), top(1500 - f.name->height() * 15.0)));
    QCOMPARE(f.peak->pos(), QPoint(left(f.peak), top((1500 - f.peak->height() * 15.0) * 1.7)));
    QCOMPARE(f.value->pos(), QPoint(left(f.value), top(3000 - f.value->height() * 15.0)));
    // Centred on the area, the value caption on the bottom edge.
    QVERIFY(qAbs(f.name->geometry().center().x() - 120) <= 1);
    QCOMPARE(f.value->geometry().bottom() + 1, 200);

    // A longer text widens the caption and leaves its left where Setup put it.
    const QRect before = f.value->geometry();
    f.gauge.setValue(7500);
    QCOMPARE(f.value->x(), before.x());
    QVERIFY(f.value->width() > before.width());
}

void TestSpeedometerGauge::peakRisesAndIsResetByZero()
{
    GaugeFixture f;
    f.setup(0, 100, 10, 5, 0);
    f.gauge.setValue(5);
    QCOMPARE(f.peak->text(), QString("5"));
    f.gauge.setValue(3);
    QCOMPARE(f.peak->text(), QString("5"));
    QCOMPARE(f.value->text(), QString("3"));

    f.peak->setText("0"); // the owner's reset
    f.gauge.setValue(3);
    QCOMPARE(f.peak->text(), QString("3"));

    // A new layout keeps the peak and leaves the needle on the clamped 0.
    f.setup(0, 100, 10, 5, 2);
    QCOMPARE(f.peak->text(), QString("3"));
    QCOMPARE(f.value->text(), QString("0.00"));
    f.gauge.setValue(12.5);
    QCOMPARE(f.peak->text(), QString("12.5")); // shortest text whatever the decimals
    QCOMPARE(f.value->text(), QString("12.50"));
}

void TestSpeedometerGauge::dialIsDrawnOnlyBySetup()
{
    GaugeFixture f;
    QCOMPARE(f.gauge.dialDrawCount(), 0);
    f.setup(0, 8000, 8, 5, 0);
    QCOMPARE(f.gauge.dialDrawCount(), 1);
    const QImage dial = f.dial();
    const qint64 key = f.surface->image().cacheKey();

    for (int rpm = 0; rpm <= 8000; rpm += 250)
        f.gauge.setValue(float(rpm));
    QCOMPARE(f.gauge.dialDrawCount(), 1);
    QCOMPARE(f.surface->image().cacheKey(), key);
    QCOMPARE(f.dial(), dial);

    f.surface->resize(300, 250); // the owner lays out again and sets up again
    f.setup(0, 8000, 8, 5, 0);
    QCOMPARE(f.gauge.dialDrawCount(), 2);
    QCOMPARE(f.dial().size(), QSize(300, 250));
}

void TestSpeedometerGauge::bandAndTicksInTheirColours()
{
    GaugeFixture f;
    f.setup(0, 8000, 8, 5, 0);
    const QImage dial = f.dial();
    const QPoint c(1800, 1680);
    const qint32 r = 1650;

    // The band between two ticks, away from the minor ticks (which start at 0.91 R).
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 138.4, r * 0.86))), QColor(Qt::red));
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 10.0, r * 0.86))), QColor(Qt::red));
    // The numbered tick straight up, two pixels wide over the band.
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 135.0, r * 0.91))), QColor(Qt::green));
    // The other numbered ticks show green over the band.
    for (int i = 0; i <= 8; ++i) {
        const QColor tick = pixel(dial, f.px(dialPoint(c, i * 33.75, r * 0.87)));
        QVERIFY2(tick.green() > 100 && tick.blue() == 0, qPrintable(QString::number(i)));
    }
    // The band runs from 5.5 to 3.95 radians through the top: just past sweep 270 on the right
    // and just before sweep 0 on the left, open between.
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 2.0, r * 0.86))), QColor(Qt::red));
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 268.0, r * 0.86))), QColor(Qt::red));
    QCOMPARE(pixel(dial, f.px(dialPoint(c, -5.0, r * 0.86))), QColor(Qt::black));
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 275.0, r * 0.86))), QColor(Qt::black));
    // The bottom of the dial is open, and the band stays outside 0.82 R less the pen.
    QCOMPARE(pixel(dial, f.px(QPoint(1800, 2990))), QColor(Qt::black));
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 135.0, r * 0.75))), QColor(Qt::black));
    QCOMPARE(pixel(dial, QPoint(0, 0)), QColor(Qt::black));
    QCOMPARE(pixel(dial, QPoint(239, 0)), QColor(Qt::black));
}

void TestSpeedometerGauge::minorTicks_data()
{
    QTest::addColumn<int>("minors");
    QTest::addColumn<QVector<double>>("present");
    QTest::addColumn<QVector<double>>("absent");
    // 0..8000, 8 intervals of 33.75 degrees.
    QTest::newRow("two divisions: one halfway")
        << 2 << QVector<double>{16.875, 50.625, 151.875, 253.125}
        << QVector<double>{8.4375, 25.3125, 135.0 + 8.4375};
    QTest::newRow("one division: none")
        << 1 << QVector<double>{} << QVector<double>{16.875, 151.875, 253.125};
    QTest::newRow("five divisions")
        << 5 << QVector<double>{6.75, 13.5, 20.25, 27.0, 141.75} << QVector<double>{16.875, 3.375};
}

void TestSpeedometerGauge::minorTicks()
{
    QFETCH(int, minors);
    QFETCH(QVector<double>, present);
    QFETCH(QVector<double>, absent);

    GaugeFixture f;
    f.setup(0, 8000, 8, minors, 0);
    const QImage dial = f.dial();
    const QPoint c(1800, 1680);

    // Blue without green only comes from minor ticks (white digits have as much green as blue);
    // look around the middle of where each one would be.
    const auto minorBlue = [](const QColor &colour) {
        return colour.green() == 0 ? colour.blue() : 0;
    };
    const auto blueNear = [&](double sweep) {
        const QPoint at = f.px(dialPoint(c, sweep, 1650 * 0.955));
        int blue = 0;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                blue = qMax(blue, minorBlue(pixel(dial, at + QPoint(dx, dy))));
        return blue;
    };
    for (double sweep : present)
        QVERIFY2(blueNear(sweep) > 64, qPrintable(QString::number(sweep)));
    for (double sweep : absent)
        QVERIFY2(blueNear(sweep) == 0, qPrintable(QString::number(sweep)));

    // Nothing after the last number, and no blue at all without minor ticks.
    QCOMPARE(blueNear(270.0 + 16.875), 0);
    if (minors == 1) {
        for (int y = 0; y < dial.height(); ++y)
            for (int x = 0; x < dial.width(); ++x)
                QCOMPARE(minorBlue(dial.pixelColor(x, y)), 0);
    }
}

void TestSpeedometerGauge::numbersPrintedWhereComputed_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("ticks");
    QTest::newRow("RPM") << 0 << 8000 << 8;
    QTest::newRow("0..5 in 2") << 0 << 5 << 2;
    QTest::newRow("battery") << 6 << 16 << 10;
    QTest::newRow("negative numbers") << -40 << 40 << 4;
}

void TestSpeedometerGauge::numbersPrintedWhereComputed()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, ticks);

    GaugeFixture f(QSize(400, 330)); // big enough for readable digits
    f.setup(minimum, maximum, ticks, 2, 0);
    const QImage dial = f.dial();
    const int w = nearest(f.surface->interiorWidth());
    const int h = nearest(f.surface->interiorHeight());
    const QPoint c(centreX(w), centreY(h));
    const qint32 r = dialRadius(w, h);
    const double step = 270.0 / ticks;

    // Each number's cell, from its measured size and the print form (a blank each side).
    QVector<QRect> cells;
    QVERIFY(f.surface->setFontSize(dialNumberFontSize(r)));
    for (int i = 0; i <= ticks; ++i) {
        const qint32 n = dialNumber(minimum, maximum, i, ticks);
        const QSizeF digits = f.surface->textSize(numberText(n));
        const QSizeF printed = f.surface->textSize(numberPrintForm(n));
        const QPointF topLeft =
            numberPosition(majorTick(c, r, i * step).to, i * step, digits.width(), digits.height());
        const QRect cell(f.px(topLeft.toPoint()),
                         f.px((topLeft + QPointF(printed.width(), printed.height())).toPoint()));
        cells.append(cell.adjusted(-1, -1, 1, 1));
    }
    QVector<int> inCell(cells.size(), 0);
    for (int y = 0; y < dial.height(); ++y) {
        for (int x = 0; x < dial.width(); ++x) {
            if (!isDigitPixel(dial.pixelColor(x, y)))
                continue;
            bool placed = false;
            for (int k = 0; k < cells.size(); ++k) {
                if (cells[k].contains(x, y)) {
                    ++inCell[k];
                    placed = true;
                }
            }
            QVERIFY2(placed, qPrintable(QString("digit pixel at %1,%2").arg(x).arg(y)));
        }
    }
    for (int k = 0; k < cells.size(); ++k)
        QVERIFY2(inCell[k] > 10, qPrintable(QString("number %1 missing").arg(k)));
}

void TestSpeedometerGauge::failuresStopTheDrawingQuietly_data()
{
    QTest::addColumn<QString>("circle");
    QTest::addColumn<QString>("ticker");
    QTest::addColumn<QString>("subTicker");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("minors");
    QTest::addColumn<int>("dialDraws");
    QTest::addColumn<bool>("band");
    QTest::addColumn<bool>("firstTick");
    QTest::addColumn<bool>("topTick");
    QTest::addColumn<bool>("captionsPlaced");

    const QString red = "255", green = "65280", blue = "16711680", missing;
    QTest::newRow("all well") << red << green << blue << 0 << 8000 << 8 << 5 << 1 << true << true
                              << true << true;
    QTest::newRow("band colour missing")
        << missing << green << blue << 0 << 8000 << 8 << 5 << 1 << false << false << false << false;
    QTest::newRow("band colour not a number")
        << "blue" << green << blue << 0 << 8000 << 8 << 5 << 1 << false << false << false << false;
    QTest::newRow("tick colour a fraction")
        << red << "12.5" << blue << 0 << 8000 << 8 << 5 << 1 << true << false << false << false;
    QTest::newRow("tick colour not a colour")
        << red << "-1" << blue << 0 << 8000 << 8 << 5 << 1 << true << false << false << false;
    // The first numbered tick is drawn before the first minor tick needs its colour.
    QTest::newRow("minor tick colour missing")
        << red << green << missing << 0 << 8000 << 8 << 5 << 1 << true << true << false << false;
    QTest::newRow("minor tick colour unused with one division")
        << red << green << missing << 0 << 8000 << 8 << 1 << 1 << true << true << true << true;
    QTest::newRow("empty range") << red << green << blue << 5 << 5 << 8 << 5 << 0 << false << false
                                 << false << false;
    QTest::newRow("no intervals") << red << green << blue << 0 << 8000 << 0 << 5 << 1 << true
                                  << false << false << false;
    QTest::newRow("no minor divisions")
        << red << green << blue << 0 << 8000 << 8 << 0 << 1 << true << false << false << false;
}

void TestSpeedometerGauge::failuresStopTheDrawingQuietly()
{
    QFETCH(QString, circle);
    QFETCH(QString, ticker);
    QFETCH(QString, subTicker);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, ticks);
    QFETCH(int, minors);
    QFETCH(int, dialDraws);
    QFETCH(bool, band);
    QFETCH(bool, firstTick);
    QFETCH(bool, topTick);
    QFETCH(bool, captionsPlaced);

    QTest::failOnWarning(QRegularExpression(".*"));
    GaugeFixture f;
    f.settings.remove("Display", "GaugeCircle");
    f.settings.remove("Display", "GaugeTicker");
    f.settings.remove("Display", "GaugeSubTicker");
    if (!circle.isNull())
        f.settings.save("Display", "GaugeCircle", circle);
    if (!ticker.isNull())
        f.settings.save("Display", "GaugeTicker", ticker);
    if (!subTicker.isNull())
        f.settings.save("Display", "GaugeSubTicker", subTicker);

    // Where the captions and the needle were before; a failed Setup leaves them there.
    for (GaugeCaption *caption : {f.peak, f.value, f.name})
        caption->move(3, 4);
    f.needle->setPoints(QPoint(5, 6), QPoint(7, 8));

    f.setup(minimum, maximum, ticks, minors, 0);

    QCOMPARE(f.gauge.dialDrawCount(), dialDraws);
    const QImage dial = f.dial();
    const QPoint c(1800, 1680);
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 138.4, 1650 * 0.86))) == QColor(Qt::red), band);
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 0.0, 1650 * 0.91))).green() > 100, firstTick);
    QCOMPARE(pixel(dial, f.px(dialPoint(c, 135.0, 1650 * 0.91))) == QColor(Qt::green), topTick);
    for (GaugeCaption *caption : {f.peak, f.value, f.name})
        QCOMPARE(caption->pos() != QPoint(3, 4), captionsPlaced);
    QCOMPARE(f.needle->line() != QLine(5, 6, 7, 8), captionsPlaced);

    // The gauge still takes values afterwards.
    f.gauge.setValue(float(maximum));
    QCOMPARE(f.gauge.value(), float(maximum));
    QCOMPARE(f.value->text(), QString::number(maximum));
}

void TestSpeedometerGauge::emptyRangeLeavesTheNeedleOnTheMinimum()
{
    GaugeFixture f;
    if (!at96Dpi(f.surface))
        QSKIP("expected pixels are for 96 dpi");
    f.setup(0, 8000, 8, 5, 0);
    f.gauge.setValue(4000);
    // A range that cannot be drawn: values pin to it and the needle rests on the minimum.
    f.setup(5, 5, 8, 5, 0);
    f.gauge.setValue(4000);
    QCOMPARE(f.gauge.value(), 5.0f);
    QCOMPARE(f.value->text(), QString("5"));
    QCOMPARE(f.needle->line(), QLine(120, 112, 42, 190));
    QCOMPARE(f.peak->text(), QString("4000"));
}

void TestSpeedometerGauge::tinySurfaces_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("nothing") << QSize(0, 0);
    QTest::newRow("one pixel") << QSize(1, 1);
    QTest::newRow("a sliver") << QSize(3, 200);
    QTest::newRow("a line") << QSize(300, 1);
}

void TestSpeedometerGauge::tinySurfaces()
{
    QFETCH(QSize, size);
    QTest::failOnWarning(QRegularExpression(".*"));
    GaugeFixture f(size);
    f.setup(0, 8000, 8, 5, 0);
    f.gauge.setValue(3000);
    QCOMPARE(f.gauge.value(), 3000.0f);
    QCOMPARE(f.value->text(), QString("3000"));
    QVERIFY(f.gauge.dialDrawCount() <= 1);
}

void TestSpeedometerGauge::valueBeforeSetupIsHarmless()
{
    GaugeFixture f;
    f.gauge.setValue(3000); // no range yet: pinned to the empty one
    QCOMPARE(f.gauge.value(), 0.0f);
    QCOMPARE(f.value->text(), QString("0"));
    QCOMPARE(f.needle->line(), QLine());
    QCOMPARE(f.gauge.dialDrawCount(), 0);
}

void TestSpeedometerGauge::deletedOverlaysAreSkipped()
{
    GaugeFixture f;
    f.setup(0, 8000, 8, 5, 0);
    delete f.peak;
    f.gauge.setValue(2000);
    QCOMPARE(f.value->text(), QString("2000"));
    const QLine line = f.needle->line();
    delete f.value;
    f.gauge.setValue(4000);
    QVERIFY(f.needle->line() != line);
    // Set up again with an overlay gone: nothing is drawn, nothing breaks.
    f.gauge.Setup(f.surface, f.needle, nullptr, nullptr, f.name, 0, 8000, 8, 5, 0);
    QCOMPARE(f.gauge.dialDrawCount(), 1);
}

void TestSpeedometerGauge::captionSizesItselfToItsText()
{
    QWidget parent;
    GaugeCaption caption("0", &parent);
    caption.move(10, 20);
    QVERIFY(caption.setFontSize(20));
    const QSize small = caption.size();
    QCOMPARE(small, QSize(QFontMetrics(caption.font()).horizontalAdvance("0"),
                          QFontMetrics(caption.font()).height()));
    caption.setText("8000");
    QVERIFY(caption.width() > 3 * small.width());
    QCOMPARE(caption.height(), small.height());
    QCOMPARE(caption.pos(), QPoint(10, 20));
    QVERIFY(caption.setFontSize(40));
    QVERIFY(caption.height() > small.height());
    QCOMPARE(caption.pos(), QPoint(10, 20));

    QVERIFY(!caption.setFontSize(0));
    QVERIFY(!caption.setFontSize(-3));
    QCOMPARE(caption.fontSize(), 40.0);
}

void TestSpeedometerGauge::captionReportsClicks()
{
    QWidget parent;
    GaugeCaption caption("1234", &parent);
    QSignalSpy clicked(&caption, &GaugeCaption::clicked);
    QTest::mouseClick(&caption, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(&caption, Qt::RightButton);
    QCOMPARE(clicked.count(), 1);
}

void TestSpeedometerGauge::needleCoversOnlyItsOwnBounds()
{
    GaugeFixture f;
    f.setup(0, 8000, 8, 5, 0);
    f.gauge.setValue(8000);
    const QLine line = f.needle->line();
    const QRect bounds = f.needle->geometry();
    QVERIFY(bounds.contains(line.p1()) && bounds.contains(line.p2()));
    QVERIFY(bounds.width() < f.surface->width() / 2 + 10);
    QVERIFY(bounds.height() < f.surface->height() / 2 + 10);
    QVERIFY(f.needle->testAttribute(Qt::WA_TransparentForMouseEvents));
}

ORVANTIS_TEST(TestSpeedometerGauge)
#include "tst_speedometergauge.moc"
