#pragma once

#include "platform/ClockChangeWatcher.h"

class QSocketNotifier;

// The kernel's own notice of a set clock: a timer on the real-time clock,
// armed for a moment that never comes and cancelled by the kernel whenever
// the clock is set, which the event loop sees as the timer's file becoming
// readable.
class TimerfdClockWatcher : public ClockChangeWatcher
{
    Q_OBJECT

public:
    explicit TimerfdClockWatcher(QObject *parent = nullptr);
    ~TimerfdClockWatcher() override;

private:
    bool arm();
    void readNotice();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};
