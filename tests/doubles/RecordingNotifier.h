#pragma once

#include "platform/Notifier.h"

#include <QStringList>

// Records every notice instead of showing it; a test clicks one by calling
// its onClicked.
class RecordingNotifier : public Notifier
{
public:
    struct Notice
    {
        QString title;
        QString text;
        int timeoutMs;
        std::function<void()> onClicked;
    };

    void notify(const QString &title, const QString &text, int timeoutMs, std::function<void()> onClicked) override
    {
        notices.append({title, text, timeoutMs, std::move(onClicked)});
    }
    bool canNotify() const override { return serviceRunning; }

    bool serviceRunning = true;
    QList<Notice> notices;
};
