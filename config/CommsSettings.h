#pragma once

#include <QList>
#include <QString>

class SettingsStore;

// What the communication settings dialog edits: the "Comms" section of the settings store.
struct CommsSettings
{
    QString ComPort;
    QString Speed;
    QString RomComm;
    QString ECUid;
    bool OBDIImodel = false;
    bool AutoConnect = false;
};

// The stored values. The check boxes show what the program does with the stored text: any
// non-zero number selects the OBDII variant, only exactly 1 connects automatically.
CommsSettings loadCommsSettings(const SettingsStore &store);

// Exactly two characters, each 0-9 or an upper-case A-F ("C9", "EF"; not "c9", "EF0").
bool isHexByteText(const QString &text);

// The message that stops a save, or an empty text when the values may be saved.
QString commsValidationMessage(const CommsSettings &settings);

// Writes the six keys in the order the dialog saves them: port, speed, read command, OBDII
// variant, auto-connect, ECU id. Port and speed are stored as typed.
void saveCommsSettings(SettingsStore &store, const CommsSettings &settings);

// A serial port the system reports, for the port chooser beside the port box.
struct SerialPortChoice
{
    QString device;      // what goes into the port box and the settings (/dev/ttyUSB0, COM3)
    QString name;        // the system's short name (ttyUSB0, COM3)
    QString description; // what the system says it is ("FT232R USB UART"), may be empty

    QString label() const;
    bool operator==(const SerialPortChoice &other) const
    {
        return device == other.device && name == other.name && description == other.description;
    }
};

// The serial ports present now, sorted by name. Pseudo-terminals are never listed; a typed
// device path still works.
QList<SerialPortChoice> systemSerialPorts();

// The entry of `choices` that the port text names (a number, a name under /dev or a path), or -1.
int choiceForPortText(const QList<SerialPortChoice> &choices, const QString &portText);
