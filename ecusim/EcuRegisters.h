#pragma once

#include "ecusim/EngineModel.h"

#include <optional>

// The live-data registers the ECU streams (0x5A, register), encoded from the engine's state as
// the program decodes them: engine speed in 12.5 rpm counts, temperatures as degrees C + 50,
// voltages in the sensor's steps, 2-byte values most significant byte first.
namespace EcuRegisters {
// The byte of a register, or nothing for a register this ECU does not define.
std::optional<quint8> read(quint8 reg, const EngineState &state);
bool isDefined(quint8 reg);

// The switch registers' bits.
namespace Bits {
constexpr quint8 kClosedThrottle = 0x01; // register 0x13
constexpr quint8 kStartSignal = 0x02;
constexpr quint8 kNeutral = 0x04;
constexpr quint8 kPowerSteering = 0x08;
constexpr quint8 kAirConSwitch = 0x10;
constexpr quint8 kAirConRelay = 0x80; // register 0x1E
constexpr quint8 kFuelPump = 0x40;
constexpr quint8 kVct = 0x20;
constexpr quint8 kFanMask = 0x03;   // 0 off, 1 low, 2 high
constexpr quint8 kWasteGate = 0x20; // register 0x1F
constexpr quint8 kEgr = 0x01;
constexpr quint8 kLean = 0x80; // register 0x21: set lean, clear rich
} // namespace Bits

// The engine-speed count of the 0x00/0x01 pair and the memory tools.
quint16 rpmCount(double rpm);
} // namespace EcuRegisters
