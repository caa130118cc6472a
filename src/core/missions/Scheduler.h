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
// autumn). A power mission is carried out only when its warning has been up
// for ten seconds: a warning that opened late holds it back accordingly.
// After a gap of more than a minute (sleep, the clock set forward, a stalled
// machine) the missions of the gap are not carried out but reported as
// missed; the hour that the spring change skips is caught up at once.
class Scheduler
{
public:
    // Seconds ahead of a power mission that the warning comes.
    static constexpr int warningLeadSeconds = 10;
    // How far a postpone answer moves a power mission.
    static constexpr int postponeSeconds = 5 * 60;
    // The longest gap that is caught up.
    static constexpr int maxCatchUpSeconds = 60;

    Scheduler(MissionModel &missions, const Clock &clock, MissionActions &actions);

    // The list starts: checking goes on from the present second, or after
    // the last second checked if that was the present one.
    void start();
    void checkDueMissions();

    // The computer goes to sleep, and has woken: a gap between the two is
    // reported as slept through.
    void noteSleep() { m_asleep = true; }
    void noteWoken() { m_asleep = false; }

    // The user postponed the power mission of `row`, warned about for
    // `moment`: it moves five minutes after that moment.
    void postpone(int row, const QDateTime &moment);

    // The first second after the last one checked (wall-clock key) in which
    // the check has something to do: a warning opens, a row is due, an
    // unreadable row is to be reported, the hourly signal sounds. Empty when
    // nothing is ahead. The seconds before it may be skipped.
    std::optional<qint64> nextBusySecond() const;
    // Notes the seconds up to `second` as checked without walking the list,
    // for a caller that knows from nextBusySecond that they hold nothing.
    void skipQuietSecondsUpTo(qint64 second);

private:
    void checkSecond(qint64 second, qint64 warnFrom, bool withHourlySignal);
    // The second in which the row is carried out: its moment, or ten
    // seconds after its warning opened if that is later.
    static qint64 dueSecond(const MissionModel::TickView &row);
    void reportMissed(qint64 from, qint64 to);

    MissionModel &m_missions;
    const Clock &m_clock;
    MissionActions &m_actions;
    // The last second checked, on the wall clock and as seconds since the
    // epoch (which a change of summer time does not move).
    std::optional<qint64> m_lastChecked;
    qint64 m_lastCheckedUtc = 0;
    // The present second of the tick under way.
    qint64 m_present = 0;
    bool m_asleep = false;
    // Unreadable rows found in the tick under way, reported together.
    QVector<ListedMission> m_faultyRows;
};
