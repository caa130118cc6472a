#pragma once

#include <QObject>
#include <QTimer>

// A timer that fires a few milliseconds after each whole second of the
// system clock, re-armed each time, rather than on a free-running beat that
// drifts against the clock's seconds.
class SecondTimer : public QObject
{
    Q_OBJECT

public:
    explicit SecondTimer(QObject *parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

signals:
    void timeout();

private:
    void arm();
    void fire();

    QTimer m_timer;
    bool m_enabled = false;
};
