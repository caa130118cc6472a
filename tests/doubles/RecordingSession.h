#pragma once

#include "platform/SessionControl.h"

#include <QStringList>

// Records each request to end the session ("powerOff", "reboot", "logOff").
class RecordingSession : public SessionControl
{
public:
    void powerOff() override { calls << QStringLiteral("powerOff"); }
    void reboot() override { calls << QStringLiteral("reboot"); }
    void logOff() override { calls << QStringLiteral("logOff"); }

    QStringList calls;
};
