#pragma once

#include <QObject>

// Tells when the system clock has been set (by the user, timedated or a time
// server stepping it), at once and without polling, so that a program asleep
// until a far moment can measure again. Where the system cannot tell,
// nothing is emitted.
class ClockChangeWatcher : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void clockChanged();
};
