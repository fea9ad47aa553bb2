#pragma once

#include "display/ColourValue.h"

#include <QList>
#include <QWidget>

class Form2;
class QPushButton;

// "Data Display Colours": the eleven colours of the gauge windows, one swatch each, picked with
// the system colour dialog. OK stores them; the gauge windows use them the next time they open.
class frmColor : public QWidget
{
    Q_OBJECT
public:
    explicit frmColor(Form2 &main);

    void button_Click(int index);
    void btnOK_Click();
    // The colour each swatch holds now, as it would be stored.
    QList<ColourValue> colours() const { return m_colours; }

private:
    void showSwatch(int index);

    Form2 &m_main;
    QList<ColourValue> m_colours;
    QList<QPushButton *> m_button;
};
