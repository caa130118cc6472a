#pragma once

#include "Mission.h"

#include <QDateTime>
#include <QString>

#include <optional>

class Clock;
class MissionActions;
class MissionModel;

// The once-a-second check of the running list. Each tick checks, in order,
// every second since the last one it checked, up to the present, so a late
// tick loses no mission; after a gap of more than a minute only the present
// second is checked. In each second it walks the rows in list order, warns
// ten seconds ahead of a power mission, hands every mission whose moment is
// that second to its actions, and sounds the hourly signal after the rows.
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

    // The list starts: checking begins with the present second.
    void start();
    void checkDueMissions();

    // The user postponed the power mission of `row`, warned about for
    // `moment`: it moves five minutes after that moment.
    void postpone(int row, const QDateTime &moment);

private:
    void checkSecond(qint64 second);

    MissionModel &m_missions;
    const Clock &m_clock;
    MissionActions &m_actions;
    std::optional<qint64> m_lastChecked;
};
