#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A pseudo-terminal pair: the program under test opens devicePath() as its serial port, and this
// object plays the far end (the ECU) on the master side. It can also serve an existing terminal
// device instead (a null-modem port, one end of a socat pair).
class PseudoTerminal : public QObject
{
    Q_OBJECT
public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    // Opens a new pair; false (with errorString()) when the system has none to give.
    bool open();
    // Serves the terminal device at `path` in raw mode; devicePath() is then that path.
    bool openDevice(const QString &path);
    // Closes both ends: the program on the device side sees the device disappear.
    void close();
    bool isOpen() const { return m_master >= 0; }

    QString devicePath() const { return m_devicePath; }
    QString errorString() const { return m_error; }
    bool write(const QByteArray &bytes);

    // A symbolic link kept pointing at the device while it is open and removed on close, so
    // that the program keeps one port name across hang-ups (as a udev by-id name does).
    // Empty: none. An existing file that is not a symbolic link is never replaced.
    void setLinkPath(const QString &path) { m_linkPath = path; }
    QString linkPath() const { return m_linkPath; }

signals:
    void bytesReceived(const QByteArray &bytes);
    // The served device failed or went away; the terminal is closed.
    void deviceLost(const QString &reason);

private:
    bool startServing(int fd, const QString &path);
    bool makeLink();
    void readMaster();

    int m_master = -1;
    int m_slave = -1; // held open so the master never reads end-of-file between clients
    QString m_devicePath;
    QString m_linkPath;
    bool m_linkMade = false;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
};
