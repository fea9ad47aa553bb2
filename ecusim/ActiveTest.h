#pragma once

#include <QtGlobal>

// An actuator test the program has asked for (0x0A, test, value); it lasts until the next stop
// byte. The test bytes are those the Active Test window sends.
struct ActiveTest
{
    quint8 test = 0;
    quint8 value = 0;
};

namespace ActiveTests {
constexpr quint8 kCoolantTemp = 0x80;  // value: degrees C + 50
constexpr quint8 kAfBase = 0x81;       // value: the base itself (75..125)
constexpr quint8 kTimingOffset = 0x82; // value: signed degrees, two's complement
constexpr quint8 kAacValve = 0x84;     // value: percent x 2.55
constexpr quint8 kIacvValve = 0x85;    // value: percent x 2.55
constexpr quint8 kCylinderCut = 0x88;  // value: bit i cuts cylinder i + 1
constexpr quint8 kFuelPump = 0x89;     // value: 1 on, 0 off
constexpr quint8 kClearSelfLearn = 0x8B;
constexpr quint8 kBaseIdle = 0x8C;
constexpr quint8 kVct = 0x8F; // value: 1 on, 0 off

// A short text for the request log ("coolant held at 20 C").
const char *name(quint8 test);
} // namespace ActiveTests
