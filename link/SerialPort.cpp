#include "link/SerialPort.h"

#include <QPointer>

QByteArray SerialPort::readAll()
{
    m_armed = true;
    return takeAll();
}

void SerialPort::discardInput()
{
    m_armed = true;
    dropAll();
}

void SerialPort::setReceiveThreshold(int n)
{
    m_threshold = n < 0 ? 0 : n;
}

void SerialPort::bytesArrived()
{
    // A receive handler may wait (and so run the event loop) while it handles a notification.
    // Bytes arriving meanwhile are not announced at once: they are checked against the threshold
    // again as soon as that handler returns, so no notification is ever lost.
    if (m_notifying)
        return;
    QPointer<SerialPort> self(this);
    m_notifying = true;
    while (isOpen() && m_threshold > 0 && m_armed && bytesWaiting() >= m_threshold) {
        m_armed = false;
        emit received();
        if (!self)
            return;
    }
    m_notifying = false;
}
