#pragma once

// Helpers shared by the virtual ECU's tests.
#include "ecusim/EcuRegisters.h"

#include <QByteArray>
#include <QString>

namespace EcuSimTest {

constexpr qint64 kIdleMs = 8000; // the idle phase: engine settled, throttle closed, standing
constexpr qint64 kCruiseMs = 35000;
constexpr qint64 kPullMs = 22000;            // four seconds into the full-throttle pull
inline const char *const kWake = "FF FF EF"; // wake-up with the default identity

inline QByteArray bytes(const QString &hexText)
{
    return QByteArray::fromHex(hexText.toLatin1());
}

inline QString hexOf(const QByteArray &b)
{
    return QString::fromLatin1(b.toHex(' ').toUpper());
}

inline quint8 reg(quint8 r, const EngineState &s)
{
    const std::optional<quint8> v = EcuRegisters::read(r, s);
    if (!v)
        qFatal("register %02X is not defined", r);
    return *v;
}

// A register as the program reads it: the MSB registers of 2-byte values with their LSB.
inline int value(quint8 r, const EngineState &s)
{
    switch (r) {
    case 0x00:
    case 0x04:
    case 0x06:
    case 0x14:
    case 0x22:
        return reg(r, s) * 256 + reg(quint8(r + 1), s);
    default:
        return reg(r, s);
    }
}

inline double rpmOf(const EngineState &s)
{
    return value(0x00, s) * 12.5;
}

inline double kmhOf(const EngineState &s)
{
    return reg(0x0B, s) * 2;
}

} // namespace EcuSimTest
