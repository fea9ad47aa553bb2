#include "ecusim/FaultInjector.h"

FaultInjector::FaultInjector(int garbageBytes, int dropEvery, quint32 seed)
    : m_garbage(garbageBytes > 0 ? garbageBytes : 0), m_dropEvery(dropEvery > 0 ? dropEvery : 0),
      m_state(seed ? seed : 1) // xorshift never leaves zero
{}

quint8 FaultInjector::nextRandom()
{
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return quint8(m_state >> 24);
}

QByteArray FaultInjector::beforeFrame(const QByteArray &frame)
{
    if (frame.isEmpty())
        return frame;
    QByteArray out;
    out.reserve(m_garbage + frame.size());
    for (int i = 0; i < m_garbage; ++i)
        out.append(char(nextRandom()));
    return out + frame;
}

QByteArray FaultInjector::survive(const QByteArray &bytes)
{
    if (m_dropEvery == 0) {
        m_offered += bytes.size();
        return bytes;
    }
    QByteArray out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        if (++m_offered % m_dropEvery != 0)
            out.append(c);
    }
    return out;
}
