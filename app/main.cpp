#include "app/Form2.h"
#include "app/QtDialogs.h"
#include "config/SettingsStore.h"
#include "link/Clock.h"
#include "link/QSerialPortBackend.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvantis"));
    QApplication::setApplicationVersion(QStringLiteral("1.52"));

    QSettingsStore settings;
    QSerialPortBackend port;
    SystemClock clock;
    QtDialogs dialogs;
    Form2 mainWindow(settings, port, clock, dialogs);
    mainWindow.show();
    // Start-up runs inside the event loop, so the window is on screen while auto-connect waits.
    QTimer::singleShot(0, &mainWindow, &Form2::Form_Load);
    return app.exec();
}
