#pragma once

#include "link/SerialPort.h"

#include <QList>

class Clock;

// A serial port for tests: records every write with the tick it happened at, and lets a test
// deliver bytes as if the ECU had sent them.
class FakeSerialPort : public SerialPort
{
    Q_OBJECT
public:
    struct Write
    {
        quint32 tick;
        QByteArray bytes;
    };

    explicit FakeSerialPort(const Clock *clock = nullptr) : m_clock(clock) {}

    PortOpenError open(const PortConfig &config) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override;
    qint64 bytesWaiting() const override { return m_input.size(); }

    // Bytes arriving from the ECU.
    void inject(const QByteArray &bytes);
    // The device goes away as a pulled USB cable does.
    void loseDevice(const QString &reason);

    // What the next open() reports.
    PortOpenError nextOpenResult;
    PortConfig lastConfig;
    int openCount = 0;
    QList<Write> writes;
    int discardCount = 0;
    // Everything written, in one array.
    QByteArray written() const;

protected:
    QByteArray takeAll() override;
    void dropAll() override;

private:
    const Clock *m_clock;
    bool m_open = false;
    QByteArray m_input;
};
