#include "link/EcuLink.h"

#include "app/Dialogs.h"
#include "app/ProgramState.h"
#include "config/SettingsReaders.h"
#include "config/SettingsStore.h"
#include "link/Clock.h"
#include "link/PortSettings.h"
#include "link/Protocol.h"
#include "link/SerialPort.h"

namespace {
constexpr int kConnectThreshold = 48;  // identification frames arrive in chunks of 48 or more
constexpr qint32 kWakeUpPause = 100;   // after each wake-up byte
constexpr qint32 kConnectSettle = 20;  // before the echoes are discarded
constexpr qint32 kStopSettle = 50;     // after the stop byte
constexpr int kStandardSearchEnd = 24; // last frame-start offset searched, standard ECU
constexpr int kObd2SearchEnd = 34;     // and for the OBDII variant
} // namespace

bool ReadModes::stepsActivityBar(qint16 mode)
{
    return (mode >= Connect && mode <= RegisterTest) || (mode >= RomFast && mode <= Dashboard);
}

EcuLink::EcuLink(SerialPort &port, Clock &clock, const SettingsStore &settings, Dialogs &dialogs,
                 const ProgramState &state, QObject *parent)
    : QObject(parent), m_port(port), m_clock(clock), m_settings(settings), m_dialogs(dialogs),
      m_state(state)
{
    m_handlers[ReadModes::Connect] = [this](const QByteArray &Rdata) { getConnectData(Rdata); };
    connect(&m_port, &SerialPort::received, this, [this] { MSComm1_OnComm(kComEvReceive); });
    // The system's own reason for a vanished device ("Resource temporarily unavailable") tells
    // a user nothing; what happened and what to do does.
    connect(&m_port, &SerialPort::deviceLost, this, [this] {
        emit linkLost(QStringLiteral("Connection lost: %1 went away. Plug the cable back in and "
                                     "press Connect.")
                          .arg(m_device));
    });
}

void EcuLink::openPort()
{
    closePort();
    const QString comPort = m_settings.get(QStringLiteral("Comms"), QStringLiteral("ComPort"));
    const QString speed = m_settings.get(QStringLiteral("Comms"), QStringLiteral("Speed"));
    m_device = portDevice(comPort);
    const PortOpenError error = m_port.open({m_device, lineSettingsText(m_settings)});
    if (error.kind != PortOpenError::None)
        m_dialogs.warning(portOpenMessage(error, m_device.isEmpty() ? comPort : m_device, speed));
}

void EcuLink::closePort()
{
    if (!m_port.isOpen())
        return;
    stopData();
    m_port.close();
}

void EcuLink::startData()
{
    write(QByteArray(1, char(Protocol::kStartStream)));
}

void EcuLink::stopData()
{
    write(QByteArray(1, char(Protocol::kStopStream)));
    WAITmS(kStopSettle);
    m_port.discardInput();
}

void EcuLink::WAITmS(qint32 WaitTime)
{
    waitMilliseconds(m_clock, WaitTime);
}

void EcuLink::write(const QByteArray &bytes)
{
    m_port.write(bytes); // a write to a closed port fails quietly, as every link routine does
}

void EcuLink::btnConnect_Click()
{
    emit connectStarted();
    setEcuNumber(noEcuNumber());
    openPort();
    ReadMode = ReadModes::Connect;
    iniConnect();
    startData();
}

void EcuLink::iniConnect()
{
    m_port.setReceiveThreshold(kConnectThreshold);
    const quint8 ecuId =
        SettingsReaders::hexByte(m_settings, QStringLiteral("Comms"), QStringLiteral("ECUid"));
    const QByteArray request = Protocol::wakeUp(ecuId);
    for (char byte : request) {
        write(QByteArray(1, byte));
        WAITmS(kWakeUpPause);
    }
    WAITmS(kConnectSettle);
    m_port.discardInput();
}

void EcuLink::getConnectData(const QByteArray &Rdata)
{
    const quint8 count = m_state.OBDIImodel ? Protocol::kIdentCountObd2 : Protocol::kIdentCount;
    const int searchEnd = m_state.OBDIImodel ? kObd2SearchEnd : kStandardSearchEnd;
    const int offset = m_state.OBDIImodel ? Protocol::kIdentPartNumberOffsetObd2
                                          : Protocol::kIdentPartNumberOffset;
    for (int i = 0; i <= searchEnd && i + 1 < Rdata.size(); ++i) {
        if (quint8(Rdata[i]) != Protocol::kFrameStart || quint8(Rdata[i + 1]) != count)
            continue;
        if (m_ecuNumber != noEcuNumber())
            return; // already identified since the last Connect
        // A frame cut short by the chunk's end leaves the label as it was.
        if (i + offset + Protocol::kPartNumberLength > Rdata.size())
            return;
        setEcuNumber(QString::fromLatin1(Rdata.mid(i + offset, Protocol::kPartNumberLength)));
        connected = true;
        emit identified();
        return;
    }
}

void EcuLink::MSComm1_OnComm(int eventCode)
{
    if (eventCode != kComEvReceive)
        return;
    const QByteArray chunk = m_port.readAll();
    const qint16 mode = ReadMode;
    if (mode >= 0 && mode < ReadModes::Count && m_handlers[mode])
        m_handlers[mode](chunk);
    if (ReadModes::stepsActivityBar(mode))
        emit chunkHandled();
}

void EcuLink::setHandler(qint16 readMode, ChunkHandler handler)
{
    if (readMode >= 0 && readMode < ReadModes::Count && readMode != ReadModes::Connect)
        m_handlers[readMode] = std::move(handler);
}

void EcuLink::setEcuNumber(const QString &text)
{
    if (m_ecuNumber == text)
        return;
    m_ecuNumber = text;
    emit ecuNumberChanged(text);
}
