#include "app/WindowHelpers.h"

#include <QShortcut>
#include <QWidget>

void closeOnEscape(QWidget *window)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}
