// The program against the virtual ECU through the real serial backend on a pseudo-terminal.
#include "app/Form2.h"
#include "config/SettingsStore.h"
#include "diagnostics/frmSelfDiag.h"
#include "display/Form1.h"
#include "display/GaugeOverlays.h"
#include "ecusim/EcuSimulator.h"
#include "link/Clock.h"
#include "link/EcuLink.h"
#include "link/QSerialPortBackend.h"
#include "logging/LogFormat.h"
#include "logging/frmDataLog.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TestRegistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <time.h>

namespace {

constexpr int kLimitMs = 15000; // generous: the waits end as soon as the condition holds

double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

SimulatorOptions fastEcu()
{
    SimulatorOptions o;
    o.line.paced = false;
    o.cycleStartMs = 20000; // mid-pull: values move
    return o;
}

// The main window on the real serial backend, with in-memory settings.
struct RealPortFixture
{
    explicit RealPortFixture(const QString &device = QString())
    {
        if (!device.isEmpty())
            settings.save("Comms", "ComPort", device);
        form.Form_Load();
    }
    QString label(const char *name) { return form.findChild<QLabel *>(name)->text(); }
    QPushButton *button(const char *name) { return form.findChild<QPushButton *>(name); }
    bool connectAndIdentify()
    {
        form.btnConnect_Click();
        return QTest::qWaitFor([&] { return label("lblEcuNo") != "#####"; }, kLimitMs);
    }

    MemorySettingsStore settings;
    QSerialPortBackend port;
    SystemClock clock;
    RecordingDialogs dialogs;
    Form2 form{settings, port, clock, dialogs};
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void connectShowsThePartNumber_data();
    void connectShowsThePartNumber();
    void silentEcuLeavesTheNumberUnknown();
    void hangUpMidStreamAndConnectAgain();
    void dataDisplayFollowsTheEngine();
    void faultCodesReadAndErased();
    void logFiveSecondsAndReadItBack();
    void portHeldByAnotherProgramIsNamedSo();
    void openFailuresThroughTheRealPort_data();
    void openFailuresThroughTheRealPort();
};

void TestEndToEnd::connectShowsThePartNumber_data()
{
    QTest::addColumn<bool>("obd2");
    QTest::addColumn<bool>("paced");
    QTest::newRow("standard ECU at 9600 bit/s") << false << true;
    QTest::newRow("OBDII variant") << true << false;
}

void TestEndToEnd::connectShowsThePartNumber()
{
    QFETCH(bool, obd2);
    QFETCH(bool, paced);
    SimulatorOptions o = fastEcu();
    o.line.paced = paced;
    o.ecu.obd2 = obd2;
    o.ecu.partNumber = "12A34";
    EcuSimulator ecu(o);
    QVERIFY2(ecu.start(), qPrintable(ecu.errorString()));
    RealPortFixture f(ecu.devicePath());
    f.settings.save("Comms", "OBDIImodel", obd2 ? "1" : "0");
    f.form.setStatusBar();
    QVERIFY(f.connectAndIdentify());
    QCOMPARE(f.label("lblEcuNo"), QString("12A34"));
    QVERIFY(f.form.link().connected);
    QVERIFY(f.button("btnDataDisplay")->isEnabled());
    QCOMPARE(f.button("btnMapTrace")->isEnabled(), !obd2);
    QVERIFY(ecu.received().startsWith(QByteArray("\xFF\xFF\xEF\xD0\xF0")));
    QVERIFY(f.dialogs.warnings.isEmpty());
}

void TestEndToEnd::silentEcuLeavesTheNumberUnknown()
{
    SimulatorOptions o = fastEcu();
    o.faults.neverAnswer = true;
    EcuSimulator ecu(o);
    QVERIFY(ecu.start());
    RealPortFixture f(ecu.devicePath());
    f.form.btnConnect_Click();
    QTRY_VERIFY_WITH_TIMEOUT(ecu.received().endsWith('\xF0'), kLimitMs);
    QTest::qWait(500); // a live ECU answers well within this
    QCOMPARE(f.label("lblEcuNo"), QString("#####"));
    QVERIFY(!f.button("btnDataDisplay")->isEnabled());
    QVERIFY(f.dialogs.warnings.isEmpty()); // no time-out message: the link simply stays quiet
}

void TestEndToEnd::hangUpMidStreamAndConnectAgain()
{
    QTemporaryDir dir;
    SimulatorOptions o = fastEcu();
    o.linkPath = dir.filePath("ttyECU");
    EcuSimulator ecu(o);
    QVERIFY(ecu.start());
    RealPortFixture f(ecu.devicePath());
    QVERIFY(f.connectAndIdentify());

    ecu.hangUp(); // the cable is pulled mid-stream
    QTRY_VERIFY_WITH_TIMEOUT(!f.port.isOpen(), kLimitMs);
    QVERIFY(f.label("lblLinkState").contains("Connection lost"));
    QCOMPARE(f.label("lblEcuNo"), QString("65U00")); // the last values stay
    QVERIFY(f.dialogs.warnings.isEmpty());

    // With the port closed nothing keeps the processor busy.
    const double cpuBefore = processCpuMs();
    QTest::qWait(500);
    const double cpu = processCpuMs() - cpuBefore;
    QVERIFY2(cpu < 250.0, qPrintable(QString("%1 ms of processor time in 500 ms").arg(cpu)));

    QVERIFY(ecu.start()); // plugged back in, under the same name
    QVERIFY(f.connectAndIdentify());
    QVERIFY(f.label("lblLinkState").isEmpty());
    QVERIFY(f.port.isOpen());
}

void TestEndToEnd::dataDisplayFollowsTheEngine()
{
    EcuSimulator ecu(fastEcu());
    QVERIFY(ecu.start());
    RealPortFixture f(ecu.devicePath());
    QVERIFY(f.connectAndIdentify());
    f.button("btnDataDisplay")->click();
    auto *display = f.form.findChild<Form1 *>();
    QVERIFY(display && display->isVisible());
    auto *rpm = display->findChild<GaugeCaption *>("lblValue0");
    auto *speed = display->findChild<GaugeCaption *>("lblValue1");
    QTRY_VERIFY_WITH_TIMEOUT(rpm->text() != "0", kLimitMs);
    const QString firstRpm = rpm->text();
    const QString firstSpeed = speed->text();
    QTRY_VERIFY_WITH_TIMEOUT(rpm->text() != firstRpm && speed->text() != firstSpeed, kLimitMs);
    const float revs = rpm->text().toFloat();
    QVERIFY2(revs > 500 && revs < 8000, qPrintable(rpm->text()));
    QCOMPARE(display->findChild<QLabel *>("lblOnOff6")->text(), QString("On")); // fuel pump

    display->close();
    QTRY_COMPARE_WITH_TIMEOUT(f.form.link().ReadMode, qint16(1), kLimitMs);
}

void TestEndToEnd::faultCodesReadAndErased()
{
    EcuSimulator ecu(fastEcu());
    QVERIFY(ecu.start());
    RealPortFixture f(ecu.devicePath());
    QVERIFY(f.connectAndIdentify());
    f.button("btnSelfDiag")->click();
    auto *diag = f.form.findChild<frmSelfDiag *>();
    QVERIFY(diag);
    auto *faults = diag->findChild<QPlainTextEdit *>("txtFaults");
    QTRY_VERIFY_WITH_TIMEOUT(faults->toPlainText().contains("Code 11"), kLimitMs);
    QVERIFY(faults->toPlainText().contains("Code 43: Throttle Position Sensor Circuit"));

    diag->findChild<QPushButton *>("btnReset")->click();
    QTRY_COMPARE_WITH_TIMEOUT(faults->toPlainText(), QString("Code 55: No Faults"), kLimitMs);
    QVERIFY(ecu.received().contains('\xC1'));
    diag->close();
}

void TestEndToEnd::logFiveSecondsAndReadItBack()
{
    QTemporaryDir dir;
    SimulatorOptions o = fastEcu();
    o.line.paced = true; // a real line: about 20 frames a second
    EcuSimulator ecu(o);
    QVERIFY(ecu.start());
    RealPortFixture f(ecu.devicePath());
    f.settings.save("DataLog", "Path", dir.path() + "/");
    QVERIFY(f.connectAndIdentify());
    f.button("btnDataLogging")->click();
    auto *logger = f.form.findChild<frmDataLog *>();
    QVERIFY(logger);
    logger->findChild<QLineEdit *>("txtPath")->setText("drive.log");
    logger->findChild<QPushButton *>("btnStart")->click();
    QTest::qWait(5000);
    logger->findChild<QPushButton *>("btnStop")->click();
    QVERIFY(f.dialogs.warnings.isEmpty());

    QFile file(dir.filePath("drive.log"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    QVERIFY2(lines.size() > 20, qPrintable(QString::number(lines.size())));
    const QStringList header = LogFormat::fields(lines[0]);
    QCOMPARE(header[0], QString("Time"));
    const int rpmColumn = header.indexOf("RPM");
    const int waterColumn = header.indexOf("Water Temp C");
    QVERIFY(rpmColumn > 0 && waterColumn > 0);
    double lastTime = -1;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList fields = LogFormat::fields(lines[i]);
        QCOMPARE(fields.size(), header.size());
        const double time = fields[0].toDouble();
        QVERIFY(time >= lastTime && time < 10.0);
        lastTime = time;
        const float rpm = LogFormat::parseValue(fields[rpmColumn]).value_or(-1);
        const float water = LogFormat::parseValue(fields[waterColumn]).value_or(-100);
        QVERIFY2(rpm >= 0 && rpm < 9000, qPrintable(lines[i]));
        QVERIFY2(water > -40 && water < 130, qPrintable(lines[i]));
    }
    QVERIFY(lastTime > 4.0);
}

void TestEndToEnd::portHeldByAnotherProgramIsNamedSo()
{
    PseudoTerminal pty;
    QVERIFY(pty.open());
    QSerialPortBackend other;
    QCOMPARE(other.open({pty.devicePath(), "9600,N,8,1"}).kind, PortOpenError::None);

    RealPortFixture f(pty.devicePath());
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
    RealPortFixture f(comPort);
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
