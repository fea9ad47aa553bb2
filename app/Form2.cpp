#include "app/Form2.h"

#include "app/AboutDialog.h"
#include "app/WindowHelpers.h"
#include "config/Catalogue.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "config/SettingsWindows.h"
#include "link/EcuLink.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
constexpr int kPanelGapTwips = 30; // between the fourth panel and the activity bar
constexpr int kButtonWidthTwips = 2100;
constexpr int kButtonHeightTwips = 615;

int logicalDpi(const QWidget *w)
{
    return w->logicalDpiX() > 0 ? w->logicalDpiX() : 96;
}
} // namespace

Form2::Form2(SettingsStore &settings, SerialPort &port, Clock &clock, Dialogs &dialogs,
             QWidget *parent)
    : QMainWindow(parent), m_settings(settings), m_dialogs(dialogs),
      m_link(new EcuLink(port, clock, settings, dialogs, m_state, this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Orvantis v1.52"));
    setCentralWidget(buildCentralArea());
    buildMenus();
    buildStatusBar();
    closeOnEscape(this);

    connect(m_link, &EcuLink::ecuNumberChanged, m_lblEcuNo, &QLabel::setText);
    connect(m_link, &EcuLink::identified, this, &Form2::enableEcuFeatures);
    connect(m_link, &EcuLink::chunkHandled, this, &Form2::setProgBar);
    connect(m_link, &EcuLink::connectStarted, m_lblLinkState, &QLabel::clear);
    connect(m_link, &EcuLink::linkLost, m_lblLinkState, &QLabel::setText);
    registerReceiveHandlers();
}

Form2::~Form2() = default;

QWidget *Form2::buildCentralArea()
{
    const int dpi = logicalDpi(this);
    const QSize buttonSize(twipsToPixels(kButtonWidthTwips, dpi),
                           twipsToPixels(kButtonHeightTwips, dpi));

    auto *central = new QWidget(this);
    auto *basic = new QGroupBox(QStringLiteral("Basic Functions"), central);
    auto *advanced = new QGroupBox(QStringLiteral("Advance Functions"), central);
    auto *basicGrid = new QGridLayout(basic);
    auto *advancedGrid = new QGridLayout(advanced);
    for (const FeatureButton &f : featureButtons()) {
        auto *button = new QPushButton(QString::fromLatin1(f.caption), central);
        button->setObjectName(QString::fromLatin1(f.buttonName));
        button->setMinimumSize(buttonSize);
        button->setEnabled(false);
        const Feature feature = f.feature;
        connect(button, &QPushButton::clicked, this, [this, feature] { runFeature(feature); });
        (f.advanced ? advancedGrid : basicGrid)->addWidget(button, f.row, f.column);
        m_buttons.insert(feature, button);
    }

    m_btnConnect = new QPushButton(QStringLiteral("Connect"), central);
    m_btnConnect->setObjectName(QStringLiteral("btnConnect"));
    m_btnConnect->setMinimumSize(buttonSize);
    connect(m_btnConnect, &QPushButton::clicked, this, &Form2::btnConnect_Click);
    auto *partLabel = new QLabel(QStringLiteral("ECU PART NUMBER: 23710 -"), central);
    m_lblEcuNo = new QLabel(EcuLink::noEcuNumber(), central);
    m_lblEcuNo->setObjectName(QStringLiteral("lblEcuNo"));
    QFont bold = m_lblEcuNo->font();
    bold.setBold(true);
    partLabel->setFont(bold);
    m_lblEcuNo->setFont(bold);
    m_lblLinkState = new QLabel(central);
    m_lblLinkState->setObjectName(QStringLiteral("lblLinkState"));
    m_lblLinkState->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_lblLinkState->setWordWrap(true);

    auto *frames = new QHBoxLayout;
    frames->addWidget(basic, 2);
    frames->addWidget(advanced, 1);
    auto *connectRow = new QHBoxLayout;
    connectRow->addWidget(m_btnConnect);
    connectRow->addSpacing(12);
    connectRow->addWidget(partLabel);
    connectRow->addWidget(m_lblEcuNo);
    connectRow->addSpacing(12);
    connectRow->addWidget(m_lblLinkState, 1);
    auto *layout = new QVBoxLayout(central);
    layout->addLayout(frames);
    layout->addLayout(connectRow);
    return central;
}

void Form2::buildMenus()
{
    QMenu *settingsMenu = menuBar()->addMenu(QStringLiteral("&Settings"));
    const struct
    {
        const char *caption, *name, *shortcut;
        void (*open)(Form2 &);
    } settingsEntries[] = {
        {"&Communication", "mnuSetCom", "Ctrl+F1", showCommunicationSettings},
        {"&Display", "mnuSetDisplay", "Ctrl+F2", showDisplayColours},
        {"&Preferences", "mnuPreferences", "Ctrl+F3", showPreferences},
        {"&Data Display", "mnuSetup", "Ctrl+F4", nullptr},
        {"&Dashboard", "mnuDashboardSetup", "Ctrl+F5", nullptr},
    };
    // The settings dialogs arrive with their own windows; the entries are in place already.
    for (const auto &e : settingsEntries) {
        QAction *action = settingsMenu->addAction(QString::fromLatin1(e.caption));
        action->setObjectName(QString::fromLatin1(e.name));
        action->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        if (e.open)
            connect(action, &QAction::triggered, this, [this, open = e.open] { open(*this); });
    }

    QMenu *functionMenu = menuBar()->addMenu(QStringLiteral("&Function"));
    for (const FeatureButton &f : featureButtons()) {
        QAction *action = functionMenu->addAction(QString::fromLatin1(f.menuCaption));
        action->setObjectName(QString::fromLatin1(f.menuName));
        action->setShortcut(QKeySequence(QString::fromLatin1(f.shortcut)));
        action->setEnabled(false);
        const Feature feature = f.feature;
        // The entry does what its button does, and only while that button is enabled.
        connect(action, &QAction::triggered, this, [this, feature] {
            if (m_buttons.value(feature)->isEnabled())
                runFeature(feature);
        });
        m_actions.insert(feature, action);
    }

    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction *about = helpMenu->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, &Form2::showAbout);
}

void Form2::buildStatusBar()
{
    const int dpi = logicalDpi(this);
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(twipsToPixels(kPanelGapTwips, dpi));
    const char *const designTexts[4] = {"Speed Correction", "Com Port - Speed", "Speed Unit",
                                        "Temperature Unit"};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(QString::fromLatin1(designTexts[i]), bar);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        m_panels[i]->setMinimumWidth(twipsToPixels(1500, dpi));
        row->addWidget(m_panels[i]);
    }
    bar->setStyleSheet(
        QStringLiteral("QLabel { border: 1px solid palette(mid); padding: 1px 6px; }"));
    m_progressBar = new QProgressBar(bar);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setTextVisible(false);
    m_progressBar->setMaximumHeight(m_panels[0]->sizeHint().height());
    row->addWidget(m_progressBar, 1);
    statusBar()->addWidget(bar, 1);
    statusBar()->setSizeGripEnabled(false);
}

void Form2::Form_Load()
{
    applyStartupDefaults(m_settings);
    m_link->connected = false;
    setStatusBar();
}

void Form2::setStatusBar()
{
    const StatusBarInfo info = readStatusBar(m_settings);
    m_state.SpeedCorrect = info.SpeedCorrect;
    for (int i = 0; i < 4; ++i)
        m_panels[i]->setText(info.panels[i]);
    m_state.mph = info.mph;
    m_state.fahr = info.fahr;
    m_state.OBDIImodel = info.OBDIImodel;
    getSetup();
    setFeatureEnabled(Feature::DataReplay, true);
    setFeatureEnabled(Feature::LogAnalyzer, true);
    if (info.autoConnect)
        btnConnect_Click();
}

void Form2::getSetup()
{
    ::getSetup(m_state, m_settings);
}

void Form2::setProgBar()
{
    m_progStep = nextProgStep(m_progStep);
    m_progressBar->setValue(m_progStep);
}

void Form2::btnConnect_Click()
{
    // Job windows reconnect as they close; not when they close because the program ends.
    if (m_shuttingDown)
        return;
    m_link->btnConnect_Click();
}

void Form2::enableEcuFeatures()
{
    for (const FeatureButton &f : featureButtons()) {
        if (!f.needsEcu)
            continue;
        // The OBDII variant has no map tracing.
        if (f.feature == Feature::MapTrace && m_state.OBDIImodel)
            continue;
        setFeatureEnabled(f.feature, true);
    }
}

void Form2::setFeatureEnabled(Feature feature, bool enabled)
{
    m_buttons.value(feature)->setEnabled(enabled);
    m_actions.value(feature)->setEnabled(enabled);
}

void Form2::showAbout()
{
    auto *about = new AboutDialog(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

void Form2::closeEvent(QCloseEvent *event)
{
    // The job windows go with the main window: nothing of the program stays on screen or holds
    // the port once it is closed.
    m_shuttingDown = true;
    for (QWidget *window : findChildren<QWidget *>()) {
        if (window->isWindow() && window->isVisible())
            window->close();
    }
    m_link->closePort();
    QMainWindow::closeEvent(event);
}
