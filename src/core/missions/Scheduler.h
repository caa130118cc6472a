#pragma once

#include "core/missions/Mission.h"
#include "core/missions/MissionActions.h"
#include "core/missions/MissionModel.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

class Clock;

// The once-a-second check of the running list. Each tick checks, in order,
// every second since the last one it checked, up to the present, so a late
// tick loses no mission. In each second it walks the rows in list order,
// warns ten seconds ahead of a power mission, hands every mission whose
// moment is that second to its actions, and sounds the hourly signal after
// the rows.
//
// No second is checked twice, and each row is carried out at most once for
// its moment, whatever the clock does (set back, the repeated hour of
// autumn). The second in which the program starts is not checked: a
// program restarted within a mission's second has carried it out already.
//
// Every power mission is carried out only after its warning has been shown
// for ten seconds, counted on the steady clock: a warning that opened late,
// or for a mission added less than ten seconds ahead, holds it back
// accordingly, and neither a step of the clock nor a stall of the machine
// shortens it. After a gap of more than a minute of unchecked seconds
// (sleep, the clock set forward, a change of time zone, a stalled machine)
// the missions of the gap are not carried out but reported as missed; the
// hour that the spring change skips is caught up at once.
class Scheduler
{
public:
    // Seconds ahead of a power mission that the warning comes.
    static constexpr int warningLeadSeconds = 10;
    // How far a postpone answer moves a power mission.
    static constexpr int postponeSeconds = 5 * 60;
    // The most unchecked seconds between two ticks that are caught up.
    static constexpr int maxCatchUpSeconds = 60;
    // The most that one tick adds to the time a warning has been shown: a
    // longer pause between ticks is a stall, in which nobody saw it count.
    static constexpr qint64 maxShownStepMs = 1500;
    // How much earlier than ten seconds after its warning's tick a power
    // mission may run: the ticks land on the second give or take this, and
    // the mission keeps to its own second.
    static constexpr qint64 tickJitterMs = 50;

    // What came of a postpone answer.
    enum class PostponeResult { Postponed, Gone, AlreadyCarriedOut };

    Scheduler(MissionModel &missions, const Clock &clock, MissionActions &actions);

    // The list starts: checking goes on from the present second, or after
    // the last second checked if that was the present one.
    void start();
    void checkDueMissions();

    // The computer goes to sleep, and has woken: a gap between the two is
    // reported as slept through.
    void noteSleep() { m_asleep = true; }
    void noteWoken() { m_asleep = false; }

    // The user postponed the power mission `id`, warned about for `moment`:
    // it moves five minutes after that moment, unless it has gone from the
    // list, has been given other texts, or its request has gone already.
    PostponeResult postpone(MissionId id, const QDateTime &moment);

    // The first second after the last one checked (wall-clock key) in which
    // the check has something to do: a warning opens, a row is due, an
    // unreadable row is to be reported, the hourly signal sounds. Empty when
    // nothing is ahead. The seconds before it may be skipped.
    std::optional<qint64> nextBusySecond() const;
    // Notes the seconds up to `second` as checked without walking the list,
    // for a caller that knows from nextBusySecond that they hold nothing.
    void skipQuietSecondsUpTo(qint64 second);

private:
    void checkSecond(qint64 second, bool withHourlySignal);
    // Whether the row's mission is carried out in `second`: in its own
    // second, a power mission only once its warning has been shown for
    // ten seconds.
    bool isDue(const MissionModel::TickView &row, qint64 second) const;
    void reportMissed(qint64 from, qint64 to);
    // Whether the time zone changed since the last check: the last checked
    // instant reads differently under the present zone's rules.
    bool zoneChanged() const;

    MissionModel &m_missions;
    const Clock &m_clock;
    MissionActions &m_actions;
    // The last second checked, on the wall clock and as seconds since the
    // epoch (which a change of summer time does not move).
    qint64 m_lastChecked = 0;
    qint64 m_lastCheckedUtc = 0;
    int m_lastCheckedOffset = 0;
    // Warning time shown: the steady milliseconds between checks of the
    // running list, each pause between ticks counted up to maxShownStepMs.
    qint64 m_shownMs = 0;
    std::optional<qint64> m_lastSteadyMs;
    // The present second of the tick under way.
    qint64 m_present = 0;
    bool m_asleep = false;
    // Unreadable rows found in the tick under way, reported together.
    QVector<ListedMission> m_faultyRows;
};
