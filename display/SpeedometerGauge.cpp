#include "display/SpeedometerGauge.h"

#include "config/SettingsStore.h"
#include "display/Colours.h"
#include "display/GaugeGeometry.h"

#include <optional>

using namespace GaugeGeometry;

namespace {

const QString kDisplay = QStringLiteral("Display");

} // namespace

SpeedometerGauge::SpeedometerGauge(const SettingsStore &settings) : m_settings(settings) {}

void SpeedometerGauge::Setup(GaugeSurface *pic_DestPictureBox, NeedleLine *lin_needleLine,
                             GaugeCaption *lbl_maximum, GaugeCaption *lbl_newvalue,
                             GaugeCaption *lbl_gagname, qint32 lng_MinValue, qint32 lng_MaxValue,
                             qint32 lng_tickerNum, qint32 lng_subTickerNum, qint16 int_decpoint)
{
    m_surface = pic_DestPictureBox;
    m_needle = lin_needleLine;
    m_peakCaption = lbl_maximum;
    m_valueCaption = lbl_newvalue;
    m_nameCaption = lbl_gagname;
    try {
        runSetup(lng_MinValue, lng_MaxValue, lng_tickerNum, lng_subTickerNum, int_decpoint);
    } catch (...) {
        // A layout pass must survive whatever one gauge meets; the gauge keeps what it did.
    }
}

bool SpeedometerGauge::runSetup(qint32 lng_MinValue, qint32 lng_MaxValue, qint32 lng_tickerNum,
                                qint32 lng_subTickerNum, qint16 int_decpoint)
{
    if (!m_surface || !m_needle || !m_peakCaption || !m_valueCaption || !m_nameCaption)
        return false;
    m_surfaceWidth = nearest(m_surface->interiorWidth());
    m_surfaceHeight = nearest(m_surface->interiorHeight());
    m_minimum = lng_MinValue;
    m_maximum = lng_MaxValue;
    m_centreX = centreX(m_surfaceWidth);
    m_centreY = centreY(m_surfaceHeight);
    m_decimals = int_decpoint;
    m_radius = dialRadius(m_surfaceWidth, m_surfaceHeight);
    m_needleRadius = m_radius;
    const std::optional<double> perUnit = degreesPerUnit(m_minimum, m_maximum);
    if (!perUnit)
        return false;
    m_degreesPerUnit = *perUnit;
    m_tickerNum = lng_tickerNum;
    m_subTickerNum = lng_subTickerNum;
    return drawDial();
}

void SpeedometerGauge::setValue(float sng_NewVal)
{
    m_value = clampValue(sng_NewVal, m_minimum, m_maximum);
    try {
        updateNeedle();
    } catch (...) {
        // Called for every received frame: never let it take the receive handler down.
    }
}

void SpeedometerGauge::updateNeedle()
{
    const float sweep = needleSweep(m_value, m_minimum, m_degreesPerUnit);
    const QPoint end = needleEnd(centre(), sweep, m_needleRadius);
    // Before the first Setup there is nothing to move; an overlay its owner has deleted is skipped.
    if (m_valueCaption)
        m_valueCaption->setText(valueCaptionText(m_value, m_decimals));
    if (m_peakCaption) {
        if (const std::optional<QString> peak = peakCaptionText(m_peakCaption->text(), m_value))
            m_peakCaption->setText(*peak);
    }
    if (m_needle && m_surface)
        m_needle->setPoints(m_surface->toPixels(centre()), m_surface->toPixels(end));
}

bool SpeedometerGauge::drawDial()
{
    ++m_dialDrawCount;
    m_surface->clearImage();

    const std::optional<QColor> circle =
        Colours::read(m_settings, kDisplay, QStringLiteral("GaugeCircle"), m_surface->palette());
    if (!circle)
        return false;
    m_surface->setPenWidth(kBandPenWidth);
    for (qint32 r : bandRadii(m_radius))
        m_surface->drawArc(centre(), r, *circle, kBandStartRadians, kBandEndRadians);

    if (!drawTicks() || !placeCaptions())
        return false;
    setValue(0);
    return true;
}

bool SpeedometerGauge::drawTicks()
{
    const std::optional<TickSteps> steps =
        tickSteps(m_minimum, m_maximum, m_tickerNum, m_subTickerNum, m_degreesPerUnit);
    if (!steps || !m_surface->setFontSize(dialNumberFontSize(m_radius)))
        return false;

    const QPalette palette = m_surface->palette();
    const std::optional<QColor> ticker =
        Colours::read(m_settings, kDisplay, QStringLiteral("GaugeTicker"), palette);
    const std::optional<QColor> subTicker =
        Colours::read(m_settings, kDisplay, QStringLiteral("GaugeSubTicker"), palette);

    for (qint32 i = 0; i <= m_tickerNum; ++i) {
        const double sweep = i * steps->major;
        const TickLine tick = majorTick(centre(), m_radius, sweep);
        if (!ticker)
            return false;
        m_surface->setPenWidth(kMajorTickPenWidth);
        m_surface->drawLine(tick.from, tick.to, *ticker);

        const qint32 n = dialNumber(m_minimum, m_maximum, i, m_tickerNum);
        const QSizeF size = m_surface->textSize(numberText(n));
        m_surface->printText(numberPosition(tick.to, sweep, size.width(), size.height()),
                             numberPrintForm(n));

        const QVector<double> minors = minorSweeps(i, m_tickerNum, m_subTickerNum, *steps);
        if (minors.isEmpty())
            continue;
        m_surface->setPenWidth(kMinorTickPenWidth);
        for (double minorSweep : minors) {
            if (!subTicker)
                return false;
            const TickLine minor = minorTick(centre(), m_radius, minorSweep);
            m_surface->drawLine(minor.from, minor.to, *subTicker);
        }
    }
    return true;
}

bool SpeedometerGauge::placeCaptions()
{
    if (!m_valueCaption->setFontSize(valueCaptionFontSize(m_radius)) ||
        !m_peakCaption->setFontSize(peakCaptionFontSize(m_radius)) ||
        !m_nameCaption->setFontSize(nameCaptionFontSize(m_radius)))
        return false;
    m_needle->setLineWidth(needleWidth(m_radius));

    const auto left = [this](const GaugeCaption *caption) {
        return m_surface->toPixelsX(
            captionLeft(m_surfaceWidth, m_surface->toTwipsX(caption->width())));
    };
    const auto height = [this](const GaugeCaption *caption) {
        return m_surface->toTwipsY(caption->height());
    };
    m_nameCaption->move(left(m_nameCaption), m_surface->toPixelsY(nameCaptionTop(
                                                 m_surfaceHeight, height(m_nameCaption))));
    m_peakCaption->move(left(m_peakCaption), m_surface->toPixelsY(peakCaptionTop(
                                                 m_surfaceHeight, height(m_peakCaption))));
    m_valueCaption->move(left(m_valueCaption), m_surface->toPixelsY(valueCaptionTop(
                                                   m_surfaceHeight, height(m_valueCaption))));
    return true;
}
