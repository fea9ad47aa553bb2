#pragma once

#include "app/ProgramState.h"
#include "display/SpeedometerGauge.h"

#include <QColor>
#include <QMap>
#include <QWidget>
#include <array>
#include <memory>

class Form2;
class QLabel;
class QPushButton;

// The Data Display: twelve analog gauges and twelve switch indicators that follow the full live
// stream. Everything is laid out from the window's outer size on every resize.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(Form2 &main, QWidget *parent = nullptr);
    ~Form1() override;

    // Pushes the values and indicator texts of the frame just decoded.
    void setDataDisplay();
    // Sets an indicator to a state text and its colour; the same text again changes nothing.
    void ChangelblOnOff(QLabel *lblOnOff, const QString &value);
    void getColours();

    // How many indicator changes were drawn (a frame with unchanged states draws none).
    int indicatorChanges() const { return m_indicatorChanges; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void layoutWindow();
    QColor colour(const char *key) const;

    Form2 &m_main;
    std::array<GaugeSurface *, 12> m_picGauge{};
    std::array<GaugeCaption *, 12> m_lblValue{};
    std::array<GaugeCaption *, 12> m_lblMax{};
    std::array<NeedleLine *, 12> m_Line1{};
    std::array<GaugeCaption *, 12> m_lblName{};
    std::array<QLabel *, 12> m_lblRegister{};
    std::array<QLabel *, 12> m_lblOnOff{};
    std::array<std::unique_ptr<SpeedometerGauge>, 12> m_gauges;
    QPushButton *m_btnDataLog = nullptr;
    QPushButton *m_btnActiveTest = nullptr;
    QMap<QString, QColor> m_colours;
    int m_indicatorChanges = 0;
    bool m_closing = false;
};
