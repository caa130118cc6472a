#include "core/missions/SchedulerTimer.h"

#include "core/missions/Mission.h"
#include "core/missions/MissionModel.h"
#include "core/missions/Scheduler.h"
#include "core/missions/SecondTimer.h"
#include "platform/Clock.h"

#include <QMetaObject>

#include <algorithm>

namespace {

constexpr qint64 secondsPerHour = 3600;

// The real seconds from `now` to the start of the wall-clock second `key`,
// through the time-zone rules (a change of summer time between the two).
qint64 secondsUntil(const QDateTime &now, qint64 key)
{
    const QDateTime wall = fromWallClockKey(key);
    return QDateTime(wall.date(), wall.time(), now.timeSpec()).toSecsSinceEpoch() - now.toSecsSinceEpoch();
}

} // namespace

SchedulerTimer::SchedulerTimer(Scheduler &scheduler, MissionModel &missions, const Clock &clock, SecondTimer &timer,
                               QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_clock(clock)
    , m_timer(timer)
{
    connect(&m_timer, &SecondTimer::timeout, this, &SchedulerTimer::check);
    connect(&missions, &QAbstractItemModel::rowsInserted, this, &SchedulerTimer::listChanged);
    connect(&missions, &QAbstractItemModel::rowsRemoved, this, &SchedulerTimer::listChanged);
    connect(&missions, &QAbstractItemModel::modelReset, this, &SchedulerTimer::listChanged);
    connect(&missions, &QAbstractItemModel::layoutChanged, this, &SchedulerTimer::listChanged);
    connect(&missions, &QAbstractItemModel::dataChanged, this, &SchedulerTimer::listChanged);
}

void SchedulerTimer::check()
{
    // Nothing was due in the seconds before the planned one, whatever the
    // clock did meanwhile: they are passed over unwalked.
    if (m_planned)
        m_scheduler.skipQuietSecondsUpTo(std::min(wallClockKey(m_clock.now()) - 1, *m_planned - 1));
    m_scheduler.checkDueMissions();
    plan();
}

void SchedulerTimer::plan()
{
    m_planQueued = false;
    if (!m_timer.isEnabled()) {
        m_planned.reset();
        return;
    }
    const QDateTime now = m_clock.now();
    const qint64 present = wallClockKey(now);
    qint64 next = (present / secondsPerHour + 1) * secondsPerHour;
    if (const std::optional<qint64> busy = m_scheduler.nextBusySecond())
        next = std::min(next, *busy);
    m_planned = next;
    m_timer.skipToSecondsAhead(secondsUntil(now, next));
}

void SchedulerTimer::listChanged()
{
    if (!m_planned)
        return;
    // The check at the start of the present second would have found nothing
    // either: a row added for it now is late, as it always was.
    m_scheduler.skipQuietSecondsUpTo(std::min(wallClockKey(m_clock.now()), *m_planned - 1));
    m_planned.reset();
    if (m_planQueued)
        return;
    m_planQueued = true;
    QMetaObject::invokeMethod(this, &SchedulerTimer::plan, Qt::QueuedConnection);
}
