// The line and fault helpers, the command line, and the virtual ECU on a real pseudo-terminal.
#include "ecusim/CommandLine.h"
#include "ecusim/EcuSimulator.h"
#include "ecusim/FaultInjector.h"
#include "ecusim/LinePacer.h"
#include "tests/ecusim/EcuSimTestSupport.h"
#include "tests/support/TestRegistry.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace EcuSimTest;

namespace {

// The program's end of the line: the device opened raw, every arriving byte kept.
class DeviceEnd : public QObject
{
public:
    explicit DeviceEnd(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return;
        termios raw{};
        ::tcgetattr(m_fd, &raw);
        cfmakeraw(&raw);
        ::tcsetattr(m_fd, TCSANOW, &raw);
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readAll(); });
    }
    ~DeviceEnd() override
    {
        delete m_notifier;
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    // One write per byte, as the program writes the wake-up.
    void writeEach(const QByteArray &b)
    {
        for (char c : b)
            QVERIFY(::write(m_fd, &c, 1) == 1);
    }
    void write(const QByteArray &b) { QVERIFY(::write(m_fd, b.constData(), b.size()) == b.size()); }

    QByteArray received;
    bool hungUp = false; // the far end went away (end of file or an I/O error)

private:
    void readAll()
    {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n > 0) {
                received.append(buffer, int(n));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
                hungUp = true;
                m_notifier->setEnabled(false);
            }
            return;
        }
    }

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};

SimulatorOptions unpaced()
{
    SimulatorOptions o;
    o.line.paced = false;
    return o;
}

} // namespace

class TestEcuSimulator : public QObject
{
    Q_OBJECT
private slots:
    void linePacer_data();
    void linePacer();
    void faultInjectorGarbage();
    void faultInjectorDrops_data();
    void faultInjectorDrops();
    void commandLine_data();
    void commandLine();
    void pacedWakeUpThroughPseudoTerminal();
    void faultsOnTheWire_data();
    void faultsOnTheWire();
    void neverAnswerSendsNothing();
    void hangUpRemovesTheDeviceAndStartBringsItBack();
};

void TestEcuSimulator::linePacer_data()
{
    QTest::addColumn<int>("bitsPerSecond");
    QTest::addColumn<double>("idleUntil");
    QTest::addColumn<int>("sent");
    QTest::addColumn<double>("now");
    QTest::addColumn<int>("due");
    // At 9600 bit/s a byte of 10 bits takes 1.0417 ms.
    QTest::newRow("before the line is free") << 9600 << 100.0 << 0 << 99.9 << 0;
    QTest::newRow("first byte at once") << 9600 << 100.0 << 0 << 100.0 << 1;
    QTest::newRow("ten bytes in ten ms") << 9600 << 100.0 << 0 << 110.0 << 10;
    QTest::newRow("bytes sent are booked") << 9600 << 100.0 << 10 << 110.0 << 0;
    QTest::newRow("next byte once the line is free") << 9600 << 100.0 << 10 << 110.5 << 1;
    QTest::newRow("half the speed, half the bytes") << 4800 << 100.0 << 0 << 110.0 << 5;
    QTest::newRow("idle time is not banked") << 9600 << 5000.0 << 0 << 5000.0 << 1;
}

void TestEcuSimulator::linePacer()
{
    QFETCH(int, bitsPerSecond);
    QFETCH(double, idleUntil);
    QFETCH(int, sent);
    QFETCH(double, now);
    QFETCH(int, due);
    LinePacer pacer(bitsPerSecond);
    pacer.idleUntil(0);
    pacer.idleUntil(idleUntil);
    pacer.sent(sent);
    QCOMPARE(pacer.due(now), due);
}

void TestEcuSimulator::faultInjectorGarbage()
{
    const QByteArray frame = bytes("FF 02 55 00");
    FaultInjector injector(3, 0, 7);
    const QByteArray first = injector.beforeFrame(frame);
    const QByteArray second = injector.beforeFrame(frame);
    QCOMPARE(first.size(), 7);
    QVERIFY(first.endsWith(frame));
    QVERIFY(second.endsWith(frame));
    QVERIFY(first.left(3) != second.left(3)); // fresh garbage every time
    // The same seed plays the same garbage again; another seed another.
    QCOMPARE(FaultInjector(3, 0, 7).beforeFrame(frame), first);
    QVERIFY(FaultInjector(3, 0, 8).beforeFrame(frame) != first);
    QCOMPARE(FaultInjector(0, 0, 7).beforeFrame(frame), frame);
    QCOMPARE(injector.beforeFrame(QByteArray()), QByteArray()); // no frame, no garbage
}

void TestEcuSimulator::faultInjectorDrops_data()
{
    QTest::addColumn<int>("dropEvery");
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QStringList>("survivors");
    QTest::newRow("none dropped") << 0 << QStringList{"abcdef"} << QStringList{"abcdef"};
    QTest::newRow("every third") << 3 << QStringList{"abcdefg"} << QStringList{"abdeg"};
    QTest::newRow("counted across writes")
        << 3 << QStringList{"ab", "cd", "ef"} << QStringList{"ab", "d", "e"};
    QTest::newRow("every byte") << 1 << QStringList{"abc"} << QStringList{""};
}

void TestEcuSimulator::faultInjectorDrops()
{
    QFETCH(int, dropEvery);
    QFETCH(QStringList, chunks);
    QFETCH(QStringList, survivors);
    FaultInjector injector(0, dropEvery);
    for (int i = 0; i < chunks.size(); ++i)
        QCOMPARE(injector.survive(chunks[i].toLatin1()), survivors[i].toLatin1());
}

void TestEcuSimulator::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected"); // "key=value" items that must hold; "error" fails

    QTest::newRow("defaults") << QStringList{}
                              << "id=EF part=65U00 obd2=0 cmd=C9 faults=11:3,43:12 silent=model "
                                 "baud=9600 paced=1 start=0 never=0 garbage=0 drop=0 hangup=-1 "
                                 "back=-1 quiet=0 device= link=";
    QTest::newRow("identity") << QStringList{"--id", "12"} << "id=12";
    QTest::newRow("identity with 0x") << QStringList{"--id", "0x3c"} << "id=3C";
    QTest::newRow("identity FF") << QStringList{"--id", "FF"} << "error";
    QTest::newRow("identity not hex") << QStringList{"--id", "G1"} << "error";
    QTest::newRow("part number") << QStringList{"--part-number", "ABCDE"} << "part=ABCDE";
    QTest::newRow("part number too short") << QStringList{"--part-number", "ABC"} << "error";
    QTest::newRow("OBDII") << QStringList{"--obd2"} << "obd2=1";
    QTest::newRow("memory command") << QStringList{"--memory-command", "C8"} << "cmd=C8";
    QTest::newRow("memory command taken by registers")
        << QStringList{"--memory-command", "5A"} << "error";
    QTest::newRow("faults") << QStringList{"--faults", "21:4,55:0"} << "faults=21:4,55:0";
    QTest::newRow("no faults") << QStringList{"--faults", "none"} << "faults=";
    QTest::newRow("fault without starts") << QStringList{"--faults", "11"} << "error";
    QTest::newRow("silent registers")
        << QStringList{"--silent-registers", "36,35"} << "silent=35,36";
    QTest::newRow("no silent registers") << QStringList{"--silent-registers", "none"} << "silent=";
    QTest::newRow("line speed") << QStringList{"--baud", "19200"} << "baud=19200";
    QTest::newRow("line speed zero") << QStringList{"--baud", "0"} << "error";
    QTest::newRow("unpaced, quiet") << QStringList{"--unpaced", "-q"} << "paced=0 quiet=1";
    QTest::newRow("start in the cycle") << QStringList{"--start-at", "18.5"} << "start=18500";
    QTest::newRow("faults on the line")
        << QStringList{"--never-answer", "--garbage", "3", "--drop-every", "7"}
        << "never=1 garbage=3 drop=7";
    QTest::newRow("hang up and come back")
        << QStringList{"--hang-up-after", "2.5", "--back-after", "1"} << "hangup=2500 back=1000";
    QTest::newRow("negative seconds") << QStringList{"--hang-up-after", "-1"} << "error";
    QTest::newRow("device and link") << QStringList{"--device", "/dev/ttyS1", "--link", "/tmp/e"}
                                     << "device=/dev/ttyS1 link=/tmp/e";
    QTest::newRow("stray argument") << QStringList{"extra"} << "error";
}

void TestEcuSimulator::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    QCommandLineParser parser;
    CommandLineOptions::add(parser);
    QVERIFY(parser.parse(QStringList{"orvantis-ecusim"} + args));
    CommandLine cl;
    QString error;
    const bool ok = CommandLineOptions::read(parser, &cl, &error);
    if (expected == QLatin1String("error")) {
        QVERIFY(!ok);
        QVERIFY(!error.isEmpty());
        return;
    }
    QVERIFY2(ok, qPrintable(error));
    const SimulatorOptions &s = cl.simulator;
    QStringList faults;
    for (const FaultCode &f : s.ecu.faults)
        faults << QStringLiteral("%1:%2").arg(f.code, 0, 16).arg(f.starts);
    QString silent = QStringLiteral("model");
    if (s.ecu.silentRegisters) {
        QList<quint8> sorted = s.ecu.silentRegisters->values();
        std::sort(sorted.begin(), sorted.end());
        QStringList items;
        for (quint8 r : sorted)
            items << QString::number(r, 16);
        silent = items.join(',');
    }
    const QMap<QString, QString> actual = {
        {"id", QString::number(s.ecu.identity, 16).toUpper()},
        {"part", QString::fromLatin1(s.ecu.partNumber)},
        {"obd2", QString::number(s.ecu.obd2)},
        {"cmd", QString::number(s.ecu.memoryReadCommand, 16).toUpper()},
        {"faults", faults.join(',')},
        {"silent", silent},
        {"baud", QString::number(s.line.bitsPerSecond)},
        {"paced", QString::number(s.line.paced)},
        {"start", QString::number(s.cycleStartMs)},
        {"never", QString::number(s.faults.neverAnswer)},
        {"garbage", QString::number(s.faults.garbageBytes)},
        {"drop", QString::number(s.faults.dropEvery)},
        {"hangup", QString::number(s.faults.hangUpAfterMs)},
        {"back", QString::number(cl.backAfterMs)},
        {"quiet", QString::number(cl.quiet)},
        {"device", s.servedDevice},
        {"link", s.linkPath},
    };
    for (const QString &item : expected.split(' ', Qt::SkipEmptyParts)) {
        const QString key = item.section('=', 0, 0);
        QVERIFY2(actual.contains(key), qPrintable(key));
        QCOMPARE(actual[key], item.section('=', 1));
    }
}

void TestEcuSimulator::pacedWakeUpThroughPseudoTerminal()
{
    QElapsedTimer wall;
    wall.start();
    EcuSimulator sim; // paced at 9600 bit/s
    QSignalSpy log(&sim, &EcuSimulator::requestLogged);
    QVERIFY2(sim.start(), qPrintable(sim.errorString()));
    DeviceEnd device(sim.devicePath());
    QVERIFY(device.isOpen());
    device.writeEach(bytes("FF FF EF D0"));
    QTRY_COMPARE_WITH_TIMEOUT(device.received, bytes("10 2F"), 10000);
    device.received.clear();
    device.write(bytes("F0"));
    QTRY_VERIFY_WITH_TIMEOUT(device.received.size() >= 3 * 24, 10000);
    // Back-to-back identification frames from the first byte on.
    const QByteArray frame = sim.protocol().identificationFrame();
    QCOMPARE(device.received.left(48), frame + frame);
    QCOMPARE(frame.mid(19, 5), QByteArray("65U00"));
    // Never more than the line could have carried since the start (one byte at once whenever it
    // had been idle: three answers and the stream). An upper bound that a slow machine cannot
    // break; only a missing pacing does.
    const qint64 written = sim.bytesWritten();
    const double carried = wall.nsecsElapsed() / 1e6 / LinePacer(9600).byteMs();
    QVERIFY2(written <= carried + 4, qPrintable(QString("%1 bytes, %2").arg(written).arg(carried)));

    device.write(bytes("30"));
    QTRY_VERIFY_WITH_TIMEOUT(!sim.protocol().isStreaming(), 10000);
    QStringList lines;
    for (const QList<QVariant> &args : log)
        lines << args.at(0).toString();
    QCOMPARE(lines, QStringList({"wake-up EF: answered 10", "identify",
                                 "start stream: identification frames, part number 65U00",
                                 "stop stream"}));
}

void TestEcuSimulator::faultsOnTheWire_data()
{
    QTest::addColumn<int>("garbage");
    QTest::addColumn<int>("dropEvery");
    QTest::newRow("clean line") << 0 << 0;
    QTest::newRow("garbage between frames") << 5 << 0;
    QTest::newRow("every seventh byte lost") << 0 << 7;
    QTest::newRow("both") << 2 << 4;
}

void TestEcuSimulator::faultsOnTheWire()
{
    QFETCH(int, garbage);
    QFETCH(int, dropEvery);
    SimulatorOptions options = unpaced();
    options.faults.garbageBytes = garbage;
    options.faults.dropEvery = dropEvery;
    EcuSimulator sim(options);
    QVERIFY2(sim.start(), qPrintable(sim.errorString()));
    DeviceEnd device(sim.devicePath());
    device.writeEach(bytes("FF FF EF D1 F0"));
    const int frames = 6;
    const QByteArray frame = bytes("FF 04 11 03 43 0C");
    QTRY_VERIFY_WITH_TIMEOUT(device.received.size() >= 2 + frames * (garbage + 6), 10000);
    device.write(bytes("30"));

    // What a clean line would carry: the acknowledgements, then each frame after its garbage.
    QByteArray clean = bytes("10 2E");
    QList<int> garbageAt;
    for (int i = 0; i < frames; ++i) {
        garbageAt << int(clean.size());
        clean += QByteArray(garbage, '?') + frame;
    }
    // Drop every n-th byte of it; the placeholders mark where garbage must sit.
    QByteArray expected;
    for (int i = 0; i < clean.size(); ++i) {
        if (dropEvery == 0 || (i + 1) % dropEvery != 0)
            expected.append(clean[i]);
    }
    const QByteArray got = device.received.left(expected.size());
    QCOMPARE(got.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        if (expected[i] != '?')
            QVERIFY2(got[i] == expected[i],
                     qPrintable(QString("byte %1 of %2").arg(i).arg(hexOf(got))));
    }
    if (garbage > 0) // garbage is random, not a copy of the frame
        QVERIFY(got.mid(2, garbage) != frame.left(garbage));
}

void TestEcuSimulator::neverAnswerSendsNothing()
{
    SimulatorOptions options = unpaced();
    options.faults.neverAnswer = true;
    EcuSimulator sim(options);
    QVERIFY(sim.start());
    DeviceEnd device(sim.devicePath());
    device.writeEach(bytes("FF FF EF D0 F0"));
    QTRY_COMPARE_WITH_TIMEOUT(sim.received(), bytes("FF FF EF D0 F0"), 10000);
    // The request was taken (and logged) but nothing went on the line: the acknowledgements
    // would have been written the moment the bytes arrived.
    QVERIFY(sim.protocol().isStreaming());
    QCOMPARE(sim.bytesWritten(), qint64(0));
    QCOMPARE(device.received, QByteArray());
}

void TestEcuSimulator::hangUpRemovesTheDeviceAndStartBringsItBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SimulatorOptions options = unpaced();
    options.linkPath = dir.filePath("ecu");
    options.faults.hangUpAfterMs = 2000;
    EcuSimulator sim(options);
    QSignalSpy hungUp(&sim, &EcuSimulator::hungUp);
    QVERIFY(sim.start());
    QCOMPARE(sim.devicePath(), options.linkPath);
    const QString device = QFileInfo(options.linkPath).symLinkTarget();
    QVERIFY(QFileInfo::exists(device));
    DeviceEnd before(options.linkPath);
    QVERIFY(before.isOpen());
    before.writeEach(bytes("FF FF EF D0 F0"));
    QTRY_VERIFY_WITH_TIMEOUT(before.received.size() >= 48, 10000);

    QTRY_COMPARE_WITH_TIMEOUT(hungUp.count(), 1, 10000);
    QVERIFY(!sim.isRunning());
    QVERIFY(!QFileInfo(options.linkPath).isSymLink());
    QVERIFY(!QFileInfo::exists(device)); // the device node is gone, as with a pulled cable
    QTRY_VERIFY_WITH_TIMEOUT(before.hungUp, 10000);

    // Back under the same name, asleep until woken again.
    QVERIFY(sim.start());
    QVERIFY(QFileInfo(options.linkPath).isSymLink());
    DeviceEnd after(options.linkPath);
    QVERIFY(after.isOpen());
    after.writeEach(bytes("D1 F0"));
    after.writeEach(bytes("FF FF EF"));
    QTRY_COMPARE_WITH_TIMEOUT(after.received, bytes("10"), 10000);
    sim.stop();
    QVERIFY(!QFileInfo(options.linkPath).isSymLink());
}

ORVANTIS_TEST(TestEcuSimulator)
#include "tst_simulator.moc"
