#pragma once

#include <QFile>
#include <QString>

class Clock;

// A log file being written. Every line goes to the operating system as it is written, so a crash
// of the program loses at most the line in progress; the data is forced to the disk about once a
// second and at close, so a power cut loses at most the last second. Every write, sync and close
// is checked: a full disk or a removed device is reported, never taken for success.
class LogFile
{
public:
    explicit LogFile(const Clock &clock);
    ~LogFile();

    // Creates (or replaces) the file. False with errorString() when it cannot be created.
    bool open(const QString &path);
    bool isOpen() const { return m_file.isOpen(); }
    // Appends one line and its CR LF. False with errorString() when the write failed; the file
    // is then closed, keeping every line written before.
    bool writeLine(const QString &line);
    // Syncs and closes; false with errorString() when the last data could not be saved.
    bool close();

    QString fileName() const { return m_file.fileName(); }
    QString errorString() const { return m_error; }

private:
    bool syncToDisk();
    void fail(const QString &what);

    const Clock &m_clock;
    QFile m_file;
    quint32 m_lastSync = 0;
    qint64 m_goodSize = 0; // bytes of whole lines written
    QString m_error;
};
