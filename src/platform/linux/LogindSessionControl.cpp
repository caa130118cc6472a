#include "platform/linux/LogindSessionControl.h"
#include "platform/linux/SystemBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString service = QStringLiteral("org.freedesktop.login1");
const QString managerPath = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");

QDBusMessage managerCall(const QString &method)
{
    return QDBusMessage::createMethodCall(service, managerPath, managerInterface, method);
}

} // namespace

LogindSessionControl::LogindSessionControl()
    : m_bus(systemBusOutsideTests("LogindSessionControl"))
{
}

LogindSessionControl::LogindSessionControl(const QDBusConnection &bus)
    : m_bus(bus)
{
}

void LogindSessionControl::powerOff()
{
    QDBusMessage request = managerCall(QStringLiteral("PowerOffWithFlags"));
    request << quint64(0);
    sendWhenAllowed(QStringLiteral("CanPowerOff"), request);
}

void LogindSessionControl::reboot()
{
    QDBusMessage request = managerCall(QStringLiteral("RebootWithFlags"));
    request << rootCheckInhibitors;
    sendWhenAllowed(QStringLiteral("CanReboot"), request);
}

void LogindSessionControl::logOff()
{
    QDBusMessage request = managerCall(QStringLiteral("TerminateSession"));
    request << QStringLiteral("auto");
    sendWhenAllowed(QStringLiteral("CanPowerOff"), request);
}

void LogindSessionControl::sendWhenAllowed(const QString &verdictMethod, const QDBusMessage &request) const
{
    if (!m_bus || !m_bus->isConnected())
        return;
    QDBusConnection bus = *m_bus;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(managerCall(verdictMethod)));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [bus, request](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<QString> verdict = *call;
        if (verdict.isError())
            return;
        QDBusMessage allowed = request;
        if (verdict.value() == QLatin1String("challenge"))
            allowed.setInteractiveAuthorizationAllowed(true);
        else if (verdict.value() != QLatin1String("yes"))
            return;
        // Nobody waits for the answer: a refusal changes nothing.
        bus.asyncCall(allowed);
    });
}
