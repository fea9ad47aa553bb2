// The virtual engine along its drive cycle, under active tests, and the memory image it
// serves.
#include "ecusim/DriveCycle.h"
#include "ecusim/EngineModel.h"
#include "ecusim/MemoryImage.h"
#include "tests/ecusim/EcuSimTestSupport.h"
#include "tests/support/TestRegistry.h"

#include <QtTest>

using namespace EcuSimTest;

class TestEngineModel : public QObject
{
    Q_OBJECT
private slots:
    void driveCycle_data();
    void driveCycle();
    void pullFromRestTo100TakesAbout8Seconds();
    void valuesStayInRangeOverTheWholeCycle();
    void leanRichFollowsTheO2Signal();
    void activeTests_data();
    void activeTests();
    void fanStagesFollowCoolant_data();
    void fanStagesFollowCoolant();
    void memoryImagePresets_data();
    void memoryImagePresets();
};

void TestEngineModel::driveCycle_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("rpmMin");
    QTest::addColumn<double>("rpmMax");
    QTest::addColumn<double>("kmhMin");
    QTest::addColumn<double>("kmhMax");
    QTest::addColumn<int>("switches13");
    QTest::addColumn<bool>("fuelInjected");

    // switches13: 01 closed throttle, 02 start signal, 04 neutral, 08 power steering, 10 A/C
    QTest::newRow("cranking") << 1.0 << 150.0 << 350.0 << 0.0 << 0.0 << 0x07 << true;
    QTest::newRow("idle") << 8.0 << 650.0 << 900.0 << 0.0 << 0.0 << 0x05 << true;
    QTest::newRow("free revs, throttle open")
        << 12.9 << 3000.0 << 4500.0 << 0.0 << 0.0 << 0x04 << true;
    QTest::newRow("pull, 4 s in") << 22.0 << 2500.0 << 6600.0 << 54.0 << 80.0 << 0x00 << true;
    QTest::newRow("cruise") << 35.0 << 2600.0 << 3200.0 << 96.0 << 104.0 << 0x10 << true;
    QTest::newRow("braking in gear, fuel cut")
        << 47.0 << 2000.0 << 3000.0 << 80.0 << 95.0 << 0x11 << false;
    QTest::newRow("idle after the drive, parking")
        << 58.0 << 650.0 << 900.0 << 0.0 << 0.0 << 0x1D << true;
    QTest::newRow("the cycle repeats") << 65.0 << 150.0 << 350.0 << 0.0 << 0.0 << 0x07 << true;
}

void TestEngineModel::driveCycle()
{
    QFETCH(double, seconds);
    QFETCH(double, rpmMin);
    QFETCH(double, rpmMax);
    QFETCH(double, kmhMin);
    QFETCH(double, kmhMax);
    QFETCH(int, switches13);
    QFETCH(bool, fuelInjected);
    const EngineState s = EngineModel::at(qint64(seconds * 1000));
    const double rpm = rpmOf(s);
    QVERIFY2(rpm >= rpmMin && rpm <= rpmMax, qPrintable(QString::number(rpm)));
    QVERIFY2(kmhOf(s) >= kmhMin && kmhOf(s) <= kmhMax, qPrintable(QString::number(kmhOf(s))));
    QCOMPARE(reg(0x13, s), quint8(switches13));
    QCOMPARE(value(0x14, s) > 0, fuelInjected);
    QVERIFY(reg(0x1E, s) & EcuRegisters::Bits::kFuelPump); // the pump runs whenever it turns
    // The throttle sensor agrees with the closed-throttle switch.
    const double throttleV = reg(0x0D, s) * 0.02;
    QCOMPARE(throttleV < 0.6, bool(switches13 & 0x01));
    if (switches13 & 0x02)
        QVERIFY(reg(0x0C, s) * 0.08 < 11.0); // the starter pulls the battery down
    else
        QVERIFY(reg(0x0C, s) * 0.08 > 13.0); // the alternator charges
}

void TestEngineModel::pullFromRestTo100TakesAbout8Seconds()
{
    const double start = DriveCycle::startOf(DrivePhase::Pull);
    double reached60 = -1;
    double reached100 = -1;
    double lastKmh = 0;
    for (double t = 0; t < 10; t += 0.05) {
        const EngineState s = EngineModel::at(qint64((start + t) * 1000));
        QVERIFY2(kmhOf(s) >= lastKmh, qPrintable(QString("speed fell at %1 s").arg(t)));
        lastKmh = kmhOf(s);
        if (reached60 < 0 && kmhOf(s) >= 60)
            reached60 = t;
        if (reached100 < 0 && kmhOf(s) >= 100)
            reached100 = t;
        if (t < 8)
            QVERIFY(rpmOf(s) <= 6600); // shifts up before the limiter
    }
    QVERIFY2(reached60 >= 3 && reached60 <= 5, qPrintable(QString::number(reached60)));
    QVERIFY2(reached100 >= 7.5 && reached100 <= 8.5, qPrintable(QString::number(reached100)));
}

void TestEngineModel::valuesStayInRangeOverTheWholeCycle()
{
    // Two cycles, so the restart after the first one is covered too.
    for (qint64 ms = 0; ms < qint64(2 * DriveCycle::length() * 1000); ms += 100) {
        const EngineState s = EngineModel::at(ms);
        const QString at = QStringLiteral("at %1 ms").arg(ms);
        // 2-byte values are signed on the program's side.
        for (quint8 msb : {0x00, 0x04, 0x06, 0x14, 0x22})
            QVERIFY2(reg(msb, s) < 0x80, qPrintable(at));
        QVERIFY2(reg(0x08, s) >= 50 + 60 && reg(0x08, s) <= 50 + 110, qPrintable(at));
        QVERIFY2(reg(0x11, s) >= 50 + 15 && reg(0x11, s) <= 50 + 45, qPrintable(at));
        QVERIFY2(value(0x04, s) * 0.005 <= 5.0 && value(0x06, s) * 0.005 <= 5.0, qPrintable(at));
        const int timing = 110 - reg(0x16, s);
        QVERIFY2(timing >= 0 && timing <= 45, qPrintable(at));
        QVERIFY2(reg(0x09, s) <= 100 && reg(0x35, s) <= 100, qPrintable(at));
        for (quint8 af : {0x1A, 0x1B, 0x1C, 0x1D})
            QVERIFY2(qAbs(reg(af, s) - 100) <= 5, qPrintable(at));
        QVERIFY2(value(0x14, s) * 0.01 <= 15, qPrintable(at));
        QVERIFY2((reg(0x13, s) & 0x01) == 0 || reg(0x0D, s) * 0.02 < 0.6, qPrintable(at));
    }
}

void TestEngineModel::leanRichFollowsTheO2Signal()
{
    int lean = 0;
    int rich = 0;
    for (qint64 ms = kCruiseMs; ms < kCruiseMs + 3000; ms += 50) {
        const EngineState s = EngineModel::at(ms);
        const bool leanBit = reg(0x21, s) & EcuRegisters::Bits::kLean;
        QCOMPARE(leanBit, reg(0x09, s) < 45); // below 0.45 V the mixture is lean
        (leanBit ? lean : rich)++;
    }
    // Closed loop: the mixture keeps swinging both ways.
    QVERIFY(lean >= 10);
    QVERIFY(rich >= 10);
}

void TestEngineModel::activeTests_data()
{
    QTest::addColumn<int>("test");
    QTest::addColumn<int>("testValue");
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<int>("reg"); // MSB registers read with their LSB
    QTest::addColumn<QString>("relation");
    QTest::addColumn<int>("operand");

    QTest::newRow("coolant held") << 0x80 << 0x46 << kIdleMs << 0x08 << "equals" << 0x46;
    QTest::newRow("A/F base held") << 0x81 << 120 << kCruiseMs << 0x1A << "equals" << 120;
    QTest::newRow("A/F base held, right bank self-learn")
        << 0x81 << 80 << kCruiseMs << 0x1D << "equals" << 80;
    QTest::newRow("timing advanced 5") << 0x82 << 0x05 << kIdleMs << 0x16 << "offset" << -5;
    QTest::newRow("timing retarded 3") << 0x82 << 0xFD << kCruiseMs << 0x16 << "offset" << 3;
    QTest::newRow("AAC valve held") << 0x84 << 127 << kIdleMs << 0x17 << "equals" << 127;
    QTest::newRow("opening the AAC valve raises the idle")
        << 0x84 << 255 << kIdleMs << 0x00 << "above" << 0;
    QTest::newRow("cylinder 1 cut drops engine speed")
        << 0x88 << 0x01 << kIdleMs << 0x00 << "below" << 0;
    QTest::newRow("cylinders 1 and 2 cut during cruise")
        << 0x88 << 0x03 << kCruiseMs << 0x00 << "below" << 0;
    QTest::newRow("four cylinders cut stall the engine")
        << 0x88 << 0x0F << kIdleMs << 0x00 << "equals" << 0;
    QTest::newRow("fuel pump off stalls the engine")
        << 0x89 << 0 << kIdleMs << 0x00 << "equals" << 0;
    QTest::newRow("fuel pump off shows in 1E")
        << 0x89 << 0 << kCruiseMs << 0x1E << "bitClear" << 0x40;
    QTest::newRow("fuel pump off, no injection") << 0x89 << 0 << kCruiseMs << 0x14 << "equals" << 0;
    QTest::newRow("VCT forced on at idle") << 0x8F << 1 << kIdleMs << 0x1E << "bitSet" << 0x20;
    QTest::newRow("VCT forced off in the pull")
        << 0x8F << 0 << kPullMs << 0x1E << "bitClear" << 0x20;
    QTest::newRow("base idle fixes the timing")
        << 0x8C << 0 << kIdleMs << 0x16 << "equals" << 110 - 15;
}

void TestEngineModel::activeTests()
{
    QFETCH(int, test);
    QFETCH(int, testValue);
    QFETCH(qint64, ms);
    QFETCH(int, reg);
    QFETCH(QString, relation);
    QFETCH(int, operand);
    const int baseline = value(quint8(reg), EngineModel::at(ms));
    const int tested =
        value(quint8(reg), EngineModel::at(ms, ActiveTest{quint8(test), quint8(testValue)}));
    const QString seen = QStringLiteral("%1 (without the test %2)").arg(tested).arg(baseline);
    if (relation == QLatin1String("equals"))
        QVERIFY2(tested == operand, qPrintable(seen));
    else if (relation == QLatin1String("offset"))
        QVERIFY2(tested == baseline + operand, qPrintable(seen));
    else if (relation == QLatin1String("below"))
        QVERIFY2(tested < baseline && tested > 0, qPrintable(seen));
    else if (relation == QLatin1String("above"))
        QVERIFY2(tested > baseline, qPrintable(seen));
    else if (relation == QLatin1String("bitSet"))
        QVERIFY2((tested & operand) && !(baseline & operand), qPrintable(seen));
    else if (relation == QLatin1String("bitClear"))
        QVERIFY2(!(tested & operand) && (baseline & operand), qPrintable(seen));
    else
        QFAIL("unknown relation");
}

void TestEngineModel::fanStagesFollowCoolant_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<int>("coolantC");
    QTest::addColumn<int>("fan");
    QTest::newRow("90 C, off") << kIdleMs << 90 << 0;
    QTest::newRow("94 C, off") << kIdleMs << 94 << 0;
    QTest::newRow("95 C, low") << kIdleMs << 95 << 1;
    QTest::newRow("99 C, low") << kIdleMs << 99 << 1;
    QTest::newRow("100 C, high") << kIdleMs << 100 << 2;
    QTest::newRow("cold, A/C on: low") << qint64(58000) << 70 << 1;
}

void TestEngineModel::fanStagesFollowCoolant()
{
    QFETCH(qint64, ms);
    QFETCH(int, coolantC);
    QFETCH(int, fan);
    const EngineState s = EngineModel::at(ms, ActiveTest{0x80, quint8(coolantC + 50)});
    QCOMPARE(reg(0x1E, s) & EcuRegisters::Bits::kFanMask, fan);
}

void TestEngineModel::memoryImagePresets_data()
{
    QTest::addColumn<int>("preset");
    for (int i = 0; i < int(MemoryImage::presets().size()); ++i)
        QTest::newRow(MemoryImage::presets()[i].name) << i;
}

void TestEngineModel::memoryImagePresets()
{
    QFETCH(int, preset);
    const MapPreset &p = MemoryImage::presets()[preset];
    const QByteArray image = MemoryImage::build();
    QCOMPARE(image.size(), 0x10000);
    QCOMPARE(image, MemoryImage::build()); // the same image on every run

    const auto at = [&image](int a) { return int(quint8(image[a])); };
    for (int i = 1; i < 16; ++i) {
        QVERIFY(at(p.rpmScale + i) > at(p.rpmScale + i - 1));
        QVERIFY(at(p.tpScale + i) > at(p.tpScale + i - 1));
    }
    // The axes span what the engine does: idle to past the shift point, closed to open.
    QVERIFY(at(p.rpmScale) * 50 <= 750 && at(p.rpmScale + 15) * 50 >= 6400);
    QVERIFY(at(p.tpScale) <= EngineModel::at(kIdleMs).tpLoad + 10);
    QVERIFY(at(p.tpScale + 15) >= EngineModel::at(kPullMs).tpLoad);
    // Along each row (engine speed fixed) fuel rises with load and timing falls with it.
    for (int row = 0; row < 16; ++row) {
        const int first = at(p.map + row * 16);
        const int last = at(p.map + row * 16 + 15);
        QVERIFY2(p.timing ? last < first : last > first, qPrintable(QString("row %1").arg(row)));
        for (int c = 0; c < 16; ++c) {
            const int v = at(p.map + row * 16 + c);
            QVERIFY(p.timing ? (v >= 5 && v <= 50) : (v >= 10 && v < 255));
        }
    }
    // RAM reads as zero where no live value sits.
    QCOMPARE(at(p.rpmMsb + 2), 0);
}

ORVANTIS_TEST(TestEngineModel)
#include "tst_enginemodel.moc"
