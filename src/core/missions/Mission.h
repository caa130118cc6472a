#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

// The nine kinds of mission. A mission's kind is known only by its stored
// text, compared exactly.
enum class MissionKind {
    mkShutdown,
    mkRestart,
    mkLogoff,
    mkRunProgram,
    mkOpenFile,
    mkShowMessage,
    mkRing,
    mkOpenUrl,
    mkSendMail,
};

struct MissionKindInfo
{
    MissionKind kind;
    const char *storedText; // UTF-8
    const char *name; // ASCII, for scripts: "shutdown", "run", ...
    int imageIndex; // into the row icons (ImageList2)
};

// In the order in which the tick compares them.
extern const std::array<MissionKindInfo, 9> missionKinds;

QString kindText(MissionKind kind);
// The kind's ASCII name, as scripts write it and machine-readable lists give it.
QString kindName(MissionKind kind);
// The kind named by its stored text or by its ASCII name, if any.
std::optional<MissionKind> kindFromTextOrName(const QString &textOrName);
int kindImageIndex(MissionKind kind);
// The icon of the kind named `text`; 0 for a text that names no kind.
int kindImageIndex(const QString &text);
// The kind whose stored text is exactly `text`, if any.
std::optional<MissionKind> kindFromText(const QString &text);
// Shutdown, restart and log-off: the kinds that are warned about ahead.
bool isPowerKind(MissionKind kind);

// A local date and time to the second as one number (seconds on the wall
// clock since the start of the Julian calendar), so that comparing and
// adding seconds needs no time-zone work.
qint64 wallClockKey(const QDate &date, const QTime &time);
inline qint64 wallClockKey(const QDateTime &moment)
{
    return wallClockKey(moment.date(), moment.time());
}
QDateTime fromWallClockKey(qint64 key);
// A moment's wall-clock date and time (as the list holds them) in ISO 8601
// with the local offset from UTC, as scripts read it: "2026-12-31T09:30:00+08:00".
QString isoMoment(const QDateTime &moment);

// `text` cut to at most `maxChars` characters, an ellipsis marking the cut,
// for quoting a row's texts in a report.
QString abbreviated(const QString &text, int maxChars);

// A mission's id in the list (see MissionModel::id); 0 names no mission.
using MissionId = quint64;

// One row of the mission list: four texts and an icon number, and for a
// repeating mission its rule.
struct Mission
{
    QString kindText;
    QString description;
    QString dateText;
    QString timeText;
    int imageIndex = 0;
    // A repeating mission: its rule (an RRULE, see RepeatRule; empty for a
    // mission carried out once) and the first occurrence of its series. The
    // date and time texts hold the occurrence to come.
    QString repeatRule = {};
    QDateTime repeatStart = {};

    bool repeats() const { return !repeatRule.isEmpty(); }

    bool operator==(const Mission &other) const
    {
        return kindText == other.kindText && description == other.description && dateText == other.dateText
               && timeText == other.timeText && imageIndex == other.imageIndex && repeatRule == other.repeatRule
               && repeatStart == other.repeatStart;
    }
};
