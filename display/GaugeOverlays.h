#pragma once

#include <QColor>
#include <QLine>
#include <QString>
#include <QTextLayout>
#include <QWidget>

// The moving parts of a gauge, children of its GaugeSurface. Each covers only its own bounds, so
// moving or changing one repaints that strip of the surface and nothing else.

// A straight line between two points of the parent, in the parent's pixels.
class NeedleLine : public QWidget
{
    Q_OBJECT
public:
    explicit NeedleLine(QWidget *parent = nullptr);

    void setColour(const QColor &colour);
    QColor colour() const { return m_colour; }
    // In pixels; 0 still draws a one-pixel line.
    void setLineWidth(int pixels);
    int lineWidth() const { return m_lineWidth; }
    void setPoints(QPoint from, QPoint to);
    QLine line() const { return m_line; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void place();

    QColor m_colour = Qt::red;
    int m_lineWidth = 1;
    QLine m_line;
};

// A caption with a transparent background that sizes itself to its text: its width and height
// follow the text and the font, its left and top stay where they were put.
class GaugeCaption : public QWidget
{
    Q_OBJECT
public:
    explicit GaugeCaption(QWidget *parent = nullptr);
    explicit GaugeCaption(const QString &text, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // False (and no change) for a size that is not > 0.
    bool setFontSize(double points);
    double fontSize() const { return font().pointSizeF(); }
    void setTextColour(const QColor &colour);
    QColor textColour() const { return m_textColour; }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void relayout();

    QString m_text;
    QTextLayout m_layout;
    QSize m_size;
    QColor m_textColour = Qt::green;
    bool m_pressed = false;
};
