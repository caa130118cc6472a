#include "platform/linux/DesktopShell.h"

#include "platform/Notifier.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QUrl>

#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <vector>

extern char **environ;

namespace {

constexpr int refusalTimeoutMs = 10000;

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

// Reaps a spawned child when it ends, so that it leaves no zombie behind.
void reapWhenDone(pid_t pid)
{
    const int fd = int(syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) {
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
        return;
    }
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, fd, pid] {
        waitpid(pid, nullptr, WNOHANG);
        // Off before the descriptor is closed: its number may be reused at once.
        notifier->setEnabled(false);
        ::close(fd);
        notifier->deleteLater();
    });
}

// posix_spawn starts the child without first copying this whole process, as
// fork would, so a mission's program starts within a few milliseconds of
// its second; the child gets a session of its own, like a detached process.
bool spawnInOwnSession(const QString &path, const QStringList &arguments)
{
    std::vector<QByteArray> texts {QFile::encodeName(path)};
    for (const QString &argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ) == 0;
    posix_spawnattr_destroy(&attributes);
    if (started)
        reapWhenDone(pid);
    return started;
}

} // namespace

DesktopShell::DesktopShell(Notifier *reporter)
    : m_reporter(reporter)
{
}

void DesktopShell::runProgram(const QString &path)
{
    const QString program = executableNamedBy(path);
    if (program.isEmpty())
        open(path);
    else
        startDetached(program, {});
}

void DesktopShell::openFile(const QString &path)
{
    open(path);
}

void DesktopShell::openUrl(const QString &address)
{
    if (address.startsWith(QLatin1Char('-'))) {
        if (m_reporter) {
            m_reporter->notify(QStringLiteral("无法打开网页"),
                               QStringLiteral("“%1”以“-”开头，不是网页地址，没有打开。").arg(address),
                               refusalTimeoutMs);
        }
        return;
    }
    QString target = address;
    if (QUrl(address).scheme().isEmpty()) {
        const QUrl completed = QUrl::fromUserInput(address);
        if (completed.isValid() && !completed.isEmpty())
            target = completed.toString(QUrl::FullyEncoded);
    }
    open(target);
}

void DesktopShell::sendMail(const QString &address)
{
    open(QString::fromLatin1(QUrl(QStringLiteral("mailto:") + address).toEncoded()));
}

void DesktopShell::open(const QString &target)
{
    // xdg-open would take a leading "-" for an option; "./" keeps it a file.
    const QString argument = target.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + target : target;
    startDetached(QStringLiteral("xdg-open"), {argument});
}

void DesktopShell::startDetached(const QString &program, const QStringList &arguments)
{
    const QString path = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty() || !spawnInOwnSession(path, arguments))
        QProcess::startDetached(program, arguments);
}
