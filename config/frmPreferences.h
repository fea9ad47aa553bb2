#pragma once

#include "config/PreferenceSettings.h"

#include <QWidget>

class Form2;
class QComboBox;
class QLineEdit;

// "Preferences": speed and temperature units and the tyre-size speed correction. Saving refreshes
// the main window's status bar, so the new units and correction apply at once.
class frmPreferences : public QWidget
{
    Q_OBJECT
public:
    explicit frmPreferences(Form2 &main);

    void btnSave_Click();

private:
    void Form_Load();
    PreferenceValues enteredValues() const;

    Form2 &m_main;
    QComboBox *m_cmbSpeed;
    QComboBox *m_cmbTemp;
    QLineEdit *m_txtSwidth;
    QLineEdit *m_txtShight;
    QLineEdit *m_txtSsize;
    QLineEdit *m_txtUwidth;
    QLineEdit *m_txtUhight;
    QLineEdit *m_txtUsize;
};
