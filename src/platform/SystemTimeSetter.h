#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class QObject;

// Sets the computer's clock. The request goes out at once and the answer
// comes later on the GUI thread, so the window never waits for the system.
class SystemTimeSetter
{
public:
    virtual ~SystemTimeSetter() = default;
    // Makes the computer's local time read `localTime`. `done` gets true when
    // the system took the new time, false with a sentence that says why when
    // it refused, could not be reached or did not answer; it is called from
    // the event loop, never before setLocalTime returns, and not once
    // `context` is gone.
    using Answer = std::function<void(bool ok, const QString &reason)>;
    virtual void setLocalTime(const QDateTime &localTime, QObject *context, Answer done) = 0;
};
