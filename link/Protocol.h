#pragma once

#include <QByteArray>

// The bytes the program writes to the ECU and the frames it relies on. Every request the program
// sends is built here, one function per request.
namespace Protocol {

constexpr quint8 kFrameStart = 0xFF;     // every ECU frame: 0xFF, count, data
constexpr quint8 kStartStream = 0xF0;    // repeat the answer to the last request
constexpr quint8 kStopStream = 0x30;     // stop repeating
constexpr quint8 kWakeUp = 0xFF;         // sent twice before the identity byte
constexpr quint8 kIdentify = 0xD0;       // ends the wake-up: stream identification frames
constexpr quint8 kReadRegister = 0x5A;   // followed by a register number
constexpr quint8 kReadFaultCodes = 0xD1; // stream (code, engine starts) pairs
constexpr quint8 kEraseFaultCodes = 0xC1;
constexpr quint8 kActiveTest = 0x0A; // followed by test and value bytes

constexpr quint8 kDefaultEcuId = 0xEF;
constexpr quint8 kDefaultMemoryRead = 0xC9;

// Identification frame: 0xFF, count, ..., five part-number characters.
constexpr quint8 kIdentCount = 0x16;
constexpr int kIdentPartNumberOffset = 19;
constexpr quint8 kIdentCountObd2 = 0x20;
constexpr int kIdentPartNumberOffsetObd2 = 29;
constexpr int kPartNumberLength = 5;

// The wake-up and part-number request, written one byte at a time.
QByteArray wakeUp(quint8 ecuId);

// The identity probe of the ECU finder: a reply holding 0xFF minus the candidate marks it.
QByteArray identityProbe(quint8 candidate);
constexpr quint8 identityAnswer(quint8 candidate)
{
    return static_cast<quint8>(0xFF - candidate);
}

// Pairs 0x5A, register, in the order given.
QByteArray readRegisters(const QByteArray &registers);

QByteArray readFaultCodes();
QByteArray eraseFaultCodes();
QByteArray activeTest(quint8 test, quint8 value);

// Triplets read command, address high, address low.
QByteArray readMemory(quint8 command, const QList<quint16> &addresses);

} // namespace Protocol
