#pragma once

#include "config/CommsSettings.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class Form2;
class QCheckBox;
class QComboBox;
class QLineEdit;
class frmECUfind;

// "Communiction": port, line speed, memory-read command, ECU identity, OBDII variant and
// auto-connect. Saving refreshes the main window's status bar, which reconnects when auto-connect
// is on. "Find ECU" opens the ECU finder.
class Form3 : public QWidget
{
    Q_OBJECT
public:
    using PortLister = std::function<QList<SerialPortChoice>()>;

    // `listPorts` names the serial ports for the chooser beside the port box (the system's by
    // default).
    explicit Form3(Form2 &main, PortLister listPorts = systemSerialPorts);
    ~Form3() override;

    void btnSave_Click();
    void btnECUfind_Click();
    // The finder opened from here, while it is open.
    frmECUfind *finder() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    CommsSettings enteredValues() const;
    void fillPortChooser();
    void showChosenPort();
    void portChosen(int index);

    Form2 &m_main;
    PortLister m_listPorts;
    QList<SerialPortChoice> m_ports;
    QLineEdit *m_txtComPort;
    QComboBox *m_cmbPorts;
    QLineEdit *m_txtSpeed;
    QLineEdit *m_txtRomComm;
    QLineEdit *m_txtECUid;
    QCheckBox *m_chkOBDIImodel;
    QCheckBox *m_chkAutoConnect;
    QPointer<frmECUfind> m_finder;
};
