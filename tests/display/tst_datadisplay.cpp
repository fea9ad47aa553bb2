#include "display/DataDisplayLayout.h"
#include "display/Indicators.h"
#include "tests/support/TestRegistry.h"

#include <QtTest>

class TestDataDisplayLogic : public QObject
{
    Q_OBJECT
private slots:
    void layoutAt1024x768();
    void layoutOfATinyWindowStopsWhereSizesRunOut_data();
    void layoutOfATinyWindowStopsWhereSizesRunOut();
    void indicatorTable();
};

void TestDataDisplayLogic::layoutAt1024x768()
{
    const DataDisplayLayout l = dataDisplayLayout(15360, 11520);
    QCOMPARE(l.columnWidth, 3840);
    QCOMPARE(l.rowHeight, 3200);
    QVERIFY(l.gaugesPlaced && l.buttonsPlaced && l.switchesPlaced);
    QCOMPARE(l.gauges[0], QRect(0, 0, 3840, 3200));
    QCOMPARE(l.gauges[5], QRect(3840, 3200, 3840, 3200));
    QCOMPARE(l.gauges[11], QRect(11520, 6400, 3840, 3200));
    QCOMPARE(l.dataLogButton, QRect(11904, 9600, 1920, 640));
    QCOMPARE(l.activeTestButton, QRect(11904, 10240, 1920, 640));
    QCOMPARE(l.buttonFontPoints, 10);
    QCOMPARE(l.registerFontPoints, 12);
    QCOMPARE(l.stateFontPoints, 10);
    const int tops[4] = {9600, 9955, 10310, 10665};
    const int nameLefts[3] = {768, 4608, 8448};
    const int boxLefts[3] = {384, 4224, 8064};
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(l.registerCaptions[i], QPoint(nameLefts[i / 4], tops[i % 4]));
        QCOMPARE(l.stateBoxes[i], QPoint(boxLefts[i / 4], tops[i % 4]));
    }
}

void TestDataDisplayLogic::layoutOfATinyWindowStopsWhereSizesRunOut_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("gauges");
    QTest::addColumn<bool>("buttons");
    QTest::addColumn<bool>("switches");
    QTest::newRow("nothing") << 0.0 << 0.0 << false << false << false;
    QTest::newRow("too narrow for a column") << 3.0 << 9000.0 << false << false << false;
    QTest::newRow("too narrow for button text") << 1000.0 << 9000.0 << true << false << false;
    QTest::newRow("all") << 4800.0 << 9000.0 << true << true << true;
}

void TestDataDisplayLogic::layoutOfATinyWindowStopsWhereSizesRunOut()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(bool, gauges);
    QFETCH(bool, buttons);
    QFETCH(bool, switches);
    const DataDisplayLayout l = dataDisplayLayout(width, height);
    QCOMPARE(l.gaugesPlaced, gauges);
    QCOMPARE(l.buttonsPlaced, buttons);
    QCOMPARE(l.switchesPlaced, switches);
}

void TestDataDisplayLogic::indicatorTable()
{
    QCOMPARE(Indicators::registerCaption(0), QString(" - Closed TPS"));
    QCOMPARE(Indicators::registerCaption(10), QString(" - A/F ratio"));
    QCOMPARE(Indicators::registerCaption(11), QString(" - EGR sol"));
    QCOMPARE(Indicators::designText(10), QString("Rich"));
    QCOMPARE(Indicators::designText(7), QString("Off"));
    const int flags[12] = {12, 12, 12, 12, 12, 13, 13, 13, 13, 14, 15, 14};
    for (int i = 0; i < 12; ++i)
        QCOMPARE(Indicators::registerFlag(i), flags[i]);
    QCOMPARE(Indicators::stateColour("Off").value_or(0), 65280u);
    QCOMPARE(Indicators::stateColour("Rich").value_or(0), 65280u);
    QCOMPARE(Indicators::stateColour("On").value_or(0), 255u);
    QCOMPARE(Indicators::stateColour("High").value_or(0), 255u);
    QCOMPARE(Indicators::stateColour("Lean").value_or(0), 255u);
    QCOMPARE(Indicators::stateColour("Low").value_or(0), 33023u);
    QVERIFY(!Indicators::stateColour("").has_value());
    QVERIFY(!Indicators::stateColour("on").has_value());
}

ORVANTIS_TEST(TestDataDisplayLogic)
#include "tst_datadisplay.moc"
