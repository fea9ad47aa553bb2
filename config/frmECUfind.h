#pragma once

#include <QWidget>

class EcuFinderScan;
class Form2;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Active ECU test": probes every ECU identity on the open port and lists those that answer, so
// the user can type the right one into the communication settings. Closing it puts the link back
// to identification.
class frmECUfind : public QWidget
{
    Q_OBJECT
public:
    explicit frmECUfind(Form2 &main, QWidget *parent = nullptr);
    ~frmECUfind() override;

    // Starts the scan and returns when it is over (or the window closed meanwhile: the window
    // may be gone on return).
    void iniECUfind();
    // Where the scan starts; the full scan starts at 0xFE.
    void setFirstCandidate(quint8 candidate);
    bool isScanning() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void btnCancel_Click();
    void scanCompleted();

    Form2 &m_main;
    EcuFinderScan *m_scan;
    QPlainTextEdit *m_txtRegisters;
    QLabel *m_lblInfo;
    QPushButton *m_btnCancel;
    QPushButton *m_btnClose;
    bool m_closing = false;
};
