#pragma once

#include "link/Protocol.h"

#include <QByteArray>
#include <QList>
#include <QSet>

#include <optional>

// A stored fault: the code byte reads as the decimal code (0x11 is code 11) and the number of
// engine starts since the fault was seen.
struct FaultCode
{
    quint8 code = 0;
    quint8 starts = 0;
    bool operator==(const FaultCode &o) const { return code == o.code && starts == o.starts; }
};

// What makes one virtual ECU differ from another.
struct EcuConfig
{
    quint8 identity = Protocol::kDefaultEcuId; // never 0xFF: that is the wake-up byte
    bool obd2 = false;                         // longer identification frames
    QByteArray partNumber = "65U00";           // five characters
    quint8 memoryReadCommand = Protocol::kDefaultMemoryRead;
    QList<FaultCode> faults = {{0x11, 3}, {0x43, 12}};
    // Registers the ECU never answers; unset: every register the engine model does not define.
    std::optional<QSet<quint8>> silentRegisters;
};

namespace EcuConfigRules {
constexpr quint8 kNoFaultsCode = 0x55; // what a clean fault memory reports
constexpr int kPartNumberLength = Protocol::kPartNumberLength;
// Bytes a memory-read command may not be, because another request already means them.
bool isReservedCommand(quint8 byte);
} // namespace EcuConfigRules
