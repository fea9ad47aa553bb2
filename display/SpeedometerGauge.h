#pragma once

#include "display/GaugeOverlays.h"
#include "display/GaugeSurface.h"

#include <QPoint>
#include <QPointer>

class SettingsStore;

// A circular analog instrument on a GaugeSurface: a 270-degree scale band, major and minor ticks,
// numbered major ticks, a needle, a value caption, a peak caption and a name caption.
//
// The owning window creates the surface with its needle and three captions, sets their colours,
// sizes the surface and calls Setup (again after every re-layout). Setup draws the dial once into
// the surface's persistent image; setValue then only moves the needle and rewrites the captions.
// The band and tick colours come from the settings ("Display": "GaugeCircle", "GaugeTicker",
// "GaugeSubTicker"). The peak only rises; the owner lowers it by setting the peak caption to "0".
//
// Nothing here shows a message or throws: a colour that is missing or not a colour, an empty
// range, or a tick or minor division count of 0 stops the drawing where it is met, leaving what
// was done so far.
class SpeedometerGauge
{
public:
    explicit SpeedometerGauge(const SettingsStore &settings);

    void Setup(GaugeSurface *pic_DestPictureBox, NeedleLine *lin_needleLine,
               GaugeCaption *lbl_maximum, GaugeCaption *lbl_newvalue, GaugeCaption *lbl_gagname,
               qint32 lng_MinValue, qint32 lng_MaxValue, qint32 lng_tickerNum,
               qint32 lng_subTickerNum, qint16 int_decpoint);

    float value() const { return m_value; }
    void setValue(float sng_NewVal);

    // How many times the dial has been drawn; value updates never add to it.
    int dialDrawCount() const { return m_dialDrawCount; }

private:
    bool runSetup(qint32 lng_MinValue, qint32 lng_MaxValue, qint32 lng_tickerNum,
                  qint32 lng_subTickerNum, qint16 int_decpoint);
    void updateNeedle();
    bool drawDial();
    bool drawTicks();
    bool placeCaptions();
    QPoint centre() const { return QPoint(m_centreX, m_centreY); }

    const SettingsStore &m_settings;

    qint32 m_surfaceWidth = 0;
    qint32 m_surfaceHeight = 0;
    qint32 m_maximum = 0;
    qint32 m_minimum = 0;
    double m_degreesPerUnit = 0;
    qint32 m_centreX = 0;
    qint32 m_centreY = 0;
    qint32 m_needleRadius = 0;
    QPointer<GaugeSurface> m_surface;
    qint32 m_radius = 0;
    QPointer<NeedleLine> m_needle;
    QPointer<GaugeCaption> m_peakCaption;
    QPointer<GaugeCaption> m_valueCaption;
    QPointer<GaugeCaption> m_nameCaption;
    qint32 m_tickerNum = 0;
    qint32 m_subTickerNum = 0;
    qint16 m_decimals = 0;
    float m_value = 0;

    int m_dialDrawCount = 0;
};
