#include "DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QStringList>
#include <QVariantMap>

void DesktopNotifier::notify(const QString &title, const QString &text, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("ChronoDesk") << uint(0) << QStringLiteral("chronodesk") << title << text << QStringList()
         << QVariantMap() << timeoutMs;
    // Fire and forget: the answer (or its absence) changes nothing for us.
    bus.asyncCall(call);
}
