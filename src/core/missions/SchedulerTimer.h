#pragma once

#include <QObject>

#include <optional>

class Clock;
class MissionModel;
class Scheduler;
class SecondTimer;

// Drives the check of the running list with a second timer that sleeps
// through the seconds holding nothing to do: it wakes at the next second the
// scheduler names (a warning, a due row, the hourly signal), and at the next
// full hour at the latest. A change of the list, a set clock, a sleep and a
// wake have the list checked or the wake-up planned again at once.
class SchedulerTimer : public QObject
{
    Q_OBJECT

public:
    SchedulerTimer(Scheduler &scheduler, MissionModel &missions, const Clock &clock, SecondTimer &timer,
                   QObject *parent = nullptr);

    // Checks every second that may hold something up to the present, then
    // plans the next wake-up. The timer's timeout lands here.
    void check();
    // Plans the next wake-up from what the list holds now; call after the
    // timer has been enabled.
    void plan();

    // The second (wall-clock key) of the next planned wake-up.
    std::optional<qint64> plannedSecond() const { return m_planned; }

private:
    // Before a change of the list the plan held: the seconds it passed over
    // up to the present were quiet. The next plan is made once the change
    // (perhaps one of many in a row) is over.
    void listChanged();

    Scheduler &m_scheduler;
    const Clock &m_clock;
    SecondTimer &m_timer;
    std::optional<qint64> m_planned;
    bool m_planQueued = false;
};
