#include "config/frmPreferences.h"

#include "app/Dialogs.h"
#include "app/Form2.h"
#include "app/WindowHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QComboBox *unitList(const char *name, const char *first, const char *second, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->addItem(QString::fromLatin1(first));
    list->addItem(QString::fromLatin1(second));
    list->setCurrentIndex(0);
    return list;
}

QLineEdit *sizeBox(const char *name, int digits, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (digits + 1) + 16);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QGroupBox *framed(const char *title, QWidget *content, QWidget *parent)
{
    auto *frame = new QGroupBox(QString::fromLatin1(title), parent);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(content);
    return frame;
}

} // namespace

frmPreferences::frmPreferences(Form2 &main) : QWidget(&main, Qt::Dialog), m_main(main)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));

    m_cmbSpeed = unitList("cmbSpeed", "KPH", "MPH", this);
    m_cmbTemp = unitList("cmbTemp", "Celsius", "Fahrenheit", this);
    m_txtSwidth = sizeBox("txtSwidth", 3, this);
    m_txtShight = sizeBox("txtShight", 2, this);
    m_txtSsize = sizeBox("txtSsize", 2, this);
    m_txtUwidth = sizeBox("txtUwidth", 3, this);
    m_txtUhight = sizeBox("txtUhight", 2, this);
    m_txtUsize = sizeBox("txtUsize", 2, this);

    auto *tyres = new QGroupBox(QStringLiteral("Tyre Size Speed Correction"), this);
    auto *grid = new QGridLayout(tyres);
    const char *const letters[3] = {"W", "H", "D"};
    for (int column = 0; column < 3; ++column) {
        auto *letter = new QLabel(QString::fromLatin1(letters[column]), tyres);
        letter->setAlignment(Qt::AlignCenter);
        grid->addWidget(letter, 0, column + 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("OEM size:"), tyres), 1, 0);
    grid->addWidget(m_txtSwidth, 1, 1);
    grid->addWidget(m_txtShight, 1, 2);
    grid->addWidget(m_txtSsize, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Current size:"), tyres), 2, 0);
    grid->addWidget(m_txtUwidth, 2, 1);
    grid->addWidget(m_txtUhight, 2, 2);
    grid->addWidget(m_txtUsize, 2, 3);
    grid->setColumnStretch(4, 1);

    auto *btnSave = new QPushButton(QStringLiteral("Save"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    auto *btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *units = new QHBoxLayout;
    units->addWidget(framed("Speed Unit", m_cmbSpeed, this));
    units->addWidget(framed("Temperature Unit", m_cmbTemp, this));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(units);
    layout->addWidget(tyres);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnSave, &QPushButton::clicked, this, &frmPreferences::btnSave_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscape(this);

    Form_Load();
}

void frmPreferences::Form_Load()
{
    const PreferenceValues v = loadPreferences(m_main.settings());
    m_cmbSpeed->setCurrentIndex(v.speedUnit);
    m_cmbTemp->setCurrentIndex(v.temperatureUnit);
    m_txtSwidth->setText(v.oem.width);
    m_txtShight->setText(v.oem.aspect);
    m_txtSsize->setText(v.oem.rim);
    m_txtUwidth->setText(v.current.width);
    m_txtUhight->setText(v.current.aspect);
    m_txtUsize->setText(v.current.rim);
}

PreferenceValues frmPreferences::enteredValues() const
{
    PreferenceValues v;
    v.speedUnit = m_cmbSpeed->currentIndex();
    v.temperatureUnit = m_cmbTemp->currentIndex();
    v.oem = {m_txtSwidth->text(), m_txtShight->text(), m_txtSsize->text()};
    v.current = {m_txtUwidth->text(), m_txtUhight->text(), m_txtUsize->text()};
    return v;
}

void frmPreferences::btnSave_Click()
{
    const PreferenceValues values = enteredValues();
    const QString message = preferencesValidationMessage(values);
    if (!message.isEmpty()) {
        m_main.dialogs().warning(message);
        return;
    }
    savePreferences(m_main.settings(), values);
    QPointer<frmPreferences> self(this);
    m_main.setStatusBar(); // reconnects when auto-connect is on: events run meanwhile
    if (self)
        close();
}
