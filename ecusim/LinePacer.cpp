#include "ecusim/LinePacer.h"

#include <algorithm>
#include <cmath>

LinePacer::LinePacer(int bitsPerSecond, int bitsPerByte)
    : m_byteMs(1000.0 * std::max(bitsPerByte, 1) / std::max(bitsPerSecond, 1))
{}

void LinePacer::idleUntil(double nowMs)
{
    m_freeAt = std::max(m_freeAt, nowMs);
}

int LinePacer::due(double nowMs) const
{
    if (nowMs < m_freeAt)
        return 0;
    return int(std::floor((nowMs - m_freeAt) / m_byteMs)) + 1;
}

void LinePacer::sent(int count)
{
    m_freeAt += count * m_byteMs;
}
