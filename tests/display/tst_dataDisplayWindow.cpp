#include "app/Form2.h"
#include "config/SettingsStore.h"
#include "display/Form1.h"
#include "display/GaugeOverlays.h"
#include "display/GaugeSurface.h"
#include "link/EcuLink.h"
#include "logging/frmDataLog.h"
#include "tests/support/FakeEcuMainWindow.h"
#include "tests/support/TestRegistry.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

QByteArray frame(const char *rpm = "0040", const char *reg1e = "42")
{
    return FakeEcuMainWindow::fullFrame(rpm, reg1e);
}

struct DisplayFixture : FakeEcuMainWindow
{
    explicit DisplayFixture(const char *register1F = "1")
    {
        settings.save("Setup", "Register1F", register1F);
        startConnected();
    }
    Form1 *open()
    {
        display = openJob<Form1>("btnDataDisplay");
        return display;
    }
    void feed(const QByteArray &f) { port.inject(f + f); }
    template <typename T> T *child(const QString &name) { return display->findChild<T *>(name); }
    QString caption(const QString &name) { return child<GaugeCaption>(name)->text(); }

    QPointer<Form1> display;
};

} // namespace

class TestDataDisplayWindow : public QObject
{
    Q_OBJECT
private slots:
    void opensMaximisedOnTheFullStream();
    void layoutAt1024x768();
    void framesMoveGaugesAndIndicators();
    void registersNotStreamedAreGreyed();
    void peakResetsOnAClick();
    void loggerBesideTheDisplayGetsEveryFrame();
    void escapeClosesAndReconnects();
};

void TestDataDisplayWindow::opensMaximisedOnTheFullStream()
{
    DisplayFixture f;
    Form1 *w = f.open();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Data Display"));
    QVERIFY(w->windowState() & Qt::WindowMaximized);
    QCOMPARE(f.form.link().ReadMode, qint16(2));
    const QByteArray written = f.port.written();
    QCOMPARE(written.size(), 38);
    QVERIFY(written.startsWith('\x30') && written.endsWith('\xF0'));
    QCOMPARE(f.port.receiveThreshold(), 40);
    QCOMPARE(f.caption("lblName0"), QString("RPM"));
    QCOMPARE(f.caption("lblName2"), QString("Water Temp C"));
    QCOMPARE(f.child<QLabel>("lblOnOff10")->text(), QString("Rich"));
    QCOMPARE(f.child<QLabel>("lblOnOff7")->text(), QString("Off"));
    QCOMPARE(f.child<QLabel>("lblRegister0")->text(), QString(" - Closed TPS"));
}

void TestDataDisplayWindow::layoutAt1024x768()
{
    DisplayFixture f;
    Form1 *w = f.open();
    w->setWindowState(Qt::WindowNoState);
    // The layout works from the outer size, frame included.
    const QSize frame = w->frameGeometry().size() - w->size();
    w->resize(QSize(1024, 768) - frame);
    QCOMPARE(w->frameGeometry().size(), QSize(1024, 768));
    // 3840 x 3200 twips each: 256 pixels wide, 213 or 214 high as the twips fall.
    QCOMPARE(f.child<GaugeSurface>("picGauge0")->geometry(), QRect(0, 0, 256, 213));
    QCOMPARE(f.child<GaugeSurface>("picGauge5")->geometry(), QRect(256, 213, 256, 214));
    QCOMPARE(f.child<GaugeSurface>("picGauge11")->geometry(), QRect(768, 427, 256, 213));
    auto *log = f.child<QPushButton>("btnDataLog");
    auto *test = f.child<QPushButton>("btnActiveTest");
    QCOMPARE(log->geometry(), QRect(794, 640, 128, 43));
    QCOMPARE(test->geometry(), QRect(794, 683, 128, 42));
    QCOMPARE(log->font().pointSize(), 10);
    QCOMPARE(f.child<QLabel>("lblRegister5")->pos(), QPoint(307, 664));
    QCOMPARE(f.child<QLabel>("lblRegister5")->font().pointSize(), 12);
    QCOMPARE(f.child<QLabel>("lblOnOff9")->pos(), QPoint(538, 664));
    QCOMPARE(f.child<QLabel>("lblOnOff9")->font().pointSize(), 10);
}

void TestDataDisplayWindow::framesMoveGaugesAndIndicators()
{
    DisplayFixture f;
    Form1 *w = f.open();
    f.feed(frame());
    QCOMPARE(f.caption("lblValue0"), QString("800"));
    QCOMPARE(f.caption("lblValue1"), QString("50.0"));
    QCOMPARE(f.caption("lblValue5"), QString("2.56"));
    QCOMPARE(f.child<QLabel>("lblOnOff0")->text(), QString("On"));
    QCOMPARE(f.child<QLabel>("lblOnOff7")->text(), QString("High"));
    QCOMPARE(f.child<QLabel>("lblOnOff10")->text(), QString("Lean"));
    QCOMPARE(f.child<QLabel>("lblOnOff7")->palette().color(QPalette::Window), QColor(255, 0, 0));

    // The same states again draw nothing; a new one draws only itself.
    const int changes = w->indicatorChanges();
    f.feed(frame("0050"));
    QCOMPARE(w->indicatorChanges(), changes);
    QCOMPARE(f.caption("lblValue0"), QString("1000"));
    f.feed(frame("0050", "41"));
    QCOMPARE(f.child<QLabel>("lblOnOff7")->text(), QString("Low"));
    QCOMPARE(f.child<QLabel>("lblOnOff7")->palette().color(QPalette::Window), QColor(255, 128, 0));
    QCOMPARE(w->indicatorChanges(), changes + 1);

    // Texts that are not states change nothing.
    w->ChangelblOnOff(f.child<QLabel>("lblOnOff7"), QString());
    w->ChangelblOnOff(f.child<QLabel>("lblOnOff7"), "Maybe");
    QCOMPARE(f.child<QLabel>("lblOnOff7")->text(), QString("Low"));
}

void TestDataDisplayWindow::registersNotStreamedAreGreyed()
{
    DisplayFixture f("0");
    f.open();
    for (int i : {9, 11}) {
        QVERIFY(!f.child<QLabel>(QString("lblOnOff%1").arg(i))->isEnabled());
        QVERIFY(!f.child<QLabel>(QString("lblRegister%1").arg(i))->isEnabled());
        QCOMPARE(f.child<QLabel>(QString("lblOnOff%1").arg(i))->text(), QString("Off"));
    }
    QVERIFY(f.child<QLabel>("lblOnOff10")->isEnabled());
    QCOMPARE(f.port.written().size(), 36); // 0x30, 17 pairs, 0xF0
}

void TestDataDisplayWindow::peakResetsOnAClick()
{
    DisplayFixture f;
    f.open();
    f.feed(frame("0050"));
    QCOMPARE(f.caption("lblMax0"), QString("1000"));
    f.feed(frame("0040"));
    QCOMPARE(f.caption("lblMax0"), QString("1000"));
    QTest::mouseClick(f.child<GaugeCaption>("lblMax0"), Qt::LeftButton);
    QCOMPARE(f.caption("lblMax0"), QString("0"));
    f.feed(frame("0040"));
    QCOMPARE(f.caption("lblMax0"), QString("800"));
}

void TestDataDisplayWindow::loggerBesideTheDisplayGetsEveryFrame()
{
    DisplayFixture f;
    f.open();
    f.port.writes.clear();
    f.child<QPushButton>("btnDataLog")->click();
    auto *logger = f.display->findChild<frmDataLog *>();
    QVERIFY(logger && logger->isVisible());
    QCOMPARE(f.form.link().ReadMode, qint16(4));
    QVERIFY(f.port.writes.isEmpty()); // the stream goes on as it was
    f.feed(frame("0050"));
    QCOMPARE(f.caption("lblValue0"), QString("1000"));
    logger->close();
    QCOMPARE(f.form.link().ReadMode, qint16(2));
    QVERIFY(f.display->isVisible());
}

void TestDataDisplayWindow::escapeClosesAndReconnects()
{
    DisplayFixture f;
    Form1 *w = f.open();
    f.port.writes.clear();
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QCOMPARE(f.form.link().ReadMode, qint16(1));
    QVERIFY(f.port.written().endsWith(QByteArray("\xFF\xFF\xEF\xD0\xF0")));
}

ORVANTIS_TEST(TestDataDisplayWindow)
#include "tst_dataDisplayWindow.moc"
