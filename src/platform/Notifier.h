#pragma once

#include <QString>

#include <functional>

// Shows a short notice outside the program's own windows.
class Notifier
{
public:
    virtual ~Notifier() = default;
    // `onClicked`, when given, runs when the user clicks the notice itself.
    virtual void notify(const QString &title, const QString &text, int timeoutMs,
                        std::function<void()> onClicked = {}) = 0;
    // Whether a notice reaches the user at all (the desktop has a service
    // that shows them).
    virtual bool canNotify() const = 0;
};
