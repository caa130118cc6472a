#pragma once

#include "core/missions/Mission.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// A row of the list as it stood when the check handed it over.
struct ListedMission
{
    int row;
    Mission mission;
};

// What the once-a-second check hands its work to: a due mission, the warning
// ten seconds ahead of a power mission, the hourly signal, the rows that
// cannot be read and the missions whose seconds passed unchecked. The
// mission runner implements it; tests record it.
class MissionActions
{
public:
    virtual ~MissionActions() = default;

    // `mission` (the list's mission `id`) has come due in this second.
    virtual void carryOut(MissionId id, const Mission &mission) = 0;
    // The power mission `id`, due at `moment`, is ten seconds away.
    // Returns at once; a postpone answer comes back through
    // Scheduler::postpone with `id` and `moment`.
    virtual void warn(MissionId id, MissionKind kind, const QDateTime &moment) = 0;
    virtual bool chimeOn() const = 0;
    // A full hour of the clock has come (0 to 23).
    virtual void playHourlySignal(int hour) = 0;
    // Rows whose date or time cannot be read, all those found in one check,
    // each once until its texts change.
    virtual void reportFaultyRows(const QVector<ListedMission> &rows) = 0;
    // Missions whose seconds fell in a gap too long to catch up: they are
    // not carried out. `slept` tells that the computer was asleep then;
    // otherwise the clock jumped or the machine stalled.
    virtual void reportMissed(const QVector<ListedMission> &missed, bool slept) = 0;
};
