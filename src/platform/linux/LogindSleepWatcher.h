#pragma once

#include "platform/SleepWatcher.h"

#include <QDBusConnection>

// Learns of sleep and wake-up from systemd-logind's PrepareForSleep signal
// on the system bus (true before sleeping, false after waking). Only
// listens: it takes no inhibitor lock and asks logind nothing.
class LogindSleepWatcher : public SleepWatcher
{
    Q_OBJECT

public:
    // logind on the system bus; under CHRONODESK_TESTING it does not listen.
    explicit LogindSleepWatcher(QObject *parent = nullptr);
    // logind (or a stand-in for it) on the given bus.
    explicit LogindSleepWatcher(const QDBusConnection &bus, QObject *parent = nullptr);

    bool isListening() const { return m_listening; }

private slots:
    void prepareForSleep(bool start);

private:
    void listenOn(QDBusConnection bus);

    bool m_listening = false;
};
