#pragma once

#include <QString>

// The one place through which the program talks to the user in modal boxes (and beeps). The
// windows get the real one; tests get a recorder, so nothing blocks on a modal box.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A validation or error message: exclamation icon, OK button, title "Orvantis".
    virtual void warning(const QString &text) = 0;
    virtual void beep() = 0;
};
