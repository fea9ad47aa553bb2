#pragma once

#include "link/Clock.h"

#include <functional>

// A tick counter that tests set. sleep() advances it at once by the time asked and lets queued
// events run, so waits take no real time and every pause is exact.
class FakeClock : public Clock
{
public:
    explicit FakeClock(quint32 start = 1000) : m_now(start) {}

    quint32 tickCount() const override { return m_now; }
    void sleep(int ms) override;

    void set(quint32 now) { m_now = now; }
    void advance(quint32 ms) { m_now += ms; }
    // Runs during every sleep, after the clock moved (a test injects bytes "meanwhile" here).
    std::function<void()> onSleep;

private:
    quint32 m_now;
};

// Real time from a chosen start value: lets a real wait run across a wrap of the counter.
class OffsetClock : public Clock
{
public:
    explicit OffsetClock(quint32 start);
    quint32 tickCount() const override;
    void sleep(int ms) override { m_system.sleep(ms); }

private:
    SystemClock m_system;
    quint32 m_offset;
};
