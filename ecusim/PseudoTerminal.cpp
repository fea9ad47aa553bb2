#include "ecusim/PseudoTerminal.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

PseudoTerminal::PseudoTerminal(QObject *parent) : QObject(parent) {}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open()
{
    close();
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    int master = -1;
    if (::openpty(&master, &m_slave, name, &raw, nullptr) != 0) {
        m_error = systemError();
        m_slave = -1;
        return false;
    }
    return startServing(master, QString::fromLocal8Bit(name));
}

bool PseudoTerminal::openDevice(const QString &path)
{
    close();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        m_error = QStringLiteral("%1: %2").arg(path, systemError());
        return false;
    }
    termios raw{};
    if (::tcgetattr(fd, &raw) != 0) {
        m_error = QStringLiteral("%1 is not a terminal device: %2").arg(path, systemError());
        ::close(fd);
        return false;
    }
    cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    return startServing(fd, path);
}

bool PseudoTerminal::startServing(int fd, const QString &path)
{
    m_master = fd;
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_devicePath = path;
    if (!m_linkPath.isEmpty() && !makeLink()) {
        close();
        return false;
    }
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PseudoTerminal::readMaster);
    return true;
}

bool PseudoTerminal::makeLink()
{
    const QByteArray link = QFile::encodeName(m_linkPath);
    const QFileInfo existing(m_linkPath);
    if (existing.exists() || existing.isSymLink()) {
        if (!existing.isSymLink()) {
            m_error = QStringLiteral("%1 exists and is not a symbolic link").arg(m_linkPath);
            return false;
        }
        ::unlink(link.constData());
    }
    if (::symlink(QFile::encodeName(m_devicePath).constData(), link.constData()) != 0) {
        m_error = QStringLiteral("cannot link %1: %2").arg(m_linkPath, systemError());
        return false;
    }
    m_linkMade = true;
    return true;
}

void PseudoTerminal::close()
{
    if (m_notifier) {
        // close() may run inside the notifier's own signal: let the event loop delete it.
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_linkMade)
        ::unlink(QFile::encodeName(m_linkPath).constData());
    m_linkMade = false;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false; // EAGAIN: nobody reads and the buffer is full; the bytes are lost
        done += n;
    }
    return true;
}

void PseudoTerminal::readMaster()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            emit bytesReceived(QByteArray(buffer, int(n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return; // all read
        // End of file or an I/O error: a served device went away. Left open, the notifier
        // would fire again at once, for ever.
        const QString reason = n == 0 ? QStringLiteral("end of file") : systemError();
        close();
        emit deviceLost(reason);
        return;
    }
}
