#include "logging/LogFile.h"

#include "link/Clock.h"
#include "logging/LogFormat.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
constexpr quint32 kSyncIntervalMs = 1000;
}

LogFile::LogFile(const Clock &clock) : m_clock(clock) {}

LogFile::~LogFile()
{
    close();
}

bool LogFile::open(const QString &path)
{
    close();
    m_error.clear();
    m_file.setFileName(path);
    // Unbuffered: each line is one write() to the system, whose result is checked at once.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        m_error = m_file.errorString();
        return false;
    }
    m_lastSync = m_clock.tickCount();
    m_goodSize = 0;
    return true;
}

bool LogFile::writeLine(const QString &line)
{
    if (!m_file.isOpen())
        return false;
    const QByteArray bytes = line.toLatin1() + LogFormat::kLineEnd;
    if (m_file.write(bytes) != bytes.size()) {
        const QString reason = m_file.errorString();
        // Drop the part of the line that did get out, so the file ends on a whole record.
        m_file.resize(m_goodSize);
        fail(reason);
        return false;
    }
    m_goodSize += bytes.size();
    if (m_clock.tickCount() - m_lastSync >= kSyncIntervalMs && !syncToDisk()) {
        fail(m_error);
        return false;
    }
    return true;
}

bool LogFile::close()
{
    if (!m_file.isOpen())
        return m_error.isEmpty();
    const bool synced = syncToDisk();
    m_file.close();
    if (m_file.error() != QFileDevice::NoError && synced)
        m_error = m_file.errorString();
    return synced && m_error.isEmpty();
}

bool LogFile::syncToDisk()
{
    m_lastSync = m_clock.tickCount();
    if (::fdatasync(m_file.handle()) == 0)
        return true;
    // Character devices and some pseudo filesystems cannot sync; that is not a lost write.
    if (errno == EINVAL || errno == EROFS)
        return true;
    m_error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

void LogFile::fail(const QString &what)
{
    m_error = what;
    m_file.close();
}
