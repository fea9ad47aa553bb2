// The protocol engine of the virtual ECU: for each request, bytes in and bytes out.
#include "ecusim/EcuProtocol.h"
#include "ecusim/EngineModel.h"
#include "tests/ecusim/EcuSimTestSupport.h"
#include "tests/support/TestRegistry.h"

#include <QtTest>

using namespace EcuSimTest;

namespace {

// Hex bytes where "??" stands for any byte.
bool matches(const QByteArray &actual, const QString &pattern)
{
    const QStringList want = pattern.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (want.size() != actual.size())
        return false;
    for (int i = 0; i < want.size(); ++i) {
        if (want[i] != QLatin1String("??") && quint8(actual[i]) != want[i].toUInt(nullptr, 16))
            return false;
    }
    return true;
}

QString repeat(const QString &item, int times)
{
    QStringList items;
    for (int i = 0; i < times; ++i)
        items << item;
    return items.join(QLatin1Char(' '));
}

// "obd2;id=12;part=ABCDE;cmd=C8;faults=none|21:200;silent=35"
EcuConfig configFrom(const QString &description)
{
    EcuConfig c;
    for (const QString &item : description.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = item.section(QLatin1Char('='), 0, 0);
        const QString value = item.section(QLatin1Char('='), 1);
        if (key == QLatin1String("obd2"))
            c.obd2 = true;
        else if (key == QLatin1String("id"))
            c.identity = quint8(value.toUInt(nullptr, 16));
        else if (key == QLatin1String("part"))
            c.partNumber = value.toLatin1();
        else if (key == QLatin1String("cmd"))
            c.memoryReadCommand = quint8(value.toUInt(nullptr, 16));
        else if (key == QLatin1String("faults") && value == QLatin1String("none"))
            c.faults.clear();
        else if (key == QLatin1String("faults"))
            c.faults = {{quint8(value.section(':', 0, 0).toUInt(nullptr, 16)),
                         quint8(value.section(':', 1).toUInt())}};
        else if (key == QLatin1String("silent"))
            c.silentRegisters = QSet<quint8>{quint8(value.toUInt(nullptr, 16))};
    }
    return c;
}

// Feeds the bytes one by one and gathers the acknowledgements.
QByteArray feed(EcuProtocol &ecu, const QByteArray &in)
{
    QByteArray acks;
    for (char c : in) {
        ecu.receive(quint8(c));
        acks += ecu.takeAcknowledgements();
    }
    return acks;
}

} // namespace

class TestEcuProtocol : public QObject
{
    Q_OBJECT
private slots:
    void protocolReplies_data();
    void protocolReplies();
    void identificationFrames_data();
    void identificationFrames();
    void activeTestEndsWithTheNextStop();
    void memoryReadsFollowTheEngine_data();
    void memoryReadsFollowTheEngine();
    void memoryReadsOfProgramBytes_data();
    void memoryReadsOfProgramBytes();
};

void TestEcuProtocol::protocolReplies_data()
{
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("acks");
    QTest::addColumn<QString>("frame"); // empty: nothing streams

    const QString w = QString::fromLatin1(kWake) + QLatin1Char(' ');
    const QString ident = QStringLiteral("FF 16 ") + repeat("??", 17);
    QTest::newRow("wake-up and identify") << "" << w + "D0 F0"
                                          << "10 2F" << ident + " 36 35 55 30 30";
    QTest::newRow("identity and part number configured") << "id=12;part=ABCDE"
                                                         << "FF FF 12 D0 F0"
                                                         << "ED 2F" << ident + " 41 42 43 44 45";
    QTest::newRow("OBDII variant") << "obd2" << w + "D0 F0"
                                   << "10 2F"
                                   << "FF 20 " + repeat("??", 27) + " 36 35 55 30 30";
    QTest::newRow("wake-up naming another ECU") << ""
                                                << "FF FF 12 D0 F0"
                                                << ""
                                                << "";
    QTest::newRow("asleep until woken") << ""
                                        << "5A 08 F0 D1 F0"
                                        << ""
                                        << "";
    QTest::newRow("identity probe, own identity") << ""
                                                  << "FF FF EF"
                                                  << "10"
                                                  << "";
    QTest::newRow("identity probe, another candidate") << ""
                                                       << "FF FF EE"
                                                       << ""
                                                       << "";
    // The finder's scan: 0xF0 as a candidate is an identity, not the stream start.
    QTest::newRow("finder scan") << ""
                                 << "FF FF FF FF F0 FF FF EF FF FF EE FF FF 00 F0"
                                 << "10"
                                 << "";
    QTest::newRow("another identity silences a woken ECU") << "" << w + "FF FF EE 5A 0B F0"
                                                           << "10"
                                                           << "";

    QTest::newRow("register pairs, request order") << "" << w + "5A 13 5A 0B 5A 1F F0"
                                                   << "10 A5 EC A5 F4 A5 E0"
                                                   << "FF 03 05 00 00";
    QTest::newRow("register pairs, other order") << "" << w + "5A 0B 5A 1F 5A 13 F0"
                                                 << "10 A5 F4 A5 E0 A5 EC"
                                                 << "FF 03 00 00 05";
    QTest::newRow("twelve pairs give twelve-byte frames")
        << "" << w + repeat("5A 0B", 12) + " F0"
        << "10 " + repeat("A5 F4", 12) << "FF 0C " + repeat("00", 12);
    QTest::newRow("undefined register is silent") << "" << w + "5A 02 F0"
                                                  << "10 A5 FD"
                                                  << "";
    QTest::newRow("one silent register silences the request") << "" << w + "5A 0B 5A 02 F0"
                                                              << "10 A5 F4 A5 FD"
                                                              << "";
    QTest::newRow("configured silent register") << "silent=35" << w + "5A 35 F0"
                                                << "10 A5 CA"
                                                << "";
    QTest::newRow("undefined register outside the silent list reads 00")
        << "silent=35" << w + "5A 02 F0"
        << "10 A5 FD"
        << "FF 01 00";
    QTest::newRow("a new request after a stream replaces the last")
        << "" << w + "5A 0B F0 30 5A 13 F0"
        << "10 A5 F4 A5 EC"
        << "FF 01 05";
    QTest::newRow("start after stop repeats the last request") << "" << w + "5A 13 F0 30 F0"
                                                               << "10 A5 EC"
                                                               << "FF 01 05";
    QTest::newRow("stop ends the stream") << "" << w + "5A 13 F0 30"
                                          << "10 A5 EC"
                                          << "";

    QTest::newRow("fault codes") << "" << w + "D1 F0"
                                 << "10 2E"
                                 << "FF 04 11 03 43 0C";
    QTest::newRow("fault codes configured") << "faults=21:200" << w + "D1 F0"
                                            << "10 2E"
                                            << "FF 02 21 C8";
    QTest::newRow("no stored faults reads code 55") << "faults=none" << w + "D1 F0"
                                                    << "10 2E"
                                                    << "FF 02 55 00";
    QTest::newRow("erase streams nothing") << "" << w + "C1 F0"
                                           << "10 3E"
                                           << "";
    QTest::newRow("erase leaves code 55") << "" << w + "C1 F0 30 D1 F0"
                                          << "10 3E 2E"
                                          << "FF 02 55 00";

    QTest::newRow("active test, coolant held") << "" << w + "0A 80 46 5A 08 5A 13 F0"
                                               << "10 F5 7F B9 A5 F7 A5 EC"
                                               << "FF 02 46 05";
    QTest::newRow("active test value FF is not a wake-up") << "" << w + "0A 81 FF 5A 1A F0"
                                                           << "10 F5 7E 00 A5 E5"
                                                           << "FF 01 FF";

    // The RPM axis of the RB25DET fuel preset: 400 .. 6400 rpm in 50 rpm counts.
    QTest::newRow("memory read, one address") << "" << w + "C9 7B 00 F0"
                                              << "10 36 84 FF"
                                              << "FF 01 08";
    QTest::newRow("memory read, eight addresses")
        << "" << w + "C9 7B 00 C9 7B 01 C9 7B 02 C9 7B 03 C9 7B 04 C9 7B 05 C9 7B 06 C9 7B 07 F0"
        << "10 36 84 FF 36 84 FE 36 84 FD 36 84 FC 36 84 FB 36 84 FA 36 84 F9 36 84 F8"
        << "FF 08 08 10 18 20 28 30 38 40";
    QTest::newRow("address byte F0 is an address") << "" << w + "C9 FA F0 F0"
                                                   << "10 36 05 0F"
                                                   << "FF 01 0A";
    QTest::newRow("memory command configured") << "cmd=C8" << w + "C9 C8 FA F0 F0"
                                               << "10 37 05 0F"
                                               << "FF 01 0A";
}

void TestEcuProtocol::protocolReplies()
{
    QFETCH(QString, config);
    QFETCH(QString, in);
    QFETCH(QString, acks);
    QFETCH(QString, frame);
    EcuProtocol ecu(configFrom(config));
    QCOMPARE(hexOf(feed(ecu, bytes(in))), hexOf(bytes(acks)));
    const QByteArray first = ecu.nextFrame(kIdleMs);
    QVERIFY2(matches(first, frame), qPrintable(hexOf(first)));
    // Frames repeat for as long as the stream runs.
    QCOMPARE(ecu.nextFrame(kIdleMs), first);
    QCOMPARE(ecu.isAnswering(), !frame.isEmpty());
}

void TestEcuProtocol::identificationFrames_data()
{
    QTest::addColumn<bool>("obd2");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("partAt");
    QTest::newRow("standard") << false << 0x16 << 19;
    QTest::newRow("OBDII") << true << 0x20 << 29;
}

void TestEcuProtocol::identificationFrames()
{
    QFETCH(bool, obd2);
    QFETCH(int, count);
    QFETCH(int, partAt);
    EcuConfig config;
    config.obd2 = obd2;
    config.partNumber = "9Z9Z9";
    const QByteArray frame = EcuProtocol(config).identificationFrame();
    QCOMPARE(frame.size(), 2 + count);
    QCOMPARE(quint8(frame[1]), quint8(count));
    QCOMPARE(frame.mid(partAt, 5), QByteArray("9Z9Z9"));
    // The program finds the frame by its 0xFF: no other byte may look like a start.
    QCOMPARE(frame.count(char(0xFF)), 1);
}

void TestEcuProtocol::activeTestEndsWithTheNextStop()
{
    EcuProtocol ecu;
    feed(ecu, bytes(QString::fromLatin1(kWake) + " 0A 80 46 5A 08 F0"));
    QCOMPARE(hexOf(ecu.nextFrame(kIdleMs)), QString("FF 01 46"));
    QVERIFY(ecu.activeTest().has_value());
    feed(ecu, bytes("30 5A 08 F0"));
    QVERIFY(!ecu.activeTest().has_value());
    const quint8 modelCoolant = reg(0x08, EngineModel::at(kIdleMs));
    QVERIFY(modelCoolant != 0x46);
    QCOMPARE(hexOf(ecu.nextFrame(kIdleMs)), hexOf(QByteArray("\xFF\x01") + char(modelCoolant)));
}

void TestEcuProtocol::memoryReadsFollowTheEngine_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<qint64>("ms");
    QTest::newRow("RB25DET at idle") << "C9 F7 0C C9 F7 0D C9 F7 77" << kIdleMs;
    QTest::newRow("RB25DET at cruise") << "C9 F7 0C C9 F7 0D C9 F7 77" << kCruiseMs;
    QTest::newRow("VG30DETT in the pull") << "C9 14 0A C9 14 0B C9 14 8C" << kPullMs;
    QTest::newRow("Rb20det throttle address") << "C9 14 0A C9 14 0B C9 14 84" << kCruiseMs;
    // The SR20's engine-speed count keeps its high byte at the higher address.
    QTest::newRow("Sr20det") << "C9 44 75 C9 44 74 C9 41 DE" << kPullMs;
}

void TestEcuProtocol::memoryReadsFollowTheEngine()
{
    QFETCH(QString, request);
    QFETCH(qint64, ms);
    EcuProtocol ecu;
    feed(ecu, bytes(QString::fromLatin1(kWake) + ' ' + request + " F0"));
    const QByteArray frame = ecu.nextFrame(ms);
    const EngineState s = EngineModel::at(ms);
    QCOMPARE(frame.size(), 5);
    QCOMPARE(frame.left(2), bytes("FF 03"));
    // The same engine-speed count the live registers give, and the throttle load byte.
    QCOMPARE(quint8(frame[2]), reg(0x00, s));
    QCOMPARE(quint8(frame[3]), reg(0x01, s));
    QCOMPARE(quint8(frame[4]), s.tpLoad);
    QVERIFY(qAbs(quint8(frame[2]) * 256 + quint8(frame[3]) - s.rpm / 12.5) <= 0.5);
}

void TestEcuProtocol::memoryReadsOfProgramBytes_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::newRow("first eight bytes") << 0x0000 << 8;
    QTest::newRow("last address") << 0xFFFF << 1;
    QTest::newRow("fuel map row") << 0x7400 << 8;
    QTest::newRow("across a page") << 0x7FFC << 8;
}

void TestEcuProtocol::memoryReadsOfProgramBytes()
{
    QFETCH(int, first);
    QFETCH(int, count);
    EcuProtocol ecu;
    QByteArray request = bytes(kWake);
    for (int a = first; a < first + count; ++a)
        request += QByteArray("\xC9") + char(a >> 8) + char(a & 0xFF);
    // Sent in two writes as the fast ROM download does; the bytes join into one request.
    feed(ecu, request.left(request.size() / 2));
    feed(ecu, request.mid(request.size() / 2) + char(0xF0));
    const QByteArray expected = QByteArray("\xFF") + char(count) + ecu.memory().mid(first, count);
    QCOMPARE(hexOf(ecu.nextFrame(kIdleMs)), hexOf(expected));
}

ORVANTIS_TEST(TestEcuProtocol)
#include "tst_ecusim.moc"
