#include "platform/linux/LogindSleepWatcher.h"

#include "platform/linux/SystemBus.h"

LogindSleepWatcher::LogindSleepWatcher(QObject *parent)
    : SleepWatcher(parent)
{
    if (const std::optional<QDBusConnection> bus = systemBusOutsideTests("LogindSleepWatcher"))
        listenOn(*bus);
}

LogindSleepWatcher::LogindSleepWatcher(const QDBusConnection &bus, QObject *parent)
    : SleepWatcher(parent)
{
    listenOn(bus);
}

void LogindSleepWatcher::listenOn(QDBusConnection bus)
{
    m_listening = bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                              QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                              SLOT(prepareForSleep(bool)));
}

void LogindSleepWatcher::prepareForSleep(bool start)
{
    if (start)
        emit sleeping();
    else
        emit woken();
}
