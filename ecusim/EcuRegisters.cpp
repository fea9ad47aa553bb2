#include "ecusim/EcuRegisters.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Reader = quint8 (*)(const EngineState &);

quint8 byteOf(double value)
{
    return quint8(std::clamp<long>(std::lround(value), 0, 255));
}

// 2-byte values are signed on the program's side: keep the high byte below 0x80.
quint16 wordOf(double value)
{
    return quint16(std::clamp<long>(std::lround(value), 0, 0x7FFF));
}

quint8 high(quint16 w)
{
    return quint8(w >> 8);
}

quint8 low(quint16 w)
{
    return quint8(w & 0xFF);
}

quint8 temperature(double celsius)
{
    return byteOf(celsius + 50);
}

quint16 airFlow(double volts)
{
    return wordOf(volts / 0.005);
}

quint16 injector(double ms)
{
    return wordOf(ms / 0.01);
}

quint8 o2(double volts)
{
    return byteOf(volts * 100);
}

quint8 switches13(const EngineState &s)
{
    using namespace EcuRegisters::Bits;
    return quint8((s.closedThrottle ? kClosedThrottle : 0) | (s.startSignal ? kStartSignal : 0) |
                  (s.neutral ? kNeutral : 0) | (s.powerSteering ? kPowerSteering : 0) |
                  (s.airConSwitch ? kAirConSwitch : 0));
}

quint8 switches1E(const EngineState &s)
{
    using namespace EcuRegisters::Bits;
    return quint8((s.airConRelay ? kAirConRelay : 0) | (s.fuelPump ? kFuelPump : 0) |
                  (s.vct ? kVct : 0) | (s.fanStage & kFanMask));
}

struct Row
{
    quint8 reg;
    Reader read;
};

const std::array<Row, 31> kRegisters = {{
    {0x00, [](const EngineState &s) { return high(EcuRegisters::rpmCount(s.rpm)); }},
    {0x01, [](const EngineState &s) { return low(EcuRegisters::rpmCount(s.rpm)); }},
    {0x04, [](const EngineState &s) { return high(airFlow(s.airFlowV)); }},
    {0x05, [](const EngineState &s) { return low(airFlow(s.airFlowV)); }},
    {0x06, [](const EngineState &s) { return high(airFlow(s.airFlowRhV)); }},
    {0x07, [](const EngineState &s) { return low(airFlow(s.airFlowRhV)); }},
    {0x08, [](const EngineState &s) { return temperature(s.coolantC); }},
    {0x09, [](const EngineState &s) { return o2(s.o2V); }},
    {0x0A, [](const EngineState &s) { return o2(s.o2RhV); }},
    {0x0B, [](const EngineState &s) { return byteOf(s.speedKmh / 2); }},
    {0x0C, [](const EngineState &s) { return byteOf(s.batteryV / 0.08); }},
    {0x0D, [](const EngineState &s) { return byteOf(s.throttleV / 0.02); }},
    {0x0F, [](const EngineState &s) { return temperature(s.fuelTempC); }},
    {0x11, [](const EngineState &s) { return temperature(s.airTempC); }},
    {0x12, [](const EngineState &s) { return byteOf(s.egtV / 0.02); }},
    {0x13, switches13},
    {0x14, [](const EngineState &s) { return high(injector(s.injectorMs)); }},
    {0x15, [](const EngineState &s) { return low(injector(s.injectorMs)); }},
    {0x16, [](const EngineState &s) { return byteOf(110 - s.timingDeg); }},
    {0x17, [](const EngineState &s) { return byteOf(s.aacPercent * 2.55); }},
    {0x1A, [](const EngineState &s) { return s.afBase[0]; }},
    {0x1B, [](const EngineState &s) { return s.afBase[1]; }},
    {0x1C, [](const EngineState &s) { return s.afBase[2]; }},
    {0x1D, [](const EngineState &s) { return s.afBase[3]; }},
    {0x1E, switches1E},
    {0x1F,
     [](const EngineState &s) {
         using namespace EcuRegisters::Bits;
         return quint8((s.wasteGate ? kWasteGate : 0) | (s.egr ? kEgr : 0));
     }},
    {0x21, [](const EngineState &s) { return s.lean ? EcuRegisters::Bits::kLean : quint8(0); }},
    {0x22, [](const EngineState &s) { return high(injector(s.injectorRhMs)); }},
    {0x23, [](const EngineState &s) { return low(injector(s.injectorRhMs)); }},
    {0x35, [](const EngineState &s) { return o2(s.o2B1V); }},
    {0x36, [](const EngineState &s) { return o2(s.o2B2V); }},
}};

const Row *find(quint8 reg)
{
    const auto it = std::find_if(kRegisters.begin(), kRegisters.end(),
                                 [reg](const Row &r) { return r.reg == reg; });
    return it == kRegisters.end() ? nullptr : &*it;
}

} // namespace

std::optional<quint8> EcuRegisters::read(quint8 reg, const EngineState &state)
{
    const Row *row = find(reg);
    if (!row)
        return std::nullopt;
    return row->read(state);
}

bool EcuRegisters::isDefined(quint8 reg)
{
    return find(reg) != nullptr;
}

quint16 EcuRegisters::rpmCount(double rpm)
{
    return quint16(std::clamp<long>(std::lround(rpm / 12.5), 0, 0xFFFF));
}
