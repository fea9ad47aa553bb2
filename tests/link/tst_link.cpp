#include "app/ProgramState.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "link/Clock.h"
#include "link/EcuLink.h"
#include "link/PortSettings.h"
#include "link/Protocol.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/RecordingDialogs.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include "tests/support/TestRegistry.h"

#include <QtTest>

#include <time.h>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// An identification frame with the part number at its designed offset, placed at `at`.
QByteArray identChunk(int at, int count, int partOffset, const QByteArray &part, int total)
{
    QByteArray chunk(total, char(0x11));
    chunk[at] = char(0xFF);
    chunk[at + 1] = char(count);
    for (int i = 0; i < part.size() && at + partOffset + i < total; ++i)
        chunk[at + partOffset + i] = part[i];
    return chunk;
}

double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// A link on the fake port and clock, with default settings.
struct LinkFixture
{
    LinkFixture()
    {
        applyStartupDefaults(settings);
        state.OBDIImodel = false;
    }
    MemorySettingsStore settings;
    FakeClock clock;
    FakeSerialPort port{&clock};
    RecordingDialogs dialogs;
    ProgramState state;
    EcuLink link{port, clock, settings, dialogs, state};
};

} // namespace

class TestLink : public QObject
{
    Q_OBJECT
private slots:
    void connectSendsTheWakeUpBytesOneAtATimeWithTheirPauses();
    void connectUsesTheConfiguredPortAndIdentity();
    void invalidPortIsReportedAndTheConnectRoutineGoesOn();
    void identification_data();
    void identification();
    void laterFramesAreIgnoredUntilConnect();
    void dispatchRunsTheHandlerOfTheModeAndStepsTheBar_data();
    void dispatchRunsTheHandlerOfTheModeAndStepsTheBar();
    void stopAndCloseSendTheStopByte();
    void deviceLossClosesThePortAndSaysSo();

    void thresholdNotifiesOncePerRead();
    void bytesArrivingDuringAHandlerAreNotLost();

    void remainingWait_data();
    void remainingWait();
    void waitOfOneSecondSleeps();
    void waitAcrossTheCounterWrapReturns();

    void portDevice_data();
    void portDevice();
    void lineSettings_data();
    void lineSettings();
    void openFailureMessages_data();
    void openFailureMessages();
    void requestBuilders();
};

void TestLink::connectSendsTheWakeUpBytesOneAtATimeWithTheirPauses()
{
    LinkFixture f;
    const quint32 t0 = f.clock.tickCount();
    f.link.btnConnect_Click();

    QCOMPARE(f.port.openCount, 1);
    QCOMPARE(f.link.ReadMode, qint16(1));
    QCOMPARE(f.port.receiveThreshold(), 48);
    QCOMPARE(f.port.writes.size(), 5);
    const QList<QPair<quint32, int>> expected = {
        {t0, 0xFF}, {t0 + 100, 0xFF}, {t0 + 200, 0xEF}, {t0 + 300, 0xD0}, {t0 + 420, 0xF0}};
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(f.port.writes[i].tick, expected[i].first);
        QCOMPARE(f.port.writes[i].bytes, bytes({expected[i].second}));
    }
    // The echoes of the wake-up were discarded before the stream started.
    QCOMPARE(f.port.discardCount, 1);
}

void TestLink::connectUsesTheConfiguredPortAndIdentity()
{
    LinkFixture f;
    f.settings.save("Comms", "ComPort", "ttyUSB0");
    f.settings.save("Comms", "Speed", "10400");
    f.settings.save("Comms", "ECUid", "1A");
    f.link.btnConnect_Click();
    QCOMPARE(f.port.lastConfig.device, QString("/dev/ttyUSB0"));
    QCOMPARE(f.port.lastConfig.settingsText, QString("10400,N,8,1"));
    QCOMPARE(f.port.written(), bytes({0xFF, 0xFF, 0x1A, 0xD0, 0xF0}));
}

void TestLink::invalidPortIsReportedAndTheConnectRoutineGoesOn()
{
    LinkFixture f;
    f.port.nextOpenResult = {PortOpenError::NoSuchPort, QString()};
    f.link.btnConnect_Click();
    QCOMPARE(f.dialogs.warnings, QStringList{"Invalid Port number"});
    QCOMPARE(f.link.ecuNumber(), QString("#####"));
    QCOMPARE(f.link.ReadMode, qint16(1));
    QVERIFY(f.port.writes.isEmpty());
    QVERIFY(!f.link.connected);
}

void TestLink::identification_data()
{
    QTest::addColumn<bool>("obd2");
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QString>("label");

    const QByteArray part = "65U00";
    QTest::newRow("frame at offset 0") << false << identChunk(0, 0x16, 19, part, 48) << "65U00";
    QTest::newRow("frame at offset 24, the last searched")
        << false << identChunk(24, 0x16, 19, part, 48) << "65U00";
    QTest::newRow("frame at offset 30 is past the search")
        << false << identChunk(30, 0x16, 19, part, 60) << "#####";
    QTest::newRow("frame at 24 in a 40-byte chunk is cut short")
        << false << identChunk(24, 0x16, 19, part, 40) << "#####";
    QTest::newRow("chunk of one byte") << false << bytes({0xFF}) << "#####";
    QTest::newRow("empty chunk") << false << QByteArray() << "#####";
    QTest::newRow("OBDII header on the standard ECU")
        << false << identChunk(0, 0x20, 29, part, 48) << "#####";
    QTest::newRow("OBDII frame") << true << identChunk(3, 0x20, 29, part, 48) << "65U00";
    QTest::newRow("OBDII frame at offset 34")
        << true << identChunk(34, 0x20, 29, part, 80) << "65U00";
    QTest::newRow("standard header on the OBDII variant")
        << true << identChunk(0, 0x16, 19, part, 48) << "#####";
    QTest::newRow("8-bit characters kept as they are")
        << false << identChunk(0, 0x16, 19, QByteArray("A\xE9-9z"), 48)
        << QString::fromLatin1("A\xE9-9z");
}

void TestLink::identification()
{
    QFETCH(bool, obd2);
    QFETCH(QByteArray, chunk);
    QFETCH(QString, label);
    LinkFixture f;
    f.state.OBDIImodel = obd2;
    QSignalSpy identified(&f.link, &EcuLink::identified);
    f.link.getConnectData(chunk);
    QCOMPARE(f.link.ecuNumber(), label);
    const bool found = label != "#####";
    QCOMPARE(f.link.connected, found);
    QCOMPARE(identified.size(), found ? 1 : 0);
}

void TestLink::laterFramesAreIgnoredUntilConnect()
{
    LinkFixture f;
    f.link.btnConnect_Click();
    f.port.inject(identChunk(2, 0x16, 19, "65U00", 48));
    QCOMPARE(f.link.ecuNumber(), QString("65U00"));
    f.port.inject(identChunk(2, 0x16, 19, "99999", 48));
    QCOMPARE(f.link.ecuNumber(), QString("65U00"));

    // Connect again: the label resets and the next frame shows.
    QSignalSpy changes(&f.link, &EcuLink::ecuNumberChanged);
    f.link.btnConnect_Click();
    QCOMPARE(changes.first().first().toString(), QString("#####"));
    f.port.inject(identChunk(0, 0x16, 19, "99999", 48));
    QCOMPARE(f.link.ecuNumber(), QString("99999"));
    QVERIFY(f.link.connected);
}

void TestLink::dispatchRunsTheHandlerOfTheModeAndStepsTheBar_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("steps");
    for (int mode : {0, 9, 10, 16, 17, -1})
        QTest::addRow("mode %d", mode) << mode << false;
    for (int mode : {2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15})
        QTest::addRow("mode %d", mode) << mode << true;
}

void TestLink::dispatchRunsTheHandlerOfTheModeAndStepsTheBar()
{
    QFETCH(int, mode);
    QFETCH(bool, steps);
    LinkFixture f;
    QList<QPair<int, QByteArray>> calls;
    for (int m = 0; m <= 16; ++m) {
        if (m != 1)
            f.link.setHandler(m, [&calls, m](const QByteArray &Rdata) {
                calls.append({m, Rdata});
            });
    }
    f.settings.save("Comms", "ComPort", "/dev/fake");
    f.link.openPort();
    f.link.ReadMode = qint16(mode);
    f.port.setReceiveThreshold(3);
    QSignalSpy handled(&f.link, &EcuLink::chunkHandled);
    f.port.inject(bytes({1, 2, 3, 4}));

    const bool hasHandler = mode >= 0 && mode <= 16 && mode != 1;
    QCOMPARE(calls.size(), hasHandler ? 1 : 0);
    if (hasHandler)
        QCOMPARE(calls.first(), qMakePair(mode, bytes({1, 2, 3, 4})));
    QCOMPARE(handled.size(), steps ? 1 : 0);
    QCOMPARE(f.port.bytesWaiting(), 0); // every mode reads the whole buffer

    // Any event code other than "data received" runs nothing.
    f.port.inject(bytes({5}));
    f.link.MSComm1_OnComm(1);
    QCOMPARE(calls.size(), hasHandler ? 1 : 0);
}

void TestLink::stopAndCloseSendTheStopByte()
{
    LinkFixture f;
    f.link.openPort();
    const quint32 t0 = f.clock.tickCount();
    f.link.stopData();
    QCOMPARE(f.port.written(), bytes({0x30}));
    QCOMPARE(f.clock.tickCount(), t0 + 50);
    QCOMPARE(f.port.discardCount, 1);

    f.port.writes.clear();
    f.link.closePort();
    QCOMPARE(f.port.written(), bytes({0x30}));
    QVERIFY(!f.port.isOpen());
    f.link.closePort(); // closed already: nothing is sent
    QCOMPARE(f.port.writes.size(), 1);
}

void TestLink::deviceLossClosesThePortAndSaysSo()
{
    LinkFixture f;
    f.settings.save("Comms", "ComPort", "ttyUSB0");
    f.link.btnConnect_Click();
    QSignalSpy lost(&f.link, &EcuLink::linkLost);
    f.port.loseDevice("Input/output error");
    QCOMPARE(lost.size(), 1);
    const QString message = lost.first().first().toString();
    QVERIFY2(message.contains("/dev/ttyUSB0") && message.contains("Connect"), qPrintable(message));
    QVERIFY(!f.port.isOpen());
    QVERIFY(f.dialogs.warnings.isEmpty()); // no modal box
}

void TestLink::thresholdNotifiesOncePerRead()
{
    FakeSerialPort port;
    port.open({"/dev/fake", "9600,N,8,1"});
    QSignalSpy received(&port, &SerialPort::received);
    port.setReceiveThreshold(4);
    port.inject(bytes({1, 2, 3}));
    QCOMPARE(received.size(), 0);
    port.inject(bytes({4}));
    QCOMPARE(received.size(), 1);
    port.inject(bytes({5, 6, 7, 8, 9}));
    QCOMPARE(received.size(), 1); // not read yet: no second notification
    QCOMPARE(port.readAll().size(), 9);
    port.inject(bytes({1, 2, 3}));
    QCOMPARE(received.size(), 1);
    port.inject(bytes({4}));
    QCOMPARE(received.size(), 2);
    port.discardInput();
    port.setReceiveThreshold(0); // off
    port.inject(QByteArray(100, 'x'));
    QCOMPARE(received.size(), 2);
}

void TestLink::bytesArrivingDuringAHandlerAreNotLost()
{
    // A handler that waits while more bytes arrive (as QSerialPort buffers them without a new
    // notification): they are announced as soon as the handler returns.
    FakeClock clock;
    FakeSerialPort port(&clock);
    port.open({"/dev/fake", "9600,N,8,1"});
    port.setReceiveThreshold(2);
    QList<QByteArray> chunks;
    bool injected = false;
    QObject::connect(&port, &SerialPort::received, [&] {
        chunks.append(port.readAll());
        if (!injected) {
            injected = true;
            clock.onSleep = [&] { port.inject(bytes({7, 8})); };
            waitMilliseconds(clock, 10);
            clock.onSleep = nullptr;
        }
    });
    port.inject(bytes({1, 2}));
    QCOMPARE(chunks.size(), 2);
    QCOMPARE(chunks[0], bytes({1, 2}));
    QCOMPARE(chunks[1], bytes({7, 8}));
}

void TestLink::remainingWait_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<quint32>("now");
    QTest::addColumn<qint32>("wait");
    QTest::addColumn<qint64>("remaining");
    QTest::newRow("just started") << 1000u << 1000u << 100 << qint64(100);
    QTest::newRow("half way") << 1000u << 1050u << 100 << qint64(50);
    QTest::newRow("exactly done") << 1000u << 1100u << 100 << qint64(0);
    QTest::newRow("past") << 1000u << 5000u << 100 << qint64(0);
    QTest::newRow("zero wait") << 1000u << 1000u << 0 << qint64(0);
    QTest::newRow("negative wait") << 1000u << 1000u << -5 << qint64(0);
    QTest::newRow("before the wrap") << 4294967246u << 4294967290u << 100 << qint64(56);
    QTest::newRow("after the wrap") << 4294967246u << 10u << 100 << qint64(40);
    QTest::newRow("after the wrap, done") << 4294967246u << 50u << 100 << qint64(0);
    QTest::newRow("wait reaching past the wrap")
        << 4294967000u << 4294967100u << 1000 << qint64(900);
}

void TestLink::remainingWait()
{
    QFETCH(quint32, start);
    QFETCH(quint32, now);
    QFETCH(qint32, wait);
    QFETCH(qint64, remaining);
    QCOMPARE(::remainingWait(start, now, wait), remaining);
}

void TestLink::waitOfOneSecondSleeps()
{
    SystemClock clock;
    QElapsedTimer wall;
    const double cpuBefore = processCpuMs();
    wall.start();
    waitMilliseconds(clock, 1000);
    const double cpu = processCpuMs() - cpuBefore;
    QVERIFY(wall.elapsed() >= 1000);
    // A spinning wait would use about as much processor time as wall time.
    QVERIFY2(cpu < 200.0, qPrintable(QString("used %1 ms of processor time").arg(cpu)));
}

void TestLink::waitAcrossTheCounterWrapReturns()
{
    OffsetClock clock(0xFFFFFFFFu - 49u); // 50 ms before the wrap
    QElapsedTimer wall;
    wall.start();
    waitMilliseconds(clock, 100);
    QVERIFY(wall.elapsed() >= 100);
    QVERIFY(clock.tickCount() < 0x80000000u); // the counter did wrap meanwhile
}

void TestLink::portDevice_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("device");
    QTest::newRow("port 1") << "1"
                            << "/dev/ttyS0";
    QTest::newRow("port 4") << "4"
                            << "/dev/ttyS3";
    QTest::newRow("blanks around a number") << " 2 "
                                            << "/dev/ttyS1";
    QTest::newRow("port 0 is no port") << "0"
                                       << "";
    QTest::newRow("negative reads as the default") << "-3"
                                                   << "/dev/ttyS0";
    QTest::newRow("empty reads as the default") << ""
                                                << "/dev/ttyS0";
    QTest::newRow("device name") << "ttyUSB0"
                                 << "/dev/ttyUSB0";
    QTest::newRow("device path") << "/dev/ttyUSB1"
                                 << "/dev/ttyUSB1";
    QTest::newRow("pseudo-terminal") << "/dev/pts/7"
                                     << "/dev/pts/7";
}

void TestLink::portDevice()
{
    QFETCH(QString, setting);
    QFETCH(QString, device);
    QCOMPARE(::portDevice(setting), device);
}

void TestLink::lineSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("baud");
    QTest::newRow("9600") << "9600,N,8,1" << true << 9600;
    QTest::newRow("odd speed") << "10400,N,8,1" << true << 10400;
    QTest::newRow("speed not a number") << "fast,N,8,1" << false << 0;
    QTest::newRow("empty speed") << ",N,8,1" << false << 0;
    QTest::newRow("negative speed") << "-9600,N,8,1" << false << 0;
    QTest::newRow("missing parts") << "9600" << false << 0;
}

void TestLink::lineSettings()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, baud);
    const std::optional<LineSettings> s = parseLineSettings(text);
    QCOMPARE(s.has_value(), valid);
    if (valid) {
        QCOMPARE(s->baudRate, baud);
        QCOMPARE(s->parity, 'N');
        QCOMPARE(s->dataBits, 8);
        QCOMPARE(s->stopBits, 1);
    }
}

void TestLink::openFailureMessages_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("mentions");
    QTest::newRow("no such port") << int(PortOpenError::NoSuchPort) << ""
                                  << "Invalid Port number" << QStringList{};
    QTest::newRow("permission") << int(PortOpenError::PermissionDenied) << "dialout"
                                << "Unexpected error #8010"
                                << QStringList{"Permission denied", "/dev/ttyUSB0", "dialout",
                                               "log in again"};
    QTest::newRow("permission, other group")
        << int(PortOpenError::PermissionDenied) << "uucp"
        << "Unexpected error #8010" << QStringList{"uucp", "log in again"};
    QTest::newRow("busy") << int(PortOpenError::PortBusy) << ""
                          << "Unexpected error #8005"
                          << QStringList{"/dev/ttyUSB0", "another program"};
    QTest::newRow("bad speed") << int(PortOpenError::BadLineSpeed) << ""
                               << "Unexpected error #8015" << QStringList{"\"fast\"", "9600"};
    QTest::newRow("other") << int(PortOpenError::Other) << "Input/output error"
                           << "Unexpected error #8020" << QStringList{"Input/output error"};
}

void TestLink::openFailureMessages()
{
    QFETCH(int, kind);
    QFETCH(QString, detail);
    QFETCH(QString, start);
    QFETCH(QStringList, mentions);
    const QString message =
        portOpenMessage({PortOpenError::Kind(kind), detail}, "/dev/ttyUSB0", "fast");
    QVERIFY2(message.startsWith(start), qPrintable(message));
    if (mentions.isEmpty())
        QCOMPARE(message, start);
    for (const QString &m : mentions)
        QVERIFY2(message.contains(m), qPrintable(message));
}

void TestLink::requestBuilders()
{
    QCOMPARE(Protocol::wakeUp(0xEF), bytes({0xFF, 0xFF, 0xEF, 0xD0}));
    QCOMPARE(Protocol::identityProbe(0x10), bytes({0xFF, 0xFF, 0x10}));
    QCOMPARE(int(Protocol::identityAnswer(0x10)), 0xEF);
    QCOMPARE(Protocol::readRegisters(bytes({0x00, 0x01, 0x13})),
             bytes({0x5A, 0x00, 0x5A, 0x01, 0x5A, 0x13}));
    QCOMPARE(Protocol::readFaultCodes(), bytes({0xD1}));
    QCOMPARE(Protocol::eraseFaultCodes(), bytes({0xC1}));
    QCOMPARE(Protocol::activeTest(0x1E, 0x01), bytes({0x0A, 0x1E, 0x01}));
    QCOMPARE(Protocol::readMemory(0xC9, {0xF70C, 0x0001}),
             bytes({0xC9, 0xF7, 0x0C, 0xC9, 0x00, 0x01}));
}

ORVANTIS_TEST(TestLink)
#include "tst_link.moc"
