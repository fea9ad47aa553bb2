#include "app/Form2.h"
#include "config/SettingsStore.h"
#include "link/EcuLink.h"
#include "logging/DataLogger.h"
#include "logging/LogFormat.h"
#include "logging/frmDataLog.h"
#include "tests/support/FakeEcuMainWindow.h"
#include "tests/support/TestRegistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QStringList fileLines(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QStringList lines = QString::fromLatin1(f.readAll()).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The main window connected to a fake ECU, settings in memory, logs in a temporary folder.
struct LoggerFixture : FakeEcuMainWindow
{
    LoggerFixture()
    {
        settings.save("DataLog", "Path", dir.path() + "/");
        startConnected();
    }
    frmDataLog *open()
    {
        window = openJob<frmDataLog>("btnDataLogging");
        return window;
    }
    template <typename T> T *child(const char *name) { return window->findChild<T *>(name); }
    void click(const char *name) { child<QPushButton>(name)->click(); }
    void setFile(const QString &name) { child<QLineEdit>("txtPath")->setText(name); }
    QString path(const QString &name) { return dir.path() + "/" + name; }
    void frame() { port.inject(fullFrame() + fullFrame()); }

    QTemporaryDir dir;
    QPointer<frmDataLog> window;
};

} // namespace

class TestDataLogWindow : public QObject
{
    Q_OBJECT
private slots:
    void choicesOnFirstOpening();
    void gridPlacesAndDateStamp();
    void opensTheFullStreamAndLogsOneRecordPerFrame();
    void timeStampsAcrossTheCounterWrap();
    void startTwiceReplacesAndBoxesChangedWhileLoggingWait();
    void fileThatCannotBeCreatedLeavesItIdle();
    void writeFailureStopsLoggingAndKeepsTheRecords();
    void browseChoosesTheFileAndRestartsTheStream();
    void closingReconnects();
};

void TestDataLogWindow::choicesOnFirstOpening()
{
    MemorySettingsStore store;
    store.save("Setup", "Gauge0", "0");
    ProgramState state;
    state.GaugeSel = {0, 6, 3, 7, 13, 12, 20, 15, 8, 1, 4, 14, 1, 1, 0, 1};
    const LogChoices choices = loadLogChoices(store, state);
    QCOMPARE(store.get("DataLog", "Path"), QDir::currentPath() + "/");
    QCOMPARE(choices.directory, QDir::currentPath() + "/");
    for (int i = 0; i < 24; ++i)
        QCOMPARE(store.get("DataLog", QString("Param%1").arg(i)), QString("1"));
    QCOMPARE(store.get("DataLog", "Reg11"), QString("1"));
    QVERIFY(choices.offered.parameters[20] && choices.ticked.parameters[20]);
    QVERIFY(!choices.offered.parameters[2] && !choices.ticked.parameters[2]);
    // Register 0x1F is not streamed: the waste gate and EGR indicators are not offered.
    QVERIFY(!choices.offered.indicators[9] && !choices.offered.indicators[11]);
    QVERIFY(choices.offered.indicators[10] && choices.offered.indicators[0]);

    store.save("DataLog", "Param6", "0");
    store.save("DataLog", "Reg0", "x");
    const LogChoices again = loadLogChoices(store, state);
    QCOMPARE(store.get("DataLog", "Param5"), QString("1")); // not rewritten
    QVERIFY(!again.ticked.parameters[6]);
    QVERIFY(!again.ticked.indicators[0]);
}

void TestDataLogWindow::gridPlacesAndDateStamp()
{
    const QList<QPair<int, QPoint>> cells = {{0, {0, 0}},  {6, {0, 6}},  {7, {1, 0}},  {20, {2, 6}},
                                             {21, {3, 0}}, {24, {3, 3}}, {27, {3, 6}}, {28, {4, 0}},
                                             {32, {4, 4}}, {34, {4, 6}}, {35, {5, 4}}};
    for (const auto &c : cells)
        QCOMPARE(checkBoxCell(c.first), c.second);
    QCOMPARE(dateStampName(QDateTime(QDate(2005, 3, 9), QTime(14, 7))), QString("200539147"));
    QCOMPARE(dateStampName(QDateTime(QDate(2026, 12, 11), QTime(0, 0))), QString("20261211"
                                                                                 "00"));
}

void TestDataLogWindow::opensTheFullStreamAndLogsOneRecordPerFrame()
{
    LoggerFixture f;
    frmDataLog *w = f.open();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Data Logging"));
    QCOMPARE(f.form.link().ReadMode, qint16(3));
    const QByteArray written = f.port.written();
    QVERIFY(written.startsWith('\x30') && written.endsWith('\xF0'));
    QCOMPARE(written.size(), 1 + 36 + 1);
    QVERIFY(f.child<QCheckBox>("chcLog0")->isEnabled());
    QVERIFY(!f.child<QCheckBox>("chcLog2")->isEnabled());
    QCOMPARE(f.child<QLabel>("lblDirectory")->text(), f.dir.path() + "/");

    f.frame(); // idle: nothing is written anywhere
    f.setFile("run.log");
    f.click("btnStart");
    QVERIFY(f.dialogs.warnings.isEmpty());
    QVERIFY(!f.child<QPushButton>("btnStart")->isEnabled());
    f.clock.advance(999);
    f.frame();
    f.clock.advance(1);
    f.frame();
    f.click("btnStop");
    f.frame(); // after STOP: not logged

    const QStringList lines = fileLines(f.path("run.log"));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0],
             QString("Time, RPM, Air Flow, Water Temp C, O2 Sensor, Speed kph, Battery, "
                     "Throttle, Injector, Timing, AAC, A/F Base, Duty Cycle, Closed TPS, "
                     "Power Steering, Air Con sw, Start Signal, Neutral, Air Con rly, Fuel "
                     "Pump, Thermo Fan, VCT, Waste Gate sol, A/F ratio, EGR sol"));
    QCOMPARE(lines[1],
             QString("000.999, 800, 2, 80, 40, 50, 12, 1, 2.56, 10, 50, 100, 1.71, On, Off, "
                     "Off, Off, Off, Off, On, High, Off, On, Lean, On"));
    QVERIFY(lines[2].startsWith("001.000, 800, "));
    for (const QString &line : lines)
        QCOMPARE(LogFormat::fields(line).size(), LogFormat::fields(lines[0]).size());
    QCOMPARE(f.settings.get("DataLog", "Param2"), QString("0")); // not offered: stored as 0
    QCOMPARE(f.settings.get("DataLog", "Param0"), QString("1"));
}

void TestDataLogWindow::timeStampsAcrossTheCounterWrap()
{
    LoggerFixture f;
    f.open();
    f.setFile("wrap.log");
    f.clock.set(0xFFFFFFFFu - 499u);
    f.click("btnStart");
    f.clock.advance(1500);
    f.frame();
    f.click("btnStop");
    QVERIFY(fileLines(f.path("wrap.log"))[1].startsWith("001.500, "));
}

void TestDataLogWindow::startTwiceReplacesAndBoxesChangedWhileLoggingWait()
{
    LoggerFixture f;
    f.open();
    f.setFile("same.log");
    f.click("btnStart");
    f.frame();
    f.frame();
    f.click("btnStop");
    QCOMPARE(fileLines(f.path("same.log")).size(), 3);

    f.click("btnStart");
    QCheckBox *rpm = f.child<QCheckBox>("chcLog0");
    QVERIFY(!rpm->isEnabled()); // the columns are fixed while logging
    rpm->setChecked(false);
    f.frame();
    f.click("btnStop");
    QStringList lines = fileLines(f.path("same.log"));
    QCOMPARE(lines.size(), 2); // the earlier file was replaced
    QVERIFY(lines[0].startsWith("Time, RPM, "));
    QCOMPARE(LogFormat::fields(lines[1]).size(), LogFormat::fields(lines[0]).size());

    f.click("btnStart"); // the next START takes the new choice
    f.click("btnStop");
    QVERIFY(fileLines(f.path("same.log"))[0].startsWith("Time, Air Flow, "));
}

void TestDataLogWindow::fileThatCannotBeCreatedLeavesItIdle()
{
    LoggerFixture f;
    frmDataLog *w = f.open();
    f.setFile("missing-folder/run.log");
    f.click("btnStart");
    QCOMPARE(f.dialogs.warnings.size(), 1);
    QVERIFY2(f.dialogs.warnings[0].contains(f.path("missing-folder/run.log")),
             qPrintable(f.dialogs.warnings[0]));
    QVERIFY(f.child<QPushButton>("btnStart")->isEnabled());
    QVERIFY(!f.child<QPushButton>("btnStop")->isEnabled());
    f.frame();
    QVERIFY(w->isVisible());
}

void TestDataLogWindow::writeFailureStopsLoggingAndKeepsTheRecords()
{
    LoggerFixture f;
    f.open();
    f.setFile("full.log");
    f.click("btnStart");
    f.frame();
    f.frame();
    const qint64 sizeBefore = QFileInfo(f.path("full.log")).size();
    {
        // The disk fills: no more than half a record fits.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = rlim_t(sizeBefore + 40);
        setrlimit(RLIMIT_FSIZE, &limit);
        f.frame();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    QCOMPARE(f.dialogs.warnings.size(), 1);
    QVERIFY2(f.dialogs.warnings[0].startsWith("Logging stopped") &&
                 f.dialogs.warnings[0].contains(f.path("full.log")),
             qPrintable(f.dialogs.warnings[0]));
    QVERIFY(f.child<QPushButton>("btnStart")->isEnabled());
    QVERIFY(!f.child<QPushButton>("btnStop")->isEnabled());
    const QStringList lines = fileLines(f.path("full.log"));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(QFileInfo(f.path("full.log")).size(), sizeBefore);
    f.frame(); // idle again: nothing more is written, no second message
    QCOMPARE(f.dialogs.warnings.size(), 1);
}

void TestDataLogWindow::browseChoosesTheFileAndRestartsTheStream()
{
    LoggerFixture f;
    f.open();
    QDir(f.dir.path()).mkdir("logs");
    f.dialogs.fileAnswers = {f.path("logs/track.log"), QString()};
    f.port.writes.clear();
    f.click("btnBrowse");
    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    QCOMPARE(f.dialogs.fileRequests[0][0], f.dir.path() + "/");
    QCOMPARE(f.dialogs.fileRequests[0][3], QString("log"));
    QCOMPARE(f.child<QLabel>("lblDirectory")->text(), f.path("logs/"));
    QCOMPARE(f.child<QLineEdit>("txtPath")->text(), QString("track.log"));
    QCOMPARE(f.settings.get("DataLog", "Path"), f.path("logs/"));
    QByteArray written = f.port.written();
    QVERIFY(written.startsWith('\x30') && written.endsWith('\xF0') && written.size() == 38);

    f.port.writes.clear();
    f.click("btnBrowse"); // cancelled: nothing changes, the stream runs again
    QCOMPARE(f.child<QLineEdit>("txtPath")->text(), QString("track.log"));
    QVERIFY(f.port.written().endsWith('\xF0'));
}

void TestDataLogWindow::closingReconnects()
{
    LoggerFixture f;
    frmDataLog *w = f.open();
    f.setFile("closed.log");
    f.click("btnStart");
    f.frame();
    f.port.writes.clear();
    QTest::keyClick(w, Qt::Key_Escape);
    QCOMPARE(f.form.link().ReadMode, qint16(1));
    QVERIFY(f.port.written().endsWith(QByteArray("\xFF\xFF\xEF\xD0\xF0")));
    QCOMPARE(fileLines(f.path("closed.log")).size(), 2); // closed with its record
}

ORVANTIS_TEST(TestDataLogWindow)
#include "tst_datalogwindow.moc"
