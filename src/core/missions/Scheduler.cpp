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
    // The program's first second counts as checked: a program restarted in
    // a mission's second may have carried it out already.
    const QDateTime now = m_clock.now();
    m_lastChecked = wallClockKey(now);
    m_lastCheckedUtc = now.toSecsSinceEpoch();
    m_lastCheckedOffset = now.offsetFromUtc();
}

void Scheduler::start()
{
    const QDateTime now = m_clock.now();
    const qint64 present = wallClockKey(now);
    // Started (or paused and started again) within a second already
    // checked: that second is not checked again.
    if (m_lastChecked != present) {
        m_lastChecked = present - 1;
        m_lastCheckedUtc = now.toSecsSinceEpoch() - 1;
        m_lastCheckedOffset = now.offsetFromUtc();
    }
    // While the list stood still, no warning counted down.
    m_lastSteadyMs = m_clock.steadyMs();
}

bool Scheduler::zoneChanged() const
{
    return QDateTime::fromSecsSinceEpoch(m_lastCheckedUtc).offsetFromUtc() != m_lastCheckedOffset;
}

void Scheduler::checkDueMissions()
{
    const qint64 steady = m_clock.steadyMs();
    if (m_lastSteadyMs)
        m_shownMs += std::clamp<qint64>(steady - *m_lastSteadyMs, 0, maxShownStepMs);
    m_lastSteadyMs = steady;

    const QDateTime clockNow = m_clock.now();
    const qint64 now = wallClockKey(clockNow);
    const qint64 nowUtc = clockNow.toSecsSinceEpoch();
    const qint64 last = m_lastChecked;
    const qint64 gap = now - last;
    if (gap == 0)
        return; // this second has been checked already
    // Seconds between the last one checked and the present: on the wall
    // clock, and as really passed (which a change of summer time does not
    // stretch).
    const qint64 unchecked = gap - 1;
    const qint64 uncheckedPassed = nowUtc - m_lastCheckedUtc - 1;
    const bool newZone = zoneChanged();
    m_lastChecked = now;
    m_lastCheckedUtc = nowUtc;
    m_lastCheckedOffset = clockNow.offsetFromUtc();
    m_present = now;

    if (gap < 0) {
        // The clock set back, the repeated hour of autumn, a zone further
        // west: the present second is checked, and rows already settled
        // stay so.
        checkSecond(now, true);
    } else if (unchecked > maxCatchUpSeconds && (uncheckedPassed > maxCatchUpSeconds || newZone)) {
        // Sleep, the clock set forward, a zone further east, a stall: what
        // fell in the gap is missed. A warning whose mission has not passed
        // still opens now.
        reportMissed(last + 1, now - 1);
        m_asleep = false;
        checkSecond(now, true);
    } else {
        // A late tick, or the hour that the spring change skips (many wall
        // seconds in a few real ones): every second is checked, the hourly
        // signal only for seconds that really passed.
        const bool skippedHour = unchecked > maxCatchUpSeconds;
        for (qint64 second = last + 1; second <= now; ++second)
            checkSecond(second, !skippedHour || second == now);
    }
    if (!m_faultyRows.isEmpty()) {
        m_actions.reportFaultyRows(m_faultyRows);
        m_faultyRows.clear();
    }
}

bool Scheduler::isDue(const MissionModel::TickView &row, qint64 second) const
{
    if (!isPowerKind(*row.kind))
        return *row.moment == second;
    return row.warnedAt && second >= *row.moment
           && m_shownMs - row.warnedShownMs >= warningLeadSeconds * 1000 - tickJitterMs;
}

void Scheduler::checkSecond(qint64 second, bool withHourlySignal)
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
        // Every power mission gets its whole warning, also one added or
        // reached less than ten seconds ahead.
        if (isPowerKind(*view.kind) && !view.warnedAt && second >= *view.moment - warningLeadSeconds
            && second <= *view.moment) {
            m_missions.setWarnedAt(row, m_present, m_shownMs);
            view = m_missions.tickView(row);
            m_actions.warn(m_missions.id(row), *view.kind, fromWallClockKey(*view.moment));
        }
        if (isDue(view, second)) {
            m_missions.setSettled(row);
            m_actions.carryOut(m_missions.id(row), m_missions.mission(row));
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
        // A power mission still counting down its warning when the gap
        // began is missed as well: it does not run at the wake-up.
        const bool waitingForWarning = view.warnedAt && *view.moment < from;
        if ((*view.moment >= from && *view.moment <= to) || waitingForWarning) {
            m_missions.setSettled(row);
            missed.append({row, m_missions.mission(row)});
            // Reported once, however many of its occurrences the gap held.
            m_missions.advanceRepeat(row, to);
        }
    }
    if (!missed.isEmpty())
        m_actions.reportMissed(missed, m_asleep);
}

Scheduler::PostponeResult Scheduler::postpone(MissionId id, const QDateTime &moment)
{
    const int row = m_missions.rowOf(id);
    if (row < 0)
        return PostponeResult::Gone;
    const MissionModel::TickView view = m_missions.tickView(row);
    if (view.moment != wallClockKey(moment))
        return PostponeResult::Gone;
    if (view.settled)
        return PostponeResult::AlreadyCarriedOut;
    const QDateTime later = fromWallClockKey(wallClockKey(moment) + postponeSeconds);
    m_missions.setDateTime(row, DateToStr(later.date()), TimeToStr(later.time()));
    return PostponeResult::Postponed;
}

std::optional<qint64> Scheduler::nextBusySecond() const
{
    const qint64 first = m_lastChecked + 1;
    std::optional<qint64> next;
    const auto consider = [&](qint64 second) {
        second = std::max(second, first);
        if (!next || second < *next)
            next = second;
    };
    if (m_actions.chimeOn())
        consider((first + 3599) / 3600 * 3600);
    for (int row = 0; row < m_missions.count(); ++row) {
        const MissionModel::TickView view = m_missions.tickView(row);
        if (!view.moment) {
            if (!m_missions.faultReported(row))
                return first;
            continue;
        }
        if (!view.kind || view.settled)
            continue;
        // A warning noted after the last second checked is from before the
        // clock went back: it comes again in its second.
        const bool warned = view.warnedAt && *view.warnedAt <= m_lastChecked;
        if (!isPowerKind(*view.kind)) {
            if (*view.moment >= first)
                consider(*view.moment);
        } else if (!warned) {
            if (*view.moment >= first)
                consider(*view.moment - warningLeadSeconds);
        } else {
            // A warning is up: its ten seconds are counted tick by tick (a
            // longer pause between ticks counts as a stall), so every
            // second is checked until the mission has run.
            consider(first);
        }
    }
    return next;
}

void Scheduler::skipQuietSecondsUpTo(qint64 second)
{
    if (second <= m_lastChecked)
        return;
    m_lastCheckedUtc += second - m_lastChecked;
    m_lastChecked = second;
}
