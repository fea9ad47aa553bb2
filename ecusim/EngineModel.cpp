#include "ecusim/EngineModel.h"

#include <QtGlobal>

#include <algorithm>
#include <bitset>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kClosedThrottle = 0.02;
constexpr double kIdleAacPercent = 30;

double wave(double seconds, double hertz)
{
    return std::sin(2 * kPi * hertz * seconds);
}

double clamp01(double x)
{
    return std::clamp(x, 0.0, 1.0);
}

bool atIdle(const DriveSample &d)
{
    return d.gear == 0 && d.throttle < kClosedThrottle && !d.cranking;
}

int cylindersCut(const ActiveTest &test)
{
    return int(std::bitset<EngineModel::kCylinders>(test.value).count());
}

bool stalls(const std::optional<ActiveTest> &test)
{
    if (!test)
        return false;
    if (test->test == ActiveTests::kFuelPump)
        return test->value == 0;
    // Four dead cylinders out of six cannot keep the engine turning.
    return test->test == ActiveTests::kCylinderCut && cylindersCut(*test) >= 4;
}

// Engine speed once the running test has had its say on it.
double testedRpm(const DriveSample &d, const std::optional<ActiveTest> &test)
{
    double rpm = d.rpm;
    if (!test || d.cranking)
        return rpm;
    switch (test->test) {
    case ActiveTests::kCylinderCut:
        // Meant for a stationary engine; we show the drop whatever the drive is doing.
        return rpm * (1 - 0.15 * cylindersCut(*test));
    case ActiveTests::kAacValve:
    case ActiveTests::kIacvValve:
        if (atIdle(d))
            rpm += (test->value / 2.55 - kIdleAacPercent) * 12;
        return std::max(rpm, 300.0);
    case ActiveTests::kBaseIdle:
        return atIdle(d) ? DriveCycle::kIdleRpm - 50 : rpm;
    default:
        return rpm;
    }
}

// Warms from 70 C towards the thermostat's 90 C; heat soak adds up to 12 C at idle after the
// drive and bleeds off again after the restart.
double coolantC(double seconds, double cycleSeconds, const DriveSample &d)
{
    double soak = 0;
    if (d.phase == DrivePhase::IdleAfterDrive)
        soak = 12 * std::min(1.0, d.phaseSeconds / 6);
    else if (d.phase <= DrivePhase::FreeRevs && seconds >= DriveCycle::length())
        soak = 12 * std::exp(-cycleSeconds / 5);
    return 90 - 20 * std::exp(-seconds / 60) + soak;
}

double o2Sensor(const DriveSample &d, bool stalled, double seconds)
{
    if (stalled || d.fuelCut)
        return 0.05;
    if (d.cranking)
        return 0.45;
    if (d.throttle > 0.9)
        return 0.85 + 0.03 * wave(seconds, 3); // open loop, rich at full load
    // Closed loop: the mixture swings either side of stoichiometric, faster off idle.
    const double hertz = d.gear == 0 ? 1.0 : 2.0;
    return 0.45 + 0.4 * std::tanh(3 * wave(seconds, hertz));
}

void fillAirAndFuel(EngineState &s, const DriveSample &d, bool stalled, double seconds)
{
    if (stalled || s.rpm < 50)
        s.airFlowV = 0.25;
    else if (d.cranking)
        s.airFlowV = 0.6;
    else
        s.airFlowV = std::min(4.9, 1.05 + 3.6 * (s.rpm / 7000) * (0.25 + 0.75 * d.throttle));
    s.airFlowRhV = 0.98 * s.airFlowV + 0.01;
    const double load = clamp01((s.airFlowV - 1.15) / 3.25);
    if (stalled || d.fuelCut)
        s.injectorMs = 0;
    else if (d.cranking)
        s.injectorMs = 12;
    else
        s.injectorMs = 2.0 + 8 * load + (d.throttle > 0.9 ? 1.0 : 0.0);
    s.injectorRhMs = 1.02 * s.injectorMs;
    s.egtV = 0.6 + 2.8 * load;
    s.o2V = o2Sensor(d, stalled, seconds);
    s.o2RhV = o2Sensor(d, stalled, seconds + 0.2);
    s.o2B1V = o2Sensor(d, stalled, seconds + 0.1);
    s.o2B2V = o2Sensor(d, stalled, seconds + 0.3);
    s.lean = std::lround(s.o2V * 100) < 45; // decided on the ECU's own 10 mV reading
    // Self-learned corrections drift a little around 100 (no correction).
    s.afBase = {quint8(std::lround(100 + 2 * wave(seconds, 0.02))),
                quint8(std::lround(100 - 2 * wave(seconds, 0.03))), 102, 98};
}

void fillIgnitionAndIdle(EngineState &s, const DriveSample &d, bool stalled, double seconds)
{
    if (stalled) {
        s.timingDeg = 0;
        s.aacPercent = 0;
    } else if (d.cranking) {
        s.timingDeg = 10;
        s.aacPercent = 40;
    } else if (atIdle(d)) {
        s.timingDeg = 15 + 1.5 * wave(seconds, 0.7);
        s.aacPercent = kIdleAacPercent + (d.airCon ? 6 : 0);
    } else {
        s.timingDeg = 12 + 26 * clamp01(s.rpm / 4000) - 18 * d.throttle;
        s.aacPercent = d.throttle < kClosedThrottle ? 25 : 18; // dashpot while coasting
    }
}

void fillSwitches(EngineState &s, const DriveSample &d, bool stalled)
{
    const bool running = !stalled && !d.cranking && s.rpm > 0;
    s.closedThrottle = d.throttle < kClosedThrottle;
    s.startSignal = d.cranking;
    s.neutral = d.gear == 0;
    s.powerSteering = d.steering;
    s.airConSwitch = d.airCon;
    s.airConRelay = d.airCon && running && s.rpm > 600 && d.throttle < 0.9;
    s.fuelPump = !stalled && (running || d.cranking);
    s.vct = running && s.rpm >= 1500 && s.rpm <= 5200 && d.throttle > 0.5;
    s.wasteGate = running && d.throttle > 0.8 && s.rpm > 3000;
    s.egr = running && d.throttle >= 0.05 && d.throttle < 0.4 && s.rpm >= 1500 && s.rpm <= 3500 &&
            s.coolantC > 60;
}

// Tests that pin a value the ECU reports rather than change the engine.
void applyValueTest(EngineState &s, const ActiveTest &test)
{
    switch (test.test) {
    case ActiveTests::kCoolantTemp:
        s.coolantC = test.value - 50.0;
        break;
    case ActiveTests::kAfBase:
        s.afBase.fill(test.value);
        break;
    case ActiveTests::kClearSelfLearn:
        s.afBase.fill(100);
        break;
    case ActiveTests::kTimingOffset:
        s.timingDeg += qint8(test.value);
        break;
    case ActiveTests::kAacValve:
    case ActiveTests::kIacvValve:
        s.aacPercent = test.value / 2.55;
        break;
    case ActiveTests::kBaseIdle:
        s.timingDeg = 15;
        s.aacPercent = kIdleAacPercent;
        break;
    case ActiveTests::kVct:
        s.vct = test.value != 0;
        break;
    case ActiveTests::kFuelPump:
        s.fuelPump = test.value != 0;
        break;
    default:
        break;
    }
}

void fillElectrics(EngineState &s, const DriveSample &d)
{
    // The fans follow the temperature the ECU believes (a pinned one too); A/C wants low fan.
    if (s.coolantC >= EngineModel::kFanHighC)
        s.fanStage = 2;
    else if (s.coolantC >= EngineModel::kFanLowC || s.airConRelay)
        s.fanStage = 1;
    else
        s.fanStage = 0;
    if (d.cranking)
        s.batteryV = 10.2 + 0.3 * wave(d.phaseSeconds, 5);
    else if (s.rpm < 400)
        s.batteryV = 12.4;
    else
        s.batteryV = 14.1 - (s.airConRelay ? 0.2 : 0.0) - (s.fanStage > 0 ? 0.3 : 0.0);
}

} // namespace

EngineState EngineModel::at(qint64 ms, const std::optional<ActiveTest> &test)
{
    const double seconds = std::max<qint64>(ms, 0) / 1000.0;
    const double cycleSeconds = std::fmod(seconds, DriveCycle::length());
    const DriveSample d = DriveCycle::at(cycleSeconds);
    const bool stalled = stalls(test);

    EngineState s;
    s.phase = d.phase;
    s.speedKmh = d.speedKmh;
    s.rpm = stalled ? 0 : testedRpm(d, test);
    s.throttleV = 0.44 + d.throttle * (4.30 - 0.44);
    s.tpLoad = quint8(std::lround(6 + 150 * d.throttle));
    s.coolantC = coolantC(seconds, cycleSeconds, d);
    s.fuelTempC = 25 + 15 * (1 - std::exp(-seconds / 600));
    s.airTempC = 25 + 8 * std::exp(-d.speedKmh / 30); // heat soak when standing
    fillAirAndFuel(s, d, stalled, seconds);
    fillIgnitionAndIdle(s, d, stalled, seconds);
    fillSwitches(s, d, stalled);
    if (test)
        applyValueTest(s, *test);
    fillElectrics(s, d);
    return s;
}
