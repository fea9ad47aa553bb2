#include "app/Form2.h"
#include "config/SettingsStore.h"
#include "ecusim/PseudoTerminal.h"
#include "link/Clock.h"
#include "link/EcuLink.h"
#include "link/QSerialPortBackend.h"
#include "tests/support/RecordingDialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include "tests/support/TestRegistry.h"

#include <QtTest>

#include <time.h>

namespace {

double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// The far end of a pseudo-terminal that answers the wake-up with identification frames.
class IdentifyingPeer : public QObject
{
public:
    explicit IdentifyingPeer(const QByteArray &part)
    {
        m_frame = QByteArray(24, char(0x20));
        m_frame[0] = char(0xFF);
        m_frame[1] = char(0x16);
        m_frame.replace(19, 5, part);
        QObject::connect(&pty, &PseudoTerminal::bytesReceived, this, [this](const QByteArray &b) {
            received.append(b);
            if (b.endsWith(char(0xF0)))
                m_stream.start(20);
            if (b.endsWith(char(0x30)))
                m_stream.stop();
        });
        QObject::connect(&m_stream, &QTimer::timeout, this,
                         [this] { pty.write(m_frame + m_frame + m_frame); });
    }
    PseudoTerminal pty;
    QByteArray received;

private:
    QByteArray m_frame;
    QTimer m_stream;
};

struct RealPortFixture
{
    MemorySettingsStore settings;
    QSerialPortBackend port;
    SystemClock clock;
    RecordingDialogs dialogs;
    Form2 form{settings, port, clock, dialogs};

    QString label(const char *name) { return form.findChild<QLabel *>(name)->text(); }
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void connectShowsThePartNumber();
    void deviceHangingUpClosesThePortAndConnectWorksAgain();
    void portHeldByAnotherProgramIsNamedSo();
    void openFailuresThroughTheRealPort_data();
    void openFailuresThroughTheRealPort();
};

void TestEndToEnd::connectShowsThePartNumber()
{
    IdentifyingPeer peer("65U00");
    QVERIFY2(peer.pty.open(), qPrintable(peer.pty.errorString()));
    RealPortFixture f;
    f.settings.save("Comms", "ComPort", peer.pty.devicePath());
    f.form.Form_Load();
    f.form.btnConnect_Click();
    QTRY_COMPARE_WITH_TIMEOUT(f.label("lblEcuNo"), QString("65U00"), 10000);
    QVERIFY(f.form.link().connected);
    QVERIFY(f.form.findChild<QPushButton *>("btnMapTrace")->isEnabled());
    QVERIFY(peer.received.startsWith(QByteArray("\xFF\xFF\xEF\xD0\xF0")));
    QVERIFY(f.dialogs.warnings.isEmpty());
}

void TestEndToEnd::deviceHangingUpClosesThePortAndConnectWorksAgain()
{
    RealPortFixture f;
    f.form.Form_Load();
    {
        IdentifyingPeer peer("65U00");
        QVERIFY(peer.pty.open());
        f.settings.save("Comms", "ComPort", peer.pty.devicePath());
        f.form.btnConnect_Click();
        QTRY_COMPARE_WITH_TIMEOUT(f.label("lblEcuNo"), QString("65U00"), 10000);
        peer.pty.close(); // the cable is pulled mid-stream
        QTRY_VERIFY_WITH_TIMEOUT(!f.port.isOpen(), 10000);
    }
    QVERIFY(f.label("lblLinkState").contains("Connection lost"));
    QCOMPARE(f.label("lblEcuNo"), QString("65U00"));

    // With the port closed nothing keeps the processor busy.
    const double cpuBefore = processCpuMs();
    QTest::qWait(500);
    const double cpu = processCpuMs() - cpuBefore;
    QVERIFY2(cpu < 250.0, qPrintable(QString("%1 ms of processor time in 500 ms").arg(cpu)));

    IdentifyingPeer again("12345");
    QVERIFY(again.pty.open());
    f.settings.save("Comms", "ComPort", again.pty.devicePath());
    f.form.btnConnect_Click();
    QVERIFY(f.label("lblLinkState").isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(f.label("lblEcuNo"), QString("12345"), 10000);
}

void TestEndToEnd::portHeldByAnotherProgramIsNamedSo()
{
    PseudoTerminal pty;
    QVERIFY(pty.open());
    QSerialPortBackend other;
    QCOMPARE(other.open({pty.devicePath(), "9600,N,8,1"}).kind, PortOpenError::None);

    RealPortFixture f;
    f.form.Form_Load();
    f.settings.save("Comms", "ComPort", pty.devicePath());
    f.form.btnConnect_Click();
    QCOMPARE(f.dialogs.warnings.size(), 1);
    QVERIFY2(f.dialogs.warnings.first().startsWith("Unexpected error #8005"),
             qPrintable(f.dialogs.warnings.first()));
    QVERIFY(f.dialogs.warnings.first().contains("another program"));
    QVERIFY(!f.port.isOpen());
}

void TestEndToEnd::openFailuresThroughTheRealPort_data()
{
    QTest::addColumn<QString>("comPort");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("messageStart");
    QTest::newRow("missing device") << "/dev/orvantis-no-such-port"
                                    << "9600"
                                    << "Invalid Port number";
    QTest::newRow("port number 0") << "0"
                                   << "9600"
                                   << "Invalid Port number";
    QTest::newRow("speed not a number") << "/dev/orvantis-no-such-port"
                                        << "fast"
                                        << "Unexpected error #8015";
}

void TestEndToEnd::openFailuresThroughTheRealPort()
{
    QFETCH(QString, comPort);
    QFETCH(QString, speed);
    QFETCH(QString, messageStart);
    RealPortFixture f;
    f.form.Form_Load();
    f.settings.save("Comms", "ComPort", comPort);
    f.settings.save("Comms", "Speed", speed);
    f.form.btnConnect_Click();
    QCOMPARE(f.dialogs.warnings.size(), 1);
    QVERIFY2(f.dialogs.warnings.first().startsWith(messageStart),
             qPrintable(f.dialogs.warnings.first()));
    QVERIFY(!f.port.isOpen());
    QCOMPARE(f.label("lblEcuNo"), QString("#####"));
}

ORVANTIS_TEST(TestEndToEnd)
#include "tst_endtoend.moc"
