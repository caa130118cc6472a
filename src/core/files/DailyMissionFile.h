#pragma once

#include "MissionLines.h"

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
    // Adds `mission` as the last line; creates the file when it is missing.
    bool append(const Mission &mission, QString *error) const;
    // Replaces the file by one line per mission followed by `unread` as it
    // stood, so that lines the reading never reached are kept.
    bool rewrite(const QVector<Mission> &missions, const QByteArray &unread, QString *error) const;

private:
    bool fits(const QVector<Mission> &missions, QString *error) const;

    QString m_path;
};
