#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

// The drawing area of one analog gauge. The dial is drawn once into a persistent image, which
// paint events only copy to the screen; the needle and the captions are child widgets on top,
// so a new value repaints just the strips they cover. Drawing calls take twips (1/1440 inch) and
// convert them here, at the widget's logical dpi; pen widths are pixels, font sizes points.
class GaugeSurface : public QWidget
{
    Q_OBJECT
public:
    explicit GaugeSurface(QWidget *parent = nullptr);

    // Set by the owning window before the gauge is set up.
    void setBackColour(const QColor &colour);
    QColor backColour() const { return m_backColour; }
    void setForeColour(const QColor &colour);
    QColor foreColour() const { return m_foreColour; }

    double interiorWidth() const;  // twips
    double interiorHeight() const; // twips

    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;
    QPoint toPixels(QPointF twips) const;
    double toTwipsX(double pixels) const;
    double toTwipsY(double pixels) const;

    // Starts a fresh persistent image of the current size, cleared to the background colour.
    void clearImage();
    void setPenWidth(int pixels);
    // Counter-clockwise from `startRadians` to `endRadians`, both from the 3 o'clock direction.
    void drawArc(QPoint centre, qint32 radius, const QColor &colour, double startRadians,
                 double endRadians);
    void drawLine(QPoint from, QPoint to, const QColor &colour);
    // The text font keeps the widget's face; false (and no change) for a size that is not > 0.
    bool setFontSize(double points);
    double fontSize() const { return m_textFont.pointSizeF(); }
    QSizeF textSize(const QString &text) const; // twips, in the current text font
    // `topLeft` is the top left corner of the text's cell, drawn in the foreground colour.
    void printText(QPointF topLeft, const QString &text);

    // The persistent image (null before the first clearImage).
    const QPixmap &image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_backColour = Qt::black;
    QColor m_foreColour = Qt::white;
    QPixmap m_image;
    QFont m_textFont;
    int m_penWidth = 1;
};
