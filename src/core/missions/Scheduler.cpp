#include "Scheduler.h"

#include "Clock.h"
#include "MissionActions.h"
#include "MissionModel.h"
#include "RegionalFormat.h"

Scheduler::Scheduler(MissionModel &missions, const Clock &clock, MissionActions &actions)
    : m_missions(missions)
    , m_clock(clock)
    , m_actions(actions)
{
}

void Scheduler::start()
{
    m_lastChecked = wallClockKey(m_clock.now()) - 1;
}

void Scheduler::checkDueMissions()
{
    const qint64 now = wallClockKey(m_clock.now());
    if (!m_lastChecked)
        m_lastChecked = now - 1;
    const qint64 gap = now - *m_lastChecked;
    if (gap == 0)
        return; // this second has been checked already
    // A long gap (suspend, the clock set forward) or a clock set back:
    // only the present second counts.
    const qint64 first = (gap < 0 || gap > maxCatchUpSeconds) ? now : *m_lastChecked + 1;
    for (qint64 second = first; second <= now; ++second) {
        m_lastChecked = second;
        checkSecond(second);
    }
}

void Scheduler::checkSecond(qint64 second)
{
    for (int row = 0; row < m_missions.count(); ++row) {
        const std::optional<qint64> moment = m_missions.momentKey(row);
        if (!moment) {
            if (!m_missions.faultReported(row)) {
                m_missions.setFaultReported(row);
                m_actions.reportFaultyRow(row);
            }
            continue;
        }
        const std::optional<MissionKind> kind = m_missions.kind(row);
        if (!kind)
            continue;
        if (isPowerKind(*kind) && *moment - warningLeadSeconds == second)
            m_actions.warn(row, *kind, fromWallClockKey(*moment));
        if (*moment == second)
            m_actions.carryOut(row, m_missions.mission(row));
    }

    const QDateTime moment = fromWallClockKey(second);
    if (m_actions.chimeOn() && moment.time().minute() == 0 && moment.time().second() == 0)
        m_actions.playHourlySignal(moment.time().hour());
}

void Scheduler::postpone(int row, const QDateTime &moment)
{
    if (row < 0 || row >= m_missions.count())
        return;
    const QDateTime later = fromWallClockKey(wallClockKey(moment) + postponeSeconds);
    m_missions.setDateTime(row, DateToStr(later.date()), TimeToStr(later.time()));
}
