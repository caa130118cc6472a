#include "platform/linux/TimerfdClockWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <sys/timerfd.h>
#include <unistd.h>

TimerfdClockWatcher::TimerfdClockWatcher(QObject *parent)
    : ClockChangeWatcher(parent)
    , m_fd(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (m_fd < 0)
        return;
    if (!arm()) {
        close(m_fd);
        m_fd = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TimerfdClockWatcher::readNotice);
}

TimerfdClockWatcher::~TimerfdClockWatcher()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool TimerfdClockWatcher::arm()
{
    // An absolute moment at the end of time: the timer never expires, and
    // the kernel cancels it whenever the clock is set.
    itimerspec never {};
    never.it_value.tv_sec = std::numeric_limits<time_t>::max();
    return timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) == 0;
}

void TimerfdClockWatcher::readNotice()
{
    std::uint64_t expirations = 0;
    const ssize_t got = read(m_fd, &expirations, sizeof expirations);
    const int readError = got < 0 ? errno : 0;
    if (readError == EAGAIN)
        return;
    // A cancelled timer stays cancelled until it is armed again.
    arm();
    if (readError == ECANCELED)
        emit clockChanged();
}
