#pragma once

#include <QDateTime>

#include <functional>

class QObject;

// Sets the computer's clock. The request goes out at once and the answer
// comes later on the GUI thread, so the window never waits for the system.
class SystemTimeSetter
{
public:
    virtual ~SystemTimeSetter() = default;
    // Makes the computer's local time read `localTime`. `done` gets true when
    // the system took the new time, false when it refused or did not answer;
    // it is not called once `context` is gone.
    virtual void setLocalTime(const QDateTime &localTime, QObject *context, std::function<void(bool ok)> done) = 0;
};
