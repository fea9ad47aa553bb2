#include "display/GaugeSurface.h"

#include "app/MainWindowLogic.h"
#include "app/Numbers.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFullTurn = 2 * M_PI;
constexpr int kCopyBandRows = 64;

int wholeTwips(double twips)
{
    return static_cast<int>(Numbers::roundHalfEven(twips));
}

// Qt measures arcs in sixteenths of a degree.
int sixteenths(double radians)
{
    return static_cast<int>(Numbers::roundHalfEven(radians * 180.0 / M_PI * 16.0));
}

} // namespace

GaugeSurface::GaugeSurface(QWidget *parent) : QWidget(parent), m_textFont(font())
{
    // Every pixel comes from the image or the background colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GaugeSurface::setBackColour(const QColor &colour)
{
    m_backColour = colour;
    update();
}

void GaugeSurface::setForeColour(const QColor &colour)
{
    m_foreColour = colour;
}

double GaugeSurface::interiorWidth() const
{
    return toTwipsX(width());
}

double GaugeSurface::interiorHeight() const
{
    return toTwipsY(height());
}

int GaugeSurface::toPixelsX(double twips) const
{
    return twipsToPixels(wholeTwips(twips), logicalDpiX());
}

int GaugeSurface::toPixelsY(double twips) const
{
    return twipsToPixels(wholeTwips(twips), logicalDpiY());
}

QPoint GaugeSurface::toPixels(QPointF twips) const
{
    return QPoint(toPixelsX(twips.x()), toPixelsY(twips.y()));
}

double GaugeSurface::toTwipsX(double pixels) const
{
    return pixels * kTwipsPerInch / logicalDpiX();
}

double GaugeSurface::toTwipsY(double pixels) const
{
    return pixels * kTwipsPerInch / logicalDpiY();
}

void GaugeSurface::clearImage()
{
    const qreal ratio = devicePixelRatioF();
    m_image = QPixmap(size() * ratio);
    m_image.setDevicePixelRatio(ratio);
    m_image.fill(m_backColour);
    m_textFont = font();
    update();
}

void GaugeSurface::setPenWidth(int pixels)
{
    m_penWidth = pixels;
}

void GaugeSurface::drawArc(QPoint centre, qint32 radius, const QColor &colour, double startRadians,
                           double endRadians)
{
    if (m_image.isNull())
        return;
    double span = endRadians - startRadians;
    if (span < 0)
        span += kFullTurn;
    const QPoint c = toPixels(centre);
    const int rx = toPixelsX(radius);
    const int ry = toPixelsY(radius);
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, m_penWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(QRect(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry), sixteenths(startRadians),
                    sixteenths(span));
    update();
}

void GaugeSurface::drawLine(QPoint from, QPoint to, const QColor &colour)
{
    if (m_image.isNull())
        return;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, m_penWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(toPixels(from), toPixels(to));
    update();
}

bool GaugeSurface::setFontSize(double points)
{
    if (!(points > 0))
        return false;
    m_textFont.setPointSizeF(points);
    return true;
}

QSizeF GaugeSurface::textSize(const QString &text) const
{
    // Measured on the device the text is drawn on.
    const QFontMetricsF metrics =
        m_image.isNull() ? QFontMetricsF(m_textFont, this) : QFontMetricsF(m_textFont, &m_image);
    return QSizeF(toTwipsX(metrics.horizontalAdvance(text)), toTwipsY(metrics.height()));
}

void GaugeSurface::printText(QPointF topLeft, const QString &text)
{
    if (m_image.isNull())
        return;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_textFont);
    painter.setPen(m_foreColour);
    const QPoint at = toPixels(topLeft);
    painter.drawText(QPointF(at.x(), at.y() + QFontMetricsF(m_textFont, &m_image).ascent()), text);
    update();
}

void GaugeSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QRect imageRect;
    if (!m_image.isNull()) {
        imageRect = QRect(QPoint(0, 0), m_image.deviceIndependentSize().toSize());
        const qreal ratio = m_image.devicePixelRatio();
        // Qt's raster engine hands a copy of 96 rows or more to its thread pool. For the few
        // thousand pixels a needle move uncovers, waking a second thread costs more than the copy
        // itself, so copy in bands that stay on this thread.
        for (const QRect &dirty : event->region()) {
            const QRect area = dirty & imageRect;
            for (int top = area.top(); top <= area.bottom(); top += kCopyBandRows) {
                const QRect band(area.left(), top, area.width(),
                                 qMin(kCopyBandRows, area.bottom() + 1 - top));
                painter.drawPixmap(
                    band, m_image,
                    QRectF(QPointF(band.topLeft()) * ratio, QSizeF(band.size()) * ratio));
            }
        }
    }
    // Whatever the image does not cover (before the first dial, or after a resize that the owner
    // has not followed with a new dial yet) shows the background.
    const QRegion uncovered = event->region() - QRegion(imageRect);
    for (const QRect &r : uncovered)
        painter.fillRect(r, m_backColour);
}
