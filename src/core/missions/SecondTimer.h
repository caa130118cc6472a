#pragma once

#include <QObject>
#include <QTimer>

// A timer that fires at each whole second of the system clock, re-armed
// each time, rather than on a free-running beat that drifts against the
// clock's seconds.
class SecondTimer : public QObject
{
    Q_OBJECT

public:
    enum Landing {
        // Within a fraction of a millisecond after the second begins: the
        // event loop's timers wake up to a millisecond late, so the timer is
        // set a little early and the last stretch is slept to the second.
        OnTheSecond,
        // A few milliseconds into the second, out of the way of a timer
        // landing on the second; for displays of the clock.
        JustAfter,
    };

    explicit SecondTimer(Landing landing, QObject *parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    // The next timeout comes at the start of the second `seconds` after the
    // present one (1: the next second) rather than at the next; later ones
    // come each second again. For a caller that knows the seconds between
    // hold nothing to do, so the program sleeps through them.
    void skipToSecondsAhead(qint64 seconds);
    // Measures again from the present: after the clock has been set.
    void realign();

    // While asleep an enabled timer is not armed, so the program is not woken
    // for a display nobody sees; its seconds are still counted.
    void setAsleep(bool asleep);
    bool isAsleep() const { return m_asleep; }
    // The seconds the timer has slept through since it fell asleep or this
    // was last asked, taken off the count; 0 while it is awake.
    qint64 takeSecondsSlept();

signals:
    void timeout();

private:
    void arm(qint64 secondsAhead = 1);
    void fire();

    QTimer m_timer;
    Landing m_landing;
    bool m_enabled = false;
    bool m_asleep = false;
    // Where, on the monotonic clock in milliseconds, the seconds slept
    // through are counted from: the last landing before falling asleep.
    qint64 m_sleptFromMs = 0;
    // The second the timer is set for, in nanoseconds since the epoch.
    qint64 m_secondNs = 0;
};
