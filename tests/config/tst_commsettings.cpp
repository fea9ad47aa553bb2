#include "config/CommsSettings.h"
#include "config/Form3.h"
#include "config/SettingsWindows.h"
#include "link/EcuLink.h"
#include "tests/config/SettingsWindowFixture.h"

#include "tests/support/TestRegistry.h"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QStandardItemModel>

#include <QtTest>

namespace {

const QList<SerialPortChoice> kTwoAdapters = {
    {"/dev/ttyACM0", "ttyACM0", ""},
    {"/dev/ttyUSB0", "ttyUSB0", "FT232R USB UART"},
};

// The dialog as the menu opens it, with a chosen list of system ports.
QPointer<Form3> openDialog(SettingsWindowFixture &f, const QList<SerialPortChoice> &ports = {})
{
    auto *dialog = new Form3(f.form, [ports] { return ports; });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

QString text(QWidget *w, const char *name)
{
    return child<QLineEdit>(w, name)->text();
}

} // namespace

class TestCommsSettings : public QObject
{
    Q_OBJECT
private slots:
    void hexByteRule_data();
    void hexByteRule();
    void invalidTextsAreRefusedAndNothingIsSaved_data();
    void invalidTextsAreRefusedAndNothingIsSaved();
    void saveWritesTheSixKeysInOrder();
    void savingRefreshesTheStatusBarAndConnectsWhenAsked_data();
    void savingRefreshesTheStatusBarAndConnectsWhenAsked();
    void loadShowsTheStoredValues_data();
    void loadShowsTheStoredValues();
    void cancelAndEscapeCloseWithoutSaving_data();
    void cancelAndEscapeCloseWithoutSaving();
    void captions();
    void portChooserFillsThePortBox();
    void portChooserShowsTheStoredPort_data();
    void portChooserShowsTheStoredPort();
    void withoutPortsFoundATypedPathStillWorks();
    void menuOpensOneDialog();
};

void TestCommsSettings::hexByteRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("C9") << "C9" << true;
    QTest::newRow("EF") << "EF" << true;
    QTest::newRow("00") << "00" << true;
    QTest::newRow("9A") << "9A" << true;
    QTest::newRow("lower case c9") << "c9" << false;
    QTest::newRow("lower case ef") << "ef" << false;
    QTest::newRow("three characters EF0") << "EF0" << false;
    QTest::newRow("one character") << "C" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("G is not hex") << "G1" << false;
    QTest::newRow("leading blank") << " C" << false;
    QTest::newRow("prefix") << "0x" << false;
    QTest::newRow("full-width digits") << QString::fromUtf8("\xEF\xBC\x91\xEF\xBC\x92") << false;
}

void TestCommsSettings::hexByteRule()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(isHexByteText(text), accepted);
}

void TestCommsSettings::invalidTextsAreRefusedAndNothingIsSaved_data()
{
    QTest::addColumn<QString>("romComm");
    QTest::addColumn<QString>("ecuId");
    QTest::addColumn<QString>("message");
    QTest::newRow("c9") << "c9"
                        << "EF"
                        << "Invalid address read command";
    QTest::newRow("C") << "C"
                       << "EF"
                       << "Invalid address read command";
    QTest::newRow("C9 with a blank") << "C9 "
                                     << "EF"
                                     << "Invalid address read command";
    QTest::newRow("EF0") << "C9"
                         << "EF0"
                         << "Invalid ECU Id";
    QTest::newRow("ef") << "C9"
                        << "ef"
                        << "Invalid ECU Id";
    QTest::newRow("empty id") << "C9"
                              << ""
                              << "Invalid ECU Id";
    QTest::newRow("both wrong: the command is named") << "c9"
                                                      << "EF0"
                                                      << "Invalid address read command";
}

void TestCommsSettings::invalidTextsAreRefusedAndNothingIsSaved()
{
    QFETCH(QString, romComm);
    QFETCH(QString, ecuId);
    QFETCH(QString, message);
    SettingsWindowFixture f;
    QPointer<Form3> dialog = openDialog(f);
    setText(dialog, "txtComPort", "/dev/ttyUSB0");
    setText(dialog, "txtRomComm", romComm);
    setText(dialog, "txtECUid", ecuId);
    click(dialog, "btnSave");

    QCOMPARE(f.dialogs.warnings, QStringList{message});
    QVERIFY(f.settings.writes.isEmpty());
    QVERIFY(f.port.writes.isEmpty());
    // The dialog stays open with what the user typed.
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(text(dialog, "txtRomComm"), romComm);
    QCOMPARE(text(dialog, "txtECUid"), ecuId);
    QCOMPARE(text(dialog, "txtComPort"), QString("/dev/ttyUSB0"));
    delete dialog;
}

void TestCommsSettings::saveWritesTheSixKeysInOrder()
{
    SettingsWindowFixture f;
    QPointer<Form3> dialog = openDialog(f);
    setText(dialog, "txtComPort", " ttyUSB0 ");
    setText(dialog, "txtSpeed", "fast");
    setText(dialog, "txtRomComm", "C9");
    setText(dialog, "txtECUid", "3A");
    child<QCheckBox>(dialog, "chkOBDIImodel")->setChecked(true);
    click(dialog, "btnSave");

    // Port and speed as typed, without validation; the check boxes as 0 or 1.
    const QList<QStringList> expected = {
        {"Comms", "ComPort", " ttyUSB0 "}, {"Comms", "Speed", "fast"},
        {"Comms", "RomComm", "C9"},        {"Comms", "OBDIImodel", "1"},
        {"Comms", "AutoConnect", "0"},     {"Comms", "ECUid", "3A"},
    };
    QCOMPARE(f.settings.writes, expected);
    QVERIFY(f.dialogs.warnings.isEmpty());
    QVERIFY(!dialog || !dialog->isVisible());
}

void TestCommsSettings::savingRefreshesTheStatusBarAndConnectsWhenAsked_data()
{
    QTest::addColumn<bool>("autoConnect");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("auto-connect ticked: wakes the ECU with the new id")
        << true << QByteArray("\xFF\xFF\x3A\xD0\xF0");
    QTest::newRow("auto-connect clear: the port stays closed") << false << QByteArray();
}

void TestCommsSettings::savingRefreshesTheStatusBarAndConnectsWhenAsked()
{
    QFETCH(bool, autoConnect);
    QFETCH(QByteArray, wire);
    SettingsWindowFixture f;
    QPointer<Form3> dialog = openDialog(f);
    setText(dialog, "txtComPort", "/dev/ttyUSB0");
    setText(dialog, "txtSpeed", "19200");
    setText(dialog, "txtECUid", "3A");
    child<QCheckBox>(dialog, "chkAutoConnect")->setChecked(autoConnect);
    child<QCheckBox>(dialog, "chkOBDIImodel")->setChecked(true);
    click(dialog, "btnSave");

    QCOMPARE(f.panel(2), QString("/dev/ttyUSB0 - 19200"));
    QVERIFY(f.form.state().OBDIImodel);
    QCOMPARE(f.port.written(), wire);
    QCOMPARE(f.port.openCount, autoConnect ? 1 : 0);
    if (autoConnect) {
        QCOMPARE(f.port.lastConfig.device, QString("/dev/ttyUSB0"));
        QCOMPARE(f.port.lastConfig.settingsText, QString("19200,N,8,1"));
        QCOMPARE(f.form.link().ReadMode, qint16(1));
    }
    QVERIFY(!dialog || !dialog->isVisible());
}

void TestCommsSettings::loadShowsTheStoredValues_data()
{
    QTest::addColumn<QString>("obd2");
    QTest::addColumn<QString>("autoConnect");
    QTest::addColumn<bool>("obd2Ticked");
    QTest::addColumn<bool>("autoConnectTicked");
    QTest::newRow("0 0") << "0"
                         << "0" << false << false;
    QTest::newRow("1 1") << "1"
                         << "1" << true << true;
    // As the main window reads them: any non-zero is the OBDII variant, only 1 auto-connects.
    QTest::newRow("2 2") << "2"
                         << "2" << true << false;
    QTest::newRow("edited by hand") << "yes"
                                    << "on" << false << false;
}

void TestCommsSettings::loadShowsTheStoredValues()
{
    QFETCH(QString, obd2);
    QFETCH(QString, autoConnect);
    QFETCH(bool, obd2Ticked);
    QFETCH(bool, autoConnectTicked);
    SettingsWindowFixture f({{"Comms", "ComPort", "ttyUSB1"},
                             {"Comms", "Speed", "10400"},
                             {"Comms", "RomComm", "D1"},
                             {"Comms", "ECUid", "7C"},
                             {"Comms", "OBDIImodel", obd2},
                             {"Comms", "AutoConnect", autoConnect}});
    f.port.writes.clear(); // start-up may have connected ("1")
    QPointer<Form3> dialog = openDialog(f);
    QCOMPARE(text(dialog, "txtComPort"), QString("ttyUSB1"));
    QCOMPARE(text(dialog, "txtSpeed"), QString("10400"));
    QCOMPARE(text(dialog, "txtRomComm"), QString("D1"));
    QCOMPARE(text(dialog, "txtECUid"), QString("7C"));
    QCOMPARE(child<QCheckBox>(dialog, "chkOBDIImodel")->isChecked(), obd2Ticked);
    QCOMPARE(child<QCheckBox>(dialog, "chkAutoConnect")->isChecked(), autoConnectTicked);
    QVERIFY(f.settings.writes.isEmpty()); // opening writes nothing
    delete dialog;
}

void TestCommsSettings::cancelAndEscapeCloseWithoutSaving_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Esc") << true;
}

void TestCommsSettings::cancelAndEscapeCloseWithoutSaving()
{
    QFETCH(bool, escape);
    SettingsWindowFixture f;
    QPointer<Form3> dialog = openDialog(f);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    setText(dialog, "txtECUid", "12");
    child<QCheckBox>(dialog, "chkAutoConnect")->setChecked(true);
    if (escape)
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        click(dialog, "btnCancel");
    QVERIFY(!dialog || !dialog->isVisible());
    QVERIFY(f.settings.writes.isEmpty());
    QVERIFY(f.port.writes.isEmpty());
    QCOMPARE(f.settings.get("Comms", "ECUid"), QString("EF"));
    runDeferredDeletes();
    QVERIFY(!dialog);
}

void TestCommsSettings::captions()
{
    SettingsWindowFixture f;
    QPointer<Form3> dialog = openDialog(f);
    QCOMPARE(dialog->windowTitle(), QString("Communiction"));
    const QList<QPair<const char *, const char *>> labels = {
        {"lblComPort", "COM Port : "},    {"lblSpeed", "Port Speed: "},
        {"lblRomComm", "Address read "},  {"lblRomComm2", "command (in Hex)"},
        {"lblECUid", "ECU Id (in Hex):"},
    };
    for (const auto &l : labels)
        QCOMPARE(child<QLabel>(dialog, l.first)->text(), QString(l.second));
    const QList<QPair<const char *, const char *>> buttons = {
        {"chkOBDIImodel", "96 model z32 (OBDII)"},
        {"chkAutoConnect", "Auto Connect to ECU"},
        {"btnSave", "Save"},
        {"btnCancel", "Cancel"},
        {"btnECUfind", "Find ECU"},
    };
    for (const auto &b : buttons)
        QCOMPARE(child<QAbstractButton>(dialog, b.first)->text(), QString(b.second));
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->parentWidget(), &f.form);
    delete dialog;
}

void TestCommsSettings::portChooserFillsThePortBox()
{
    SettingsWindowFixture f;
    QPointer<Form3> dialog = openDialog(f, kTwoAdapters);
    auto *chooser = child<QComboBox>(dialog, "cmbPorts");
    QCOMPARE(chooser->count(), 2);
    QCOMPARE(chooser->itemText(0), QString("ttyACM0"));
    QCOMPARE(chooser->itemText(1), QString("ttyUSB0 - FT232R USB UART"));
    QCOMPARE(chooser->currentIndex(), -1); // the stored port 1 is none of them

    chooser->setCurrentIndex(1);
    emit chooser->activated(1);
    QCOMPARE(text(dialog, "txtComPort"), QString("/dev/ttyUSB0"));
    click(dialog, "btnSave");
    QCOMPARE(f.settings.get("Comms", "ComPort"), QString("/dev/ttyUSB0"));
    QCOMPARE(f.panel(2), QString("/dev/ttyUSB0 - 9600"));
}

void TestCommsSettings::portChooserShowsTheStoredPort_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::newRow("device path") << "/dev/ttyUSB0" << 1;
    QTest::newRow("name under /dev") << "ttyACM0" << 0;
    QTest::newRow("port number 1 is /dev/ttyS0") << "1" << 2;
    QTest::newRow("a port not found") << "/dev/ttyUSB7" << -1;
    QTest::newRow("port number 0 names none") << "0" << -1;
}

void TestCommsSettings::portChooserShowsTheStoredPort()
{
    QFETCH(QString, stored);
    QFETCH(int, index);
    const QList<SerialPortChoice> ports =
        kTwoAdapters + QList<SerialPortChoice>{{"/dev/ttyS0", "ttyS0", ""}};
    QCOMPARE(choiceForPortText(ports, stored), index);

    SettingsWindowFixture f({{"Comms", "ComPort", stored}});
    QPointer<Form3> dialog = openDialog(f, ports);
    QCOMPARE(child<QComboBox>(dialog, "cmbPorts")->currentIndex(), index);
    // Typing a port by hand moves the chooser along.
    auto *box = child<QLineEdit>(dialog, "txtComPort");
    box->clear();
    QTest::keyClicks(box, "ttyUSB0");
    QCOMPARE(child<QComboBox>(dialog, "cmbPorts")->currentIndex(), 1);
    delete dialog;
}

void TestCommsSettings::withoutPortsFoundATypedPathStillWorks()
{
    SettingsWindowFixture f;
    QPointer<Form3> dialog = openDialog(f);
    auto *chooser = child<QComboBox>(dialog, "cmbPorts");
    QCOMPARE(chooser->count(), 1);
    QCOMPARE(chooser->itemText(0), QString("No serial port found"));
    auto *model = qobject_cast<QStandardItemModel *>(chooser->model());
    QVERIFY(model && !model->item(0)->isEnabled());
    emit chooser->activated(0);
    QCOMPARE(text(dialog, "txtComPort"), QString("1")); // choosing it changes nothing

    setText(dialog, "txtComPort", "/dev/pts/7");
    child<QCheckBox>(dialog, "chkAutoConnect")->setChecked(true);
    click(dialog, "btnSave");
    QCOMPARE(f.settings.get("Comms", "ComPort"), QString("/dev/pts/7"));
    QCOMPARE(f.port.lastConfig.device, QString("/dev/pts/7"));
}

void TestCommsSettings::menuOpensOneDialog()
{
    SettingsWindowFixture f;
    f.form.show();
    auto *entry = f.form.findChild<QAction *>("mnuSetCom");
    entry->trigger();
    QList<Form3 *> open = f.form.findChildren<Form3 *>();
    QCOMPARE(open.size(), 1);
    QPointer<Form3> first = open.first();
    QVERIFY(first->isVisible());
    QVERIFY(first->testAttribute(Qt::WA_DeleteOnClose));

    entry->trigger(); // brings the open one forward
    QCOMPARE(f.form.findChildren<Form3 *>().size(), 1);

    // Closed and opened again: a new dialog, from the stored values.
    setText(first, "txtECUid", "12");
    first->close();
    entry->trigger();
    runDeferredDeletes();
    QVERIFY(!first);
    open = f.form.findChildren<Form3 *>();
    QCOMPARE(open.size(), 1);
    QCOMPARE(text(open.first(), "txtECUid"), QString("EF"));
}

ORVANTIS_TEST(TestCommsSettings)
#include "tst_commsettings.moc"
