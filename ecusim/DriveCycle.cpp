#include "ecusim/DriveCycle.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct PhaseSpan
{
    DrivePhase phase;
    double seconds;
};

constexpr std::array<PhaseSpan, 7> kPhases = {{
    {DrivePhase::Crank, 2},
    {DrivePhase::Idle, 10},
    {DrivePhase::FreeRevs, 6},
    {DrivePhase::Pull, 8},
    {DrivePhase::Cruise, 20},
    {DrivePhase::Braking, 8},
    {DrivePhase::IdleAfterDrive, 10},
}};

constexpr double kPi = 3.14159265358979323846;
constexpr double kCrankRpm = 230;
constexpr double kCatchSeconds = 1.6; // the engine fires and flares up after this much cranking
constexpr double kFlareRpm = 1400;
constexpr double kShiftRpm = 6500;
constexpr double kLaunchRpm = 2500; // clutch slip in first gear
constexpr double kTopKmh = 100;
constexpr double kPullSeconds = 8;
constexpr double kBrakeSeconds = 8;
constexpr double kClutchInRpm = 1300; // the driver declutches below this while braking
// Road speed per 1000 rpm in each gear, first to fifth.
constexpr std::array<double, 5> kKmhPerKrpm = {8.0, 13.5, 20.0, 27.0, 34.0};

double wave(double seconds, double hertz)
{
    return std::sin(2 * kPi * hertz * seconds);
}

double idleRpm(double seconds)
{
    return DriveCycle::kIdleRpm + 12 * wave(seconds, 0.7);
}

DriveSample crank(double t)
{
    DriveSample s;
    if (t < kCatchSeconds) {
        s.cranking = true;
        s.rpm = kCrankRpm + 40 * wave(t, 5);
    } else {
        s.rpm = kCrankRpm + (kFlareRpm - kCrankRpm) * (t - kCatchSeconds) / (2 - kCatchSeconds);
    }
    return s;
}

DriveSample idle(double t)
{
    DriveSample s;
    s.rpm = idleRpm(t) + (kFlareRpm - DriveCycle::kIdleRpm) * std::exp(-t / 1.5);
    return s;
}

// A blip of the throttle starting at `start`: up to `peak` in half a second, then back down.
double blip(double t, double start, double peak, double *throttle)
{
    const double tau = t - start;
    if (tau < 0)
        return 0;
    const double rise = 0.5;
    if (tau < rise) {
        *throttle = 0.6;
        return (peak - DriveCycle::kIdleRpm) * tau / rise;
    }
    return (peak - DriveCycle::kIdleRpm) * std::exp(-(tau - rise) / 0.5);
}

DriveSample freeRevs(double t)
{
    DriveSample s;
    s.rpm = idleRpm(t) + blip(t, 0.5, 4000, &s.throttle) + blip(t, 3.5, 3200, &s.throttle);
    return s;
}

// Lowest gear that keeps the engine below the shift point at this road speed (first to fifth).
int pullGear(double kmh)
{
    for (int g = 0; g < int(kKmhPerKrpm.size()); ++g) {
        if (kmh * 1000 / kKmhPerKrpm[g] <= kShiftRpm)
            return g + 1;
    }
    return int(kKmhPerKrpm.size());
}

DriveSample pull(double t)
{
    DriveSample s;
    const double u = std::clamp(t / kPullSeconds, 0.0, 1.0);
    s.speedKmh = kTopKmh * (1 - std::pow(1 - u, 1.5));
    s.gear = pullGear(s.speedKmh);
    s.rpm = s.speedKmh * 1000 / kKmhPerKrpm[s.gear - 1];
    if (s.gear == 1)
        s.rpm = std::max(s.rpm, kLaunchRpm);
    s.throttle = 1.0;
    return s;
}

DriveSample cruise(double t)
{
    DriveSample s;
    s.speedKmh = kTopKmh + 1.5 * wave(t, 0.1);
    s.gear = 5;
    s.rpm = s.speedKmh * 1000 / kKmhPerKrpm[4];
    s.throttle = 0.17 + 0.03 * wave(t, 0.25);
    s.airCon = true;
    return s;
}

DriveSample braking(double t)
{
    DriveSample s;
    s.speedKmh = kTopKmh * std::max(0.0, 1 - t / kBrakeSeconds);
    s.airCon = true;
    const double inGearRpm = s.speedKmh * 1000 / kKmhPerKrpm[4];
    if (inGearRpm >= kClutchInRpm) {
        s.gear = 5;
        s.rpm = inGearRpm;
        s.fuelCut = true;
        return s;
    }
    // Declutched and coasting in neutral: the engine falls back to idle.
    const double declutchAt = kBrakeSeconds * (1 - kClutchInRpm * kKmhPerKrpm[4] / 1000 / kTopKmh);
    s.rpm = idleRpm(t) + (kClutchInRpm - DriveCycle::kIdleRpm) * std::exp(-(t - declutchAt) / 0.5);
    return s;
}

DriveSample idleAfterDrive(double t)
{
    DriveSample s;
    s.airCon = true;
    s.rpm = idleRpm(t) + 50; // the idle is raised for the A/C compressor
    s.steering = t >= 2 && t < 5;
    return s;
}

DriveSample phaseSample(DrivePhase phase, double t)
{
    switch (phase) {
    case DrivePhase::Crank:
        return crank(t);
    case DrivePhase::Idle:
        return idle(t);
    case DrivePhase::FreeRevs:
        return freeRevs(t);
    case DrivePhase::Pull:
        return pull(t);
    case DrivePhase::Cruise:
        return cruise(t);
    case DrivePhase::Braking:
        return braking(t);
    case DrivePhase::IdleAfterDrive:
        return idleAfterDrive(t);
    }
    return {};
}

} // namespace

double DriveCycle::length()
{
    double total = 0;
    for (const PhaseSpan &p : kPhases)
        total += p.seconds;
    return total;
}

double DriveCycle::startOf(DrivePhase phase)
{
    double start = 0;
    for (const PhaseSpan &p : kPhases) {
        if (p.phase == phase)
            return start;
        start += p.seconds;
    }
    return start;
}

DriveSample DriveCycle::at(double seconds)
{
    double start = 0;
    for (const PhaseSpan &p : kPhases) {
        if (seconds < start + p.seconds || &p == &kPhases.back()) {
            DriveSample s = phaseSample(p.phase, seconds - start);
            s.phase = p.phase;
            s.phaseSeconds = seconds - start;
            return s;
        }
        start += p.seconds;
    }
    return {};
}
