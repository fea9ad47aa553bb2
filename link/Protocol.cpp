#include "link/Protocol.h"

#include <QList>

namespace Protocol {

QByteArray wakeUp(quint8 ecuId)
{
    return QByteArray{} + char(kWakeUp) + char(kWakeUp) + char(ecuId) + char(kIdentify);
}

QByteArray identityProbe(quint8 candidate)
{
    return QByteArray{} + char(kWakeUp) + char(kWakeUp) + char(candidate);
}

QByteArray readRegisters(const QByteArray &registers)
{
    QByteArray request;
    request.reserve(registers.size() * 2);
    for (char reg : registers) {
        request.append(char(kReadRegister));
        request.append(reg);
    }
    return request;
}

QByteArray readFaultCodes()
{
    return QByteArray(1, char(kReadFaultCodes));
}

QByteArray eraseFaultCodes()
{
    return QByteArray(1, char(kEraseFaultCodes));
}

QByteArray activeTest(quint8 test, quint8 value)
{
    return QByteArray{} + char(kActiveTest) + char(test) + char(value);
}

QByteArray readMemory(quint8 command, const QList<quint16> &addresses)
{
    QByteArray request;
    request.reserve(addresses.size() * 3);
    for (quint16 address : addresses) {
        request.append(char(command));
        request.append(char(address >> 8));
        request.append(char(address & 0xFF));
    }
    return request;
}

} // namespace Protocol
