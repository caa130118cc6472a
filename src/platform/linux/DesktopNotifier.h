#pragma once

#include "Notifier.h"

// The desktop's notification service (org.freedesktop.Notifications on the
// session bus). Does nothing when no notification daemon answers.
class DesktopNotifier : public Notifier
{
public:
    void notify(const QString &title, const QString &text, int timeoutMs) override;
};
