#include "config/Form3.h"

#include "app/Dialogs.h"
#include "app/Form2.h"
#include "app/WindowHelpers.h"
#include "config/frmECUfind.h"
#include "link/EcuLink.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

// A chooser that re-reads the system's ports each time it opens, so an adapter plugged in after
// the dialog opened is offered too.
class PortChooser : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;

    void showPopup() override
    {
        if (beforePopup)
            beforePopup();
        QComboBox::showPopup();
    }
};

QLabel *captionLabel(const char *text, const char *name, QWidget *parent)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit *textBox(const char *name, int chars, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('W')) * chars + 16);
    return box;
}

// A box for a two-digit hex byte: no wider than what it holds (with room for a typing slip).
QLineEdit *hexBox(const char *name, QWidget *parent)
{
    QLineEdit *box = textBox(name, 3, parent);
    box->setMaximumWidth(box->minimumWidth());
    return box;
}

} // namespace

Form3::Form3(Form2 &main, PortLister listPorts)
    : QWidget(&main, Qt::Dialog), m_main(main), m_listPorts(std::move(listPorts))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Communiction"));

    m_txtComPort = textBox("txtComPort", 6, this);
    auto *chooser = new PortChooser(this);
    chooser->setObjectName(QStringLiteral("cmbPorts"));
    chooser->setToolTip(QStringLiteral("Serial ports found on this computer"));
    chooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    chooser->setMinimumContentsLength(18);
    chooser->beforePopup = [this] { fillPortChooser(); };
    m_cmbPorts = chooser;
    m_txtSpeed = textBox("txtSpeed", 6, this);
    m_txtRomComm = hexBox("txtRomComm", this);
    m_txtECUid = hexBox("txtECUid", this);
    m_chkOBDIImodel = new QCheckBox(QStringLiteral("96 model z32 (OBDII)"), this);
    m_chkOBDIImodel->setObjectName(QStringLiteral("chkOBDIImodel"));
    m_chkAutoConnect = new QCheckBox(QStringLiteral("Auto Connect to ECU"), this);
    m_chkAutoConnect->setObjectName(QStringLiteral("chkAutoConnect"));

    auto *btnSave = new QPushButton(QStringLiteral("Save"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    auto *btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto *btnECUfind = new QPushButton(QStringLiteral("Find ECU"), this);
    btnECUfind->setObjectName(QStringLiteral("btnECUfind"));

    auto *romCaption = new QVBoxLayout;
    romCaption->setSpacing(0);
    romCaption->addWidget(captionLabel("Address read ", "lblRomComm", this));
    romCaption->addWidget(captionLabel("command (in Hex)", "lblRomComm2", this));

    auto *grid = new QGridLayout;
    grid->addWidget(captionLabel("COM Port : ", "lblComPort", this), 0, 0);
    grid->addWidget(m_txtComPort, 0, 1);
    grid->addWidget(m_cmbPorts, 0, 2);
    grid->addWidget(captionLabel("Port Speed: ", "lblSpeed", this), 1, 0);
    grid->addWidget(m_txtSpeed, 1, 1);
    grid->addLayout(romCaption, 2, 0);
    grid->addWidget(m_txtRomComm, 2, 1, Qt::AlignLeft);
    grid->addWidget(captionLabel("ECU Id (in Hex):", "lblECUid", this), 3, 0);
    grid->addWidget(m_txtECUid, 3, 1, Qt::AlignLeft);
    grid->addWidget(m_chkOBDIImodel, 4, 0, 1, 3);
    grid->addWidget(m_chkAutoConnect, 5, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);
    buttons->addWidget(btnECUfind);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnSave, &QPushButton::clicked, this, &Form3::btnSave_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(btnECUfind, &QPushButton::clicked, this, &Form3::btnECUfind_Click);
    connect(m_cmbPorts, qOverload<int>(&QComboBox::activated), this, &Form3::portChosen);
    // A port typed by hand shows in the chooser when it is one of the ports found.
    connect(m_txtComPort, &QLineEdit::textEdited, this, &Form3::showChosenPort);
    closeOnEscape(this);

    Form_Load();
    fillPortChooser();
}

Form3::~Form3() = default;

frmECUfind *Form3::finder() const
{
    return m_finder.data();
}

void Form3::Form_Load()
{
    const CommsSettings s = loadCommsSettings(m_main.settings());
    m_txtComPort->setText(s.ComPort);
    m_txtSpeed->setText(s.Speed);
    m_txtRomComm->setText(s.RomComm);
    m_txtECUid->setText(s.ECUid);
    m_chkOBDIImodel->setChecked(s.OBDIImodel);
    m_chkAutoConnect->setChecked(s.AutoConnect);
}

CommsSettings Form3::enteredValues() const
{
    CommsSettings s;
    s.ComPort = m_txtComPort->text();
    s.Speed = m_txtSpeed->text();
    s.RomComm = m_txtRomComm->text();
    s.ECUid = m_txtECUid->text();
    s.OBDIImodel = m_chkOBDIImodel->isChecked();
    s.AutoConnect = m_chkAutoConnect->isChecked();
    return s;
}

void Form3::fillPortChooser()
{
    m_ports = m_listPorts ? m_listPorts() : QList<SerialPortChoice>();
    const QList<SerialPortChoice> &ports = m_ports;
    m_cmbPorts->clear();
    if (ports.isEmpty()) {
        m_cmbPorts->addItem(QStringLiteral("No serial port found"));
        if (auto *model = qobject_cast<QStandardItemModel *>(m_cmbPorts->model()))
            model->item(0)->setEnabled(false);
        m_cmbPorts->setCurrentIndex(-1);
        m_cmbPorts->setPlaceholderText(QStringLiteral("No serial port found"));
        return;
    }
    for (const SerialPortChoice &port : ports)
        m_cmbPorts->addItem(port.label(), port.device);
    m_cmbPorts->setPlaceholderText(QStringLiteral("Serial ports..."));
    showChosenPort();
}

void Form3::showChosenPort()
{
    if (!m_ports.isEmpty())
        m_cmbPorts->setCurrentIndex(choiceForPortText(m_ports, m_txtComPort->text()));
}

void Form3::portChosen(int index)
{
    const QString device = m_cmbPorts->itemData(index).toString();
    if (!device.isEmpty())
        m_txtComPort->setText(device);
}

void Form3::btnSave_Click()
{
    const CommsSettings values = enteredValues();
    const QString message = commsValidationMessage(values);
    if (!message.isEmpty()) {
        m_main.dialogs().warning(message);
        return;
    }
    saveCommsSettings(m_main.settings(), values);
    QPointer<Form3> self(this);
    m_main.setStatusBar(); // reconnects when auto-connect is on: events run meanwhile
    if (self)
        close();
}

void Form3::btnECUfind_Click()
{
    if (m_finder && m_finder->isVisible()) {
        // One scan at a time: the open finder comes to the front.
        m_finder->raise();
        m_finder->activateWindow();
        return;
    }
    QPointer<Form3> self(this);
    m_main.link().stopData();
    if (!self)
        return;
    auto *finder = new frmECUfind(m_main, this);
    finder->setAttribute(Qt::WA_DeleteOnClose);
    m_finder = finder;
    finder->show();
    finder->iniECUfind();
}

void Form3::closeEvent(QCloseEvent *event)
{
    // The finder belongs to this dialog and goes with it (it puts the link back on closing).
    QPointer<Form3> self(this);
    if (m_finder)
        m_finder->close();
    if (self)
        QWidget::closeEvent(event);
}
