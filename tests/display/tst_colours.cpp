#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "display/ColourValue.h"
#include "display/Colours.h"
#include "tests/support/TestRegistry.h"

#include <QtTest>

class TestColours : public QObject
{
    Q_OBJECT
private slots:
    void storedTexts_data();
    void storedTexts();
    void textsThatAreNoColour_data();
    void textsThatAreNoColour();
    void numbersRoundTrip_data();
    void numbersRoundTrip();
    void systemColoursTakeTheirPaletteRole_data();
    void systemColoursTakeTheirPaletteRole();
    void systemNumbersWithoutARole_data();
    void systemNumbersWithoutARole();
    void readsTheDisplayDefaults();
    void missingOrBrokenKeysGiveNoColour();
};

void TestColours::storedTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("system");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("systemIndex");

    QTest::newRow("black") << "0" << false << 0 << 0 << 0 << -1;
    QTest::newRow("white") << "16777215" << false << 255 << 255 << 255 << -1;
    QTest::newRow("red is the low byte") << "255" << false << 255 << 0 << 0 << -1;
    QTest::newRow("green") << "65280" << false << 0 << 255 << 0 << -1;
    QTest::newRow("blue is the high byte") << "16711680" << false << 0 << 0 << 255 << -1;
    QTest::newRow("orange") << "33023" << false << 255 << 128 << 0 << -1;
    QTest::newRow("cyan") << "16776960" << false << 0 << 255 << 255 << -1;
    QTest::newRow("mixed bytes") << "1193046" << false << 0x56 << 0x34 << 0x12 << -1;
    QTest::newRow("blanks around") << "  255 " << false << 255 << 0 << 0 << -1;
    QTest::newRow("plus sign") << "+65280" << false << 0 << 255 << 0 << -1;
    QTest::newRow("button face") << "-2147483633" << true << 0x0F << 0 << 0 << 15;
    QTest::newRow("button text") << "-2147483630" << true << 0x12 << 0 << 0 << 18;
    QTest::newRow("system 0") << "-2147483648" << true << 0 << 0 << 0 << 0;
    QTest::newRow("system 255") << "-2147483393" << true << 0xFF << 0 << 0 << 255;
}

void TestColours::storedTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, system);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(int, systemIndex);

    const std::optional<ColourValue> value = ColourValue::fromText(text);
    QVERIFY(value);
    QCOMPARE(value->isSystem(), system);
    QCOMPARE(value->systemIndex(), systemIndex);
    if (!system) {
        QCOMPARE(int(value->red()), red);
        QCOMPARE(int(value->green()), green);
        QCOMPARE(int(value->blue()), blue);
        QCOMPARE(Colours::toQColor(*value, QPalette()), QColor(red, green, blue));
    }
}

void TestColours::textsThatAreNoColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << " ";
    QTest::newRow("word") << "red";
    QTest::newRow("fraction") << "12.5";
    QTest::newRow("fraction with comma") << "12,5";
    QTest::newRow("exponent") << "1e3";
    QTest::newRow("hex prefix") << "&HFF";
    QTest::newRow("C hex") << "0xFF";
    QTest::newRow("two numbers") << "12 34";
    QTest::newRow("sign only") << "-";
    QTest::newRow("above 24 bits") << "16777216";
    QTest::newRow("top of 31 bits") << "2147483647";
    QTest::newRow("beyond 32 bits") << "2147483648";
    QTest::newRow("below 32 bits") << "-2147483649";
    QTest::newRow("many digits") << "000000000000255";
    QTest::newRow("minus one") << "-1";
    QTest::newRow("negative but not a system colour") << "-2147483391"; // 0x80000101
}

void TestColours::textsThatAreNoColour()
{
    QFETCH(QString, text);
    QVERIFY(!ColourValue::fromText(text));
    QVERIFY(!Colours::fromText(text, QPalette()));
}

void TestColours::numbersRoundTrip_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QString>("text");
    QTest::newRow("red") << 255 << 0 << 0 << "255";
    QTest::newRow("blue") << 0 << 0 << 255 << "16711680";
    QTest::newRow("grey") << 128 << 128 << 128 << "8421504";
    QTest::newRow("white") << 255 << 255 << 255 << "16777215";
}

void TestColours::numbersRoundTrip()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QString, text);

    // A colour picked in the dialog is stored as this text and reads back as the same colour.
    const ColourValue value = Colours::fromQColor(QColor(red, green, blue));
    QCOMPARE(value.toText(), text);
    QCOMPARE(ColourValue::fromText(text), std::optional<ColourValue>(value));
    QCOMPARE(Colours::fromText(text, QPalette()), std::optional<QColor>(QColor(red, green, blue)));

    QCOMPARE(ColourValue::system(15).toText(), QString("-2147483633"));
    QCOMPARE(ColourValue::system(18).toNumber(), qint32(-2147483630));
}

void TestColours::systemColoursTakeTheirPaletteRole_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::newRow("button face") << 15 << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("button text") << 18 << int(QPalette::Active) << int(QPalette::ButtonText);
    QTest::newRow("window") << 5 << int(QPalette::Active) << int(QPalette::Base);
    QTest::newRow("window text") << 8 << int(QPalette::Active) << int(QPalette::Text);
    QTest::newRow("menu") << 4 << int(QPalette::Active) << int(QPalette::Window);
    QTest::newRow("menu text") << 7 << int(QPalette::Active) << int(QPalette::WindowText);
    QTest::newRow("highlight") << 13 << int(QPalette::Active) << int(QPalette::Highlight);
    QTest::newRow("highlight text")
        << 14 << int(QPalette::Active) << int(QPalette::HighlightedText);
    QTest::newRow("button shadow") << 16 << int(QPalette::Active) << int(QPalette::Dark);
    QTest::newRow("grey text") << 17 << int(QPalette::Disabled) << int(QPalette::Text);
    QTest::newRow("button highlight") << 20 << int(QPalette::Active) << int(QPalette::Light);
    QTest::newRow("3D dark shadow") << 21 << int(QPalette::Active) << int(QPalette::Shadow);
    QTest::newRow("3D light") << 22 << int(QPalette::Active) << int(QPalette::Midlight);
    QTest::newRow("info text") << 23 << int(QPalette::Active) << int(QPalette::ToolTipText);
    QTest::newRow("info background") << 24 << int(QPalette::Active) << int(QPalette::ToolTipBase);
    QTest::newRow("hot light") << 26 << int(QPalette::Active) << int(QPalette::Link);
    QTest::newRow("menu bar") << 30 << int(QPalette::Active) << int(QPalette::Window);
}

void TestColours::systemColoursTakeTheirPaletteRole()
{
    QFETCH(int, index);
    QFETCH(int, group);
    QFETCH(int, role);

    // Every role and group gets a colour of its own, so a wrong mapping shows.
    QPalette palette;
    int n = 1;
    for (int g : {QPalette::Active, QPalette::Disabled, QPalette::Inactive}) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            if (r != QPalette::NoRole)
                palette.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r),
                                 QColor::fromRgb(n * 3, 255 - n, n));
            ++n;
        }
    }
    const QColor expected = palette.color(QPalette::ColorGroup(group), QPalette::ColorRole(role));
    const std::optional<QColor> colour =
        Colours::fromText(ColourValue::system(quint8(index)).toText(), palette);
    QVERIFY(colour);
    QCOMPARE(*colour, expected);
}

void TestColours::systemNumbersWithoutARole_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("desktop") << 1;
    QTest::newRow("unused 25") << 25;
    QTest::newRow("past the table") << 31;
    QTest::newRow("last") << 255;
}

void TestColours::systemNumbersWithoutARole()
{
    QFETCH(int, index);
    QVERIFY(ColourValue::fromText(ColourValue::system(quint8(index)).toText()));
    QVERIFY(!Colours::toQColor(ColourValue::system(quint8(index)), QPalette()));
}

void TestColours::readsTheDisplayDefaults()
{
    MemorySettingsStore store;
    applyStartupDefaults(store);
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));

    const auto read = [&](const char *key) {
        return Colours::read(store, "Display", key, palette);
    };
    QCOMPARE(read("GaugeBack"), std::optional<QColor>(QColor(0, 0, 0)));
    QCOMPARE(read("GaugeDigits"), std::optional<QColor>(QColor(255, 255, 255)));
    QCOMPARE(read("GaugeName"), std::optional<QColor>(QColor(0, 255, 255)));
    QCOMPARE(read("GaugeNeedle"), std::optional<QColor>(QColor(255, 0, 0)));
    QCOMPARE(read("GaugeCircle"), std::optional<QColor>(QColor(0, 0, 255)));
    QCOMPARE(read("GaugeWindow"), std::optional<QColor>(QColor(1, 2, 3)));
    QCOMPARE(read("GaugeRegister"), std::optional<QColor>(QColor(4, 5, 6)));
}

void TestColours::missingOrBrokenKeysGiveNoColour()
{
    MemorySettingsStore store;
    QVERIFY(!Colours::read(store, "Display", "GaugeCircle", QPalette()));
    store.save("Display", "GaugeCircle", "blue");
    QVERIFY(!Colours::read(store, "Display", "GaugeCircle", QPalette()));
    store.save("Display", "GaugeCircle", "16711680");
    QCOMPARE(Colours::read(store, "Display", "GaugeCircle", QPalette()),
             std::optional<QColor>(QColor(0, 0, 255)));
}

ORVANTIS_TEST(TestColours)
#include "tst_colours.moc"
