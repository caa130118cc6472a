#pragma once

#include "platform/SessionControl.h"

#include <QDBusConnection>
#include <QString>

#include <optional>

class QDBusMessage;

// Ends the session through systemd-logind on the system bus. Each request is
// preceded by logind's own verdict (CanPowerOff / CanReboot): "yes" sends it,
// "challenge" sends it with interactive authorization allowed so that the
// desktop's polkit agent may ask the user; anything else, or no answer, sends
// nothing. Every call is asynchronous: the GUI thread never waits for logind
// or for an authentication dialog.
class LogindSessionControl : public SessionControl
{
public:
    // logind on the system bus; under CHRONODESK_TESTING it sends nothing.
    LogindSessionControl();
    // logind (or a stand-in for it) on the given bus.
    explicit LogindSessionControl(const QDBusConnection &bus);

    // Power off, forced: for a privileged caller inhibitors do not count,
    // and logind itself asks polkit before anyone else passes a blocking one.
    void powerOff() override;
    // Reboot, not forced: blocking inhibitors hold it up even for root.
    void reboot() override;
    // Terminates the caller's graphical session (logind's "auto" session);
    // gated on the power-off verdict like the shutdown.
    void logOff() override;

    // The flag of RebootWithFlags / PowerOffWithFlags that makes logind
    // respect blocking inhibitors for privileged callers too.
    static constexpr quint64 rootCheckInhibitors = 1;

private:
    void sendWhenAllowed(const QString &verdictMethod, const QDBusMessage &request) const;

    std::optional<QDBusConnection> m_bus;
};
