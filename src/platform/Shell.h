#pragma once

#include <QString>

// Hands a mission's text to the desktop, never through a shell and never
// split into arguments. Nothing waits for what was started; nothing is
// reported.
class Shell
{
public:
    virtual ~Shell() = default;
    // Starts `path` as one program with no arguments; a file that is not
    // executable opens with its default application.
    virtual void runProgram(const QString &path) = 0;
    virtual void openFile(const QString &path) = 0;
    virtual void openUrl(const QString &address) = 0;
    // Starts a mail to `address` ("mailto:" + address).
    virtual void sendMail(const QString &address) = 0;
};
