#include "config/frmECUfind.h"

#include "app/Form2.h"
#include "app/WindowHelpers.h"
#include "config/EcuFinderScan.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

frmECUfind::frmECUfind(Form2 &main, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_main(main), m_scan(new EcuFinderScan(main.link(), this))
{
    setObjectName(QStringLiteral("frmECUfind"));
    setWindowTitle(QStringLiteral("Active ECU test"));

    auto *frame = new QGroupBox(QStringLiteral("Active ECU"), this);
    m_txtRegisters = new QPlainTextEdit(frame);
    m_txtRegisters->setObjectName(QStringLiteral("txtRegisters"));
    m_txtRegisters->setReadOnly(true);
    m_txtRegisters->setMinimumSize(200, 140);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_txtRegisters);

    auto *lblMsg = new QLabel(QStringLiteral("* Test may take up to 90 seconds"), this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    auto *lblQuerying = new QLabel(QStringLiteral("Querying ECU"), this);
    lblQuerying->setObjectName(QStringLiteral("lblQuerying"));
    m_lblInfo = new QLabel(this);
    m_lblInfo->setObjectName(QStringLiteral("lblInfo"));
    // Wide enough for "- Completed !" so the row does not jump when the scan ends.
    m_lblInfo->setMinimumWidth(
        m_lblInfo->fontMetrics().horizontalAdvance(EcuFinderScan::completedText()) + 8);

    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnClose = new QPushButton(QStringLiteral("Close"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setEnabled(false);

    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(lblQuerying);
    progressRow->addWidget(m_lblInfo);
    progressRow->addStretch(1);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_btnCancel);
    buttonRow->addWidget(m_btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addWidget(lblMsg);
    layout->addLayout(progressRow);
    layout->addLayout(buttonRow);

    connect(m_btnCancel, &QPushButton::clicked, this, &frmECUfind::btnCancel_Click);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_scan, &EcuFinderScan::probing, m_lblInfo, &QLabel::setText);
    connect(m_scan, &EcuFinderScan::found, this, [this](const QString &line) {
        // One line each, ended by a line break, as the result box has always shown them.
        m_txtRegisters->moveCursor(QTextCursor::End);
        m_txtRegisters->insertPlainText(line + QLatin1Char('\n'));
    });
    connect(m_scan, &EcuFinderScan::probed, &m_main, &Form2::setProgBar);
    connect(m_scan, &EcuFinderScan::completed, this, &frmECUfind::scanCompleted);
    closeOnEscape(this);
}

frmECUfind::~frmECUfind()
{
    // Gone without being closed (its owner was destroyed): the link still goes back to
    // identification, once the scan that may be waiting below has unwound.
    if (!m_closing) {
        m_scan->abandon();
        Form2 *main = &m_main;
        QTimer::singleShot(0, main, [main] { main->btnConnect_Click(); });
    }
}

void frmECUfind::iniECUfind()
{
    m_btnCancel->setEnabled(true);
    m_btnClose->setEnabled(false);
    m_scan->run(); // this window may be gone when the scan returns
}

void frmECUfind::setFirstCandidate(quint8 candidate)
{
    m_scan->setFirstCandidate(candidate);
}

bool frmECUfind::isScanning() const
{
    return m_scan->isRunning();
}

void frmECUfind::btnCancel_Click()
{
    m_btnCancel->setEnabled(false);
    m_scan->cancel();
}

void frmECUfind::scanCompleted()
{
    m_lblInfo->setText(EcuFinderScan::completedText());
    m_btnClose->setEnabled(true);
    m_btnCancel->setEnabled(false);
}

void frmECUfind::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    // The probe in progress sends nothing more; the link goes back to identification.
    m_scan->abandon();
    QPointer<frmECUfind> self(this);
    m_main.btnConnect_Click();
    if (self)
        QWidget::closeEvent(event);
}
