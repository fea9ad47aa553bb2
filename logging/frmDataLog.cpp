#include "logging/frmDataLog.h"

#include "app/Dialogs.h"
#include "app/Form2.h"
#include "app/WindowHelpers.h"
#include "config/SettingsStore.h"
#include "link/EcuLink.h"
#include "link/LiveData.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char *const kFilter = "Log Files (*.log);;Text Files (*.txt);;All Files (*)";
}

frmDataLog::frmDataLog(Form2 &main, QWidget *parent)
    : QWidget(parent, Qt::Window), m_main(main), m_logger(main.link().clock())
{
    setObjectName(QStringLiteral("frmDataLog"));
    setWindowTitle(QStringLiteral("Data Logging"));
    const LogChoices choices = loadLogChoices(main.settings(), main.state());
    m_offered = choices.offered;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildLocationFrame());
    layout->addWidget(buildSelectionFrame(choices));
    m_lblDirectory->setText(choices.directory);
    m_txtPath->setText(dateStampName(QDateTime::currentDateTime()) + QStringLiteral(".log"));
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog
    setLogging(false);
    closeOnEscape(this);
}

QWidget *frmDataLog::buildLocationFrame()
{
    auto *frame = new QGroupBox(QStringLiteral("Logfile location"), this);
    m_lblDirectory = new QLabel(frame);
    m_lblDirectory->setObjectName(QStringLiteral("lblDirectory"));
    m_lblDirectory->setMinimumWidth(360);
    m_txtPath = new QLineEdit(frame);
    m_txtPath->setObjectName(QStringLiteral("txtPath"));
    m_btnBrowse = new QPushButton(QStringLiteral("Browse"), frame);
    m_btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    m_btnStart = new QPushButton(QStringLiteral("START"), frame);
    m_btnStart->setObjectName(QStringLiteral("btnStart"));
    m_btnStop = new QPushButton(QStringLiteral("STOP"), frame);
    m_btnStop->setObjectName(QStringLiteral("btnStop"));
    connect(m_btnBrowse, &QPushButton::clicked, this, &frmDataLog::btnBrowse_Click);
    connect(m_btnStart, &QPushButton::clicked, this, &frmDataLog::btnStart_Click);
    connect(m_btnStop, &QPushButton::clicked, this, &frmDataLog::btnStop_Click);

    auto *grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Directory:"), frame), 0, 0);
    grid->addWidget(m_lblDirectory, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("File Name:"), frame), 1, 0);
    grid->addWidget(m_txtPath, 1, 1, 1, 3);
    grid->addWidget(m_btnBrowse, 2, 1);
    grid->addWidget(m_btnStart, 2, 2);
    grid->addWidget(m_btnStop, 2, 3);
    return frame;
}

QWidget *frmDataLog::buildSelectionFrame(const LogChoices &choices)
{
    auto *frame = new QGroupBox(QStringLiteral("Select parameters to log"), this);
    auto *grid = new QGridLayout(frame);
    for (int code = 0; code < LogFormat::kColumnCodes; ++code) {
        auto *box = new QCheckBox(LogFormat::checkBoxCaption(code), frame);
        const bool parameter = code < LogFormat::kParameterColumns;
        const int index = parameter ? code : code - LogFormat::kParameterColumns;
        box->setObjectName(
            QStringLiteral("%1%2").arg(parameter ? "chcLog" : "chcLogStr").arg(index));
        const bool offered =
            parameter ? choices.offered.parameters[index] : choices.offered.indicators[index];
        const bool ticked =
            parameter ? choices.ticked.parameters[index] : choices.ticked.indicators[index];
        box->setEnabled(offered);
        box->setChecked(offered && ticked);
        const QPoint cell = checkBoxCell(code);
        grid->addWidget(box, cell.y(), cell.x());
        if (parameter)
            m_chcLog[index] = box;
        else
            m_chcLogStr[index] = box;
    }
    return frame;
}

LogFormat::Selection frmDataLog::tickedSelection() const
{
    LogFormat::Selection s;
    for (int i = 0; i < kCatalogueSize; ++i)
        s.parameters[i] = m_offered.parameters[i] && m_chcLog[i]->isChecked();
    for (int i = 0; i < kIndicatorCount; ++i)
        s.indicators[i] = m_offered.indicators[i] && m_chcLogStr[i]->isChecked();
    return s;
}

void frmDataLog::setLogging(bool logging)
{
    m_btnStart->setEnabled(!logging);
    m_btnBrowse->setEnabled(!logging);
    m_btnStop->setEnabled(logging);
    // While logging the columns are fixed; the boxes show what is being logged.
    for (int i = 0; i < kCatalogueSize; ++i)
        m_chcLog[i]->setEnabled(!logging && m_offered.parameters[i]);
    for (int i = 0; i < kIndicatorCount; ++i)
        m_chcLogStr[i]->setEnabled(!logging && m_offered.indicators[i]);
}

void frmDataLog::btnBrowse_Click()
{
    QPointer<frmDataLog> self(this);
    EcuLink &link = m_main.link();
    link.stopData();
    if (!self || m_closing)
        return;
    const QString chosen = m_main.dialogs().saveFileName(
        m_lblDirectory->text(), dateStampName(QDateTime::currentDateTime()),
        QString::fromLatin1(kFilter), QStringLiteral("log"));
    if (!self || m_closing)
        return;
    if (!chosen.isEmpty()) {
        const QFileInfo file(chosen);
        const QString directory = file.absolutePath() + QLatin1Char('/');
        m_lblDirectory->setText(directory);
        m_txtPath->setText(file.fileName());
        m_main.settings().save(QStringLiteral("DataLog"), QStringLiteral("Path"), directory);
    }
    // The stream was stopped for the dialog: ask for it again and start it.
    iniFullData(link, m_main.state());
    if (!self || m_closing)
        return;
    link.startData();
}

void frmDataLog::btnStart_Click()
{
    const LogFormat::Selection selection = tickedSelection();
    const QString error = m_logger.start(m_lblDirectory->text() + m_txtPath->text(), selection,
                                         m_main.state().Gauges);
    if (!error.isEmpty()) {
        m_main.dialogs().warning(error);
        return;
    }
    setLogging(true);
    saveLogChoices(m_main.settings(), selection);
}

void frmDataLog::btnStop_Click()
{
    const QString error = m_logger.stop();
    setLogging(false);
    if (!error.isEmpty())
        m_main.dialogs().warning(error);
}

void frmDataLog::saveLogData()
{
    if (!m_logger.isLogging())
        return;
    const QString error = m_logger.saveLogData(m_main.state());
    if (error.isEmpty())
        return;
    setLogging(false);
    m_main.dialogs().warning(error);
}

void frmDataLog::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        m_closing = true;
        const QString error = m_logger.stop();
        if (!error.isEmpty())
            m_main.dialogs().warning(error);
        EcuLink &link = m_main.link();
        if (link.ReadMode == ReadModes::DataLogging)
            m_main.btnConnect_Click();
        else if (link.ReadMode == ReadModes::DisplayAndLog)
            link.ReadMode = ReadModes::DataDisplay;
    }
    QWidget::closeEvent(event);
}
