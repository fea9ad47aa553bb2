#include "ecusim/EcuSimulator.h"

#include <algorithm>
#include <climits>

EcuSimulator::EcuSimulator(const SimulatorOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_protocol(options.ecu),
      m_pacer(options.line.bitsPerSecond),
      m_injector(options.faults.garbageBytes, options.faults.dropEvery, options.faults.seed)
{
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(kTickMs);
    m_hangUpTimer.setSingleShot(true);
    connect(&m_tick, &QTimer::timeout, this, &EcuSimulator::pump);
    connect(&m_hangUpTimer, &QTimer::timeout, this, &EcuSimulator::hangUp);
    connect(&m_pty, &PseudoTerminal::bytesReceived, this, &EcuSimulator::onBytesReceived);
    connect(&m_pty, &PseudoTerminal::deviceLost, this, [this](const QString &reason) {
        closeDevice();
        emit requestLogged(QStringLiteral("device lost: %1").arg(reason));
        emit hungUp();
    });
}

EcuSimulator::~EcuSimulator()
{
    closeDevice();
}

bool EcuSimulator::start()
{
    m_pty.setLinkPath(m_options.linkPath);
    const bool opened =
        m_options.servedDevice.isEmpty() ? m_pty.open() : m_pty.openDevice(m_options.servedDevice);
    if (!opened)
        return false;
    // The first start also starts the engine and the hang-up countdown; a device that comes
    // back after the hang-up stays.
    if (!m_clock.isValid()) {
        m_clock.start();
        if (m_options.faults.hangUpAfterMs >= 0)
            m_hangUpTimer.start(int(std::min<qint64>(m_options.faults.hangUpAfterMs, INT_MAX)));
    }
    m_pacer.idleUntil(lineMs());
    return true;
}

void EcuSimulator::stop()
{
    closeDevice();
}

void EcuSimulator::hangUp()
{
    if (!m_pty.isOpen())
        return;
    closeDevice();
    emit requestLogged(QStringLiteral("hung up: the device is gone"));
    emit hungUp();
}

void EcuSimulator::closeDevice()
{
    m_tick.stop();
    m_hangUpTimer.stop();
    m_pty.close();
    // A pulled cable ends the session: the ECU sleeps until the next wake-up.
    m_protocol.endSession();
    m_acks.clear();
    m_stream.clear();
}

QString EcuSimulator::devicePath() const
{
    return m_options.linkPath.isEmpty() ? m_pty.devicePath() : m_options.linkPath;
}

qint64 EcuSimulator::engineMs() const
{
    return m_options.cycleStartMs + (m_clock.isValid() ? m_clock.elapsed() : 0);
}

double EcuSimulator::lineMs() const
{
    return m_clock.isValid() ? m_clock.nsecsElapsed() / 1e6 : 0.0;
}

void EcuSimulator::onBytesReceived(const QByteArray &bytes)
{
    m_received += bytes;
    if (!hasPending())
        m_pacer.idleUntil(lineMs()); // the line was quiet: nothing may go out before now
    for (char c : bytes) {
        const bool wasStreaming = m_protocol.isStreaming();
        const QString line = m_protocol.receive(quint8(c));
        if (wasStreaming && !m_protocol.isStreaming())
            m_stream.clear(); // stopped: the rest of the frame is not sent
        m_acks += m_protocol.takeAcknowledgements();
        if (!line.isEmpty())
            emit requestLogged(line);
    }
    pump();
}

bool EcuSimulator::hasPending() const
{
    return !m_acks.isEmpty() || !m_stream.isEmpty() || m_protocol.isAnswering();
}

QByteArray EcuSimulator::takeOutput(int budget)
{
    QByteArray out;
    while (budget > 0) {
        if (m_acks.isEmpty() && m_stream.isEmpty())
            m_stream = m_injector.beforeFrame(m_protocol.nextFrame(engineMs()));
        QByteArray &from = !m_acks.isEmpty() ? m_acks : m_stream;
        if (from.isEmpty())
            break;
        const int n = std::min(budget, int(from.size()));
        out += from.left(n);
        from.remove(0, n);
        budget -= n;
    }
    return out;
}

void EcuSimulator::pump()
{
    if (!m_pty.isOpen() || m_options.faults.neverAnswer) {
        m_acks.clear();
        m_tick.stop();
        return;
    }
    if (m_options.line.paced) {
        const QByteArray out = takeOutput(m_pacer.due(lineMs()));
        m_pacer.sent(int(out.size()));
        send(out);
    } else {
        send(takeOutput(int(m_acks.size()) + kUnpacedBurst));
    }
    // Tick only while there is something to send: an idle ECU costs nothing.
    if (!hasPending())
        m_tick.stop();
    else if (!m_tick.isActive())
        m_tick.start();
}

void EcuSimulator::send(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const QByteArray survivors = m_injector.survive(bytes);
    if (m_pty.write(survivors))
        m_written += survivors.size();
}
