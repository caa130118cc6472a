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

signals:
    void timeout();

private:
    void arm();
    void fire();

    QTimer m_timer;
    Landing m_landing;
    bool m_enabled = false;
    // The second the timer is set for, in nanoseconds since the epoch.
    qint64 m_secondNs = 0;
};
