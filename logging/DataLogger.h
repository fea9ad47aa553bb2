#pragma once

#include "logging/LogFile.h"
#include "logging/LogFormat.h"

#include <QDateTime>
#include <QPoint>
#include <QString>

class Clock;
class SettingsStore;
struct ProgramState;

// What the logger may log and what the user last chose, from the "DataLog" settings.
struct LogChoices
{
    LogFormat::Selection offered; // streamed now: may be ticked
    LogFormat::Selection ticked;
    QString directory; // always ends with a path separator
};

// Writes the first-opening defaults and reads the choices for the current gauge selection.
LogChoices loadLogChoices(SettingsStore &store, const ProgramState &state);
// Remembers the choices as START uses them; boxes not offered are stored as not ticked.
void saveLogChoices(SettingsStore &store, const LogFormat::Selection &ticked);

// Where a column's check box stands in the logger's grid of seven rows: columns fill top to
// bottom in column-code order, and "EGR sol" stands beside "VCT".
QPoint checkBoxCell(int code);

// The default log name: year, month, day, hour and minute without leading zeros ("200539147").
QString dateStampName(const QDateTime &now);

// The logger: Idle, or Logging into one open file, a record per decoded frame.
class DataLogger
{
public:
    explicit DataLogger(const Clock &clock);

    // Creates the file and writes the header. Empty on success, else the message for the user.
    QString start(const QString &path, const LogFormat::Selection &selection,
                  const GaugeCatalogue &catalogue);
    // One record while logging. Empty on success, else the message for the user (logging has
    // then stopped, the file closed with every record before the failure).
    QString saveLogData(const ProgramState &state);
    // Closes the file. Empty on success, else the message for the user.
    QString stop();

    bool isLogging() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }

private:
    const Clock &m_clock;
    LogFile m_file;
    LogFormat::Selection m_selection;
    quint32 m_startTick = 0;
};
