#include "app/ProgramState.h"
#include "config/Catalogue.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "link/EcuLink.h"
#include "link/LiveData.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/RecordingDialogs.h"

#include "tests/support/TestRegistry.h"

#include <QtTest>

namespace {

// Data bytes of one full frame with the default selection, in frame order:
// RPM hi, RPM lo, speed, water, battery, timing, injector hi, injector lo, A/F base, throttle,
// air flow hi, air flow lo, O2, AAC, then registers 0x13, 0x1E, 0x1F, 0x21.
enum DefaultByte {
    RpmHi,
    RpmLo,
    SpeedB,
    WaterB,
    BatteryB,
    TimingB,
    InjHi,
    InjLo,
    AfBaseB,
    ThrottleB,
    AirHi,
    AirLo,
    O2B,
    AacB,
    Reg13,
    Reg1E,
    Reg1F,
    Reg21,
    FrameBytes
};

QByteArray defaultData()
{
    const int bytes[FrameBytes] = {0x00, 0x40, 25,   0x82, 150, 100,  0x01, 0x00, 100,
                                   50,   0x01, 0x90, 40,   128, 0x01, 0x42, 0x21, 0x80};
    QByteArray data;
    for (int b : bytes)
        data.append(char(b));
    return data;
}

QByteArray frame(const QByteArray &data)
{
    return QByteArray(1, char(0xFF)) + char(data.size()) + data;
}

ProgramState defaultState()
{
    MemorySettingsStore store;
    applyStartupDefaults(store);
    ProgramState state;
    getSetup(state, store);
    return state;
}

using Expect = QList<QPair<int, float>>; // catalogue index, value

} // namespace

class TestLiveData : public QObject
{
    Q_OBJECT
private slots:
    void defaultRequestAndThreshold();
    void decoding_data();
    void decoding();
    void switchRegisters_data();
    void switchRegisters();
    void selectionOnTwoGaugesTakesTheSecondCopy();
    void emptyFrameSendsNothing();
    void dashboardStream();
};

void TestLiveData::defaultRequestAndThreshold()
{
    ProgramState state = defaultState();
    const QByteArray request = LiveData::fullDataRequest(state);
    QCOMPARE(request.size(), 36);
    QCOMPARE(request.toHex(' '),
             QByteArray("5a 00 5a 01 5a 0b 5a 08 5a 0c 5a 16 5a 14 5a 15 5a 1a "
                        "5a 0d 5a 04 5a 05 5a 09 5a 17 5a 13 5a 1e 5a 1f 5a 21"));
    QCOMPARE(LiveData::fullDataThreshold(state), 40);

    MemorySettingsStore settings;
    FakeClock clock;
    FakeSerialPort port(&clock);
    RecordingDialogs dialogs;
    EcuLink link(port, clock, settings, dialogs, state);
    port.open({});
    const quint32 t0 = clock.tickCount();
    iniFullData(link, state);
    QCOMPARE(port.written(), request);
    QCOMPARE(port.writes.size(), 1); // the whole request in one write
    QCOMPARE(clock.tickCount(), t0 + 50);
    QCOMPARE(port.discardCount, 1);
    QCOMPARE(port.receiveThreshold(), 40);
}

void TestLiveData::decoding_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<bool>("fahr");
    QTest::addColumn<bool>("mph");
    QTest::addColumn<float>("speedCorrect");
    QTest::addColumn<Expect>("expect");

    auto with = [](QList<QPair<int, int>> changes) {
        QByteArray d = defaultData();
        for (auto c : changes)
            d[c.first] = char(c.second);
        return d;
    };
    const QByteArray plain = frame(defaultData());

    QTest::newRow("default frame")
        << plain << false << false << 1.0f
        << Expect{{0, 800.0f}, {6, 50.0f},   {3, 80.0f}, {7, 12.0f}, {13, 10.0f}, {12, 2.56f},
                  {20, 1.71f}, {15, 100.0f}, {8, 1.0f},  {1, 2.0f},  {4, 40.0f},  {14, 50.0f}};
    QTest::newRow("RPM 0x0C80") << frame(with({{RpmHi, 0x0C}, {RpmLo, 0x80}})) << false << false
                                << 1.0f << Expect{{0, 40000.0f}};
    QTest::newRow("water 0x82 in Fahrenheit")
        << plain << true << false << 1.0f << Expect{{3, 176.0f}};
    QTest::newRow("water below zero")
        << frame(with({{WaterB, 40}})) << false << false << 1.0f << Expect{{3, -10.0f}};
    QTest::newRow("speed 50 corrected 1.05 kph")
        << frame(with({{SpeedB, 50}})) << false << false << 1.05f << Expect{{6, 105.0f}};
    QTest::newRow("speed 50 corrected 1.05 mph")
        << frame(with({{SpeedB, 50}})) << false << true << 1.05f << Expect{{6, 65.6f}};
    QTest::newRow("timing 100, AAC 128")
        << plain << false << false << 1.0f << Expect{{13, 10.0f}, {14, 50.0f}};
    QTest::newRow("frame after some noise")
        << QByteArray("\x01\x02\x03", 3) + plain << false << false << 1.0f << Expect{{0, 800.0f}};
    QTest::newRow("frame at FrameLen + 2, the last searched")
        << QByteArray(20, '\x01') + plain << false << false << 1.0f << Expect{{0, 800.0f}};
    QTest::newRow("frame at FrameLen + 3 is ignored")
        << QByteArray(21, '\x01') + plain << false << false << 1.0f << Expect{{0, -1.0f}};
    // The false start at 0 wins; its "RPM" is then 0xFF 0x12, which overflows 16 bits.
    QTest::newRow("a 0xFF data byte followed by the count wins")
        << QByteArray("\xFF\x12", 2) + plain << false << false << 1.0f << Expect{{0, -1.0f}};
    QTest::newRow("injector 0x8000 stops there")
        << frame(with({{InjHi, 0x80}, {InjLo, 0x00}})) << false << false << 1.0f
        << Expect{{0, 800.0f}, {13, 10.0f}, {12, -1.0f}, {15, -1.0f}, {14, -1.0f}};
    QTest::newRow("chunk ending inside the frame")
        << plain.left(2 + TimingB) << false << false << 1.0f
        << Expect{{0, 800.0f}, {7, 12.0f}, {13, -1.0f}};
    QTest::newRow("empty chunk") << QByteArray() << false << false << 1.0f << Expect{{0, -1.0f}};
}

void TestLiveData::decoding()
{
    QFETCH(QByteArray, chunk);
    QFETCH(bool, fahr);
    QFETCH(bool, mph);
    QFETCH(float, speedCorrect);
    QFETCH(Expect, expect);
    ProgramState state = defaultState();
    state.fahr = fahr;
    state.mph = mph;
    state.SpeedCorrect = speedCorrect;
    state.LiveValues.fill(-1.0f); // -1 marks "not decoded from this chunk"
    getFullData(state, chunk);
    for (const auto &e : expect)
        QCOMPARE(state.LiveValues[e.first], e.second);
}

void TestLiveData::switchRegisters_data()
{
    QTest::addColumn<int>("byteIndex");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("flags"); // all twelve indicator texts
    const QStringList base = {"On", "Off",  "Off", "Off", "Off",  "Off",
                              "On", "High", "Off", "On",  "Lean", "On"};
    QStringList r1e = base;
    r1e[5] = "On", r1e[6] = "On", r1e[7] = "High", r1e[8] = "Off";
    QTest::newRow("0x1E 0xC2") << int(Reg1E) << 0xC2 << r1e;
    QStringList fan = base;
    fan[6] = "Off", fan[7] = "Low", fan[8] = "On";
    QTest::newRow("0x1E fan low, VCT on") << int(Reg1E) << 0x21 << fan;
    QStringList fanOn = base;
    fanOn[6] = "Off", fanOn[7] = "On";
    QTest::newRow("0x1E fan both bits") << int(Reg1E) << 0x03 << fanOn;
    QStringList rich = base;
    rich[10] = "Rich";
    QTest::newRow("0x21 0x00") << int(Reg21) << 0x00 << rich;
    QTest::newRow("0x21 low bits ignored") << int(Reg21) << 0x7F << rich;
    QStringList all13 = base;
    for (int i = 0; i < 5; ++i)
        all13[i] = "On";
    QTest::newRow("0x13 all five") << int(Reg13) << 0x1F << all13;
    QStringList none13 = base;
    for (int i = 0; i < 5; ++i)
        none13[i] = "Off";
    QTest::newRow("0x13 unlisted bits ignored") << int(Reg13) << 0xE0 << none13;
    QStringList r1f = base;
    r1f[9] = "Off", r1f[11] = "Off";
    QTest::newRow("0x1F unlisted bits ignored") << int(Reg1F) << 0xDE << r1f;
}

void TestLiveData::switchRegisters()
{
    QFETCH(int, byteIndex);
    QFETCH(int, value);
    QFETCH(QStringList, flags);
    ProgramState state = defaultState();
    QByteArray data = defaultData();
    data[byteIndex] = char(value);
    getFullData(state, frame(data));
    QStringList actual(state.FlagText.begin(), state.FlagText.end());
    QCOMPARE(actual, flags);
}

void TestLiveData::selectionOnTwoGaugesTakesTheSecondCopy()
{
    ProgramState state = defaultState();
    state.GaugeSel.fill(0);
    state.GaugeSel[0] = 3;  // water
    state.GaugeSel[1] = 20; // duty cycle before RPM and injector: uses the values held
    state.GaugeSel[2] = 0;
    state.GaugeSel[3] = 12;
    state.GaugeSel[4] = 3; // water again
    for (int g = 5; g < 12; ++g)
        state.GaugeSel[g] = 21;
    state.FrameLen = 1 + 2 + 2 + 1;
    state.LiveValues[0] = 1200.0f;
    state.LiveValues[12] = 5.0f;
    getFullData(state, QByteArray::fromHex("ff06 82 0140 0200 50"));
    QCOMPARE(state.LiveValues[3], 30.0f); // the second copy
    QCOMPARE(state.LiveValues[20], 5.0f); // from the previous RPM and injector values
    QCOMPARE(state.LiveValues[0], 4000.0f);
    QCOMPARE(state.LiveValues[12], 5.12f);
}

void TestLiveData::emptyFrameSendsNothing()
{
    ProgramState state = defaultState();
    state.GaugeSel.fill(0);
    for (int g = 0; g < 12; ++g)
        state.GaugeSel[g] = 20;
    state.FrameLen = 0;
    MemorySettingsStore settings;
    FakeClock clock;
    FakeSerialPort port(&clock);
    RecordingDialogs dialogs;
    EcuLink link(port, clock, settings, dialogs, state);
    port.open({});
    port.setReceiveThreshold(48);
    iniFullData(link, state);
    QVERIFY(port.writes.isEmpty());
    QCOMPARE(port.receiveThreshold(), 48);
}

void TestLiveData::dashboardStream()
{
    ProgramState state = defaultState();
    state.DashSel = {13, 3}; // timing and water
    state.DashFrameLen = 2;
    QCOMPARE(LiveData::dashboardRequest(state).toHex(' '),
             QByteArray("5a 00 5a 01 5a 0b 5a 16 5a 08"));
    QCOMPARE(LiveData::dashboardThreshold(state), 40);
    getDashData(state, QByteArray::fromHex("00 ff05 0100 28 64 82"));
    QCOMPARE(state.LiveValues[0], 3200.0f);
    QCOMPARE(state.LiveValues[6], 80.0f);
    QCOMPARE(state.LiveValues[13], 10.0f);
    QCOMPARE(state.LiveValues[3], 80.0f);

    // With almost nothing on the data display, two dashboard frames still fit a chunk.
    state.FrameLen = 0;
    QCOMPARE(LiveData::dashboardThreshold(state), 14);
}

ORVANTIS_TEST(TestLiveData)
#include "tst_livedata.moc"
