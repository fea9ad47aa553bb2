#pragma once

#include "link/SerialPort.h"

class QSerialPort;

// The real serial port, over QSerialPort.
class QSerialPortBackend : public SerialPort
{
    Q_OBJECT
public:
    explicit QSerialPortBackend(QObject *parent = nullptr);
    ~QSerialPortBackend() override;

    PortOpenError open(const PortConfig &config) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    qint64 bytesWaiting() const override;

protected:
    QByteArray takeAll() override;
    void dropAll() override;

private:
    void onError(int error);
    PortOpenError describeOpenFailure(int error) const;

    QSerialPort *m_port;
    QString m_device;
    bool m_opening = false;
};
