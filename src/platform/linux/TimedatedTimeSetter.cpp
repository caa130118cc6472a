#include "TimedatedTimeSetter.h"
#include "SystemBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

namespace {

// Long enough for the user to answer a polkit password prompt.
constexpr int answerTimeoutMs = 120000;

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

void TimedatedTimeSetter::setLocalTime(const QDateTime &localTime, QObject *context, std::function<void(bool ok)> done)
{
    if (!m_bus) {
        // Answered from the event loop, as a bus that is not there would be.
        QTimer::singleShot(0, context, [done = std::move(done)] { done(false); });
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    const bool relative = false;
    const bool interactive = true;
    call << usecSinceEpochUtc(localTime) << relative << interactive;
    // The watcher belongs to the context, so an answer that arrives after the
    // context is gone reaches nobody. A bus that is not there fails at once
    // and the watcher still reports it from the event loop.
    auto *watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call, answerTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done = std::move(done)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         done(!finished->isError());
                     });
}
