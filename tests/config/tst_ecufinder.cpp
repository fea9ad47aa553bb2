#include "config/EcuFinderScan.h"
#include "config/Form3.h"
#include "config/frmECUfind.h"
#include "link/EcuLink.h"
#include "tests/config/SettingsWindowFixture.h"

#include "tests/support/TestRegistry.h"
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include <QtTest>

namespace {

const QByteArray kReconnect("\x30\xFF\xFF\xEF\xD0\xF0"); // stop, wake-up with id EF, start

QByteArray identFrame(const QByteArray &part)
{
    QByteArray chunk(48, char(0));
    chunk[0] = char(0xFF);
    chunk[1] = char(0x16);
    chunk.replace(19, 5, part);
    return chunk;
}

// Index in the port's writes of byte `byte` (0, 1: the two 0xFF; 2: the identity) of the probe of
// `candidate`, for a scan that began on a closed port (the two wake-up bytes come first).
int probeWrite(quint8 candidate, int byte)
{
    return 2 + 3 * (0xFE - candidate) + byte;
}

// The communication settings dialog with its finder, over the fake port and clock. `duringWait`
// runs in every wait of the link, once the finder exists.
struct FinderFixture : SettingsWindowFixture
{
    FinderFixture()
    {
        dialog = new Form3(form, [] { return QList<SerialPortChoice>(); });
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        clock.onSleep = [this] {
            if (!finder && dialog)
                finder = dialog->finder();
            if (finder && duringWait)
                duringWait();
        };
    }
    ~FinderFixture()
    {
        clock.onSleep = nullptr;
        delete dialog;
    }

    void findEcu() { click(dialog, "btnECUfind"); }
    // The number of bytes written so far is `count`: the wait after that byte is running.
    bool waitingAfter(int count) const { return port.writes.size() == count; }
    QByteArray writtenFrom(int index) const
    {
        QByteArray bytes;
        for (int i = index; i < port.writes.size(); ++i)
            bytes.append(port.writes[i].bytes);
        return bytes;
    }
    QString info() const { return child<QLabel>(finder, "lblInfo")->text(); }
    QString results() const { return child<QPlainTextEdit>(finder, "txtRegisters")->toPlainText(); }
    QPushButton *button(const char *name) const { return child<QPushButton>(finder, name); }

    QPointer<Form3> dialog;
    QPointer<frmECUfind> finder;
    std::function<void()> duringWait;
};

} // namespace

class TestEcuFinder : public QObject
{
    Q_OBJECT
private slots:
    void probeTexts_data();
    void probeTexts();
    void scanSendsEveryProbeWithItsWaits();
    void answeringIdentitiesAreListed_data();
    void answeringIdentitiesAreListed();
    void cancelStopsAfterTheProbeInProgress_data();
    void cancelStopsAfterTheProbeInProgress();
    void closingMidProbeReconnectsAndSendsNoMoreProbes_data();
    void closingMidProbeReconnectsAndSendsNoMoreProbes();
    void windowDestroyedMidProbeIsSafe_data();
    void windowDestroyedMidProbeIsSafe();
    void closingAfterTheScanReconnects_data();
    void closingAfterTheScanReconnects();
    void portThatDoesNotOpenEndsTheScanAtOnce();
    void deviceLostMidScanEndsTheScan();
    void findEcuAgainBringsTheOpenFinderForward();
    void mainWindowClosedMidScanEndsIt();
    void mainWindowDestroyedWithTheFinderOpen();
};

void TestEcuFinder::probeTexts_data()
{
    QTest::addColumn<int>("candidate");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("found");
    QTest::newRow("FE") << 0xFE << "- FE"
                        << "ECU id FE - active";
    QTest::newRow("EF") << 0xEF << "- EF"
                        << "ECU id EF - active";
    QTest::newRow("3, no leading zero") << 0x03 << "- 3"
                                        << "ECU id 3 - active";
    QTest::newRow("0") << 0x00 << "- 0"
                       << "ECU id 0 - active";
}

void TestEcuFinder::probeTexts()
{
    QFETCH(int, candidate);
    QFETCH(QString, info);
    QFETCH(QString, found);
    QCOMPARE(EcuFinderScan::probeText(quint8(candidate)), info);
    QCOMPARE(EcuFinderScan::foundText(quint8(candidate)), found);
    const char complement = char(0xFF - candidate);
    QVERIFY(EcuFinderScan::replyMarks(QByteArray(1, complement), quint8(candidate)));
    QVERIFY(EcuFinderScan::replyMarks(QByteArray("\x01\x02") + complement, quint8(candidate)));
    QVERIFY(!EcuFinderScan::replyMarks(QByteArray(1, char(candidate ^ 0x01)), quint8(candidate)));
    QVERIFY(!EcuFinderScan::replyMarks(QByteArray(), quint8(candidate)));
}

void TestEcuFinder::scanSendsEveryProbeWithItsWaits()
{
    FinderFixture f;
    f.form.btnConnect_Click(); // identifying: the finder takes the link over from there
    f.port.writes.clear();
    const int discardsBefore = f.port.discardCount;
    QStringList shown;
    f.duringWait = [&] {
        const QString info = f.info();
        if (!info.isEmpty() && (shown.isEmpty() || shown.last() != info))
            shown.append(info);
        QVERIFY(!f.button("btnClose")->isEnabled());
        QVERIFY(f.button("btnCancel")->isEnabled());
    };
    f.findEcu();

    const QList<FakeSerialPort::Write> &w = f.port.writes;
    QCOMPARE(w.size(), 2 + 2 + 255 * 3);
    // "Find ECU" stops the stream, then the finder reopens the port (which stops it again).
    const quint32 t0 = w[0].tick;
    QCOMPARE(w[0].bytes, QByteArray("\x30"));
    QCOMPARE(w[1].bytes, QByteArray("\x30"));
    QCOMPARE(w[1].tick, t0 + 50);
    QCOMPARE(f.port.openCount, 2);
    // Two wake-up bytes at once, 20 ms, then every identity from 0xFE down to 0x00 as
    // 0xFF, 0xFF, identity with 100 ms after each byte.
    const quint32 t1 = t0 + 100;
    QCOMPARE(w[2].bytes, QByteArray("\xFF"));
    QCOMPARE(w[2].tick, t1);
    QCOMPARE(w[3].bytes, QByteArray("\xFF"));
    QCOMPARE(w[3].tick, t1);
    for (int k = 0; k < 255; ++k) {
        const int at = 4 + 3 * k;
        const quint32 start = t1 + 20 + 300 * quint32(k);
        QCOMPARE(w[at].bytes, QByteArray("\xFF"));
        QCOMPARE(w[at].tick, start);
        QCOMPARE(w[at + 1].bytes, QByteArray("\xFF"));
        QCOMPARE(w[at + 1].tick, start + 100);
        QCOMPARE(w[at + 2].bytes, QByteArray(1, char(0xFE - k)));
        QCOMPARE(w[at + 2].tick, start + 200);
    }
    QCOMPARE(f.clock.tickCount(), t1 + 20 + 300 * 255);
    // Input is discarded after the wake-up bytes and before every probe but the first.
    QCOMPARE(f.port.discardCount - discardsBefore, 2 + 1 + 254);

    QCOMPARE(shown.first(), QString("- FE"));
    QCOMPARE(shown.size(), 255);
    QCOMPARE(shown[0xFE - 0xA], QString("- A"));
    QCOMPARE(shown.last(), QString("- 0"));
    QCOMPARE(f.info(), QString("- Completed !"));
    QVERIFY(f.button("btnClose")->isEnabled());
    QVERIFY(!f.button("btnCancel")->isEnabled());
    QCOMPARE(f.results(), QString());
    QCOMPARE(f.form.link().ReadMode, qint16(16));
    QCOMPARE(f.port.receiveThreshold(), 20);
    // One activity step per probe: 255 steps of 5 on a bar that restarts after 100.
    QCOMPARE(f.form.findChild<QProgressBar *>("ProgressBar1")->value(), 5 * (255 % 21));
    QVERIFY(f.finder->isVisible()); // the finder stays open with its results
}

void TestEcuFinder::answeringIdentitiesAreListed_data()
{
    QTest::addColumn<QByteArray>("answering");
    QTest::addColumn<QByteArrayList>("replies");
    QTest::addColumn<QString>("results");
    QTest::newRow("0x10 marks EF")
        << QByteArray("\xEF") << QByteArrayList{"\x10"} << "ECU id EF - active\n";
    QTest::newRow("complement after other bytes")
        << QByteArray("\xEF") << QByteArrayList{QByteArray("\x00\x55\xAA\x10", 4)}
        << "ECU id EF - active\n";
    QTest::newRow("complement followed by more")
        << QByteArray("\xEF") << QByteArrayList{QByteArray("\x10\xFF\x00", 3)}
        << "ECU id EF - active\n";
    QTest::newRow("one line however often it comes")
        << QByteArray("\xEF") << QByteArrayList{"\x10\x10\x10"} << "ECU id EF - active\n";
    QTest::newRow("a long reply, read by the receive notification")
        << QByteArray("\xEF") << QByteArrayList{QByteArray(23, '\x01') + '\x10'}
        << "ECU id EF - active\n";
    QTest::newRow("the complement of another identity")
        << QByteArray("\xEF") << QByteArrayList{"\x11"} << "";
    QTest::newRow("FE") << QByteArray("\xFE") << QByteArrayList{"\x01"} << "ECU id FE - active\n";
    QTest::newRow("3 without leading zero")
        << QByteArray("\x03") << QByteArrayList{"\xFC"} << "ECU id 3 - active\n";
    QTest::newRow("0, the last one")
        << QByteArray(1, '\0') << QByteArrayList{"\xFF"} << "ECU id 0 - active\n";
    QTest::newRow("two identities answer")
        << QByteArray("\xEF\x20") << QByteArrayList{"\x10", "\xDF"}
        << "ECU id EF - active\nECU id 20 - active\n";
}

void TestEcuFinder::answeringIdentitiesAreListed()
{
    QFETCH(QByteArray, answering);
    QFETCH(QByteArrayList, replies);
    QFETCH(QString, results);
    FinderFixture f;
    QSet<int> answered;
    f.duringWait = [&] {
        for (int i = 0; i < answering.size(); ++i) {
            const quint8 candidate = quint8(answering[i]);
            if (!answered.contains(i) && f.waitingAfter(probeWrite(candidate, 2) + 1)) {
                answered.insert(i);
                f.port.inject(replies[i]);
            }
        }
    };
    f.findEcu();
    QCOMPARE(answered.size(), answering.size());
    QCOMPARE(f.results(), results);
    QCOMPARE(f.info(), QString("- Completed !"));
    QCOMPARE(f.port.writes.size(), 2 + 255 * 3); // the scan goes on to 0 after a find
    QVERIFY(f.settings.writes.isEmpty());        // the finder writes no settings
}

void TestEcuFinder::cancelStopsAfterTheProbeInProgress_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("results");
    QTest::newRow("after the first 0xFF") << 0 << QByteArray() << "";
    QTest::newRow("after the second 0xFF") << 1 << QByteArray() << "";
    QTest::newRow("after the identity") << 2 << QByteArray() << "";
    QTest::newRow("the probe in progress still finds its ECU")
        << 1 << QByteArray("\x0F") << "ECU id F0 - active\n";
    QTest::newRow("0xFF after Cancel is no answer from id 0") << 2 << QByteArray("\xFF\xFF") << "";
}

void TestEcuFinder::cancelStopsAfterTheProbeInProgress()
{
    QFETCH(int, byte);
    QFETCH(QByteArray, reply);
    QFETCH(QString, results);
    FinderFixture f;
    bool cancelled = false;
    f.duringWait = [&] {
        if (!cancelled && f.waitingAfter(probeWrite(0xF0, byte) + 1)) {
            cancelled = true;
            f.button("btnCancel")->click();
            QVERIFY(!f.button("btnCancel")->isEnabled());
            QVERIFY(!f.button("btnClose")->isEnabled());
            f.port.inject(reply);
        }
    };
    f.findEcu();
    QVERIFY(cancelled);
    QCOMPARE(f.port.writes.size(), probeWrite(0xF0, 2) + 1);
    QCOMPARE(f.writtenFrom(probeWrite(0xF0, 0)), QByteArray("\xFF\xFF\xF0"));
    QCOMPARE(f.info(), QString("- Completed !"));
    QVERIFY(f.button("btnClose")->isEnabled());
    QVERIFY(!f.button("btnCancel")->isEnabled());
    QCOMPARE(f.results(), results);
    QVERIFY(f.finder->isVisible());

    // Close puts the link back to identification.
    const int before = f.port.writes.size();
    f.button("btnClose")->click();
    QCOMPARE(f.writtenFrom(before), kReconnect);
    QCOMPARE(f.form.link().ReadMode, qint16(1));
}

void TestEcuFinder::closingMidProbeReconnectsAndSendsNoMoreProbes_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("writesBefore"); // the close comes in the wait after this many writes
    QTest::newRow("finder closed while settling") << "finder" << 2;
    QTest::newRow("finder closed after 0xFF") << "finder" << probeWrite(0xF8, 0) + 1;
    QTest::newRow("finder closed after the identity") << "finder" << probeWrite(0xF8, 2) + 1;
    // Closed, but not deleted (yet): the scan must stop on the close alone.
    QTest::newRow("finder closed and kept while settling") << "kept" << 2;
    QTest::newRow("finder closed and kept after 0xFF") << "kept" << probeWrite(0xC4, 0) + 1;
    QTest::newRow("finder closed and kept after the second 0xFF")
        << "kept" << probeWrite(0x01, 1) + 1;
    QTest::newRow("dialog cancelled after the second 0xFF") << "cancel" << probeWrite(0xE1, 1) + 1;
    QTest::newRow("dialog saved after the identity") << "save" << probeWrite(0x80, 2) + 1;
}

void TestEcuFinder::closingMidProbeReconnectsAndSendsNoMoreProbes()
{
    QFETCH(QString, how);
    QFETCH(int, writesBefore);
    FinderFixture f;
    bool closed = false;
    f.duringWait = [&] {
        if (closed || !f.waitingAfter(writesBefore))
            return;
        closed = true;
        if (how == "kept")
            f.finder->setAttribute(Qt::WA_DeleteOnClose, false);
        if (how == "finder" || how == "kept")
            f.finder->close();
        else if (how == "cancel")
            click(f.dialog, "btnCancel");
        else
            click(f.dialog, "btnSave");
    };
    f.findEcu();
    QVERIFY(closed);
    // Not one byte of the probe in progress after the close: only the reconnect.
    QCOMPARE(f.writtenFrom(writesBefore), kReconnect);
    QCOMPARE(f.form.link().ReadMode, qint16(1));
    QCOMPARE(f.port.receiveThreshold(), 48);
    QVERIFY(!f.finder || !f.finder->isVisible());
    runDeferredDeletes();
    QCOMPARE(bool(f.finder), how == "kept");
    QVERIFY(!f.finder || !f.finder->isScanning());
    QCOMPARE(bool(f.dialog), how == "finder" || how == "kept");

    // The link is really back to identification.
    f.port.inject(identFrame("65U00"));
    QCOMPARE(f.form.findChild<QLabel *>("lblEcuNo")->text(), QString("65U00"));
    QVERIFY(f.dialogs.warnings.isEmpty());
}

void TestEcuFinder::windowDestroyedMidProbeIsSafe_data()
{
    QTest::addColumn<bool>("wholeDialog");
    QTest::newRow("finder destroyed") << false;
    QTest::newRow("dialog destroyed with its finder") << true;
}

void TestEcuFinder::windowDestroyedMidProbeIsSafe()
{
    QFETCH(bool, wholeDialog);
    FinderFixture f;
    int destroyedAt = -1;
    f.duringWait = [&] {
        if (destroyedAt < 0 && f.waitingAfter(probeWrite(0xF8, 1) + 1)) {
            destroyedAt = f.port.writes.size();
            if (wholeDialog)
                delete f.dialog;
            else
                delete f.finder;
        }
    };
    f.findEcu();
    QVERIFY(destroyedAt > 0);
    QVERIFY(!f.finder);
    QCOMPARE(bool(f.dialog), !wholeDialog);
    QCoreApplication::processEvents(); // the link goes back to identification once unwound
    QCOMPARE(f.writtenFrom(destroyedAt), kReconnect);
    QCOMPARE(f.form.link().ReadMode, qint16(1));
}

void TestEcuFinder::closingAfterTheScanReconnects_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Close") << false;
    QTest::newRow("Esc") << true;
}

void TestEcuFinder::closingAfterTheScanReconnects()
{
    QFETCH(bool, escape);
    FinderFixture f;
    f.settings.save("Comms", "ECUid", "3A"); // the stored identity, not a found one
    f.findEcu();
    QVERIFY(f.finder);
    QCOMPARE(f.finder->windowTitle(), QString("Active ECU test"));
    QCOMPARE(child<QGroupBox>(f.finder, "")->title(), QString("Active ECU"));
    QCOMPARE(child<QLabel>(f.finder, "lblMsg")->text(),
             QString("* Test may take up to 90 seconds"));
    QCOMPARE(child<QLabel>(f.finder, "lblQuerying")->text(), QString("Querying ECU"));
    QCOMPARE(f.button("btnCancel")->text(), QString("Cancel"));
    QCOMPARE(f.button("btnClose")->text(), QString("Close"));
    QCOMPARE(f.finder->parentWidget(), f.dialog.data()); // owned by the dialog

    const int before = f.port.writes.size();
    if (escape) {
        f.finder->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.finder));
        QTest::keyClick(f.finder, Qt::Key_Escape);
    } else {
        f.button("btnClose")->click();
    }
    QCOMPARE(f.writtenFrom(before), QByteArray("\x30\xFF\xFF\x3A\xD0\xF0"));
    QCOMPARE(f.form.link().ReadMode, qint16(1));
    QVERIFY(!f.finder || !f.finder->isVisible());
    QVERIFY(f.dialog->isVisible()); // the settings dialog stays
}

void TestEcuFinder::portThatDoesNotOpenEndsTheScanAtOnce()
{
    FinderFixture f;
    f.port.nextOpenResult.kind = PortOpenError::NoSuchPort;
    f.findEcu();
    QCOMPARE(f.dialogs.warnings, QStringList{"Invalid Port number"});
    QVERIFY(f.port.writes.isEmpty());
    QCOMPARE(f.info(), QString("- Completed !"));
    QVERIFY(f.button("btnClose")->isEnabled());
    QVERIFY(!f.button("btnCancel")->isEnabled());
    QCOMPARE(f.results(), QString());
}

void TestEcuFinder::deviceLostMidScanEndsTheScan()
{
    FinderFixture f;
    bool lost = false;
    f.duringWait = [&] {
        if (!lost && f.waitingAfter(probeWrite(0xF5, 0) + 1)) {
            lost = true;
            f.port.loseDevice("Input/output error");
        }
    };
    f.findEcu();
    QVERIFY(lost);
    QCOMPARE(f.port.writes.size(), probeWrite(0xF5, 0) + 1);
    QCOMPARE(f.info(), QString("- Completed !"));
    QVERIFY(f.button("btnClose")->isEnabled());
}

void TestEcuFinder::findEcuAgainBringsTheOpenFinderForward()
{
    FinderFixture f;
    f.findEcu();
    QPointer<frmECUfind> first = f.finder;
    const int before = f.port.writes.size();
    f.findEcu();
    QCOMPARE(f.port.writes.size(), before);
    QCOMPARE(f.dialog->findChildren<frmECUfind *>().size(), 1);
    QVERIFY(first && first->isVisible());

    // Once closed, "Find ECU" starts a new scan from 0xFE in a fresh window.
    first->close();
    runDeferredDeletes();
    QVERIFY(!first && !f.finder);
    const int afterClose = f.port.writes.size();
    f.findEcu();
    QVERIFY(f.finder);
    // Two stop bytes ("Find ECU", then reopening the port), then the scan.
    QCOMPARE(f.port.writes.size() - afterClose, 2 + 2 + 255 * 3);
    QCOMPARE(f.writtenFrom(afterClose).left(6), QByteArray("\x30\x30\xFF\xFF\xFF\xFF"));
    QCOMPARE(f.writtenFrom(afterClose).mid(6, 1), QByteArray("\xFE"));
    QCOMPARE(f.results(), QString());
}

void TestEcuFinder::mainWindowClosedMidScanEndsIt()
{
    FinderFixture f;
    f.form.show();
    int closedAt = -1;
    f.duringWait = [&] {
        if (closedAt < 0 && f.waitingAfter(probeWrite(0xF0, 1) + 1)) {
            closedAt = f.port.writes.size();
            f.form.close();
        }
    };
    f.findEcu();
    QVERIFY(closedAt > 0);
    // The stream stop of closing the port, then nothing: no more probes and no reconnect.
    QCOMPARE(f.writtenFrom(closedAt), QByteArray("\x30"));
    QVERIFY(!f.port.isOpen());
    QVERIFY(!f.finder || !f.finder->isVisible());
    QVERIFY(!f.dialog || !f.dialog->isVisible());
}

void TestEcuFinder::mainWindowDestroyedWithTheFinderOpen()
{
    MemorySettingsStore settings;
    FakeClock clock;
    FakeSerialPort port(&clock);
    RecordingDialogs dialogs;
    auto *form = new Form2(settings, port, clock, dialogs);
    form->Form_Load();
    QPointer<Form3> dialog = new Form3(*form, [] { return QList<SerialPortChoice>(); });
    dialog->show();
    click(dialog, "btnECUfind");
    QPointer<frmECUfind> finder = dialog->finder();
    QVERIFY(finder && finder->isVisible());
    const int written = port.writes.size();

    // Its link goes before the windows that use it: nothing may touch it on the way out.
    delete form;
    QVERIFY(!finder && !dialog);
    QCoreApplication::processEvents();
    QCOMPARE(port.writes.size(), written);
}

ORVANTIS_TEST(TestEcuFinder)
#include "tst_ecufinder.moc"
