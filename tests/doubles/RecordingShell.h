#pragma once

#include "platform/Shell.h"

#include <QStringList>

// Records each hand-over as "verb argument".
class RecordingShell : public Shell
{
public:
    void runProgram(const QString &path) override { calls << QStringLiteral("run ") + path; }
    void openFile(const QString &path) override { calls << QStringLiteral("file ") + path; }
    void openUrl(const QString &address) override { calls << QStringLiteral("url ") + address; }
    void sendMail(const QString &address) override { calls << QStringLiteral("mail ") + address; }

    QStringList calls;
};
