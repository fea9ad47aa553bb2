#include "config/CommsSettings.h"

#include "config/SettingsReaders.h"
#include "config/SettingsStore.h"
#include "link/PortSettings.h"

#include <QCollator>
#include <QSerialPortInfo>
#include <algorithm>

namespace {
const QString kComms = QStringLiteral("Comms");
} // namespace

CommsSettings loadCommsSettings(const SettingsStore &store)
{
    CommsSettings s;
    s.ComPort = store.get(kComms, QStringLiteral("ComPort"));
    s.Speed = store.get(kComms, QStringLiteral("Speed"));
    s.RomComm = store.get(kComms, QStringLiteral("RomComm"));
    s.ECUid = store.get(kComms, QStringLiteral("ECUid"));
    // Read the way the main window reads them, so the boxes never disagree with what the program
    // does (a hand-edited "2" keeps auto-connect off and selects the OBDII variant).
    s.OBDIImodel = SettingsReaders::nonZero(store, kComms, QStringLiteral("OBDIImodel"));
    s.AutoConnect = SettingsReaders::exactlyOne(store, kComms, QStringLiteral("AutoConnect"));
    return s;
}

bool isHexByteText(const QString &text)
{
    if (text.size() != 2)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    });
}

QString commsValidationMessage(const CommsSettings &settings)
{
    if (!isHexByteText(settings.RomComm))
        return QStringLiteral("Invalid address read command");
    if (!isHexByteText(settings.ECUid))
        return QStringLiteral("Invalid ECU Id");
    return QString();
}

void saveCommsSettings(SettingsStore &store, const CommsSettings &settings)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    store.save(kComms, QStringLiteral("ComPort"), settings.ComPort);
    store.save(kComms, QStringLiteral("Speed"), settings.Speed);
    store.save(kComms, QStringLiteral("RomComm"), settings.RomComm);
    store.save(kComms, QStringLiteral("OBDIImodel"), flag(settings.OBDIImodel));
    store.save(kComms, QStringLiteral("AutoConnect"), flag(settings.AutoConnect));
    store.save(kComms, QStringLiteral("ECUid"), settings.ECUid);
}

QString SerialPortChoice::label() const
{
    if (description.trimmed().isEmpty())
        return name;
    return name + QStringLiteral(" - ") + description.trimmed();
}

QList<SerialPortChoice> systemSerialPorts()
{
    QList<SerialPortChoice> choices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
#ifdef Q_OS_WIN
        // The system location there is "\\.\COM3"; the port box takes the plain name.
        const QString device = info.portName();
#else
        const QString device = info.systemLocation();
#endif
        choices.append({device, info.portName(), info.description()});
    }
    // ttyUSB2 before ttyUSB10.
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(choices.begin(), choices.end(),
              [&collator](const SerialPortChoice &a, const SerialPortChoice &b) {
                  return collator.compare(a.name, b.name) < 0;
              });
    return choices;
}

int choiceForPortText(const QList<SerialPortChoice> &choices, const QString &portText)
{
    const QString device = portDevice(portText);
    if (device.isEmpty())
        return -1;
    for (int i = 0; i < choices.size(); ++i) {
        if (portDevice(choices[i].device) == device)
            return i;
    }
    return -1;
}
