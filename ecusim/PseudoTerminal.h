#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A pseudo-terminal pair: the program under test opens devicePath() as its serial port, and this
// object plays the far end (the ECU) on the master side.
class PseudoTerminal : public QObject
{
    Q_OBJECT
public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    // Opens a new pair; false (with errorString()) when the system has none to give.
    bool open();
    // Closes both ends: the program on the device side sees the device disappear.
    void close();
    bool isOpen() const { return m_master >= 0; }

    QString devicePath() const { return m_devicePath; }
    QString errorString() const { return m_error; }
    bool write(const QByteArray &bytes);

signals:
    void bytesReceived(const QByteArray &bytes);

private:
    void readMaster();

    int m_master = -1;
    int m_slave = -1; // held open so the master never reads end-of-file between clients
    QString m_devicePath;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
};
