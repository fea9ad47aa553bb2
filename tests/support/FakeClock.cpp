#include "tests/support/FakeClock.h"

#include <QCoreApplication>

void FakeClock::sleep(int ms)
{
    m_now += quint32(ms);
    if (onSleep)
        onSleep();
    QCoreApplication::processEvents();
}

OffsetClock::OffsetClock(quint32 start) : m_offset(start - m_system.tickCount()) {}

quint32 OffsetClock::tickCount() const
{
    return m_system.tickCount() + m_offset;
}
