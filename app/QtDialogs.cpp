#include "app/QtDialogs.h"

#include "display/Colours.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>

void QtDialogs::warning(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Orvantis"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void QtDialogs::beep()
{
    QApplication::beep();
}

std::optional<quint32> QtDialogs::chooseColour(quint32 initialBgr)
{
    const std::optional<ColourValue> value = ColourValue::fromNumber(initialBgr & 0xFFFFFFu);
    const QColor initial = Colours::toQColor(*value, QApplication::palette()).value_or(Qt::black);
    const QColor chosen = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return quint32(Colours::fromQColor(chosen).toNumber());
}
