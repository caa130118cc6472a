#pragma once

#include "platform/Notifier.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

// The desktop's notification service (org.freedesktop.Notifications on the
// session bus). Does nothing when no notification daemon answers. A click on
// a notice (its "default" action) runs the notice's onClicked; a button of a
// notice with choices, its onChosen.
class DesktopNotifier : public QObject, public Notifier
{
    Q_OBJECT

public:
    // The name the notices carry as their sender.
    static QString applicationName();
    // `text` as a notice body in the notification markup: "&", "<" and ">"
    // stand as themselves.
    static QString markupEscaped(const QString &text);

    explicit DesktopNotifier(const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    void notify(const QString &title, const QString &text, int timeoutMs, std::function<void()> onClicked) override;
    void notifyWithChoices(const QString &title, const QString &text, int timeoutMs, const QList<Choice> &choices,
                           std::function<void(const QString &)> onChosen) override;
    // A notification service runs or is started by the bus when called.
    bool canNotify() const override;

signals:
    // The service has shown a notice and named it `id`; a click on it is
    // heard from now on.
    void noticeShown(uint id);

private slots:
    void actionInvoked(uint id, const QString &actionKey);
    void notificationClosed(uint id, uint reason);

private:
    // Sends a notice with `actions` (keys and labels in turn); `onAction`
    // gets the key of each action invoked on it.
    void send(const QString &title, const QString &text, int timeoutMs, const QStringList &actions,
              std::function<void(const QString &)> onAction);

    QDBusConnection m_bus;
    // Whether the daemon reads the body as markup; until it has said,
    // taken that it does, as nearly every daemon does.
    bool m_bodyMarkup = true;
    // What to do on a click or a button, by the id the service gave each
    // notice still shown.
    QHash<uint, std::function<void(const QString &)>> m_onAction;
};
