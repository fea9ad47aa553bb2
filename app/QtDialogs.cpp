#include "app/QtDialogs.h"

#include "display/Colours.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
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

QString QtDialogs::saveFileName(const QString &directory, const QString &initialName,
                                const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(QApplication::activeWindow(), QString(), directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(QDir(directory).filePath(initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
