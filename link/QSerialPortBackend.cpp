#include "link/QSerialPortBackend.h"

#include "link/PortSettings.h"

#include <QFileInfo>
#include <QSerialPort>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QSerialPort::Parity toParity(char p)
{
    switch (p) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits toStopBits(int s)
{
    if (s == 2)
        return QSerialPort::TwoStop;
    if (s == 15)
        return QSerialPort::OneAndHalfStop;
    return QSerialPort::OneStop;
}

// The group that owns a device node, for the "add yourself to the group" hint.
QString owningGroup(const QString &device)
{
    struct stat st
    {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return QString();
    if (const group *g = ::getgrgid(st.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
    return QString();
}

bool mayReadWrite(const QString &device)
{
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
}

} // namespace

QSerialPortBackend::QSerialPortBackend(QObject *parent)
    : SerialPort(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &QSerialPortBackend::bytesArrived);
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onError(e); });
}

QSerialPortBackend::~QSerialPortBackend() = default;

PortOpenError QSerialPortBackend::open(const PortConfig &config)
{
    close();
    const std::optional<LineSettings> line = parseLineSettings(config.settingsText);
    if (!line) {
        return {PortOpenError::BadLineSpeed,
                QStringLiteral("the line settings \"%1\" do not start with a line speed in "
                               "bit/s")
                    .arg(config.settingsText)};
    }
    if (config.device.isEmpty())
        return {PortOpenError::NoSuchPort, QString()};

    m_device = config.device;
    m_port->setPortName(config.device);
    if (!m_port->setBaudRate(line->baudRate))
        return {PortOpenError::BadLineSpeed, m_port->errorString()};
    m_port->setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits));
    m_port->setParity(toParity(line->parity));
    m_port->setStopBits(toStopBits(line->stopBits));
    m_port->setFlowControl(QSerialPort::NoFlowControl);

    m_opening = true;
    const bool opened = m_port->open(QIODevice::ReadWrite);
    m_opening = false;
    if (!opened)
        return describeOpenFailure(m_port->error());
    // Bytes the driver kept from before the port was opened are not ours.
    m_port->clear();
    return {};
}

PortOpenError QSerialPortBackend::describeOpenFailure(int error) const
{
    const QString detail = m_port->errorString();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return {PortOpenError::NoSuchPort, detail};
    case QSerialPort::PermissionError:
        // Qt reports a refused device node, a port locked by another program and a stale lock
        // alike; tell them apart for the user.
        if (QFileInfo::exists(m_device) && !mayReadWrite(m_device))
            return {PortOpenError::PermissionDenied, owningGroup(m_device)};
        return {PortOpenError::PortBusy, detail};
    case QSerialPort::OpenError:
        return {PortOpenError::PortBusy, detail};
    case QSerialPort::UnsupportedOperationError:
        return {PortOpenError::BadLineSpeed, detail};
    default:
        return {PortOpenError::Other, detail};
    }
}

void QSerialPortBackend::close()
{
    if (m_port->isOpen())
        m_port->close();
}

bool QSerialPortBackend::isOpen() const
{
    return m_port->isOpen();
}

bool QSerialPortBackend::write(const QByteArray &bytes)
{
    if (!m_port->isOpen())
        return false;
    if (m_port->write(bytes) != bytes.size())
        return false;
    m_port->flush(); // hand the bytes to the driver now, not at the next event-loop pass
    return true;
}

qint64 QSerialPortBackend::bytesWaiting() const
{
    return m_port->isOpen() ? m_port->bytesAvailable() : 0;
}

QByteArray QSerialPortBackend::takeAll()
{
    return m_port->isOpen() ? m_port->readAll() : QByteArray();
}

void QSerialPortBackend::dropAll()
{
    if (!m_port->isOpen())
        return;
    m_port->readAll();
    m_port->clear(QSerialPort::Input);
}

void QSerialPortBackend::onError(int error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || m_opening)
        return;
    if (!m_port->isOpen())
        return;
    // Once the device is gone Qt repeats the error as fast as it can: close at once.
    const QString reason = m_port->errorString();
    m_port->close();
    emit deviceLost(reason);
}
