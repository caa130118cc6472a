#pragma once

#include "platform/Clock.h"

#include <optional>

// A clock that stands wherever the test puts it, or runs with the real
// seconds from a moment of the test's choosing.
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
    void set(const QDateTime &moment)
    {
        m_now = moment;
        m_realOffsetSecs.reset();
    }
    void advance(int seconds) { m_now = m_now.addSecs(seconds); }

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
    std::optional<qint64> m_realOffsetSecs;
};
