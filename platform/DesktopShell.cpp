#include "DesktopShell.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// The program a description names: an executable file, or a bare name
// found on PATH as a launcher would find it. Empty when it names none.
QString executableNamedBy(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo file(path);
    if (file.isFile() && file.isExecutable())
        return file.absoluteFilePath();
    return path.contains(QLatin1Char('/')) ? QString() : QStandardPaths::findExecutable(path);
}

} // namespace

void DesktopShell::runProgram(const QString &path)
{
    const QString program = executableNamedBy(path);
    if (program.isEmpty())
        open(path);
    else
        QProcess::startDetached(program, {});
}

void DesktopShell::openFile(const QString &path)
{
    open(path);
}

void DesktopShell::openUrl(const QString &address)
{
    if (QUrl(address).scheme().isEmpty())
        open(QUrl::fromUserInput(address).toString(QUrl::FullyEncoded));
    else
        open(address);
}

void DesktopShell::sendMail(const QString &address)
{
    open(QString::fromLatin1(QUrl(QStringLiteral("mailto:") + address).toEncoded()));
}

void DesktopShell::open(const QString &target)
{
    // xdg-open would take a leading "-" for an option; "./" keeps it a file.
    const QString argument = target.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + target : target;
    QProcess::startDetached(QStringLiteral("xdg-open"), {argument});
}
