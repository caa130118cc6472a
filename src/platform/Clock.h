#pragma once

#include <QDateTime>

// Reads the local date and time. Everything that depends on the present goes
// through one clock, so tests drive it with a clock of their own.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
