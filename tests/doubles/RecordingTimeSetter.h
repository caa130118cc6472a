#pragma once

#include "platform/SystemTimeSetter.h"

#include <QList>
#include <QObject>

// Records each local time asked for and answers `succeeds` from the event
// loop, as the system would.
class RecordingTimeSetter : public SystemTimeSetter
{
public:
    void setLocalTime(const QDateTime &localTime, QObject *context, Answer done) override
    {
        requests.append(localTime);
        QMetaObject::invokeMethod(
            context,
            [done = std::move(done), ok = succeeds] { done(ok, ok ? QString() : QStringLiteral("测试中拒绝。")); },
            Qt::QueuedConnection);
    }

    bool succeeds = true;
    QList<QDateTime> requests;
};
