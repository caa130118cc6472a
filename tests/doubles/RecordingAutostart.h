#pragma once

#include "platform/Autostart.h"

#include <QStringList>

// An autostart entry held in memory; records each change ("enable PATH",
// "disable"). With `failEnable` set, enabling fails and changes nothing.
class RecordingAutostart : public Autostart
{
public:
    bool isOn() const override { return on; }
    bool enable(const QString &programPath, QString *error) override
    {
        calls << QStringLiteral("enable ") + programPath;
        if (failEnable) {
            *error = QStringLiteral("无法写入文件“/autostart/ChronoDesk.desktop”：没有访问权限。");
            return false;
        }
        on = true;
        return true;
    }
    void disable() override
    {
        calls << QStringLiteral("disable");
        on = false;
    }

    bool on = false;
    bool failEnable = false;
    QStringList calls;
};
