// The main window's job launcher: what each feature button does, and which window each receive
// mode feeds.
#include "app/Form2.h"

#include "diagnostics/FaultCodes.h"
#include "diagnostics/frmSelfDiag.h"
#include "display/Form1.h"
#include "link/EcuLink.h"
#include "link/LiveData.h"
#include "logging/frmDataLog.h"

template <typename Window> Window *Form2::showWindow(QPointer<Window> &window)
{
    if (!window) {
        window = new Window(*this, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void Form2::registerReceiveHandlers()
{
    m_link->setHandler(ReadModes::DataDisplay, [this](const QByteArray &Rdata) {
        getFullData(m_state, Rdata);
        if (m_dataDisplay)
            m_dataDisplay->setDataDisplay();
    });
    m_link->setHandler(ReadModes::DataLogging, [this](const QByteArray &Rdata) {
        getFullData(m_state, Rdata);
        if (m_dataLog)
            m_dataLog->saveLogData();
    });
    m_link->setHandler(ReadModes::DisplayAndLog, [this](const QByteArray &Rdata) {
        getFullData(m_state, Rdata);
        if (m_dataDisplay)
            m_dataDisplay->setDataDisplay();
        if (m_dataLog)
            m_dataLog->saveLogData();
    });
    m_link->setHandler(ReadModes::Dashboard,
                       [this](const QByteArray &Rdata) { getDashData(m_state, Rdata); });
    m_link->setHandler(ReadModes::SelfDiag, [this](const QByteArray &Rdata) {
        getSelfDiagData(m_diagCodes, Rdata);
        if (m_selfDiag)
            m_selfDiag->displayCodes(m_diagCodes);
    });
}

void Form2::runFeature(Feature feature)
{
    emit featureRequested(feature);
    switch (feature) {
    case Feature::DataDisplay:
        openDataDisplay();
        break;
    case Feature::DataLogging:
        openDataLogging();
        break;
    case Feature::SelfDiagnostics:
        openSelfDiagnostics();
        break;
    default:
        // The remaining jobs' windows plug in here as they arrive.
        break;
    }
}

void Form2::openSelfDiagnostics()
{
    m_link->stopData();
    showWindow(m_selfDiag);
    m_link->ReadMode = ReadModes::SelfDiag;
    iniSelfDiag(*m_link);
    m_link->startData();
}

void Form2::openDataLogging()
{
    m_link->stopData();
    showWindow(m_dataLog);
    m_link->ReadMode = ReadModes::DataLogging;
    iniFullData(*m_link, m_state);
    m_link->startData();
}

frmDataLog *Form2::openDataLoggingBeside(QWidget *dataDisplay)
{
    if (!m_dataLog) {
        m_dataLog = new frmDataLog(*this, dataDisplay);
        m_dataLog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_dataLog->show();
    m_dataLog->raise();
    m_link->ReadMode = ReadModes::DisplayAndLog;
    return m_dataLog;
}

void Form2::openDataDisplay()
{
    m_link->stopData();
    showWindow(m_dataDisplay);
    m_link->ReadMode = ReadModes::DataDisplay;
    iniFullData(*m_link, m_state);
    m_link->startData();
}
