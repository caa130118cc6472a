#pragma once

#include <QDateTime>
#include <QElapsedTimer>

// Reads the local date and time, and a steady count of milliseconds that no
// setting of the clock, change of zone or summer time moves and that stands
// still while the computer sleeps. Everything that depends on the present
// goes through one clock, so tests drive it with a clock of their own.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual qint64 steadyMs() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 steadyMs() const override
    {
        QElapsedTimer timer;
        timer.start();
        return timer.msecsSinceReference();
    }
};
