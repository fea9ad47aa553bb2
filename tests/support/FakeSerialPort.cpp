#include "tests/support/FakeSerialPort.h"

#include "link/Clock.h"

PortOpenError FakeSerialPort::open(const PortConfig &config)
{
    ++openCount;
    lastConfig = config;
    m_open = nextOpenResult.kind == PortOpenError::None;
    m_input.clear();
    return nextOpenResult;
}

bool FakeSerialPort::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    writes.append({m_clock ? m_clock->tickCount() : 0u, bytes});
    return true;
}

void FakeSerialPort::inject(const QByteArray &bytes)
{
    if (!m_open)
        return;
    m_input.append(bytes);
    bytesArrived();
}

void FakeSerialPort::loseDevice(const QString &reason)
{
    m_open = false;
    m_input.clear();
    emit deviceLost(reason);
}

QByteArray FakeSerialPort::written() const
{
    QByteArray all;
    for (const Write &w : writes)
        all.append(w.bytes);
    return all;
}

QByteArray FakeSerialPort::takeAll()
{
    QByteArray all;
    all.swap(m_input);
    return all;
}

void FakeSerialPort::dropAll()
{
    ++discardCount;
    m_input.clear();
}
