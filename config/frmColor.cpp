#include "config/frmColor.h"

#include "app/Dialogs.h"
#include "app/Form2.h"
#include "app/WindowHelpers.h"
#include "config/DisplayColours.h"
#include "display/Colours.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kSwatchWidth = 64;
constexpr int kSwatchHeight = 22;
} // namespace

frmColor::frmColor(Form2 &main)
    : QWidget(&main, Qt::Dialog), m_main(main), m_colours(loadDisplayColours(main.settings()))
{
    setObjectName(QStringLiteral("frmColor"));
    setWindowTitle(QStringLiteral("Data Display Colours"));
    setWindowModality(Qt::ApplicationModal);

    auto *gauge = new QGroupBox(QStringLiteral("Gauge Colours"), this);
    auto *general = new QGroupBox(QStringLiteral("General Colors"), this);
    auto *gaugeGrid = new QGridLayout(gauge);
    auto *generalGrid = new QGridLayout(general);
    const auto &rows = displayColourRows();
    for (int i = 0; i < kDisplayColourCount; ++i) {
        QGroupBox *frame = rows[i].general ? general : gauge;
        QGridLayout *grid = rows[i].general ? generalGrid : gaugeGrid;
        auto *caption = new QLabel(QString::fromLatin1(rows[i].caption), frame);
        caption->setObjectName(QStringLiteral("Label%1").arg(i));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *swatch = new QPushButton(frame);
        swatch->setObjectName(QStringLiteral("button%1").arg(i));
        swatch->setFixedSize(kSwatchWidth, kSwatchHeight);
        const int row = grid->rowCount();
        grid->addWidget(caption, row, 0);
        grid->addWidget(swatch, row, 1);
        connect(swatch, &QPushButton::clicked, this, [this, i] { button_Click(i); });
        m_button.append(swatch);
        showSwatch(i);
    }
    generalGrid->setRowStretch(generalGrid->rowCount(), 1);

    auto *btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    auto *btnCancel = new QPushButton(QStringLiteral("CANCEL"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *right = new QVBoxLayout;
    right->addWidget(general);
    right->addStretch(1);
    right->addWidget(btnOK);
    right->addWidget(btnCancel);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(gauge);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOK, &QPushButton::clicked, this, &frmColor::btnOK_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscape(this);
}

void frmColor::showSwatch(int index)
{
    // System colours show as the colour they name on this desktop.
    const QColor colour =
        Colours::toQColor(m_colours[index], palette()).value_or(palette().color(QPalette::Window));
    m_button[index]->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid palette(shadow); }")
            .arg(colour.name()));
}

void frmColor::button_Click(int index)
{
    if (index < 0 || index >= m_colours.size())
        return;
    const QColor shown =
        Colours::toQColor(m_colours[index], palette()).value_or(palette().color(QPalette::Window));
    const quint32 initial = quint32(Colours::fromQColor(shown).toNumber());
    QPointer<frmColor> self(this);
    const std::optional<quint32> chosen = m_main.dialogs().chooseColour(initial);
    if (!self || !chosen)
        return; // cancelled: the swatch keeps its colour
    // Confirming the colour it started from changes nothing: a system colour stays one.
    if (*chosen == initial)
        return;
    if (const std::optional<ColourValue> value = ColourValue::fromNumber(*chosen & 0xFFFFFFu)) {
        m_colours[index] = *value;
        showSwatch(index);
    }
}

void frmColor::btnOK_Click()
{
    saveDisplayColours(m_main.settings(), m_colours);
    close();
}
