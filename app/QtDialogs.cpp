#include "app/QtDialogs.h"

#include <QApplication>
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
