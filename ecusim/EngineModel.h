#pragma once

#include "ecusim/ActiveTest.h"
#include "ecusim/DriveCycle.h"

#include <array>
#include <optional>

// What the ECU's sensors and outputs read at one moment, in engineering units.
struct EngineState
{
    DrivePhase phase = DrivePhase::Crank;
    double rpm = 0;
    double speedKmh = 0;
    double coolantC = 0;
    double fuelTempC = 0;
    double airTempC = 0;
    double airFlowV = 0; // air-flow meter output, left and right bank
    double airFlowRhV = 0;
    double o2V = 0; // narrow-band O2 sensors, 0..1 V
    double o2RhV = 0;
    double o2B1V = 0;
    double o2B2V = 0;
    double batteryV = 0;
    double throttleV = 0; // throttle position sensor
    double egtV = 0;
    double injectorMs = 0;
    double injectorRhMs = 0;
    double timingDeg = 0; // degrees before top dead centre
    double aacPercent = 0;
    std::array<quint8, 4> afBase{}; // A/F base, base RH, self-learn, self-learn RH (100 = none)
    quint8 tpLoad = 0;              // the throttle (load) byte the map tracing reads from memory

    bool closedThrottle = false;
    bool startSignal = false;
    bool neutral = false;
    bool powerSteering = false;
    bool airConSwitch = false;
    bool airConRelay = false;
    bool fuelPump = false;
    bool vct = false;
    bool wasteGate = false;
    bool egr = false;
    int fanStage = 0; // 0 off, 1 low, 2 high
    bool lean = false;
};

namespace EngineModel {
// The engine `ms` milliseconds after the ECU powered up (the drive cycle repeats), with the
// actuator test the program is running, if any.
EngineState at(qint64 ms, const std::optional<ActiveTest> &test = std::nullopt);

constexpr int kCylinders = 6; // cylinder-cut bits above the sixth are ignored
constexpr double kFanLowC = 95;
constexpr double kFanHighC = 100;
} // namespace EngineModel
