#include "SecondTimer.h"

#include <QDateTime>

namespace {

// Lands the tick just inside the new second; a tick that comes a little
// early finds its second checked already and only re-arms.
constexpr int marginMs = 1;

} // namespace

SecondTimer::SecondTimer(QObject *parent)
    : QObject(parent)
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
    if (enabled)
        arm();
    else
        m_timer.stop();
}

void SecondTimer::arm()
{
    const qint64 msec = QDateTime::currentMSecsSinceEpoch() % 1000;
    m_timer.start(int(1000 - msec + marginMs));
}

void SecondTimer::fire()
{
    // Re-arm first, so the handler's own time does not shift the next tick.
    arm();
    emit timeout();
}
