#pragma once

#include "platform/Clock.h"

#include <optional>

// A clock that stands wherever the test puts it, or runs with the real
// seconds from a moment of the test's choosing. Its steady count goes on
// with the time that passes (set or advanced forward), not with a setting
// of the clock (step, or set back) nor with a sleep of the computer.
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)))
        : m_now(start)
    {
    }

    QDateTime now() const override
    {
        if (m_realOffsetSecs)
            return QDateTime::currentDateTime().addSecs(*m_realOffsetSecs);
        return m_now;
    }
    qint64 steadyMs() const override
    {
        if (m_realOffsetSecs)
            return SystemClock().steadyMs();
        return m_steadyMs;
    }

    // Time passes up to `moment`; a moment before the present sets the
    // clock back without time passing.
    void set(const QDateTime &moment)
    {
        m_steadyMs += std::max<qint64>(0, m_now.msecsTo(moment));
        m_now = moment;
        m_realOffsetSecs.reset();
    }
    void advance(int seconds) { set(m_now.addSecs(seconds)); }
    // The clock is set `seconds` forward or back, or the computer sleeps
    // that long: the steady count does not move.
    void step(int seconds) { m_now = m_now.addSecs(seconds); }

    // From now on the clock reads `moment` in the present real second and
    // goes on with the real clock, its seconds turning with the real ones.
    void runFrom(const QDateTime &moment)
    {
        QDateTime real = QDateTime::currentDateTime();
        real.setTime(QTime(real.time().hour(), real.time().minute(), real.time().second()));
        m_realOffsetSecs = real.secsTo(moment);
    }

private:
    QDateTime m_now;
    qint64 m_steadyMs = 1000000;
    std::optional<qint64> m_realOffsetSecs;
};
