#include "link/PortSettings.h"

#include "app/Numbers.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "link/SerialPort.h"

#include <QStringList>

std::optional<LineSettings> parseLineSettings(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    LineSettings s;
    bool ok = false;
    const QString speed = parts[0].trimmed();
    s.baudRate = speed.toInt(&ok);
    if (!ok || s.baudRate <= 0)
        return std::nullopt;
    const QString parity = parts[1].trimmed().toUpper();
    if (parity.size() != 1 || !QStringLiteral("NEOMS").contains(parity))
        return std::nullopt;
    s.parity = parity.at(0).toLatin1();
    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return std::nullopt;
    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = 1;
    else if (stop == QLatin1String("1.5"))
        s.stopBits = 15;
    else if (stop == QLatin1String("2"))
        s.stopBits = 2;
    else
        return std::nullopt;
    return s;
}

QString lineSettingsText(const SettingsStore &store)
{
    return store.get(QStringLiteral("Comms"), QStringLiteral("Speed")) + QStringLiteral(",N,8,1");
}

QString portDevice(const QString &comPortSetting)
{
    QString text = comPortSetting.trimmed();
    if (text.isEmpty())
        text = defaultSetting(QStringLiteral("Comms"), QStringLiteral("ComPort"));
    bool isNumber = false;
    qint64 number = text.toLongLong(&isNumber);
    if (isNumber) {
        if (number < 0)
            number = Numbers::parseInteger(
                         defaultSetting(QStringLiteral("Comms"), QStringLiteral("ComPort")))
                         .value_or(1);
        if (number < 1 || number > 32767)
            return QString();
#ifdef Q_OS_WIN
        return QStringLiteral("COM%1").arg(number);
#else
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
    }
#ifdef Q_OS_WIN
    return text;
#else
    if (text.startsWith(QLatin1Char('/')))
        return text;
    return QStringLiteral("/dev/") + text;
#endif
}

QString portOpenMessage(const PortOpenError &error, const QString &device, const QString &speedText)
{
    // The error numbers continue the serial control's own: 8002 is its invalid port number.
    switch (error.kind) {
    case PortOpenError::None:
        return QString();
    case PortOpenError::NoSuchPort:
        return QStringLiteral("Invalid Port number");
    case PortOpenError::PortBusy:
        return QStringLiteral("Unexpected error #8005\n\n%1 is in use by another program. Close "
                              "that program and press Connect again.")
            .arg(device);
    case PortOpenError::PermissionDenied: {
        const QString group = error.detail.isEmpty() ? QStringLiteral("dialout") : error.detail;
        return QStringLiteral("Unexpected error #8010\n\nPermission denied on %1. Your user must "
                              "belong to the group that owns the device (%2): run\n\n"
                              "    sudo usermod -aG %2 $USER\n\n"
                              "then log out and log in again.")
            .arg(device, group);
    }
    case PortOpenError::BadLineSpeed:
        return QStringLiteral("Unexpected error #8015\n\nThe line speed \"%1\" is not a speed the "
                              "port can use. Enter a number of bit/s such as 9600 in "
                              "Settings > Communication.")
            .arg(speedText);
    case PortOpenError::Other:
        break;
    }
    return QStringLiteral("Unexpected error #8020\n\n%1 could not be opened: %2.")
        .arg(device, error.detail.isEmpty() ? QStringLiteral("unknown reason") : error.detail);
}
