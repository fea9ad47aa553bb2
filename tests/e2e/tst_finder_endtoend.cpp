// The ECU finder against the virtual ECU through the real serial backend on a pseudo-terminal.
#include "app/Form2.h"
#include "config/SettingsStore.h"
#include "config/frmECUfind.h"
#include "ecusim/EcuSimulator.h"
#include "link/Clock.h"
#include "link/EcuLink.h"
#include "link/QSerialPortBackend.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TestRegistry.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

constexpr int kLimitMs = 15000; // the wait ends as soon as the condition holds

} // namespace

class TestFinderEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void finderFindsTheEcuIdentity_data();
    void finderFindsTheEcuIdentity();
};

void TestFinderEndToEnd::finderFindsTheEcuIdentity_data()
{
    QTest::addColumn<bool>("paced");
    QTest::newRow("unpaced") << false;
    QTest::newRow("at 9600 bit/s") << true;
}

void TestFinderEndToEnd::finderFindsTheEcuIdentity()
{
    QFETCH(bool, paced);
    SimulatorOptions o;
    o.line.paced = paced;
    o.ecu.identity = 0xE7; // not the default identity the program starts with
    o.ecu.partNumber = "4P100";
    EcuSimulator ecu(o);
    QVERIFY2(ecu.start(), qPrintable(ecu.errorString()));

    MemorySettingsStore settings;
    QSerialPortBackend port;
    SystemClock clock;
    RecordingDialogs dialogs;
    Form2 form(settings, port, clock, dialogs);
    settings.save("Comms", "ComPort", ecu.devicePath());
    form.Form_Load();

    frmECUfind finder(form);
    auto *results = finder.findChild<QPlainTextEdit *>("txtRegisters");
    auto *lblInfo = finder.findChild<QLabel *>("lblInfo");
    auto *btnCancel = finder.findChild<QPushButton *>("btnCancel");
    // The user cancels once the ECU is listed: the scan ends after that probe.
    connect(results, &QPlainTextEdit::textChanged, btnCancel, &QPushButton::click);
    finder.setFirstCandidate(0xEA); // a short scan: EA, E9, E8, E7
    finder.show();
    finder.iniECUfind();

    QCOMPARE(results->toPlainText(), QString("ECU id E7 - active\n"));
    QCOMPARE(lblInfo->text(), QString("- Completed !"));
    QVERIFY(finder.findChild<QPushButton *>("btnClose")->isEnabled());
    const QByteArray probes("\xFF\xFF\xFF\xFF\xEA\xFF\xFF\xE9\xFF\xFF\xE8\xFF\xFF\xE7");
    QVERIFY2(ecu.received().endsWith(probes), ecu.received().toHex(' ').constData());
    QVERIFY(dialogs.warnings.isEmpty());

    // The user copies the identity into the settings; closing the finder reconnects with it.
    settings.save("Comms", "ECUid", "E7");
    finder.close();
    QTRY_COMPARE_WITH_TIMEOUT(form.findChild<QLabel *>("lblEcuNo")->text(), QString("4P100"),
                              kLimitMs);
    QCOMPARE(form.link().ReadMode, qint16(1));
    QVERIFY(ecu.received().endsWith(QByteArray("\x30\xFF\xFF\xE7\xD0\xF0")));
}

ORVANTIS_TEST(TestFinderEndToEnd)
#include "tst_finder_endtoend.moc"
