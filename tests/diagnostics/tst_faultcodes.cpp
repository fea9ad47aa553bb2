#include "app/ProgramState.h"
#include "config/SettingsStore.h"
#include "diagnostics/FaultCodes.h"
#include "link/EcuLink.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TestRegistry.h"

#include <QtTest>

namespace {
FaultCodeBuffer bufferOf(std::initializer_list<int> bytes)
{
    FaultCodeBuffer b;
    int i = 0;
    for (int v : bytes)
        b.bytes[i++] = quint8(v);
    return b;
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const QString kStarts = " >Car started %1 times with this fault\r\n";
} // namespace

Q_DECLARE_METATYPE(FaultCodeBuffer)

class TestFaultCodes : public QObject
{
    Q_OBJECT
private slots:
    void listing_data();
    void listing();
    void frameDecoding_data();
    void frameDecoding();
    void requestBytesAndWaits();
};

void TestFaultCodes::listing_data()
{
    QTest::addColumn<FaultCodeBuffer>("buffer");
    QTest::addColumn<QString>("text");
    QTest::newRow("codes 11 and 43")
        << bufferOf({4, 0x11, 3, 0x43, 12})
        << "Code 11: Camshaft Angle Sensor circuit (CAS)" + kStarts.arg(3) +
               "Code 43: Throttle Position Sensor Circuit\r\n" + kStarts.arg(12);
    QTest::newRow("code 13 has its starts on a line of its own")
        << bufferOf({2, 0x13, 0})
        << "Code 13: Engine Coolant Temperature Sensor Circuit\r\n" + kStarts.arg(0);
    QTest::newRow("no faults") << bufferOf({2, 0x55, 0}) << "Code 55: No Faults";
    QTest::newRow("55 replaces what came before")
        << bufferOf({4, 0x11, 1, 0x55, 0}) << "Code 55: No Faults";
    QTest::newRow("N = 0") << bufferOf({0, 0x11, 3}) << "";
    QTest::newRow("unknown code 05") << bufferOf({2, 0x05, 255}) << "Code 5" + kStarts.arg(255);
    QTest::newRow("unknown code 1A") << bufferOf({2, 0x1A, 7}) << "Code 1A" + kStarts.arg(7);
    FaultCodeBuffer full;
    full.bytes[0] = 200;
    for (int i = 1; i <= 50; i += 2) {
        full.bytes[i] = 0x14;
        full.bytes[i + 1] = 1;
    }
    QString all;
    for (int pair = 0; pair < 25; ++pair)
        all += "Code 14: Speed Sensor circuit" + kStarts.arg(1);
    QTest::newRow("announced beyond the buffer lists 25 pairs") << full << all;
}

void TestFaultCodes::listing()
{
    QFETCH(FaultCodeBuffer, buffer);
    QFETCH(QString, text);
    QCOMPARE(faultCodeListing(buffer), text);
}

void TestFaultCodes::frameDecoding_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QList<int>>("expected"); // the first bytes of the buffer afterwards
    // The buffer starts as 4, 0x11, 3, 0x43, 12 from an earlier frame.
    QTest::newRow("frame at the start")
        << hex("ff02 5500 ff02 1100") << QList<int>{2, 0x55, 0, 0x43, 12};
    QTest::newRow("frame after noise") << hex("0102 ff02 2101") << QList<int>{2, 0x21, 1, 0x43, 12};
    QTest::newRow("no 0xFF: unchanged")
        << QByteArray(100, '\x10') << QList<int>{4, 0x11, 3, 0x43, 12};
    QTest::newRow("0xFF at 90 is found")
        << QByteArray(90, '\x10') + hex("ff02 3102") << QList<int>{2, 0x31, 2, 0x43, 12};
    QTest::newRow("0xFF at 91 is not")
        << QByteArray(91, '\x10') + hex("ff02 3102") << QList<int>{4, 0x11, 3, 0x43, 12};
    QTest::newRow("frame cut short keeps N and copies what came")
        << hex("ff06 2105") << QList<int>{6, 0x21, 5, 0x43, 12};
    QTest::newRow("0xFF as the last byte") << hex("0000ff") << QList<int>{4, 0x11, 3, 0x43, 12};
    QTest::newRow("empty chunk") << QByteArray() << QList<int>{4, 0x11, 3, 0x43, 12};
}

void TestFaultCodes::frameDecoding()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QList<int>, expected);
    FaultCodeBuffer buffer = bufferOf({4, 0x11, 3, 0x43, 12});
    getSelfDiagData(buffer, chunk);
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(int(buffer.bytes[i]), expected[i]);
}

void TestFaultCodes::requestBytesAndWaits()
{
    MemorySettingsStore settings;
    FakeClock clock;
    FakeSerialPort port(&clock);
    RecordingDialogs dialogs;
    ProgramState state;
    EcuLink link(port, clock, settings, dialogs, state);
    port.open({});
    const quint32 t0 = clock.tickCount();
    iniSelfDiag(link);
    QCOMPARE(port.written(), QByteArray("\xD1"));
    QCOMPARE(port.receiveThreshold(), 100);
    QCOMPARE(clock.tickCount(), t0 + 50);
    QCOMPARE(port.discardCount, 1);

    // A frame longer than the buffer stores its first 50 data bytes only.
    FaultCodeBuffer buffer;
    QByteArray longFrame = hex("ff3c");
    for (int i = 0; i < 60; ++i)
        longFrame.append(char(i + 1));
    getSelfDiagData(buffer, longFrame);
    QCOMPARE(int(buffer.bytes[0]), 60);
    QCOMPARE(int(buffer.bytes[50]), 50);
}

ORVANTIS_TEST(TestFaultCodes)
#include "tst_faultcodes.moc"
