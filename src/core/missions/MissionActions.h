#pragma once

#include "Mission.h"

#include <QDateTime>
#include <QString>

// What the once-a-second check hands its work to: a due mission, the warning
// ten seconds ahead of a power mission, the hourly signal and the report of
// a row that cannot be read. The mission runner implements it; tests record it.
class MissionActions
{
public:
    virtual ~MissionActions() = default;

    // `mission` (row `row` of the list) has come due in this second.
    virtual void carryOut(int row, const Mission &mission) = 0;
    // The power mission of `row`, due at `moment`, is ten seconds away.
    // Returns at once; a postpone answer comes back through
    // Scheduler::postpone with `row` and `moment`.
    virtual void warn(int row, MissionKind kind, const QDateTime &moment) = 0;
    virtual bool chimeOn() const = 0;
    // A full hour of the clock has come (0 to 23).
    virtual void playHourlySignal(int hour) = 0;
    virtual void reportFaultyRow(int row) = 0;
};
