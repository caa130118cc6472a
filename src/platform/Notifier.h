#pragma once

#include <QString>

// Shows a short notice outside the program's own windows.
class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void notify(const QString &title, const QString &text, int timeoutMs) = 0;
};
