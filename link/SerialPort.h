#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// Why a port did not open, in terms the user can act on.
struct PortOpenError
{
    enum Kind {
        None,
        NoSuchPort,       // the port number or device does not denote a usable port
        PermissionDenied, // the user may not open the device (group membership)
        PortBusy,         // another program holds the port
        BadLineSpeed,     // the line speed setting is not a number the port accepts
        Other,
    };
    Kind kind = None;
    QString detail; // the system's own words, when it gave any
};

// Where and how to open the line.
struct PortConfig
{
    QString device;       // a device path (/dev/ttyUSB0) or, on Windows, a name (COM1)
    QString settingsText; // "<speed>,N,8,1"
};

// The serial port the link talks through: exactly the operations the link needs. Backends report
// arriving bytes through bytesArrived(); this class owns the receive-threshold rule.
class SerialPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual PortOpenError open(const PortConfig &config) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Sends the bytes in one call; false when the port is closed or the write failed.
    virtual bool write(const QByteArray &bytes) = 0;
    virtual qint64 bytesWaiting() const = 0;

    // Every waiting byte; the input buffer is then empty.
    QByteArray readAll();
    // Drops every waiting byte.
    void discardInput();

    // received() is raised once at least n bytes wait, and again after each read once n more
    // have arrived. 0 turns the notification off.
    void setReceiveThreshold(int n);
    int receiveThreshold() const { return m_threshold; }

signals:
    // The receive notification: enough bytes are waiting.
    void received();
    // The device went away (cable pulled, adapter reset); the port is already closed.
    void deviceLost(const QString &reason);

protected:
    virtual QByteArray takeAll() = 0;
    virtual void dropAll() = 0;
    // Backends call this whenever bytes arrive.
    void bytesArrived();

private:
    int m_threshold = 0;
    bool m_armed = true;
    bool m_notifying = false;
};
