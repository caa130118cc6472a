#include "LogindSleepWatcher.h"

#include <QDBusConnection>

LogindSleepWatcher::LogindSleepWatcher(QObject *parent)
    : SleepWatcher(parent)
{
    if (qEnvironmentVariableIsSet("CHRONODESK_TESTING") && !qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS"))
        return;
    m_listening = QDBusConnection::systemBus().connect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
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
