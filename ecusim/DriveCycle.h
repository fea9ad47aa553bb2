#pragma once

// The drive the virtual engine repeats: crank, idle, free revs, a full-throttle pull from 0 to
// 100 km/h in about 8 s, cruise, braking to a stop and idle. Only the driver's side is here
// (engine speed, road speed, throttle, gear); EngineModel turns it into sensor readings.
enum class DrivePhase { Crank, Idle, FreeRevs, Pull, Cruise, Braking, IdleAfterDrive };

struct DriveSample
{
    DrivePhase phase = DrivePhase::Crank;
    double phaseSeconds = 0; // time since the phase began
    double rpm = 0;
    double speedKmh = 0;
    double throttle = 0; // pedal, 0 closed .. 1 wide open
    int gear = 0;        // 0 neutral
    bool cranking = false;
    bool fuelCut = false;  // closed throttle with the wheels driving the engine
    bool airCon = false;   // the driver's A/C switch
    bool steering = false; // parking: the power-steering pump is loaded
};

namespace DriveCycle {
// Length of one cycle in seconds.
double length();
// When a phase begins, in seconds from the start of the cycle.
double startOf(DrivePhase phase);
// The drive at a time within the cycle (0 <= seconds < length()).
DriveSample at(double seconds);
constexpr double kIdleRpm = 750;
} // namespace DriveCycle
