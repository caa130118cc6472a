#pragma once

#include "SystemTimeSetter.h"

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
