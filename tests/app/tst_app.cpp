#include "app/AboutDialog.h"
#include "app/Form2.h"
#include "app/MainWindowLogic.h"
#include "config/SettingsStore.h"
#include "link/EcuLink.h"
#include "tests/support/FakeEcuMainWindow.h"

#include "tests/support/TestRegistry.h"
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

#include <QtTest>

namespace {

QByteArray identFrame(const QByteArray &part, bool obd2 = false)
{
    return FakeEcuMainWindow::identificationFrame(part, obd2);
}

// The main window over fake seams; settings start empty as on a first start.
struct MainWindowFixture : FakeEcuMainWindow
{
    QLabel *label(const char *name) { return form.findChild<QLabel *>(name); }
    QAction *action(const char *name) { return form.findChild<QAction *>(name); }
    QString panel(int i) { return label(qPrintable(QString("Panel%1").arg(i)))->text(); }
};

const char *const kEcuButtons[] = {"btnDataDisplay", "btnDataLogging", "btnSelfDiag",
                                   "btnSpeedTrial",  "btnDashBoard",   "btnActiveTest",
                                   "btnRomData",     "btnAdrWatch"};

} // namespace

class TestApp : public QObject
{
    Q_OBJECT
private slots:
    void layoutCaptionsAndShortcuts();
    void startUpWithAutoConnectOffWritesNothing();
    void startUpConnectsOnlyForAutoConnectOne_data();
    void startUpConnectsOnlyForAutoConnectOne();
    void statusBarFollowsTheSettings();
    void identificationEnablesTheEcuFeatures_data();
    void identificationEnablesTheEcuFeatures();
    void functionKeyActsOnlyWhileItsButtonIsEnabled();
    void activityBarStepsPerHandledChunk();
    void lostDeviceIsShownWithoutAModalBox();
    void escapeClosesAndClosingStopsTheStream();
    void aboutWindow();
};

void TestApp::layoutCaptionsAndShortcuts()
{
    MainWindowFixture f;
    QCOMPARE(f.form.windowTitle(), QString("Orvantis v1.52"));
    const QList<QGroupBox *> frames = f.form.findChildren<QGroupBox *>();
    QStringList frameTitles;
    for (QGroupBox *g : frames)
        frameTitles << g->title();
    QCOMPARE(frameTitles, (QStringList{"Basic Functions", "Advance Functions"}));

    const QList<QPair<const char *, const char *>> captions = {
        {"btnDataDisplay", "Data Display     F1"},
        {"btnDataLogging", "Data Logging    F2"},
        {"btnSelfDiag", "Self Diagnostics F3"},
        {"btnSpeedTrial", "Speed Trial F4"},
        {"btnDashBoard", "Dashboard F5"},
        {"btnDataReplay", "Data Replay F6"},
        {"btnLogAnalyzer", "Log Analyser F7"},
        {"btnActiveTest", "Active Test F8"},
        {"btnRomData", "Rom Data F9"},
        {"btnAdrWatch", "Address Watch F11"},
        {"btnMapTrace", "Map Trace F12"},
        {"btnConnect", "Connect"}};
    for (const auto &c : captions) {
        QVERIFY2(f.button(c.first), c.first);
        QCOMPARE(f.button(c.first)->text(), QString(c.second));
        QCOMPARE(f.button(c.first)->isEnabled(), QByteArray(c.first) == "btnConnect");
    }
    QCOMPARE(f.label("lblEcuNo")->text(), QString("#####"));
    QVERIFY(f.form.findChild<QProgressBar *>("ProgressBar1"));

    const QList<QPair<const char *, const char *>> shortcuts = {{"mnuSetCom", "Ctrl+F1"},
                                                                {"mnuSetDisplay", "Ctrl+F2"},
                                                                {"mnuPreferences", "Ctrl+F3"},
                                                                {"mnuSetup", "Ctrl+F4"},
                                                                {"mnuDashboardSetup", "Ctrl+F5"},
                                                                {"mnuDataDisplay", "F1"},
                                                                {"mnuDataLogging", "F2"},
                                                                {"mnuSelfDiagnostics", "F3"},
                                                                {"mnuSpeedTrial", "F4"},
                                                                {"mnuDashboard", "F5"},
                                                                {"mnuReplayData", "F6"},
                                                                {"mnuLogAnalyzer", "F7"},
                                                                {"mnuActiveTest", "F8"},
                                                                {"mnuRomData", "F9"},
                                                                {"mnuAddressWatch", "F11"},
                                                                {"mnuMapTrace", "F12"},
                                                                {"mnuAbout", ""}};
    for (const auto &s : shortcuts) {
        QVERIFY2(f.action(s.first), s.first);
        QCOMPARE(f.action(s.first)->shortcut().toString(), QString(s.second));
    }
    for (QAction *a : f.form.findChildren<QAction *>())
        QVERIFY2(a->shortcut() != QKeySequence(Qt::Key_F10), qPrintable(a->text()));
    QStringList menus;
    for (QAction *a : f.form.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"&Settings", "&Function", "&Help"}));
}

void TestApp::startUpWithAutoConnectOffWritesNothing()
{
    MainWindowFixture f;
    f.form.Form_Load();
    QCOMPARE(f.port.openCount, 0);
    QVERIFY(f.port.writes.isEmpty());
    QVERIFY(!f.port.isOpen());
    QCOMPARE(f.settings.get("Comms", "ECUid"), QString("EF")); // the defaults were written
    QVERIFY(f.button("btnDataReplay")->isEnabled());
    QVERIFY(f.button("btnLogAnalyzer")->isEnabled());
    QVERIFY(!f.button("btnDataDisplay")->isEnabled());
    QCOMPARE(int(f.form.state().FrameLen), 18);
}

void TestApp::startUpConnectsOnlyForAutoConnectOne_data()
{
    QTest::addColumn<QString>("autoConnect");
    QTest::addColumn<bool>("connects");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("2") << "2" << false;
    QTest::newRow("0") << "0" << false;
}

void TestApp::startUpConnectsOnlyForAutoConnectOne()
{
    QFETCH(QString, autoConnect);
    QFETCH(bool, connects);
    MainWindowFixture f;
    f.settings.save("Comms", "AutoConnect", autoConnect);
    f.form.Form_Load();
    QCOMPARE(f.port.openCount, connects ? 1 : 0);
    QCOMPARE(f.port.written(), connects ? QByteArray("\xFF\xFF\xEF\xD0\xF0") : QByteArray());
    if (connects) {
        f.port.inject(identFrame("65U00"));
        QCOMPARE(f.label("lblEcuNo")->text(), QString("65U00"));
    }
}

void TestApp::statusBarFollowsTheSettings()
{
    MainWindowFixture f;
    f.form.Form_Load();
    QCOMPARE(f.panel(1), QString("Spd Corr: 1"));
    QCOMPARE(f.panel(2), QString("1 - 9600"));
    QCOMPARE(f.panel(3), QString("KPH"));
    QCOMPARE(f.panel(4), QString("Celsius"));
    QCOMPARE(f.form.state().Gauges[6].name(), QString("Speed kph"));

    f.settings.save("TyreSize", "Correction", "1.05");
    f.settings.save("Comms", "ComPort", "/dev/ttyUSB0");
    f.settings.save("Preferences", "Speed", "1");
    f.settings.save("Preferences", "Temperature", "1");
    f.form.setStatusBar();
    QCOMPARE(f.panel(1), QString("Spd Corr: 1.05"));
    QCOMPARE(f.panel(2), QString("/dev/ttyUSB0 - 9600"));
    QCOMPARE(f.panel(3), QString("MPH"));
    QCOMPARE(f.panel(4), QString("Fahrenheit"));
    QVERIFY(f.form.state().mph && f.form.state().fahr);
    QCOMPARE(f.form.state().SpeedCorrect, 1.05f);
    // The catalogue was rebuilt with the new units before any display opens.
    QCOMPARE(f.form.state().Gauges[6].name(), QString("Speed mph"));
    QCOMPARE(f.form.state().Gauges[3].name(), QString("Water Temp F"));
}

void TestApp::identificationEnablesTheEcuFeatures_data()
{
    QTest::addColumn<bool>("obd2");
    QTest::newRow("standard ECU") << false;
    QTest::newRow("OBDII variant") << true;
}

void TestApp::identificationEnablesTheEcuFeatures()
{
    QFETCH(bool, obd2);
    MainWindowFixture f;
    f.settings.save("Comms", "OBDIImodel", obd2 ? "2" : "0");
    f.form.Form_Load();
    f.form.btnConnect_Click();
    f.port.inject(identFrame("65U00", obd2));
    QCOMPARE(f.label("lblEcuNo")->text(), QString("65U00"));
    QVERIFY(f.form.link().connected);
    for (const char *name : kEcuButtons)
        QVERIFY2(f.button(name)->isEnabled(), name);
    QCOMPARE(f.button("btnMapTrace")->isEnabled(), !obd2);
    QCOMPARE(f.action("mnuMapTrace")->isEnabled(), !obd2);

    // Connecting again resets the label but leaves the buttons enabled.
    f.form.btnConnect_Click();
    QCOMPARE(f.label("lblEcuNo")->text(), QString("#####"));
    QVERIFY(f.button("btnDataDisplay")->isEnabled());
}

void TestApp::functionKeyActsOnlyWhileItsButtonIsEnabled()
{
    MainWindowFixture f;
    f.form.Form_Load();
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    QSignalSpy requested(&f.form, &Form2::featureRequested);

    QTest::keyClick(&f.form, Qt::Key_F1);
    QCOMPARE(requested.size(), 0);

    QTest::keyClick(&f.form, Qt::Key_F6); // replay needs no ECU
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested.last().first().value<Feature>(), Feature::DataReplay);

    f.form.btnConnect_Click();
    f.port.inject(identFrame("65U00"));
    QTest::keyClick(&f.form, Qt::Key_F1);
    QCOMPARE(requested.size(), 2);
    QCOMPARE(requested.last().first().value<Feature>(), Feature::DataDisplay);
}

void TestApp::activityBarStepsPerHandledChunk()
{
    MainWindowFixture f;
    f.form.Form_Load();
    f.form.btnConnect_Click();
    auto *bar = f.form.findChild<QProgressBar *>("ProgressBar1");
    f.port.setReceiveThreshold(1);
    for (int chunk = 1; chunk <= 20; ++chunk) {
        f.port.inject(QByteArray(1, 'x'));
        QCOMPARE(bar->value(), chunk * 5);
    }
    f.port.inject(QByteArray(1, 'x'));
    QCOMPARE(bar->value(), 0);

    QCOMPARE(nextProgStep(0), qint16(5));
    QCOMPARE(nextProgStep(95), qint16(100));
    QCOMPARE(nextProgStep(100), qint16(0));
}

void TestApp::lostDeviceIsShownWithoutAModalBox()
{
    MainWindowFixture f;
    f.settings.save("Comms", "ComPort", "ttyUSB0");
    f.form.Form_Load();
    f.form.btnConnect_Click();
    f.port.inject(identFrame("65U00"));
    f.port.loseDevice("Input/output error");
    QVERIFY(f.label("lblLinkState")->text().contains("/dev/ttyUSB0"));
    QCOMPARE(f.label("lblEcuNo")->text(), QString("65U00")); // last values stay
    QVERIFY(f.dialogs.warnings.isEmpty());

    // Connect again clears the message.
    f.form.btnConnect_Click();
    QVERIFY(f.label("lblLinkState")->text().isEmpty());
    QVERIFY(f.port.isOpen());
}

void TestApp::escapeClosesAndClosingStopsTheStream()
{
    MainWindowFixture f;
    f.form.Form_Load();
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.form.btnConnect_Click();
    f.port.writes.clear();
    QTest::keyClick(&f.form, Qt::Key_Escape);
    QVERIFY(!f.form.isVisible());
    QCOMPARE(f.port.written(), QByteArray("\x30"));
    QVERIFY(!f.port.isOpen());
}

void TestApp::aboutWindow()
{
    MainWindowFixture f;
    f.form.show();
    f.action("mnuAbout")->trigger();
    auto *about = f.form.findChild<AboutDialog *>();
    QVERIFY(about);
    QVERIFY(about->isModal());
    QVERIFY(about->isVisible());
    QCOMPARE(about->windowTitle(), QString("About"));
    QCOMPARE(about->findChild<QLabel *>("lblProduct")->text(), QString("Orvantis"));
    QCOMPARE(about->findChild<QLabel *>("lblVersion")->text(), QString("Version 1.51"));
    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(!f.form.findChild<AboutDialog *>());
}

ORVANTIS_TEST(TestApp)
#include "tst_app.moc"
