#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class Clock;
class Dialogs;
class SerialPort;
class SettingsStore;
struct ProgramState;

// Which receive handler gets the incoming bytes.
namespace ReadModes {
constexpr qint16 Reset = 0;   // self-diagnostic reset: bytes are read and dropped
constexpr qint16 Connect = 1; // identification
constexpr qint16 DataDisplay = 2;
constexpr qint16 DataLogging = 3;
constexpr qint16 DisplayAndLog = 4; // logger opened beside the Data Display
constexpr qint16 SpeedTrial = 5;
constexpr qint16 SelfDiag = 6;
constexpr qint16 AddressWatch = 7;
constexpr qint16 RegisterTest = 8;
constexpr qint16 RomFast = 11;
constexpr qint16 RomSlow = 12;
constexpr qint16 MapRead = 13;
constexpr qint16 MapTrace = 14;
constexpr qint16 Dashboard = 15;
constexpr qint16 EcuFinder = 16; // the finder reads the input itself
constexpr int Count = 17;

// Modes whose chunks advance the activity bar: every mode with a handler.
bool stepsActivityBar(qint16 mode);
} // namespace ReadModes

// The ECU link: the serial port, the receive dispatch by ReadMode, the stream start and stop,
// the millisecond wait and the connect routine that wakes the ECU and reads its part number.
// Features take the link over with the same steps: stopData, set ReadMode, write the request,
// wait and discard the echoes, set the receive threshold, startData.
class EcuLink : public QObject
{
    Q_OBJECT
public:
    using ChunkHandler = std::function<void(const QByteArray &Rdata)>;
    static constexpr int kComEvReceive = 2; // the receive notification's event code

    EcuLink(SerialPort &port, Clock &clock, const SettingsStore &settings, Dialogs &dialogs,
            const ProgramState &state, QObject *parent = nullptr);

    // Selects the receive handler; set before a request is written.
    qint16 ReadMode = 0;
    // The ECU has answered the identification request (never set back).
    bool connected = false;

    void openPort();
    void closePort();
    void startData();
    void stopData();
    void WAITmS(qint32 WaitTime);
    // The connect routine, also what the "Connect" button runs: open the port, wake the ECU and
    // stream identification frames until the part number shows.
    void btnConnect_Click();
    void iniConnect();
    void getConnectData(const QByteArray &Rdata);
    void MSComm1_OnComm(int eventCode);

    // Writes a whole request in one call (quietly nothing when the port is closed).
    void write(const QByteArray &bytes);
    SerialPort &port() { return m_port; }
    Clock &clock() { return m_clock; }

    // A feature plugs its receive handler in for its ReadMode; an empty handler unplugs it.
    void setHandler(qint16 readMode, ChunkHandler handler);

    // The five part-number characters, or "#####" while none has arrived since Connect.
    QString ecuNumber() const { return m_ecuNumber; }
    static QString noEcuNumber() { return QStringLiteral("#####"); }

signals:
    void ecuNumberChanged(const QString &text);
    // The first valid identification frame since Connect: the ECU features can be enabled.
    void identified();
    // A chunk went to a handler (the activity bar steps).
    void chunkHandled();
    void connectStarted();
    // The device disappeared; the port is closed. The text says what happened and what to do.
    void linkLost(const QString &message);

private:
    void setEcuNumber(const QString &text);

    SerialPort &m_port;
    Clock &m_clock;
    const SettingsStore &m_settings;
    Dialogs &m_dialogs;
    const ProgramState &m_state;
    std::array<ChunkHandler, ReadModes::Count> m_handlers;
    QString m_ecuNumber = noEcuNumber();
    QString m_device;
};
