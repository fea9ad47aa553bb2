#pragma once

#include "ecusim/ActiveTest.h"
#include "ecusim/EcuConfig.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The ECU's side of the serial protocol, without clocks or devices: bytes go in one at a time
// with the simulated time, and out come the acknowledgements owed and, while streaming, the
// frame that answers the last request with the engine's values at that time.
//
// Acknowledgements: once woken up, the ECU answers every request byte it takes (commands and
// their arguments) at once with its complement, 0xFF - byte; the program discards these. The
// wake-up bytes 0xFF and the stream bytes 0xF0 and 0x30 are not answered. Asleep, or after a
// wake-up that named another identity, it answers nothing.
class EcuProtocol
{
public:
    explicit EcuProtocol(const EcuConfig &config = {});

    // One byte from the program. Returns a line that
    // describes the request this byte completed, or an empty text.
    QString receive(quint8 byte);
    // The acknowledgements owed so far, in order; the call clears them.
    QByteArray takeAcknowledgements();
    // While streaming, one frame answering the last request (0xFF, count, data); empty when
    // not streaming or when that request has no answer.
    QByteArray nextFrame(qint64 nowMs) const;

    bool isStreaming() const { return m_streaming; }
    // Streaming, and the last request has an answer (a frame to repeat).
    bool isAnswering() const;
    bool isAwake() const { return m_awake; }
    std::optional<ActiveTest> activeTest() const { return m_test; }
    const QList<FaultCode> &faultCodes() const { return m_faults; }
    const QByteArray &memory() const { return m_memory; }
    const EcuConfig &config() const { return m_config; }

    // The link went away (cable pulled): the ECU drops its session and sleeps.
    void endSession();

    // The identification frame this ECU streams after 0xD0.
    QByteArray identificationFrame() const;

private:
    enum class Parse {
        Command,
        WakeUp1,
        WakeUp2,
        Register,
        AddressHigh,
        AddressLow,
        TestCode,
        TestValue
    };
    enum class Request { None, Identify, Registers, FaultCodes, Memory };

    QString command(quint8 byte);
    QString wakeUp(quint8 identity);
    QString startStream();
    QString stopStream();
    void acknowledge(quint8 byte);
    void beginRequest(Request kind);
    QString describeRequest() const;
    QByteArray registerFrame(qint64 nowMs) const;
    QByteArray memoryFrame(qint64 nowMs) const;
    QByteArray faultFrame() const;
    bool isSilent(quint8 reg) const;

    EcuConfig m_config;
    QByteArray m_memory;
    QList<FaultCode> m_faults;
    Parse m_parse = Parse::Command;
    bool m_awake = false;
    bool m_streaming = false;
    // The next request byte starts a new request (set by the stream bytes and the wake-up).
    bool m_requestDone = true;
    Request m_request = Request::None;
    QByteArray m_registers;
    QList<quint16> m_addresses;
    quint8 m_addressHigh = 0;
    quint8 m_testCode = 0;
    std::optional<ActiveTest> m_test;
    QByteArray m_acks;
};
