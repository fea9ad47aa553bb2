#include "config/DisplayColours.h"
#include "config/SettingsWindows.h"
#include "config/frmColor.h"
#include "display/Colours.h"
#include "tests/config/SettingsWindowFixture.h"

#include "tests/support/TestRegistry.h"
#include <QAction>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

#include <QtTest>

namespace {

QPointer<frmColor> openDialog(SettingsWindowFixture &f)
{
    auto *dialog = new frmColor(f.form);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

QPushButton *swatch(QWidget *dialog, int i)
{
    return dialog->findChild<QPushButton *>(QStringLiteral("button%1").arg(i));
}

// The colour a swatch shows on screen, in its middle.
QColor shown(QWidget *dialog, int i)
{
    QPushButton *b = swatch(dialog, i);
    return b->grab().toImage().pixelColor(b->width() / 2, b->height() / 2);
}

quint32 bgr(const QColor &c)
{
    return quint32(Colours::fromQColor(c).toNumber());
}

// The texts start-up writes, rows 0 to 10.
const QStringList kDefaultTexts = {"0",        "16777215",    "65280",      "65280",
                                   "16776960", "255",         "16711680",   "65280",
                                   "65280",    "-2147483633", "-2147483630"};

QList<QStringList> storedRows(const QStringList &texts)
{
    QList<QStringList> rows;
    for (int i = 0; i < kDisplayColourCount; ++i)
        rows.append({"Display", displayColourRows()[i].key, texts[i]});
    return rows;
}

} // namespace

class TestDisplayColours : public QObject
{
    Q_OBJECT
private slots:
    void captionsFramesAndButtons();
    void swatchesShowTheStoredColours_data();
    void swatchesShowTheStoredColours();
    void okStoresEveryColourAsDecimalText();
    void cancellingTheColourDialogKeepsTheSwatch();
    void cancelDiscardsEverySwatchChange_data();
    void cancelDiscardsEverySwatchChange();
    void systemColourStaysOneUnlessChanged_data();
    void systemColourStaysOneUnlessChanged();
    void menuOpensItModal();
};

void TestDisplayColours::captionsFramesAndButtons()
{
    SettingsWindowFixture f;
    QPointer<frmColor> dialog = openDialog(f);
    QCOMPARE(dialog->windowTitle(), QString("Data Display Colours"));
    const QStringList captions = {
        "Background: ", "Scale Digits: ", "Peak Value: ", "Value: ",     "Name: ",
        "Needle: ",     "Annular: ",      "Ticker: ",     "SubTicker: ", "Window Background: ",
        "Registers: "};
    for (int i = 0; i < kDisplayColourCount; ++i) {
        auto *label = dialog->findChild<QLabel *>(QStringLiteral("Label%1").arg(i));
        QVERIFY(label);
        QCOMPARE(label->text(), captions[i]);
        QVERIFY(swatch(dialog, i));
        QCOMPARE(swatch(dialog, i)->text(), QString()); // colour only
        auto *frame = qobject_cast<QGroupBox *>(swatch(dialog, i)->parentWidget());
        QVERIFY(frame);
        QCOMPARE(frame->title(), QString(i < 9 ? "Gauge Colours" : "General Colors"));
        QCOMPARE(label->parentWidget(), frame);
    }
    QCOMPARE(child<QPushButton>(dialog, "btnOK")->text(), QString("OK"));
    QCOMPARE(child<QPushButton>(dialog, "btnCancel")->text(), QString("CANCEL"));
    delete dialog;
}

void TestDisplayColours::swatchesShowTheStoredColours_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("systemColour"); // -1: the colour below
    QTest::addColumn<QColor>("colour");
    QTest::newRow("needle red") << 5 << "255" << -1 << QColor(255, 0, 0);
    QTest::newRow("name cyan") << 4 << "16776960" << -1 << QColor(0, 255, 255);
    QTest::newRow("annular blue") << 6 << "16711680" << -1 << QColor(0, 0, 255);
    QTest::newRow("mixed") << 0 << "3368601" << -1 << QColor(0x99, 0x66, 0x33);
    QTest::newRow("window: button face") << 9 << "-2147483633" << 15 << QColor();
    QTest::newRow("registers: button text") << 10 << "-2147483630" << 18 << QColor();
    QTest::newRow("hand-edited text reads as the default")
        << 2 << "green" << -1 << QColor(0, 255, 0);
    QTest::newRow("a number that is no colour") << 1 << "16777216" << -1 << QColor(255, 255, 255);
}

void TestDisplayColours::swatchesShowTheStoredColours()
{
    QFETCH(int, row);
    QFETCH(QString, stored);
    QFETCH(int, systemColour);
    QFETCH(QColor, colour);
    SettingsWindowFixture f({{"Display", displayColourRows()[row].key, stored}});
    QPointer<frmColor> dialog = openDialog(f);
    if (systemColour >= 0)
        colour = *Colours::systemColour(systemColour, dialog->palette());
    QCOMPARE(shown(dialog, row), colour);

    // The colour dialog starts from that colour.
    swatch(dialog, row)->click();
    QCOMPARE(f.dialogs.colourRequests, QList<quint32>{bgr(colour)});
    delete dialog;
}

void TestDisplayColours::okStoresEveryColourAsDecimalText()
{
    SettingsWindowFixture f;
    QPointer<frmColor> dialog = openDialog(f);
    f.dialogs.colourAnswers = {0x00336699u, 0x00FFFFFFu};
    swatch(dialog, 2)->click();
    swatch(dialog, 10)->click();
    QCOMPARE(shown(dialog, 2), QColor(0x99, 0x66, 0x33));
    QCOMPARE(shown(dialog, 10), QColor(255, 255, 255));
    QVERIFY(f.settings.writes.isEmpty()); // nothing is stored before OK

    click(dialog, "btnOK");
    QStringList texts = kDefaultTexts;
    texts[2] = "3368601";
    texts[10] = "16777215";
    QCOMPARE(f.settings.writes, storedRows(texts));
    QVERIFY(!dialog || !dialog->isVisible());
}

void TestDisplayColours::cancellingTheColourDialogKeepsTheSwatch()
{
    SettingsWindowFixture f;
    QPointer<frmColor> dialog = openDialog(f);
    f.dialogs.colourAnswers = {std::nullopt};
    swatch(dialog, 5)->click();
    QCOMPARE(f.dialogs.colourRequests, QList<quint32>{0x0000FFu});
    QCOMPARE(shown(dialog, 5), QColor(255, 0, 0));
    click(dialog, "btnOK");
    QCOMPARE(f.settings.get("Display", "GaugeNeedle"), QString("255"));
    QCOMPARE(f.settings.writes, storedRows(kDefaultTexts));
}

void TestDisplayColours::cancelDiscardsEverySwatchChange_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("CANCEL") << false;
    QTest::newRow("Esc") << true;
}

void TestDisplayColours::cancelDiscardsEverySwatchChange()
{
    QFETCH(bool, escape);
    SettingsWindowFixture f;
    QPointer<frmColor> dialog = openDialog(f);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    f.dialogs.colourAnswers = {0x00123456u, 0x00654321u};
    swatch(dialog, 0)->click();
    swatch(dialog, 9)->click();
    QCOMPARE(shown(dialog, 0), QColor(0x56, 0x34, 0x12));
    if (escape)
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        click(dialog, "btnCancel");
    QVERIFY(!dialog || !dialog->isVisible());
    QVERIFY(f.settings.writes.isEmpty());

    // Opened again, it shows what is stored.
    QPointer<frmColor> again = openDialog(f);
    QCOMPARE(shown(again, 0), QColor(0, 0, 0));
    QCOMPARE(again->colours()[9].toText(), QString("-2147483633"));
    delete again;
}

void TestDisplayColours::systemColourStaysOneUnlessChanged_data()
{
    QTest::addColumn<bool>("change");
    QTest::newRow("confirmed as it started") << false;
    QTest::newRow("changed") << true;
}

void TestDisplayColours::systemColourStaysOneUnlessChanged()
{
    QFETCH(bool, change);
    SettingsWindowFixture f;
    QPointer<frmColor> dialog = openDialog(f);
    const QColor face = *Colours::systemColour(15, dialog->palette());
    const quint32 answer = change ? (bgr(face) ^ 0x000001u) : bgr(face);
    f.dialogs.colourAnswers = {answer};
    swatch(dialog, 9)->click();
    QCOMPARE(f.dialogs.colourRequests, QList<quint32>{bgr(face)});
    click(dialog, "btnOK");
    QCOMPARE(f.settings.get("Display", "GaugeWindow"),
             change ? QString::number(answer) : QString("-2147483633"));
    QCOMPARE(f.settings.get("Display", "GaugeRegister"), QString("-2147483630"));
}

void TestDisplayColours::menuOpensItModal()
{
    SettingsWindowFixture f;
    f.form.show();
    f.form.findChild<QAction *>("mnuSetDisplay")->trigger();
    const QList<frmColor *> open = f.form.findChildren<frmColor *>();
    QCOMPARE(open.size(), 1);
    QVERIFY(open.first()->isVisible());
    QVERIFY(open.first()->isModal());
    QCOMPARE(open.first()->windowModality(), Qt::ApplicationModal);
    QCOMPARE(open.first()->parentWidget(), &f.form);
}

ORVANTIS_TEST(TestDisplayColours)
#include "tst_colourdialog.moc"
