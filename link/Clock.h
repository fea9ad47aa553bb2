#pragma once

#include <QtGlobal>

// The millisecond tick counter the link times its waits with: 32 bits, wrapping every 49.7 days.
// sleep() lets the user interface run meanwhile without using the processor.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual quint32 tickCount() const = 0;
    // Runs the event loop for about `ms` milliseconds (it may return early; callers re-check).
    virtual void sleep(int ms) = 0;
};

// Milliseconds since boot, truncated to 32 bits; sleeps in a QEventLoop quit by a timer.
class SystemClock : public Clock
{
public:
    quint32 tickCount() const override;
    void sleep(int ms) override;
};

// Waits at least `waitTime` ms from now, processing events. Handles one wrap of the counter.
void waitMilliseconds(Clock &clock, qint32 waitTime);

// The deadline test of the wait: has `waitTime` passed between `start` and `now`, with one wrap
// of the counter allowed? Returns the milliseconds still to wait (0 when done).
qint64 remainingWait(quint32 start, quint32 now, qint32 waitTime);
