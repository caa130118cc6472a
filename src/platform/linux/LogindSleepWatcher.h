#pragma once

#include "SleepWatcher.h"

// Learns of sleep and wake-up from systemd-logind's PrepareForSleep signal
// on the system bus (true before sleeping, false after waking). Only
// listens: it takes no inhibitor lock and asks logind nothing. Under
// CHRONODESK_TESTING it listens only on a bus named by
// DBUS_SYSTEM_BUS_ADDRESS, never on the machine's own system bus.
class LogindSleepWatcher : public SleepWatcher
{
    Q_OBJECT

public:
    explicit LogindSleepWatcher(QObject *parent = nullptr);

    bool isListening() const { return m_listening; }

private slots:
    void prepareForSleep(bool start);

private:
    bool m_listening = false;
};
