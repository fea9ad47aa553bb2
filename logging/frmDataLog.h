#pragma once

#include "logging/DataLogger.h"

#include <QWidget>
#include <array>

class Form2;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Logs the chosen live values and indicators to a text file, one record per decoded frame.
class frmDataLog : public QWidget
{
    Q_OBJECT
public:
    frmDataLog(Form2 &main, QWidget *parent = nullptr);

    // One record of the frame just decoded, while logging.
    void saveLogData();
    void btnBrowse_Click();
    void btnStart_Click();
    void btnStop_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildLocationFrame();
    QWidget *buildSelectionFrame(const LogChoices &choices);
    LogFormat::Selection tickedSelection() const;
    void setLogging(bool logging);

    Form2 &m_main;
    DataLogger m_logger;
    QLabel *m_lblDirectory = nullptr;
    QLineEdit *m_txtPath = nullptr;
    QPushButton *m_btnBrowse = nullptr;
    QPushButton *m_btnStart = nullptr;
    QPushButton *m_btnStop = nullptr;
    std::array<QCheckBox *, kCatalogueSize> m_chcLog{};
    std::array<QCheckBox *, kIndicatorCount> m_chcLogStr{};
    LogFormat::Selection m_offered;
    bool m_closing = false;
};
