#include "app/Numbers.h"
#include "config/PreferenceSettings.h"
#include "config/SettingsWindows.h"
#include "config/frmPreferences.h"
#include "link/EcuLink.h"
#include "tests/config/SettingsWindowFixture.h"

#include "tests/support/TestRegistry.h"
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QPointer>

#include <QtTest>

namespace {

const char *const kTyreBoxes[6] = {"txtSwidth", "txtShight", "txtSsize",
                                   "txtUwidth", "txtUhight", "txtUsize"};

QPointer<frmPreferences> openDialog(SettingsWindowFixture &f)
{
    auto *dialog = new frmPreferences(f.form);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

void typeTyres(QWidget *dialog, const QStringList &sizes)
{
    for (int i = 0; i < 6; ++i)
        setText(dialog, kTyreBoxes[i], sizes[i]);
}

QComboBox *list(QWidget *dialog, const char *name)
{
    return child<QComboBox>(dialog, name);
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT
private slots:
    void correction_data();
    void correction();
    void circumference();
    void invalidTyreSizesAreRefused_data();
    void invalidTyreSizesAreRefused();
    void saveWritesCorrectionTyresThenUnits();
    void unitsTakeEffectAtOnce_data();
    void unitsTakeEffectAtOnce();
    void savingWithAutoConnectReconnects();
    void loadShowsTheStoredValues_data();
    void loadShowsTheStoredValues();
    void cancelAndEscapeCloseWithoutSaving_data();
    void cancelAndEscapeCloseWithoutSaving();
    void captionsAndMenu();
};

void TestPreferences::correction_data()
{
    QTest::addColumn<QStringList>("sizes"); // OEM W, H, D, then current W, H, D
    QTest::addColumn<QString>("stored");
    QTest::newRow("195/65 R15 to 225/50 R17")
        << QStringList{"195", "65", "15", "225", "50", "17"} << "1.04";
    QTest::newRow("205/55 R16 to 225/45 R17 (1.0038)")
        << QStringList{"205", "55", "16", "225", "45", "17"} << "1";
    QTest::newRow("equal sizes") << QStringList{"205", "55", "16", "205", "55", "16"} << "1";
    QTest::newRow("205/55 R16 to 195/55 R16")
        << QStringList{"205", "55", "16", "195", "55", "16"} << "0.98";
    QTest::newRow("225/50 R17 to 195/65 R15")
        << QStringList{"225", "50", "17", "195", "65", "15"} << "0.97";
    QTest::newRow("leading zeros are digits")
        << QStringList{"095", "80", "10", "095", "80", "10"} << "1";
    QTest::newRow("rim only on the OEM side")
        << QStringList{"000", "00", "15", "195", "65", "15"} << "1.67";
}

void TestPreferences::correction()
{
    QFETCH(QStringList, sizes);
    QFETCH(QString, stored);
    const TyreSizeText oem{sizes[0], sizes[1], sizes[2]};
    const TyreSizeText current{sizes[3], sizes[4], sizes[5]};
    const std::optional<float> value = speedCorrection(oem, current);
    QVERIFY(value.has_value());
    QCOMPARE(Numbers::singleToText(*value), stored);

    SettingsWindowFixture f;
    QPointer<frmPreferences> dialog = openDialog(f);
    typeTyres(dialog, sizes);
    click(dialog, "btnSave");
    QVERIFY(f.dialogs.warnings.isEmpty());
    QCOMPARE(f.settings.get("TyreSize", "Correction"), stored);
    QCOMPARE(f.panel(1), "Spd Corr: " + stored);
    QCOMPARE(f.form.state().SpeedCorrect, *value);
}

void TestPreferences::circumference()
{
    // 195/65 R15: two sidewalls of 19.5 cm at 65 %, plus 15 inches, times 3.1415.
    QCOMPARE(tyreCircumference(195, 65, 15), (0.65 * 39.0 + 38.1) * 3.1415);
    QCOMPARE(tyreCircumference(0, 0, 10), 25.4 * 3.1415);
}

void TestPreferences::invalidTyreSizesAreRefused_data()
{
    QTest::addColumn<QStringList>("sizes");
    QTest::newRow("OEM width 95") << QStringList{"95", "55", "16", "205", "55", "16"};
    QTest::newRow("OEM rim 7") << QStringList{"205", "55", "7", "205", "55", "16"};
    QTest::newRow("current width 95") << QStringList{"205", "55", "16", "95", "55", "16"};
    QTest::newRow("current rim 7") << QStringList{"205", "55", "16", "205", "55", "7"};
    QTest::newRow("aspect of three digits") << QStringList{"205", "550", "16", "205", "55", "16"};
    QTest::newRow("width of four digits") << QStringList{"205", "55", "16", "2055", "55", "16"};
    QTest::newRow("a letter") << QStringList{"205", "5O", "16", "205", "55", "16"};
    QTest::newRow("a blank") << QStringList{"205", "55", "16", "205 ", "55", "16"};
    QTest::newRow("empty") << QStringList{"205", "55", "16", "205", "", "16"};
    QTest::newRow("digits of another script") << QStringList{
        "205", "55", "16", QString::fromUtf8("\xD9\xA2\xD9\xA0\xD9\xA5"), "55", "16"};
    // A tyre of no size at all would make every speed infinite or zero.
    QTest::newRow("OEM tyre of no size") << QStringList{"000", "00", "00", "205", "55", "16"};
    QTest::newRow("current tyre of no size") << QStringList{"205", "55", "16", "205", "00", "00"};
    QTest::newRow("a ratio that rounds to 0") << QStringList{"999", "99", "99", "001", "01", "00"};
}

void TestPreferences::invalidTyreSizesAreRefused()
{
    QFETCH(QStringList, sizes);
    SettingsWindowFixture f;
    QPointer<frmPreferences> dialog = openDialog(f);
    list(dialog, "cmbSpeed")->setCurrentIndex(1);
    typeTyres(dialog, sizes);
    click(dialog, "btnSave");
    QCOMPARE(f.dialogs.warnings, QStringList{"Invalid tyre size"});
    QVERIFY(f.settings.writes.isEmpty());
    QCOMPARE(f.panel(3), QString("KPH"));
    // The dialog stays open with the user's input.
    QVERIFY(dialog && dialog->isVisible());
    for (int i = 0; i < 6; ++i)
        QCOMPARE(child<QLineEdit>(dialog, kTyreBoxes[i])->text(), sizes[i]);
    delete dialog;
}

void TestPreferences::saveWritesCorrectionTyresThenUnits()
{
    SettingsWindowFixture f;
    QPointer<frmPreferences> dialog = openDialog(f);
    list(dialog, "cmbTemp")->setCurrentIndex(1);
    typeTyres(dialog, {"195", "65", "15", "225", "50", "17"});
    click(dialog, "btnSave");
    const QList<QStringList> expected = {
        {"TyreSize", "Correction", "1.04"},  {"TyreSize", "Swidth", "195"},
        {"TyreSize", "Shight", "65"},        {"TyreSize", "Ssize", "15"},
        {"TyreSize", "Uwidth", "225"},       {"TyreSize", "Uhight", "50"},
        {"TyreSize", "Usize", "17"},         {"Preferences", "Speed", "0"},
        {"Preferences", "Temperature", "1"},
    };
    QCOMPARE(f.settings.writes, expected);
    QVERIFY(!dialog || !dialog->isVisible());
}

void TestPreferences::unitsTakeEffectAtOnce_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("temperature");
    QTest::addColumn<QString>("speedPanel");
    QTest::addColumn<QString>("temperaturePanel");
    QTest::addColumn<QString>("speedGauge");
    QTest::addColumn<QString>("waterGauge");
    QTest::newRow("MPH") << 1 << 0 << "MPH"
                         << "Celsius"
                         << "Speed mph"
                         << "Water Temp C";
    QTest::newRow("Fahrenheit") << 0 << 1 << "KPH"
                                << "Fahrenheit"
                                << "Speed kph"
                                << "Water Temp F";
    QTest::newRow("both") << 1 << 1 << "MPH"
                          << "Fahrenheit"
                          << "Speed mph"
                          << "Water Temp F";
}

void TestPreferences::unitsTakeEffectAtOnce()
{
    QFETCH(int, speed);
    QFETCH(int, temperature);
    QFETCH(QString, speedPanel);
    QFETCH(QString, temperaturePanel);
    QFETCH(QString, speedGauge);
    QFETCH(QString, waterGauge);
    SettingsWindowFixture f;
    QPointer<frmPreferences> dialog = openDialog(f);
    QCOMPARE(list(dialog, "cmbSpeed")->itemText(speed), speedPanel);
    QCOMPARE(list(dialog, "cmbTemp")->itemText(temperature), temperaturePanel);
    list(dialog, "cmbSpeed")->setCurrentIndex(speed);
    list(dialog, "cmbTemp")->setCurrentIndex(temperature);
    click(dialog, "btnSave");
    QCOMPARE(f.settings.get("Preferences", "Speed"), QString::number(speed));
    QCOMPARE(f.settings.get("Preferences", "Temperature"), QString::number(temperature));
    QCOMPARE(f.panel(3), speedPanel);
    QCOMPARE(f.panel(4), temperaturePanel);
    QCOMPARE(f.form.state().mph, speed == 1);
    QCOMPARE(f.form.state().fahr, temperature == 1);
    // The catalogue was rebuilt for the new units before any gauge window opens.
    QCOMPARE(f.form.state().Gauges[6].name(), speedGauge);
    QCOMPARE(f.form.state().Gauges[3].name(), waterGauge);
}

void TestPreferences::savingWithAutoConnectReconnects()
{
    SettingsWindowFixture f({{"Comms", "AutoConnect", "1"}});
    f.port.writes.clear();
    QPointer<frmPreferences> dialog = openDialog(f);
    click(dialog, "btnSave");
    QCOMPARE(f.port.written(), QByteArray("\x30\xFF\xFF\xEF\xD0\xF0"));
    QCOMPARE(f.form.link().ReadMode, qint16(1));
}

void TestPreferences::loadShowsTheStoredValues_data()
{
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<int>("speedIndex");
    QTest::addColumn<int>("temperatureIndex");
    QTest::newRow("0 0") << "0"
                         << "0" << 0 << 0;
    QTest::newRow("1 1") << "1"
                         << "1" << 1 << 1;
    // As the status bar reads them: any non-zero number is the second unit.
    QTest::newRow("2 and -1") << "2"
                              << "-1" << 1 << 1;
    QTest::newRow("edited by hand") << "mph"
                                    << "" << 0 << 0;
}

void TestPreferences::loadShowsTheStoredValues()
{
    QFETCH(QString, speed);
    QFETCH(QString, temperature);
    QFETCH(int, speedIndex);
    QFETCH(int, temperatureIndex);
    SettingsWindowFixture f({{"Preferences", "Speed", speed},
                             {"Preferences", "Temperature", temperature},
                             {"TyreSize", "Swidth", "195"},
                             {"TyreSize", "Shight", "65"},
                             {"TyreSize", "Ssize", "15"},
                             {"TyreSize", "Uwidth", "225"},
                             {"TyreSize", "Uhight", "50"},
                             {"TyreSize", "Usize", "1 7"}});
    QPointer<frmPreferences> dialog = openDialog(f);
    QCOMPARE(list(dialog, "cmbSpeed")->currentIndex(), speedIndex);
    QCOMPARE(list(dialog, "cmbTemp")->currentIndex(), temperatureIndex);
    const QStringList texts = {"195", "65", "15", "225", "50", "1 7"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(child<QLineEdit>(dialog, kTyreBoxes[i])->text(), texts[i]);
    QVERIFY(f.settings.writes.isEmpty());
    delete dialog;
}

void TestPreferences::cancelAndEscapeCloseWithoutSaving_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Esc") << true;
}

void TestPreferences::cancelAndEscapeCloseWithoutSaving()
{
    QFETCH(bool, escape);
    SettingsWindowFixture f;
    QPointer<frmPreferences> dialog = openDialog(f);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    list(dialog, "cmbSpeed")->setCurrentIndex(1);
    setText(dialog, "txtUwidth", "225");
    if (escape)
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        click(dialog, "btnCancel");
    QVERIFY(!dialog || !dialog->isVisible());
    QVERIFY(f.settings.writes.isEmpty());
    QCOMPARE(f.panel(3), QString("KPH"));
}

void TestPreferences::captionsAndMenu()
{
    SettingsWindowFixture f;
    f.form.show();
    f.form.findChild<QAction *>("mnuPreferences")->trigger();
    const QList<frmPreferences *> open = f.form.findChildren<frmPreferences *>();
    QCOMPARE(open.size(), 1);
    frmPreferences *dialog = open.first();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QString("Preferences"));
    QStringList frames;
    for (QGroupBox *g : dialog->findChildren<QGroupBox *>())
        frames << g->title();
    frames.sort();
    QCOMPARE(frames, (QStringList{"Speed Unit", "Temperature Unit", "Tyre Size Speed Correction"}));
    QStringList labels;
    for (QLabel *l : dialog->findChildren<QLabel *>())
        labels << l->text();
    labels.sort();
    QCOMPARE(labels, (QStringList{"Current size:", "D", "H", "OEM size:", "W"}));
    QCOMPARE(list(dialog, "cmbSpeed")->count(), 2);
    QCOMPARE(list(dialog, "cmbSpeed")->itemText(0), QString("KPH"));
    QCOMPARE(list(dialog, "cmbSpeed")->itemText(1), QString("MPH"));
    QCOMPARE(list(dialog, "cmbTemp")->itemText(0), QString("Celsius"));
    QCOMPARE(list(dialog, "cmbTemp")->itemText(1), QString("Fahrenheit"));
    QVERIFY(!list(dialog, "cmbSpeed")->isEditable()); // pick-only
    QCOMPARE(child<QAbstractButton>(dialog, "btnSave")->text(), QString("Save"));
    QCOMPARE(child<QAbstractButton>(dialog, "btnCancel")->text(), QString("Cancel"));
    // The default sizes on a first start.
    QCOMPARE(child<QLineEdit>(dialog, "txtSwidth")->text(), QString("205"));
    QCOMPARE(child<QLineEdit>(dialog, "txtUsize")->text(), QString("16"));
}

ORVANTIS_TEST(TestPreferences)
#include "tst_preferences.moc"
