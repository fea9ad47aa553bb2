#include "link/Clock.h"

#include <QEventLoop>
#include <QTimer>

#include <time.h>

quint32 SystemClock::tickCount() const
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const quint64 ms = quint64(ts.tv_sec) * 1000u + quint64(ts.tv_nsec) / 1000000u;
    return static_cast<quint32>(ms);
}

void SystemClock::sleep(int ms)
{
    // A nested loop that sleeps in the event dispatcher until the timer or any event wakes it:
    // receive notifications and user input are handled meanwhile, and no core spins.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
}

qint64 remainingWait(quint32 start, quint32 now, qint32 waitTime)
{
    double end = double(start) + double(waitTime);
    double current = double(now);
    if (start > now)
        current += 4294967296.0; // the counter wrapped once since the start
    if (end <= current)
        return 0;
    return static_cast<qint64>(end - current);
}

void waitMilliseconds(Clock &clock, qint32 waitTime)
{
    const quint32 start = clock.tickCount();
    for (;;) {
        const qint64 remaining = remainingWait(start, clock.tickCount(), waitTime);
        if (remaining <= 0)
            return;
        clock.sleep(static_cast<int>(remaining));
    }
}
