#include "core/missions/Scheduler.h"

#include "core/missions/MissionModel.h"
#include "core/text/RegionalFormat.h"
#include "platform/Clock.h"

#include <algorithm>

Scheduler::Scheduler(MissionModel &missions, const Clock &clock, MissionActions &actions)
    : m_missions(missions)
    , m_clock(clock)
    , m_actions(actions)
{
}

void Scheduler::start()
{
    const QDateTime now = m_clock.now();
    const qint64 previous = wallClockKey(now) - 1;
    // Paused and started again within a second already checked: that
    // second is not checked again.
    if (!m_lastChecked || *m_lastChecked < previous) {
        m_lastChecked = previous;
        m_lastCheckedUtc = now.toSecsSinceEpoch() - 1;
    }
}

void Scheduler::checkDueMissions()
{
    const QDateTime clockNow = m_clock.now();
    const qint64 now = wallClockKey(clockNow);
    const qint64 nowUtc = clockNow.toSecsSinceEpoch();
    if (!m_lastChecked) {
        m_lastChecked = now - 1;
        m_lastCheckedUtc = nowUtc - 1;
    }
    const qint64 last = *m_lastChecked;
    const qint64 gap = now - last;
    if (gap == 0)
        return; // this second has been checked already
    const qint64 elapsed = nowUtc - m_lastCheckedUtc;
    m_lastChecked = now;
    m_lastCheckedUtc = nowUtc;
    m_present = now;

    if (gap < 0) {
        // The clock set back, or the repeated hour of autumn: the present
        // second is checked, and rows already settled stay so.
        checkSecond(now, now, true);
    } else if (gap > maxCatchUpSeconds && elapsed > maxCatchUpSeconds) {
        // Sleep, the clock set forward, a stall: what fell in the gap is
        // missed. A warning whose second fell in it still opens now if its
        // mission has not passed.
        reportMissed(last + 1, now - 1);
        m_asleep = false;
        checkSecond(now, last + 1, true);
    } else {
        // A late tick, or the hour that the spring change skips (many wall
        // seconds in a few real ones): every second is checked, the hourly
        // signal only for seconds that really passed.
        const bool skippedHour = gap > maxCatchUpSeconds;
        for (qint64 second = last + 1; second <= now; ++second)
            checkSecond(second, second, !skippedHour || second == now);
    }
    if (!m_faultyRows.isEmpty()) {
        m_actions.reportFaultyRows(m_faultyRows);
        m_faultyRows.clear();
    }
}

qint64 Scheduler::dueSecond(const MissionModel::TickView &row)
{
    if (!row.warnedAt)
        return *row.moment;
    return std::max(*row.moment, *row.warnedAt + warningLeadSeconds);
}

void Scheduler::checkSecond(qint64 second, qint64 warnFrom, bool withHourlySignal)
{
    for (int row = 0; row < m_missions.count(); ++row) {
        MissionModel::TickView view = m_missions.tickView(row);
        if (!view.moment) {
            // Unreadable: noted for one report at the end of the tick.
            if (!m_missions.faultReported(row)) {
                m_missions.setFaultReported(row);
                m_faultyRows.append({row, m_missions.mission(row)});
            }
            continue;
        }
        if (!view.kind || view.settled)
            continue;
        // A warning from before the clock went back counts for nothing:
        // it comes again in its second.
        if (view.warnedAt && *view.warnedAt > m_present) {
            m_missions.forgetWarning(row);
            view.warnedAt.reset();
        }
        if (isPowerKind(*view.kind) && !view.warnedAt) {
            const qint64 warningSecond = *view.moment - warningLeadSeconds;
            if (warningSecond >= warnFrom && warningSecond <= second && *view.moment >= second) {
                m_missions.setWarnedAt(row, m_present);
                view.warnedAt = m_present;
                m_actions.warn(row, *view.kind, fromWallClockKey(*view.moment));
            }
        }
        if (dueSecond(view) == second) {
            m_missions.setSettled(row);
            m_actions.carryOut(row, m_missions.mission(row));
            // A repeating row moves on to its next occurrence.
            m_missions.advanceRepeat(row, second);
        }
    }

    const QDateTime moment = fromWallClockKey(second);
    if (withHourlySignal && m_actions.chimeOn() && moment.time().minute() == 0 && moment.time().second() == 0)
        m_actions.playHourlySignal(moment.time().hour());
}

void Scheduler::reportMissed(qint64 from, qint64 to)
{
    QVector<ListedMission> missed;
    for (int row = 0; row < m_missions.count(); ++row) {
        const MissionModel::TickView view = m_missions.tickView(row);
        if (!view.moment || !view.kind || view.settled)
            continue;
        const qint64 due = dueSecond(view);
        if (due >= from && due <= to) {
            m_missions.setSettled(row);
            missed.append({row, m_missions.mission(row)});
            // Reported once, however many of its occurrences the gap held.
            m_missions.advanceRepeat(row, to);
        }
    }
    if (!missed.isEmpty())
        m_actions.reportMissed(missed, m_asleep);
}

void Scheduler::postpone(int row, const QDateTime &moment)
{
    if (row < 0 || row >= m_missions.count())
        return;
    const QDateTime later = fromWallClockKey(wallClockKey(moment) + postponeSeconds);
    m_missions.setDateTime(row, DateToStr(later.date()), TimeToStr(later.time()));
}
