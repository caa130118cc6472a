#pragma once

#include "core/files/MissionLines.h"

#include <QString>

#include <optional>

// The daily mission file everyday.mis in the program folder: missions that
// are loaded, dated today, at every start.
class DailyMissionFile
{
public:
    explicit DailyMissionFile(const QString &path);
    // The file's place in the program folder `folder` (with its trailing
    // separator).
    static QString pathIn(const QString &folder);

    QString path() const { return m_path; }
    bool exists() const;

    // The daily missions, each dated `todayText`, and the bytes that reading
    // did not reach (after an empty line or the end mark).
    std::optional<MissionLines::Reading> read(const QString &todayText, QString *error) const;
    // What to tell the user when rows of `reading` are no missions (their
    // kind text is none of the nine, as when the file's texts were read in
    // the wrong encoding): how many, which lines, and that they stay in the
    // list and in the file but do not run; and which rows held a NUL byte,
    // read as a blank (see MissionLines::blankedNulNotice). Empty when every
    // row is a mission as the file holds it.
    QString unreadableRowsNotice(const MissionLines::Reading &reading) const;

    // Adds `mission` as the last line that reading reaches: before an empty
    // line or the end mark, everything after it kept byte for byte; creates
    // the file when it is missing. Succeeds only when a reading of the new
    // file gives the mission back.
    bool append(const Mission &mission, QString *error) const;
    // Replaces the file by one line per mission, in the encoding `previous`
    // found, followed by the bytes its reading did not reach as they stood.
    bool rewrite(const QVector<Mission> &missions, const MissionLines::Reading &previous, QString *error) const;

private:
    bool fits(const QVector<Mission> &missions, QString *error) const;

    QString m_path;
};
