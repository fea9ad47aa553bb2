#pragma once

#include "ecusim/EcuConfig.h"

#include <QString>

// How the bytes go on the line.
struct LineOptions
{
    int bitsPerSecond = 9600; // 10 bits a byte
    // Unpaced: answers go out at once and a stream in bursts of kUnpacedBurst bytes per tick,
    // for tests that should not wait for a real line.
    bool paced = true;
};

// Faults the simulator plays on purpose.
struct FaultOptions
{
    bool neverAnswer = false; // reads every request, sends nothing
    int garbageBytes = 0;     // random bytes before every frame
    int dropEvery = 0;        // every n-th byte sent is lost (0: none)
    qint64 hangUpAfterMs =
        -1;           // the device disappears this long after the first start() (< 0: never)
    quint32 seed = 1; // for the garbage bytes
};

struct SimulatorOptions
{
    EcuConfig ecu;
    LineOptions line;
    FaultOptions faults;
    qint64 cycleStartMs = 0; // where in the drive cycle the engine starts
    QString servedDevice;    // serve this terminal device instead of a new pseudo-terminal
    QString linkPath;        // keep a symbolic link here pointing at the device
};
