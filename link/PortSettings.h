#pragma once

#include <QString>
#include <optional>

class SettingsStore;

// The line settings text "<speed>,<parity>,<data bits>,<stop bits>", as in "9600,N,8,1".
struct LineSettings
{
    qint32 baudRate = 9600;
    char parity = 'N'; // N, E, O, M or S
    int dataBits = 8;
    int stopBits = 1; // 1 or 2; 15 stands for 1.5
};

// Empty when the text is not a line-settings text or the speed is not a positive whole number.
std::optional<LineSettings> parseLineSettings(const QString &text);

// The settings text the link opens the port with: the stored speed followed by ",N,8,1".
QString lineSettingsText(const SettingsStore &store);

// The device that the "ComPort" setting names. A number N is the N-th serial port (COMN on
// Windows, /dev/ttyS(N-1) on Linux); anything else is a device path or a name under /dev. A
// number below 1 cannot name a port: the result is empty. A negative number, which the program
// never stores, reads as the default port 1.
QString portDevice(const QString &comPortSetting);

struct PortOpenError;

// What the user is told when the port does not open: "Invalid Port number" for a port that does
// not exist, otherwise "Unexpected error #<n>" and the reason in plain words with what to do.
QString portOpenMessage(const PortOpenError &error, const QString &device,
                        const QString &speedText);
