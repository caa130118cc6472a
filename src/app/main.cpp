#include "app/ControlClient.h"
#include "app/ControlService.h"
#include "core/control/ApplicationId.h"
#include "core/control/CommandLine.h"
#include "core/control/DisplayPlatform.h"
#include "core/files/ProgramFolder.h"
#include "core/text/RegionalFormat.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/widgets/ErrorReport.h"
#include "gui/widgets/Fonts.h"
#include "platform/Clock.h"
#include "platform/linux/DesktopNotifier.h"
#include "platform/linux/DesktopShell.h"
#include "platform/linux/LogindSessionControl.h"
#include "platform/linux/LogindSleepWatcher.h"
#include "platform/linux/PluginSoundOutput.h"
#include "platform/linux/TimedatedTimeSetter.h"
#include "platform/linux/TimerfdClockWatcher.h"
#include "platform/linux/XdgAutostart.h"
#include "platform/QueuedSound.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

#include <functional>

#include <cstdio>

namespace {

// Under Wayland the program runs through Xwayland when it can, so that its
// windows stand where it puts them. Set only for Qt's start-up: programs
// that missions start get the session's own setting.
void chooseDisplayPlatform()
{
    const QByteArray platform =
        chosenDisplayPlatform(qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"), qgetenv("QT_QPA_PLATFORM"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

// Installed under a prefix: one copy shared by every user (who may well be
// allowed to write to its folder, as root is to /usr/bin), so the files are
// kept per user.
bool isInstalled(const QString &executableFolder)
{
    return QFileInfo::exists(executableFolder + QStringLiteral("/../share/applications/") + applicationId()
                             + QStringLiteral(".desktop"));
}

// The per-user data folder, named here rather than after the application's
// name, which is the Chinese one the desktop shows.
QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/ChronoDesk");
}

// Claims the application id on the session bus. False when another program
// of this session holds it already.
bool claimApplicationId(QDBusConnection &bus)
{
    if (!bus.isConnected())
        return true;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        applicationId(), QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    return !reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

// The services of this desktop, as the program uses them.
struct LinuxPlatform
{
    SystemClock clock;
    DesktopNotifier notifier;
    LogindSessionControl session;
    DesktopShell shell {&notifier};
    PluginSoundOutput soundOutput {PluginSoundOutput::programFolders()};
    QueuedSound sound {&soundOutput};
    XdgAutostart autostart;
    TimedatedTimeSetter timeSetter;
    LogindSleepWatcher sleepWatcher;
    TimerfdClockWatcher clockChanges;

    PlatformServices services() { return platformServicesOf(*this); }
};

// Without a session bus (or from another session) the files are still used
// by one program at a time: false, after saying so, when another holds them.
bool lockProgramFolder(QLockFile &lock, const QString &folder)
{
    lock.setStaleLockTime(0);
    if (lock.tryLock(0) || lock.error() != QLockFile::LockFailedError)
        return true;
    const QString text = QStringLiteral("另一个翎鹊时间管理器正在使用文件夹 %1 中的 config.ini、everyday.mis 和 "
                                        "db.mdb,本程序不再启动。")
                             .arg(QDir::toNativeSeparators(folder));
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
    QMessageBox::warning(nullptr, applicationTitle(), text);
    return false;
}

// Which folder the program uses and why, said once without waiting.
void showFolderNotice(QWidget *window, const QString &notice)
{
    makeNotice(QMessageBox::Information, QStringLiteral("FolderNotice"), QStringLiteral("提示:"), notice, window)
        ->open();
}

// Runs `action` once, when `window` is first up on the screen (shown and
// not minimised), for a program started hidden.
class WhenFirstUp : public QObject
{
public:
    WhenFirstUp(QWidget *window, std::function<void()> action)
        : QObject(window)
        , m_action(std::move(action))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto *window = static_cast<QWidget *>(watched);
        if ((event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange) && window->isVisible()
            && !window->isMinimized()) {
            deleteLater();
            watched->removeEventFilter(this);
            // After the window's own handling of this event.
            QTimer::singleShot(0, parent(), m_action);
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

int runWindow(int argc, char *argv[], bool hidden)
{
    const bool platformChosen = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    chooseDisplayPlatform();
    // Idle, the window repaints only its status bar, once a second. Through
    // X shared memory every repaint comes back as a completion event that
    // wakes the X event thread and then the main thread; plain image
    // requests wake neither. Set for Qt's start-up only, like the platform.
    const bool sharedMemoryChosen = !qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    if (sharedMemoryChosen)
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    if (platformChosen)
        qunsetenv("QT_QPA_PLATFORM");
    if (sharedMemoryChosen)
        qunsetenv("QT_XCB_NO_MITSHM");
    // The X11 window class comes from this name: the desktop entry's
    // StartupWMClass, so that docks tie the window to its menu entry. The
    // notices carry the Chinese name themselves.
    app.setApplicationName(QStringLiteral("ChronoDesk"));
    QGuiApplication::setDesktopFileName(applicationId());
    app.setQuitOnLastWindowClosed(false);

    // One program per session: a second launch shows the first one's
    // window. One started hidden for a command found that another command
    // started the program a moment before: the command goes there, and the
    // window stays hidden.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!claimApplicationId(bus)) {
        if (hidden || showRunningWindow())
            return CommandLine::Success;
        std::fputs(qPrintable(QStringLiteral("翎鹊时间管理器已在运行,但没有回应(它可能卡住了),无法显示它的窗口。\n")),
                   stderr);
        return CommandLine::Failure;
    }

    app.setFont(songTiFont(9));
    // The interface is Chinese, so Qt's own dialogs and buttons speak it too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    RegionalFormat::setCurrent(RegionalFormat::fromSystemLocale());

    // An installed program keeps its files per user as a matter of course:
    // nothing to tell.
    const QString executableFolder = QCoreApplication::applicationDirPath();
    ProgramFolder folder;
    if (isInstalled(executableFolder)) {
        QDir().mkpath(userDataFolder());
        folder.path = userDataFolder() + QLatin1Char('/');
    } else {
        folder = ProgramFolder::choose(executableFolder, QFileInfo(executableFolder).isWritable(), userDataFolder());
    }
    QLockFile lock(folder.path + QStringLiteral("chronodesk.lock"));
    if (!lockProgramFolder(lock, folder.path))
        return CommandLine::Failure;

    LinuxPlatform platform;
    MainWindow form1(platform.services(), folder.path);
    auto *service = new ControlService(
        form1.missionList(), [&form1] { form1.restoreFromTray(); }, [&form1] { form1.quit(); }, &form1);
    if (bus.isConnected())
        service->exportOn(bus);
    // Started by a command: in the notification area, or minimised where
    // there is none.
    if (hidden)
        form1.showMinimized();
    else
        form1.show();
    // A program started hidden says nothing until someone asks for it.
    if (!folder.notice.isEmpty()) {
        if (hidden)
            new WhenFirstUp(&form1, [&form1, notice = folder.notice] { showFolderNotice(&form1, notice); });
        else
            showFolderNotice(&form1, folder.notice);
    }
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine line = parseCommandLine(arguments, QDateTime::currentDateTime(), QDir::currentPath());
    switch (line.command) {
    case CommandLine::OpenWindow: return runWindow(argc, argv, line.hidden);
    case CommandLine::Invalid:
        std::fputs(qPrintable(line.error + QLatin1Char('\n')), stderr);
        return CommandLine::BadInput;
    case CommandLine::Help:
    case CommandLine::Version: std::fputs(qPrintable(line.output), stdout); return CommandLine::Success;
    default: break;
    }
    QCoreApplication app(argc, argv);
    return runRemoteCommand(line);
}
