#pragma once

#include "core/missions/Mission.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

// A row that a script asks for (command line or session bus): the kind
// text, the description, the date as yyyy-MM-dd or in the list's own date
// format, the time as H:mm:ss (leading zeros allowed). Gives the row as the
// editor would make it: date and time texts in the list's format, the
// kind's icon, and for the power kinds the kind text as description.
// Refuses an unknown kind, a date or time that does not parse, a missing
// description and one holding a line break (a mission file keeps one
// mission per line); `error` then names the value.
std::optional<Mission> requestedMission(const QString &kind, const QString &description, const QString &date,
                                        const QString &time, QString *error);

// A moment as the command line takes it: "yyyy-MM-dd HH:mm:ss", or
// "HH:mm:ss" for that time `today`.
std::optional<QDateTime> parseWhen(const QString &when, const QDate &today);
