#pragma once

#include "Shell.h"

#include <QStringList>

// The desktop's own launcher: programs start detached with no arguments,
// everything else goes to xdg-open, the desktop's default handler. No
// shell is involved, so a description is never split or expanded.
class DesktopShell : public Shell
{
public:
    void runProgram(const QString &path) override;
    void openFile(const QString &path) override;
    // An address with a scheme goes as it is; one without is completed the
    // way a browser's address bar would ("www.example.org" becomes
    // "http://www.example.org"), since xdg-open only knows files and URLs.
    void openUrl(const QString &address) override;
    void sendMail(const QString &address) override;

private:
    static void open(const QString &target);
    static void startDetached(const QString &program, const QStringList &arguments);
};
