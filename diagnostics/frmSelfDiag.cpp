#include "diagnostics/frmSelfDiag.h"

#include "app/Form2.h"
#include "app/WindowHelpers.h"
#include "diagnostics/FaultCodes.h"
#include "link/EcuLink.h"
#include "link/Protocol.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr qint32 kEraseWait = 1000;
}

frmSelfDiag::frmSelfDiag(Form2 &main, QWidget *parent) : QWidget(parent, Qt::Window), m_main(main)
{
    setObjectName(QStringLiteral("frmSelfDiag"));
    setWindowTitle(QStringLiteral("Self Diagnostics"));
    auto *frame = new QGroupBox(QStringLiteral("Diagnostic Codes"), this);
    m_txtFaults = new QPlainTextEdit(frame);
    m_txtFaults->setObjectName(QStringLiteral("txtFaults"));
    m_txtFaults->setReadOnly(true);
    m_txtFaults->setMinimumSize(700, 220); // the longest code line fits unwrapped
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_txtFaults);
    m_btnReset = new QPushButton(QStringLiteral("Reset  ECU"), this);
    m_btnReset->setObjectName(QStringLiteral("btnReset"));
    connect(m_btnReset, &QPushButton::clicked, this, &frmSelfDiag::btnReset_Click);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_btnReset, 0, Qt::AlignRight);
    closeOnEscape(this);
}

void frmSelfDiag::displayCodes(const FaultCodeBuffer &diagCodes)
{
    QString text = faultCodeListing(diagCodes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (m_txtFaults->toPlainText() != text)
        m_txtFaults->setPlainText(text);
}

bool frmSelfDiag::gone() const
{
    return m_closing;
}

void frmSelfDiag::btnReset_Click()
{
    // The window may be closed during any of the waits below; closing hands the link back to
    // identification, so the sequence must not go on after that.
    QPointer<frmSelfDiag> self(this);
    EcuLink &link = m_main.link();
    link.stopData();
    if (!self || gone())
        return;
    link.ReadMode = ReadModes::Reset;
    m_txtFaults->setPlainText(resettingText());
    m_btnReset->setEnabled(false);
    link.write(Protocol::eraseFaultCodes());
    link.startData();
    link.WAITmS(kEraseWait);
    if (!self || gone())
        return;
    link.stopData();
    if (!self || gone())
        return;
    link.ReadMode = ReadModes::SelfDiag;
    iniSelfDiag(link);
    if (!self || gone())
        return;
    link.startData();
    m_btnReset->setEnabled(true);
}

void frmSelfDiag::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        m_closing = true;
        m_main.btnConnect_Click();
    }
    QWidget::closeEvent(event);
}
