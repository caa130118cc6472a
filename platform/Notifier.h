#pragma once

#include <QString>

// Shows a short notice outside the program's own windows.
class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void notify(const QString &title, const QString &text, int timeoutMs) = 0;
};

// The desktop's notification service (org.freedesktop.Notifications on the
// session bus). Does nothing when no notification daemon answers.
class DesktopNotifier : public Notifier
{
public:
    void notify(const QString &title, const QString &text, int timeoutMs) override;
};
