#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// A repeat rule: an iCalendar recurrence rule (RRULE), read and expanded by
// libical, seen by the rest of the program through Qt types.
//
// Rules are expanded in local wall time and each occurrence then placed with
// the local zone, so a rule at 09:00 stays at 09:00 across the changes of
// summer time, and "every 90 minutes" counts minutes on the wall clock. An
// occurrence that falls in the hour the spring change skips is read with the
// offset from before the change, as iCalendar reads such a time: 02:30 on
// that night becomes 03:30.
class RepeatRule
{
public:
    // Reads an RRULE ("FREQ=WEEKLY;BYDAY=MO,WE,FR", an "RRULE:" prefix
    // allowed) or one of the short names daily, weekdays, weekly and
    // monthly. A rule libical cannot read, or one that names no frequency,
    // gives nothing and a Chinese sentence saying why in `error`.
    static std::optional<RepeatRule> parse(const QString &text, QString *error);

    // The rule as iCalendar writes it, e.g. "FREQ=DAILY;COUNT=3".
    QString text() const { return m_text; }

    // The first occurrence of a series that starts at `from`: `from` itself
    // when the rule allows it, else the first allowed moment after it.
    // Nothing when the rule allows none.
    std::optional<QDateTime> firstOccurrence(const QDateTime &from) const;
    // The first occurrence after `after` of the series whose first
    // occurrence is `start`; nothing when the series has ended.
    std::optional<QDateTime> nextOccurrence(const QDateTime &start, const QDateTime &after) const;

    // The rule in Chinese words for the series starting at `start`:
    // "每周一、三、五 09:00", "工作日 08:30", "每月31日 09:00", "每隔90分钟",
    // with "，共5次" or "，至2027/1/31" for its end.
    QString description(const QDateTime &start) const;

    // The RRULE of each short name.
    static QString dailyRule() { return QStringLiteral("FREQ=DAILY"); }
    static QString weekdaysRule() { return QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"); }

    bool operator==(const RepeatRule &other) const { return m_text == other.m_text; }

private:
    explicit RepeatRule(const QString &text)
        : m_text(text)
    {
    }

    QString m_text;
};
