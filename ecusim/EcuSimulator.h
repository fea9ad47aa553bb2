#pragma once

#include "ecusim/EcuProtocol.h"
#include "ecusim/FaultInjector.h"
#include "ecusim/LinePacer.h"
#include "ecusim/PseudoTerminal.h"
#include "ecusim/SimulatorOptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The virtual ECU on a device: a pseudo-terminal (or a served terminal) carries the program's
// bytes to the protocol engine, and its answers go back paced at the line speed, with the
// configured faults. Runs on the thread's event loop; timers pace the line, nothing spins.
class EcuSimulator : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 5;
    static constexpr int kUnpacedBurst = 64;

    explicit EcuSimulator(const SimulatorOptions &options = {}, QObject *parent = nullptr);
    ~EcuSimulator() override;

    // Opens the device; the first start also starts the engine's clock and the hang-up
    // countdown, when one is set. After a hang-up, start() again brings the device back (a new
    // pseudo-terminal: the same path only through a link path). False with errorString() when
    // no device could be opened.
    bool start();
    // Closes the device quietly.
    void stop();
    // The device disappears now, as when a USB cable is pulled (hungUp() follows).
    void hangUp();

    bool isRunning() const { return m_pty.isOpen(); }
    // What the program should open: the link path when there is one, else the device itself.
    QString devicePath() const;
    QString errorString() const { return m_pty.errorString(); }

    const EcuProtocol &protocol() const { return m_protocol; }
    // Everything the program wrote, since construction.
    const QByteArray &received() const { return m_received; }
    // Bytes put on the line (after dropped ones), since construction.
    qint64 bytesWritten() const { return m_written; }
    // The engine's clock: milliseconds since the first start(), plus the cycle start.
    qint64 engineMs() const;

signals:
    // One line per request the ECU took (for the request log).
    void requestLogged(const QString &line);
    void hungUp();

private:
    void onBytesReceived(const QByteArray &bytes);
    void pump();
    bool hasPending() const;
    QByteArray takeOutput(int budget);
    void send(const QByteArray &bytes);
    void closeDevice();
    double lineMs() const;

    SimulatorOptions m_options;
    PseudoTerminal m_pty;
    EcuProtocol m_protocol;
    LinePacer m_pacer;
    FaultInjector m_injector;
    QElapsedTimer m_clock;
    QTimer m_tick;
    QTimer m_hangUpTimer;
    QByteArray m_acks;   // owed acknowledgements, sent first
    QByteArray m_stream; // the rest of the frame being sent
    QByteArray m_received;
    qint64 m_written = 0;
};
