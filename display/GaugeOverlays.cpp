#include "display/GaugeOverlays.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

NeedleLine::NeedleLine(QWidget *parent) : QWidget(parent)
{
    // Clicks reach the captions and the surface beneath the needle.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    place();
}

void NeedleLine::setColour(const QColor &colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void NeedleLine::setLineWidth(int pixels)
{
    if (pixels == m_lineWidth)
        return;
    m_lineWidth = pixels;
    place();
    update();
}

void NeedleLine::setPoints(QPoint from, QPoint to)
{
    if (QLine(from, to) == m_line)
        return;
    m_line = QLine(from, to);
    place();
    update();
}

void NeedleLine::place()
{
    // The bounds of the line with room for its width and antialiased edges.
    const int margin = qMax(m_lineWidth, 1) / 2 + 2;
    const QRect bounds = QRect(m_line.p1(), m_line.p2()).normalized();
    setGeometry(bounds.adjusted(-margin, -margin, margin, margin));
}

void NeedleLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Flat ends: round caps cost the stroker curves and double the time of a needle move.
    painter.setPen(QPen(m_colour, qMax(m_lineWidth, 1), Qt::SolidLine, Qt::FlatCap));
    painter.translate(-pos());
    painter.drawLine(m_line);
}

GaugeCaption::GaugeCaption(QWidget *parent) : GaugeCaption(QString(), parent) {}

GaugeCaption::GaugeCaption(const QString &text, QWidget *parent) : QWidget(parent), m_text(text)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);
    relayout();
}

void GaugeCaption::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    relayout();
    update();
}

void GaugeCaption::relayout()
{
    // A value caption changes with every frame: its text is shaped once here, and painting and
    // sizing both use that layout.
    m_layout.setText(m_text);
    m_layout.setFont(font());
    m_layout.beginLayout();
    QTextLine line = m_layout.createLine();
    if (line.isValid())
        line.setLineWidth(0); // no wrapping: the one line takes the whole text
    m_layout.endLayout();
    m_size =
        QSize(line.isValid() ? qRound(line.naturalTextWidth()) : 0, QFontMetrics(font()).height());
    resize(m_size);
}

bool GaugeCaption::setFontSize(double points)
{
    if (!(points > 0))
        return false;
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f); // the size follows in changeEvent
    return true;
}

void GaugeCaption::setTextColour(const QColor &colour)
{
    if (colour == m_textColour)
        return;
    m_textColour = colour;
    update();
}

QSize GaugeCaption::sizeHint() const
{
    return m_size;
}

void GaugeCaption::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(m_textColour);
    m_layout.draw(&painter, QPointF(0, 0));
}

void GaugeCaption::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void GaugeCaption::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void GaugeCaption::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        relayout();
    QWidget::changeEvent(event);
}
