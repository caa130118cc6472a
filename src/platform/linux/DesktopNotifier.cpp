#include "platform/linux/DesktopNotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString defaultAction = QStringLiteral("default");

} // namespace

QString DesktopNotifier::applicationName()
{
    return QStringLiteral("翎鹊时间管理器");
}

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this, SLOT(actionInvoked(uint, QString)));
    m_bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
    // A daemon that reads no markup shows the body as it comes: it is then
    // sent unescaped.
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("GetCapabilities"))),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answered) {
        const QDBusPendingReply<QStringList> reply = *answered;
        if (reply.isValid())
            m_bodyMarkup = reply.value().contains(QStringLiteral("body-markup"));
        answered->deleteLater();
    });
}

QString DesktopNotifier::markupEscaped(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    escaped.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    escaped.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return escaped;
}

void DesktopNotifier::notify(const QString &title, const QString &text, int timeoutMs, std::function<void()> onClicked)
{
    // The "default" action is what a click on the notice itself invokes.
    if (!onClicked) {
        send(title, text, timeoutMs, {}, {});
        return;
    }
    send(title, text, timeoutMs, {defaultAction, QStringLiteral("恢复")},
         [onClicked = std::move(onClicked)](const QString &key) {
             if (key == defaultAction)
                 onClicked();
         });
}

void DesktopNotifier::notifyWithChoices(const QString &title, const QString &text, int timeoutMs,
                                        const QList<Choice> &choices, std::function<void(const QString &)> onChosen)
{
    QStringList actions;
    for (const Choice &choice : choices)
        actions << choice.first << choice.second;
    send(title, text, timeoutMs, actions, [onChosen = std::move(onChosen)](const QString &key) {
        if (key != defaultAction)
            onChosen(key);
    });
}

void DesktopNotifier::send(const QString &title, const QString &text, int timeoutMs, const QStringList &actions,
                           std::function<void(const QString &)> onAction)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    call << applicationName() << uint(0) << QStringLiteral("chronodesk") << title
         << (m_bodyMarkup ? markupEscaped(text) : text) << actions << QVariantMap() << timeoutMs;
    // The answer, when it comes, names the notice; nothing waits for it.
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, onAction = std::move(onAction)](QDBusPendingCallWatcher *answered) {
                const QDBusPendingReply<uint> reply = *answered;
                if (reply.isValid()) {
                    if (onAction)
                        m_onAction.insert(reply.value(), onAction);
                    emit noticeShown(reply.value());
                }
                answered->deleteLater();
            });
}

bool DesktopNotifier::canNotify() const
{
    if (!m_bus.isConnected())
        return false;
    const QDBusConnectionInterface *busNames = m_bus.interface();
    return busNames->isServiceRegistered(service).value()
           || busNames->activatableServiceNames().value().contains(service);
}

void DesktopNotifier::actionInvoked(uint id, const QString &actionKey)
{
    const std::function<void(const QString &)> onAction = m_onAction.value(id);
    if (onAction)
        onAction(actionKey);
}

void DesktopNotifier::notificationClosed(uint id, uint)
{
    m_onAction.remove(id);
}
