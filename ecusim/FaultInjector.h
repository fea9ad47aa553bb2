#pragma once

#include <QByteArray>

// The line faults the simulator can play: random bytes between frames and lost bytes.
// Deterministic for a given seed, so a test can repeat a run.
class FaultInjector
{
public:
    // `garbageBytes` random bytes go before every frame; every `dropEvery`-th byte put on the
    // line is lost (0: none).
    FaultInjector(int garbageBytes = 0, int dropEvery = 0, quint32 seed = 1);

    // A frame as it is queued: garbage first, then the frame.
    QByteArray beforeFrame(const QByteArray &frame);
    // The bytes that survive the line, counting every byte offered.
    QByteArray survive(const QByteArray &bytes);

private:
    quint8 nextRandom();

    int m_garbage;
    int m_dropEvery;
    quint32 m_state;
    qint64 m_offered = 0;
};
