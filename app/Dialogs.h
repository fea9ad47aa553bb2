#pragma once

#include <QString>
#include <optional>

// The one place through which the program talks to the user in modal boxes (and beeps). The
// windows get the real one; tests get a recorder, so nothing blocks on a modal box.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A validation or error message: exclamation icon, OK button, title "Orvantis".
    virtual void warning(const QString &text) = 0;
    virtual void beep() = 0;
    // The system colour dialog, starting from a colour given as 0x00BBGGRR; the colour chosen in
    // the same form, or none when the user cancels.
    virtual std::optional<quint32> chooseColour(quint32 initialBgr) = 0;
    // The system save-file dialog: starts in `directory` with `initialName`, offers `filter`
    // ("Log Files (*.log);;All Files (*)") and adds `defaultSuffix` to a name typed without one.
    // The full path chosen, or empty when the user cancels.
    virtual QString saveFileName(const QString &directory, const QString &initialName,
                                 const QString &filter, const QString &defaultSuffix) = 0;
};
