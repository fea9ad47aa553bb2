#include "app/Form2.h"
#include "config/SettingsStore.h"
#include "diagnostics/frmSelfDiag.h"
#include "link/EcuLink.h"
#include "tests/support/FakeEcuMainWindow.h"
#include "tests/support/TestRegistry.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// The main window, connected to a fake ECU that has identified itself.
struct ConnectedFixture : FakeEcuMainWindow
{
    ConnectedFixture() { startConnected(); }
    frmSelfDiag *openSelfDiag() { return openJob<frmSelfDiag>("btnSelfDiag"); }
    QString faults(frmSelfDiag *w)
    {
        return w->findChild<QPlainTextEdit *>("txtFaults")->toPlainText();
    }
};

QByteArray faultChunk(const QByteArray &frameHex)
{
    QByteArray frame = QByteArray::fromHex(frameHex);
    QByteArray chunk;
    while (chunk.size() < 100)
        chunk += frame;
    return chunk;
}

} // namespace

class TestSelfDiagWindow : public QObject
{
    Q_OBJECT
private slots:
    void opensAndListsTheCodes();
    void resetErasesAndListsAgain();
    void closingReconnects();
    void closingDuringTheResetStopsTheSequence();
};

void TestSelfDiagWindow::opensAndListsTheCodes()
{
    ConnectedFixture f;
    frmSelfDiag *w = f.openSelfDiag();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Self Diagnostics"));
    QCOMPARE(f.port.written(), QByteArray("\x30\xD1\xF0"));
    QCOMPARE(f.form.link().ReadMode, qint16(6));
    QCOMPARE(f.port.receiveThreshold(), 100);
    f.port.inject(faultChunk("ff04 1103 430c"));
    QCOMPARE(f.faults(w),
             QString("Code 11: Camshaft Angle Sensor circuit (CAS) >Car started 3 times "
                     "with this fault\nCode 43: Throttle Position Sensor Circuit\n"
                     " >Car started 12 times with this fault\n"));
    QCOMPARE(w->findChild<QPushButton *>("btnReset")->text(), QString("Reset  ECU"));
}

void TestSelfDiagWindow::resetErasesAndListsAgain()
{
    ConnectedFixture f;
    frmSelfDiag *w = f.openSelfDiag();
    f.port.inject(faultChunk("ff02 1103"));
    f.port.writes.clear();
    auto *reset = w->findChild<QPushButton *>("btnReset");

    QString textDuringErase;
    bool enabledDuringErase = true;
    f.clock.onSleep = [&] {
        if (f.form.link().ReadMode == 0) {
            f.port.inject(faultChunk("ff02 2101")); // not parsed while erasing
            textDuringErase = f.faults(w);
            enabledDuringErase = reset->isEnabled();
        }
    };
    const quint32 t0 = f.clock.tickCount();
    reset->click();
    f.clock.onSleep = nullptr;

    QCOMPARE(textDuringErase, QString("****  RESETTING ECU  ****"));
    QVERIFY(!enabledDuringErase);
    QVERIFY(reset->isEnabled());
    QCOMPARE(f.port.written(), QByteArray("\x30\xC1\xF0\x30\xD1\xF0"));
    // 50 ms after the first stop, then one second with the erase running.
    QCOMPARE(f.port.writes[1].tick, t0 + 50);
    QCOMPARE(f.port.writes[3].tick, t0 + 1050);
    QCOMPARE(f.form.link().ReadMode, qint16(6));
    f.port.inject(faultChunk("ff02 5500"));
    QCOMPARE(f.faults(w), QString("Code 55: No Faults"));
}

void TestSelfDiagWindow::closingReconnects()
{
    ConnectedFixture f;
    frmSelfDiag *w = f.openSelfDiag();
    f.port.writes.clear();
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QCOMPARE(f.form.link().ReadMode, qint16(1));
    QVERIFY(f.port.written().endsWith(QByteArray("\xFF\xFF\xEF\xD0\xF0")));
}

void TestSelfDiagWindow::closingDuringTheResetStopsTheSequence()
{
    ConnectedFixture f;
    QPointer<frmSelfDiag> w = f.openSelfDiag();
    auto *reset = w->findChild<QPushButton *>("btnReset");
    bool closed = false;
    f.clock.onSleep = [&] {
        if (!closed && f.form.link().ReadMode == 0) {
            closed = true;
            w->close();
        }
    };
    f.port.writes.clear();
    reset->click();
    f.clock.onSleep = nullptr;
    QVERIFY(closed);
    // After the erase came the reconnect, and nothing of the interrupted sequence followed it.
    QVERIFY(f.port.written().endsWith(QByteArray("\xFF\xFF\xEF\xD0\xF0")));
    QVERIFY(!f.port.written().contains('\xD1'));
    QCOMPARE(f.form.link().ReadMode, qint16(1));
    QTRY_VERIFY(w.isNull()); // deleted once the event loop runs
}

ORVANTIS_TEST(TestSelfDiagWindow)
#include "tst_selfdiagwindow.moc"
