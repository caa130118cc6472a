#pragma once

#include "Clock.h"

// A clock that stands wherever the test puts it.
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)))
        : m_now(start)
    {
    }

    QDateTime now() const override { return m_now; }
    void set(const QDateTime &moment) { m_now = moment; }
    void advance(int seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
