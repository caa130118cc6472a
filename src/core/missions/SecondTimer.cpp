#include "core/missions/SecondTimer.h"

#include <cerrno>
#include <time.h>

namespace {

constexpr qint64 nsPerMs = 1000000;
constexpr qint64 nsPerSecond = 1000 * nsPerMs;
// How early an OnTheSecond timer is set: more than the event loop's
// rounding to whole milliseconds, so it does not wake after the second.
constexpr qint64 earlyNs = 2 * nsPerMs;
// Where a JustAfter timer lands in its second.
constexpr qint64 justAfterNs = 5 * nsPerMs;
// A wake-up further than this before its second means the clock was set
// back meanwhile: the tick comes at once rather than sleeping that long.
constexpr qint64 longestSleepNs = 5 * nsPerMs;

qint64 realTimeNs()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * nsPerSecond + now.tv_nsec;
}

qint64 monotonicMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / nsPerMs;
}

} // namespace

SecondTimer::SecondTimer(Landing landing, QObject *parent)
    : QObject(parent)
    , m_landing(landing)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SecondTimer::fire);
}

void SecondTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled && !m_asleep)
        arm();
    else
        m_timer.stop();
}

void SecondTimer::setAsleep(bool asleep)
{
    if (asleep == m_asleep)
        return;
    m_asleep = asleep;
    if (asleep) {
        // Counted from the last landing, so that every landing slept
        // through counts as the second it would have been.
        const qint64 landingMs = (m_landing == OnTheSecond ? 0 : justAfterNs) / nsPerMs;
        const qint64 intoSecondMs = realTimeNs() % nsPerSecond / nsPerMs;
        m_sleptFromMs = monotonicMs() - intoSecondMs + landingMs - (intoSecondMs < landingMs ? 1000 : 0);
        m_timer.stop();
    } else if (m_enabled) {
        arm();
    }
}

qint64 SecondTimer::takeSecondsSlept()
{
    if (!m_asleep)
        return 0;
    const qint64 seconds = qMax<qint64>(0, (monotonicMs() - m_sleptFromMs) / 1000);
    m_sleptFromMs += seconds * 1000;
    return seconds;
}

void SecondTimer::skipToSecondsAhead(qint64 seconds)
{
    if (m_enabled && !m_asleep)
        arm(qMax<qint64>(1, seconds));
}

void SecondTimer::realign()
{
    if (m_enabled && !m_asleep)
        arm();
}

void SecondTimer::arm(qint64 secondsAhead)
{
    const qint64 now = realTimeNs();
    m_secondNs = (now / nsPerSecond + secondsAhead) * nsPerSecond;
    const qint64 landing = m_landing == OnTheSecond ? m_secondNs - earlyNs : m_secondNs + justAfterNs;
    m_timer.start(int(qMax<qint64>(0, landing - now) / nsPerMs));
}

void SecondTimer::fire()
{
    if (m_landing == OnTheSecond) {
        const qint64 left = m_secondNs - realTimeNs();
        if (left > 0 && left <= longestSleepNs) {
            const timespec second {time_t(m_secondNs / nsPerSecond), long(m_secondNs % nsPerSecond)};
            while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &second, nullptr) == EINTR) { }
        }
    }
    // Re-arm first, so the handler's own time does not shift the next tick.
    arm();
    emit timeout();
}
