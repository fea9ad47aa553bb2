#include "ecusim/EcuConfig.h"

bool EcuConfigRules::isReservedCommand(quint8 byte)
{
    switch (byte) {
    case Protocol::kWakeUp:
    case Protocol::kStartStream:
    case Protocol::kStopStream:
    case Protocol::kReadRegister:
    case Protocol::kIdentify:
    case Protocol::kReadFaultCodes:
    case Protocol::kEraseFaultCodes:
    case Protocol::kActiveTest:
        return true;
    default:
        return false;
    }
}
