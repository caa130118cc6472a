#pragma once

#include "core/missions/Mission.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

// A row that a script asks for (command line or session bus): the kind as
// its stored text or its ASCII name, the description, the date as
// yyyy-MM-dd or in the list's own date format, the time as H:mm:ss (leading
// zeros allowed). Gives the row as the editor would make it: the kind's
// stored text, date and time texts in the list's format, the kind's icon,
// for the power kinds the kind text as description and for a ring without
// a description the built-in sound. Refuses, with `error` naming the value:
// an unknown kind, a date or time that does not parse, a local time that
// does not exist (skipped by a daylight-saving change), a moment before
// `now`, a missing description and one holding a tab, a line break or
// another control character (a row is one line of four tab-free fields).
std::optional<Mission> requestedMission(const QString &kind, const QString &description, const QString &date,
                                        const QString &time, const QDateTime &now, QString *error);

// As requestedMission, and the row repeats by `rule` (an RRULE or a short
// name, see RepeatRule) from the given moment, as the editor applies a rule
// (applyRepeatRule): the row shows the rule's first moment from there.
// Refuses besides an empty rule, one that cannot be read and one that
// allows no moment from there.
std::optional<Mission> requestedRepeatingMission(const QString &kind, const QString &description, const QString &date,
                                                 const QString &time, const QString &rule, const QDateTime &now,
                                                 QString *error);

// A date and time on the local wall clock, as a script names it.
struct WallClockMoment
{
    QDate date;
    QTime time;
};

// The moment of a command line's --at, relative to `now`:
//   +90s, +45m, +2h, +1d, +1h30m   from now (whole seconds);
//   tomorrow HH:mm[:ss]            that time tomorrow;
//   HH:mm[:ss]                     that time today;
//   yyyy-MM-dd HH:mm[:ss]          that day;
//   the date and time texts as the list shows them ("2026-3-7 8:05:09").
// Nothing when the text is none of these.
std::optional<WallClockMoment> parseWhen(const QString &when, const QDateTime &now);

// The forms parseWhen takes, for a message that refuses another.
QString whenForms();
