#include "display/Form1.h"

#include "app/Form2.h"
#include "app/MainWindowLogic.h"
#include "app/WindowHelpers.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "display/Colours.h"
#include "display/DataDisplayLayout.h"
#include "display/Indicators.h"
#include "link/EcuLink.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

const char *const kColourKeys[] = {"GaugeBack",      "GaugeDigits", "GaugeMax",     "GaugeValue",
                                   "GaugeName",      "GaugeNeedle", "GaugeCircle",  "GaugeTicker",
                                   "GaugeSubTicker", "GaugeWindow", "GaugeRegister"};

// Palettes, not style sheets: a style sheet would route every repaint of the window through
// the style-sheet engine, and the gauges repaint for every frame.
void setColour(QWidget *w, QPalette::ColorRole role, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Active, role, colour);
    p.setColor(QPalette::Inactive, role, colour);
    w->setPalette(p);
}

void setFontPoints(QWidget *w, int points)
{
    QFont f = w->font();
    f.setPointSize(points);
    w->setFont(f);
}

} // namespace

Form1::Form1(Form2 &main, QWidget *parent) : QWidget(parent, Qt::Window), m_main(main)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Data Display"));
    setMinimumSize(320, 240);
    // Opens maximised; the geometry also covers a desktop without a window manager.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    buildControls();

    // Load: the indicators start from their design texts until the stream sets them.
    ProgramState &state = m_main.state();
    for (QString &text : state.FlagText)
        text.clear();
    getColours();
    for (int i = 0; i < 12; ++i)
        m_lblName[i]->setText(state.Gauges[state.GaugeSel[i]].name());
    for (int i = 0; i < 12; ++i) {
        const bool streamed = state.GaugeSel[Indicators::registerFlag(i)] == 1;
        m_lblRegister[i]->setEnabled(streamed);
        m_lblOnOff[i]->setEnabled(streamed);
    }
    closeOnEscape(this);
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    for (int i = 0; i < 12; ++i) {
        m_picGauge[i] = new GaugeSurface(this);
        m_picGauge[i]->setObjectName(QStringLiteral("picGauge%1").arg(i));
        m_Line1[i] = new NeedleLine(m_picGauge[i]);
        m_lblName[i] = new GaugeCaption(m_picGauge[i]);
        m_lblName[i]->setObjectName(QStringLiteral("lblName%1").arg(i));
        m_lblMax[i] = new GaugeCaption(QStringLiteral("0"), m_picGauge[i]);
        m_lblMax[i]->setObjectName(QStringLiteral("lblMax%1").arg(i));
        m_lblMax[i]->setToolTip(QStringLiteral("Peak value: click to reset"));
        m_lblValue[i] = new GaugeCaption(QStringLiteral("0"), m_picGauge[i]);
        m_lblValue[i]->setObjectName(QStringLiteral("lblValue%1").arg(i));
        GaugeCaption *peak = m_lblMax[i];
        connect(peak, &GaugeCaption::clicked, this, [peak] { peak->setText(QStringLiteral("0")); });
        m_gauges[i] = std::make_unique<SpeedometerGauge>(m_main.settings());

        m_lblRegister[i] = new QLabel(Indicators::registerCaption(i), this);
        m_lblRegister[i]->setObjectName(QStringLiteral("lblRegister%1").arg(i));
        m_lblOnOff[i] = new QLabel(Indicators::designText(i), this);
        m_lblOnOff[i]->setObjectName(QStringLiteral("lblOnOff%1").arg(i));
        m_lblOnOff[i]->setAlignment(Qt::AlignCenter);
        m_lblOnOff[i]->setAutoFillBackground(true);
        m_lblOnOff[i]->setContentsMargins(4, 0, 4, 0);
    }
    m_btnDataLog = new QPushButton(QStringLiteral("Data Logging"), this);
    m_btnDataLog->setObjectName(QStringLiteral("btnDataLog"));
    m_btnActiveTest = new QPushButton(QStringLiteral("Active Test"), this);
    m_btnActiveTest->setObjectName(QStringLiteral("btnActiveTest"));
    connect(m_btnDataLog, &QPushButton::clicked, this,
            [this] { m_main.openDataLoggingBeside(this); });
    // The actuator tests open from here once that window exists.
    connect(m_btnActiveTest, &QPushButton::clicked, this, [] {});
}

void Form1::getColours()
{
    const QPalette palette = QWidget::palette();
    for (const char *key : kColourKeys) {
        const QString k = QString::fromLatin1(key);
        std::optional<QColor> c =
            Colours::read(m_main.settings(), QStringLiteral("Display"), k, palette);
        // A colour edited into nonsense falls back to its default rather than to black.
        if (!c)
            c = Colours::fromText(defaultSetting(QStringLiteral("Display"), k), palette);
        m_colours.insert(k, c.value_or(Qt::black));
    }
}

QColor Form1::colour(const char *key) const
{
    return m_colours.value(QString::fromLatin1(key));
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutWindow();
}

void Form1::layoutWindow()
{
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    const auto toTwips = [dpi](int pixels) { return pixels * 1440.0 / dpi; };
    const auto px = [dpi](int twips) { return twipsToPixels(twips, dpi); };
    // Edges are converted, not sizes, so neighbouring gauges meet without a gap.
    const auto pxRect = [&px](const QRect &twips) {
        return QRect(
            QPoint(px(twips.left()), px(twips.top())),
            QPoint(px(twips.left() + twips.width()) - 1, px(twips.top() + twips.height()) - 1));
    };
    const QSize outer = frameGeometry().size();
    const DataDisplayLayout l = dataDisplayLayout(toTwips(outer.width()), toTwips(outer.height()));

    const QColor window = colour("GaugeWindow");
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, window);
    setColour(m_btnDataLog, QPalette::Button, window);
    setColour(m_btnActiveTest, QPalette::Button, window);
    if (!l.gaugesPlaced)
        return;

    for (int i = 0; i < 12; ++i) {
        m_picGauge[i]->setGeometry(pxRect(l.gauges[i]));
        m_picGauge[i]->setBackColour(colour("GaugeBack"));
        m_picGauge[i]->setForeColour(colour("GaugeDigits"));
        m_lblMax[i]->setTextColour(colour("GaugeMax"));
        m_lblValue[i]->setTextColour(colour("GaugeValue"));
        m_lblName[i]->setTextColour(colour("GaugeName"));
        m_Line1[i]->setColour(colour("GaugeNeedle"));
    }

    if (l.buttonsPlaced) {
        for (auto [button, rect] : {std::pair{m_btnDataLog, l.dataLogButton},
                                    std::pair{m_btnActiveTest, l.activeTestButton}}) {
            button->setGeometry(pxRect(rect));
            setFontPoints(button, l.buttonFontPoints);
        }
    }

    if (l.switchesPlaced) {
        const QColor text = colour("GaugeRegister");
        for (int i = 0; i < 12; ++i) {
            setFontPoints(m_lblRegister[i], l.registerFontPoints);
            setColour(m_lblRegister[i], QPalette::WindowText, text);
            setColour(m_lblOnOff[i], QPalette::WindowText, text);
            m_lblRegister[i]->adjustSize();
            m_lblRegister[i]->move(px(l.registerCaptions[i].x()), px(l.registerCaptions[i].y()));
            setFontPoints(m_lblOnOff[i], l.stateFontPoints);
            m_lblOnOff[i]->move(px(l.stateBoxes[i].x()), px(l.stateBoxes[i].y()));
        }
        for (QLabel *box : m_lblOnOff) {
            // Re-apply the state colour with the new font and text colour.
            const QString state = box->text();
            box->setText(QString());
            ChangelblOnOff(box, state);
        }
    }

    for (int i = 0; i < 12; ++i) {
        const GaugeInfo &g = m_main.state().Gauges[m_main.state().GaugeSel[i]];
        m_gauges[i]->Setup(m_picGauge[i], m_Line1[i], m_lblMax[i], m_lblValue[i], m_lblName[i],
                           g.minVal(), g.maxVal(), g.tickerNum(), g.subTickerNum(),
                           qint16(g.decPointNum()));
    }
}

void Form1::setDataDisplay()
{
    const ProgramState &state = m_main.state();
    for (int i = 0; i < 12; ++i)
        m_gauges[i]->setValue(state.LiveValues[state.GaugeSel[i]]);
    for (int i = 0; i < 12; ++i)
        ChangelblOnOff(m_lblOnOff[i], state.FlagText[i]);
}

void Form1::ChangelblOnOff(QLabel *lblOnOff, const QString &value)
{
    if (lblOnOff->text() == value)
        return;
    const std::optional<quint32> bgr = Indicators::stateColour(value);
    if (!bgr)
        return;
    const std::optional<ColourValue> background = ColourValue::fromNumber(*bgr);
    const QColor back = Colours::toQColor(*background, palette()).value_or(Qt::gray);
    lblOnOff->setText(value);
    // Only the enabled look takes the state colour: a register that is not streamed stays grey.
    setColour(lblOnOff, QPalette::Window, back);
    lblOnOff->adjustSize();
    ++m_indicatorChanges;
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        m_closing = true;
        // A logger opened from here goes first, so its file is closed cleanly.
        for (QWidget *child : findChildren<QWidget *>()) {
            if (child->isWindow() && child->isVisible())
                child->close();
        }
        m_main.btnConnect_Click();
    }
    QWidget::closeEvent(event);
}
