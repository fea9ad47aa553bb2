#include "config/SettingsWindows.h"

#include "app/Form2.h"
#include "config/Form3.h"
#include "config/frmColor.h"
#include "config/frmPreferences.h"

namespace {

template <typename Window> void showOnce(Form2 &main)
{
    // A window that was closed may still wait for its deletion: only a visible one is reused.
    Window *window = nullptr;
    for (Window *w : main.findChildren<Window *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isVisible())
            window = w;
    }
    if (!window) {
        window = new Window(main);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void showCommunicationSettings(Form2 &main)
{
    showOnce<Form3>(main);
}

void showDisplayColours(Form2 &main)
{
    showOnce<frmColor>(main);
}

void showPreferences(Form2 &main)
{
    showOnce<frmPreferences>(main);
}
