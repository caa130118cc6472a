#include "platform/linux/TimedatedTimeSetter.h"
#include "platform/linux/SystemBus.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

namespace {

// Long enough for the user to answer a polkit password prompt.
constexpr int answerTimeoutMs = 120000;

void answer(const SystemTimeSetter::Answer &done, const QDBusPendingCall &call)
{
    if (call.isError())
        done(false, TimedatedTimeSetter::reason(call.error()));
    else
        done(true, QString());
}

} // namespace

TimedatedTimeSetter::TimedatedTimeSetter()
    : m_bus(systemBusOutsideTests("TimedatedTimeSetter"))
{
}

TimedatedTimeSetter::TimedatedTimeSetter(const QDBusConnection &bus)
    : m_bus(bus)
{
}

qint64 TimedatedTimeSetter::usecSinceEpochUtc(const QDateTime &moment)
{
    return moment.toMSecsSinceEpoch() * 1000;
}

QString TimedatedTimeSetter::reason(const QDBusError &error)
{
    switch (error.type()) {
    case QDBusError::Disconnected: return QStringLiteral("无法连接系统总线：%1").arg(error.message());
    case QDBusError::ServiceUnknown: return QStringLiteral("系统时间服务 systemd-timedated 没有运行。");
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut: return QStringLiteral("系统时间服务没有应答。");
    case QDBusError::AccessDenied: return QStringLiteral("没有修改系统时间的权限。");
    default: break;
    }
    if (error.name() == QLatin1String("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"))
        return QStringLiteral("系统开启了自动时间同步，请先关闭它。");
    if (error.name() == QLatin1String("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"))
        return QStringLiteral("没有修改系统时间的权限。");
    return QStringLiteral("系统时间服务拒绝了请求：%1").arg(error.message());
}

void TimedatedTimeSetter::setLocalTime(const QDateTime &localTime, QObject *context, Answer done)
{
    if (!m_bus) {
        // Answered from the event loop, as a bus that is not there would be.
        QTimer::singleShot(0, context, [done = std::move(done)] {
            done(false, QStringLiteral("无法连接系统总线：测试中不使用本机的系统总线。"));
        });
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    const bool relative = false;
    const bool interactive = true;
    call << usecSinceEpochUtc(localTime) << relative << interactive;
    const QDBusPendingCall pending = m_bus->asyncCall(call, answerTimeoutMs);
    // Without a bus the call has failed before the watcher could see it, and
    // the watcher would never report it: the answer goes out from the event
    // loop at once.
    if (pending.isFinished()) {
        QMetaObject::invokeMethod(
            context, [done = std::move(done), pending] { answer(done, pending); }, Qt::QueuedConnection);
        return;
    }
    // The watcher belongs to the context, so an answer that arrives after the
    // context is gone reaches nobody.
    auto *watcher = new QDBusPendingCallWatcher(pending, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done = std::move(done)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         answer(done, *finished);
                     });
}
