#include "app/Numbers.h"
#include "app/ProgramState.h"
#include "config/Catalogue.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsReaders.h"
#include "config/SettingsStore.h"

#include <QTemporaryDir>
#include "tests/support/TestRegistry.h"

#include <QtTest>

class TestConfig : public QObject
{
    Q_OBJECT
private slots:
    void emptyStoreGetsExactlyTheDefaultTable();
    void startupLeavesAnyNonEmptyTextAlone();
    void deletingOneKeyRestoresOnlyThatKey();
    void readersFallBackToTheDefault_data();
    void readersFallBackToTheDefault();
    void optionConversions_data();
    void optionConversions();
    void qsettingsStoreKeepsTextsExactly();

    void numberHelpers();

    void catalogueFollowsTheUnits();
    void frameLengths_data();
    void frameLengths();
    void handEditedSelectionFallsBackToItsDefault();
};

void TestConfig::emptyStoreGetsExactlyTheDefaultTable()
{
    MemorySettingsStore store;
    applyStartupDefaults(store);

    // Sections 1 to 9 with their keys and texts, as start-up writes them.
    const QList<QStringList> expected = {
        {"Setup", "Gauge0", "0"},
        {"Setup", "Gauge1", "6"},
        {"Setup", "Gauge2", "3"},
        {"Setup", "Gauge3", "7"},
        {"Setup", "Gauge4", "13"},
        {"Setup", "Gauge5", "12"},
        {"Setup", "Gauge6", "20"},
        {"Setup", "Gauge7", "15"},
        {"Setup", "Gauge8", "8"},
        {"Setup", "Gauge9", "1"},
        {"Setup", "Gauge10", "4"},
        {"Setup", "Gauge11", "14"},
        {"Setup", "Register13", "1"},
        {"Setup", "Register1E", "1"},
        {"Setup", "Register1F", "1"},
        {"Setup", "Register21", "1"},
        {"Comms", "ComPort", "1"},
        {"Comms", "Speed", "9600"},
        {"Comms", "RomComm", "C9"},
        {"Comms", "ECUid", "EF"},
        {"Comms", "OBDIImodel", "0"},
        {"Comms", "AutoConnect", "0"},
        {"Preferences", "Speed", "0"},
        {"Preferences", "Temperature", "0"},
        {"Display", "GaugeBack", "0"},
        {"Display", "GaugeDigits", "16777215"},
        {"Display", "GaugeMax", "65280"},
        {"Display", "GaugeValue", "65280"},
        {"Display", "GaugeName", "16776960"},
        {"Display", "GaugeNeedle", "255"},
        {"Display", "GaugeCircle", "16711680"},
        {"Display", "GaugeTicker", "65280"},
        {"Display", "GaugeSubTicker", "65280"},
        {"Display", "GaugeWindow", "-2147483633"},
        {"Display", "GaugeRegister", "-2147483630"},
        {"RomData", "StartAddress", "0000"},
        {"RomData", "StopAddress", "7FFF"},
        {"AdrWatch", "Address1", "0000"},
        {"AdrWatch", "Address2", "0001"},
        {"AdrWatch", "Address3", "0002"},
        {"MapTrace", "TPmsbAddress", "F777"},
        {"MapTrace", "RPMmsbAddress", "F70C"},
        {"MapTrace", "RPMlsbAddress", "F70D"},
        {"MapTrace", "MapAddress", "7400"},
        {"MapTrace", "TPscaleAddress", "7AF0"},
        {"MapTrace", "RPMscaleAddress", "7B00"},
        {"TyreSize", "Swidth", "205"},
        {"TyreSize", "Shight", "55"},
        {"TyreSize", "Ssize", "16"},
        {"TyreSize", "Uwidth", "205"},
        {"TyreSize", "Uhight", "55"},
        {"TyreSize", "Usize", "16"},
        {"TyreSize", "Correction", "1"},
        {"Dashboard", "Gauge0", "0"},
        {"Dashboard", "Gauge1", "6"},
        {"Dashboard", "RPM", "6000"},
        {"Dashboard", "Speed", "110"},
    };
    QCOMPARE(store.size(), expected.size());
    QCOMPARE(store.writeCount(), expected.size());
    for (const QStringList &row : expected)
        QCOMPARE(store.get(row[0], row[1]), row[2]);

    // A second start finds every key and writes nothing.
    applyStartupDefaults(store);
    QCOMPARE(store.writeCount(), expected.size());
}

void TestConfig::startupLeavesAnyNonEmptyTextAlone()
{
    MemorySettingsStore store;
    store.save("Comms", "ECUid", " ");
    store.save("Comms", "Speed", "fast");
    applyStartupDefaults(store);
    QCOMPARE(store.get("Comms", "ECUid"), QString(" "));
    QCOMPARE(store.get("Comms", "Speed"), QString("fast"));
}

void TestConfig::deletingOneKeyRestoresOnlyThatKey()
{
    MemorySettingsStore store;
    applyStartupDefaults(store);
    store.save("Setup", "Gauge4", "22");
    store.remove("Setup", "Gauge5");
    const int writesBefore = store.writeCount();
    applyStartupDefaults(store);
    QCOMPARE(store.writeCount(), writesBefore + 1);
    QCOMPARE(store.get("Setup", "Gauge5"), QString("12"));
    QCOMPARE(store.get("Setup", "Gauge4"), QString("22"));
}

void TestConfig::readersFallBackToTheDefault_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("gauge index above 23") << "Setup"
                                          << "Gauge5"
                                          << "24" << 12;
    QTest::newRow("gauge index negative") << "Setup"
                                          << "Gauge0"
                                          << "-1" << 0;
    QTest::newRow("gauge index not a number") << "Setup"
                                              << "Gauge1"
                                              << "speed" << 6;
    QTest::newRow("gauge index 23 is valid") << "Setup"
                                             << "Gauge1"
                                             << "23" << 23;
    QTest::newRow("gauge index with blanks") << "Setup"
                                             << "Gauge1"
                                             << " 9 " << 9;
    QTest::newRow("register flag 2") << "Setup"
                                     << "Register1E"
                                     << "2" << 1;
    QTest::newRow("register flag 0") << "Setup"
                                     << "Register1E"
                                     << "0" << 0;
    QTest::newRow("dashboard gauge above 255") << "Dashboard"
                                               << "Gauge1"
                                               << "300" << 6;
    QTest::newRow("ECU id lower case is hex") << "Comms"
                                              << "ECUid"
                                              << "ef" << 0xEF;
    QTest::newRow("ECU id three digits") << "Comms"
                                         << "ECUid"
                                         << "1EF" << 0xEF;
    QTest::newRow("ECU id not hex") << "Comms"
                                    << "ECUid"
                                    << "ZZ" << 0xEF;
    QTest::newRow("ECU id single space") << "Comms"
                                         << "ECUid"
                                         << " " << 0xEF;
    QTest::newRow("memory read C9") << "Comms"
                                    << "RomComm"
                                    << "D0" << 0xD0;
    QTest::newRow("dashboard alert") << "Dashboard"
                                     << "RPM"
                                     << "7000" << 7000;
    QTest::newRow("dashboard alert bad") << "Dashboard"
                                         << "RPM"
                                         << "7k" << 6000;
}

void TestConfig::readersFallBackToTheDefault()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, expected);
    MemorySettingsStore store;
    store.save(section, key, text);
    int actual = -999;
    if (key.startsWith("Gauge"))
        actual = SettingsReaders::catalogueIndex(store, section, key);
    else if (key.startsWith("Register"))
        actual = SettingsReaders::flagByte(store, section, key);
    else if (section == "Comms")
        actual = SettingsReaders::hexByte(store, section, key);
    else
        actual = SettingsReaders::integer(store, section, key);
    QCOMPARE(actual, expected);
}

void TestConfig::optionConversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("nonZero");
    QTest::addColumn<bool>("exactlyOne");
    QTest::newRow("0") << "0" << false << false;
    QTest::newRow("1") << "1" << true << true;
    QTest::newRow("2") << "2" << true << false;
    QTest::newRow("-1") << "-1" << true << false;
    QTest::newRow("1.0") << "1.0" << true << true;
    QTest::newRow("garbage reads as the default 0") << "yes" << false << false;
}

void TestConfig::optionConversions()
{
    QFETCH(QString, text);
    QFETCH(bool, nonZero);
    QFETCH(bool, exactlyOne);
    MemorySettingsStore store;
    store.save("Comms", "OBDIImodel", text);
    store.save("Comms", "AutoConnect", text);
    QCOMPARE(SettingsReaders::nonZero(store, "Comms", "OBDIImodel"), nonZero);
    QCOMPARE(SettingsReaders::exactlyOne(store, "Comms", "AutoConnect"), exactlyOne);
}

void TestConfig::qsettingsStoreKeepsTextsExactly()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Orvantis.conf");
    {
        QSettingsStore store(file);
        store.save("Comms", "ECUid", " ");
        store.save("DataLog", "Path", "/home/tuner/logs, old/");
        store.save("Display", "GaugeWindow", "-2147483633");
        store.save("Setup", "gauge0", "lower case key");
    }
    QSettingsStore store(file);
    QCOMPARE(store.get("Comms", "ECUid"), QString(" "));
    QCOMPARE(store.get("DataLog", "Path"), QString("/home/tuner/logs, old/"));
    QCOMPARE(store.get("Display", "GaugeWindow"), QString("-2147483633"));
    QCOMPARE(store.get("Setup", "Gauge0"), QString()); // keys are case-sensitive
    QCOMPARE(store.get("Nowhere", "Nothing"), QString());
}

void TestConfig::numberHelpers()
{
    QCOMPARE(Numbers::roundHalfEven(2.5), 2.0);
    QCOMPARE(Numbers::roundHalfEven(3.5), 4.0);
    QCOMPARE(Numbers::roundHalfEven(-2.5), -2.0);
    QCOMPARE(Numbers::Dec(65.625, 1), 65.6f);
    QCOMPARE(Numbers::Dec(50.196, 0), 50.0f);
    QCOMPARE(Numbers::Dec(1.005, 2), 1.0f); // a decimal half goes to even
    QCOMPARE(Numbers::Dec(1.015, 2), 1.02f);
    QCOMPARE(Numbers::singleToText(1.05f), QString("1.05"));
    QCOMPARE(Numbers::singleToText(1.0f), QString("1"));
    QCOMPARE(Numbers::singleToText(0.98f), QString("0.98"));
    QCOMPARE(Numbers::singleToText(40000.0f), QString("40000"));
    QCOMPARE(Numbers::singleToText(2450.0f), QString("2450"));
    QCOMPARE(Numbers::singleToText(409587.5f), QString("409587.5"));
    QCOMPARE(Numbers::singleToText(-0.5f), QString("-0.5"));
    QCOMPARE(Numbers::singleToText(3.14159f), QString("3.14159"));
    QCOMPARE(Numbers::singleToText(0.1f + 0.2f), QString("0.3"));
    QCOMPARE(Numbers::singleToText(0.0f), QString("0"));
    QCOMPARE(Numbers::parseNumber("1,04").value_or(0), 1.04);
    QVERIFY(!Numbers::parseNumber(" ").has_value());
    QCOMPARE(Numbers::parseHex("7fff").value_or(0), 0x7FFFu);
    QVERIFY(!Numbers::parseHex("0x7F").has_value());
    QCOMPARE(Numbers::hexText(0xF70C, 4), QString("F70C"));
    QCOMPARE(Numbers::hexText(0x9, 2), QString("09"));
}

void TestConfig::catalogueFollowsTheUnits()
{
    MemorySettingsStore store;
    applyStartupDefaults(store);
    ProgramState state;
    state.fahr = true;
    state.mph = true;
    getSetup(state, store);
    const GaugeInfo &water = state.Gauges[3];
    QCOMPARE(water.name(), QString("Water Temp F"));
    QCOMPARE(water.minVal(), 20);
    QCOMPARE(water.maxVal(), 300);
    QCOMPARE(water.tickerNum(), 14);
    QCOMPARE(water.subTickerNum(), 4);
    QCOMPARE(state.Gauges[6].name(), QString("Speed mph"));
    QCOMPARE(state.Gauges[6].maxVal(), 150);
    QCOMPARE(state.Gauges[10].name(), QString("Air Temp F"));

    state.fahr = false;
    state.mph = false;
    getSetup(state, store);
    QCOMPARE(state.Gauges[3].name(), QString("Water Temp C"));
    QCOMPARE(state.Gauges[3].maxVal(), 120);
    QCOMPARE(state.Gauges[3].tickerNum(), 12);
    QCOMPARE(state.Gauges[3].subTickerNum(), 5);
    QCOMPARE(state.Gauges[3].iniStr(0), quint8(0x08));
    QCOMPARE(state.Gauges[6].name(), QString("Speed kph"));
    QCOMPARE(state.Gauges[6].tickerNum(), 12);
    QCOMPARE(state.Gauges[6].subTickerNum(), 4);
    // The right-hand A/F base shares the range of its neighbours.
    QCOMPARE(state.Gauges[16].minVal(), 50);
    QCOMPARE(state.Gauges[16].maxVal(), 150);
    QCOMPARE(state.Gauges[19].iniStr(1), quint8(0x23));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, state.Gauges[0].iniStr(2));
    QCOMPARE(QString(parameterChoiceList()[23]), QString("O2 sensor B2"));
}

void TestConfig::frameLengths_data()
{
    QTest::addColumn<int>("everyGauge");
    QTest::addColumn<QString>("registerFlag");
    QTest::addColumn<int>("frameLen");
    QTest::newRow("defaults") << -1 << "1" << 18;
    QTest::newRow("duty cycle everywhere, no registers") << 20 << "0" << 0;
    QTest::newRow("RPM everywhere, all registers") << 0 << "1" << 28;
}

void TestConfig::frameLengths()
{
    QFETCH(int, everyGauge);
    QFETCH(QString, registerFlag);
    QFETCH(int, frameLen);
    MemorySettingsStore store;
    applyStartupDefaults(store);
    if (everyGauge >= 0) {
        for (int g = 0; g < 12; ++g)
            store.save("Setup", QString("Gauge%1").arg(g), QString::number(everyGauge));
    }
    for (const char *r : {"Register13", "Register1E", "Register1F", "Register21"})
        store.save("Setup", r, registerFlag);
    ProgramState state;
    getSetup(state, store);
    QCOMPARE(int(state.FrameLen), frameLen);
    QCOMPARE(int(state.DashFrameLen), 3);
}

void TestConfig::handEditedSelectionFallsBackToItsDefault()
{
    MemorySettingsStore store;
    applyStartupDefaults(store);
    store.save("Setup", "Gauge5", "99");
    store.save("Dashboard", "Gauge1", "-4");
    ProgramState state;
    getSetup(state, store);
    QCOMPARE(int(state.GaugeSel[5]), 12);
    QCOMPARE(int(state.DashSel[1]), 6);
    QCOMPARE(int(state.FrameLen), 18);
}

ORVANTIS_TEST(TestConfig)
#include "tst_config.moc"
