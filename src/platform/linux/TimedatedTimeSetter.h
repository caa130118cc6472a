#pragma once

#include "platform/SystemTimeSetter.h"

#include <QDBusConnection>
#include <QString>

#include <optional>

class QDBusError;

// systemd-timedated on the system bus (org.freedesktop.timedate1). It may
// ask the desktop's polkit agent for the right, and it refuses while
// automatic time synchronisation is on.
class TimedatedTimeSetter : public SystemTimeSetter
{
public:
    // timedated on the system bus; under CHRONODESK_TESTING every request is
    // answered "refused" without being sent.
    TimedatedTimeSetter();
    // timedated (or a stand-in for it) on the given bus.
    explicit TimedatedTimeSetter(const QDBusConnection &bus);

    void setLocalTime(const QDateTime &localTime, QObject *context, Answer done) override;

    // The moment in microseconds since the epoch, UTC, as timedated takes it;
    // a local time is read by the computer's time zone.
    static qint64 usecSinceEpochUtc(const QDateTime &moment);
    // Why a call failed, in the user's words.
    static QString reason(const QDBusError &error);

private:
    std::optional<QDBusConnection> m_bus;
};
