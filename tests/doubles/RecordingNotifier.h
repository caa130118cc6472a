#pragma once

#include "Notifier.h"

#include <QStringList>

// Records every notice instead of showing it.
class RecordingNotifier : public Notifier
{
public:
    struct Notice
    {
        QString title;
        QString text;
        int timeoutMs;
    };

    void notify(const QString &title, const QString &text, int timeoutMs) override
    {
        notices.append({title, text, timeoutMs});
    }

    QList<Notice> notices;
};
