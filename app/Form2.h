#pragma once

#include "app/MainWindowLogic.h"
#include "app/ProgramState.h"
#include "diagnostics/FaultCodes.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>

class Clock;
class Dialogs;
class EcuLink;
class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class SerialPort;
class SettingsStore;
class Form1;
class frmDataLog;
class frmSelfDiag;

// The main window: the launcher of every job, the connect row and the status bar. It owns the
// ECU link and the program-wide state.
class Form2 : public QMainWindow
{
    Q_OBJECT
public:
    Form2(SettingsStore &settings, SerialPort &port, Clock &clock, Dialogs &dialogs,
          QWidget *parent = nullptr);
    ~Form2() override;

    // Start-up: settings defaults, then the status bar (which may auto-connect).
    void Form_Load();
    void setStatusBar();
    void setProgBar();
    void btnConnect_Click();
    void getSetup();

    // The logger beside the Data Display: both windows fed by one stream.
    frmDataLog *openDataLoggingBeside(QWidget *dataDisplay);

    EcuLink &link() { return *m_link; }
    ProgramState &state() { return m_state; }
    SettingsStore &settings() { return m_settings; }
    Dialogs &dialogs() { return m_dialogs; }

signals:
    // A feature button (or its function key) was used while enabled.
    void featureRequested(Feature feature);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildCentralArea();
    void buildMenus();
    void buildStatusBar();
    // Launching the jobs (Form2Features.cpp).
    void runFeature(Feature feature);
    void registerReceiveHandlers();
    void openSelfDiagnostics();
    void openDataLogging();
    void openDataDisplay();
    template <typename Window> Window *showWindow(QPointer<Window> &window);

    void enableEcuFeatures();
    void setFeatureEnabled(Feature feature, bool enabled);
    void showAbout();

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    ProgramState m_state;
    EcuLink *m_link;
    qint16 m_progStep = 0;
    bool m_shuttingDown = false;
    FaultCodeBuffer m_diagCodes;
    QPointer<frmSelfDiag> m_selfDiag;
    QPointer<frmDataLog> m_dataLog;
    QPointer<Form1> m_dataDisplay;

    QMap<Feature, QPushButton *> m_buttons;
    QMap<Feature, QAction *> m_actions;
    QPushButton *m_btnConnect = nullptr;
    QLabel *m_lblEcuNo = nullptr;
    QLabel *m_lblLinkState = nullptr;
    std::array<QLabel *, 4> m_panels{};
    QProgressBar *m_progressBar = nullptr;
};
