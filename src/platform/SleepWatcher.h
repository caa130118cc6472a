#pragma once

#include <QObject>

// Tells when the computer is about to sleep (suspend or hibernate) and when
// it has woken again. Where the system cannot tell, nothing is emitted and
// the gaps of the clock are all there is.
class SleepWatcher : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void sleeping();
    void woken();
};
