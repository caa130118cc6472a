#pragma once

#include "platform/Shell.h"

#include <QStringList>

class Notifier;

// The desktop's own launcher: programs start detached with no arguments,
// everything else goes to xdg-open, the desktop's default handler. No
// shell is involved, so a description is never split or expanded.
class DesktopShell : public Shell
{
public:
    // `reporter` tells the user of a description that is refused.
    explicit DesktopShell(Notifier *reporter = nullptr);

    void runProgram(const QString &path) override;
    void openFile(const QString &path) override;
    // An address with a scheme goes as it is; one without is completed the
    // way a browser's address bar would ("www.example.org" becomes
    // "http://www.example.org"), since xdg-open only knows files and URLs;
    // one that cannot be completed goes as typed. One that starts with "-"
    // is no address and would be read as an option: it is refused and
    // reported.
    void openUrl(const QString &address) override;
    void sendMail(const QString &address) override;

private:
    Notifier *m_reporter;

    static void open(const QString &target);
    static void startDetached(const QString &program, const QStringList &arguments);
};
