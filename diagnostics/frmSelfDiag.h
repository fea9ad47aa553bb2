#pragma once

#include <QWidget>

class Form2;
class QPlainTextEdit;
class QPushButton;
struct FaultCodeBuffer;

// Lists the fault codes the ECU has stored and erases them on request.
class frmSelfDiag : public QWidget
{
    Q_OBJECT
public:
    explicit frmSelfDiag(Form2 &main, QWidget *parent = nullptr);

    // Rewrites the listing from the last fault-code frame.
    void displayCodes(const FaultCodeBuffer &diagCodes);
    void btnReset_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool gone() const;

    Form2 &m_main;
    QPlainTextEdit *m_txtFaults;
    QPushButton *m_btnReset;
    bool m_closing = false;
};
