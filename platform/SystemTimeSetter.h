#pragma once

#include <QDateTime>

#include <functional>

class QObject;

// Sets the computer's clock. The request goes out at once and the answer
// comes later on the GUI thread, so the window never waits for the system.
class SystemTimeSetter
{
public:
    virtual ~SystemTimeSetter() = default;
    // Makes the computer's local time read `localTime`. `done` gets true when
    // the system took the new time, false when it refused or did not answer;
    // it is not called once `context` is gone.
    virtual void setLocalTime(const QDateTime &localTime, QObject *context, std::function<void(bool ok)> done) = 0;
};

// systemd-timedated on the system bus (org.freedesktop.timedate1). It may
// ask the desktop's polkit agent for the right, and it refuses while
// automatic time synchronisation is on.
class TimedatedTimeSetter : public SystemTimeSetter
{
public:
    void setLocalTime(const QDateTime &localTime, QObject *context, std::function<void(bool ok)> done) override;

    // The moment in microseconds since the epoch, UTC, as timedated takes it;
    // a local time is read by the computer's time zone.
    static qint64 usecSinceEpochUtc(const QDateTime &moment);
};
