#include "Clock.h"
#include "DesktopNotifier.h"
#include "DesktopShell.h"
#include "Fonts.h"
#include "LogindSessionControl.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "QueuedSound.h"
#include "RegionalFormat.h"
#include "SoundEffectOutput.h"
#include "TimedatedTimeSetter.h"
#include "XdgAutostart.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ChronoDesk"));
    app.setQuitOnLastWindowClosed(false);
    app.setFont(songTiFont(9));
    // The interface is Chinese, so Qt's own dialogs and buttons speak it too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    RegionalFormat::setCurrent(RegionalFormat::fromSystemLocale());

    SystemClock clock;
    DesktopNotifier notifier;
    LogindSessionControl session;
    DesktopShell shell(&notifier);
    SoundEffectOutput soundOutput;
    QueuedSound sound(&soundOutput);
    XdgAutostart autostart;
    TimedatedTimeSetter timeSetter;

    PlatformServices platform;
    platform.clock = &clock;
    platform.notifier = &notifier;
    platform.session = &session;
    platform.shell = &shell;
    platform.sound = &sound;
    platform.autostart = &autostart;
    platform.timeSetter = &timeSetter;

    const QString executableFolder = QCoreApplication::applicationDirPath();
    const ProgramFolder folder =
        ProgramFolder::choose(executableFolder, QFileInfo(executableFolder).isWritable(),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    MainWindow form1(platform, folder.path);
    form1.show();
    if (!folder.notice.isEmpty()) {
        auto *notice =
            new QMessageBox(QMessageBox::Information, QStringLiteral("提示:"), folder.notice, QMessageBox::Ok, &form1);
        notice->setObjectName(QStringLiteral("FolderNotice"));
        notice->setTextFormat(Qt::PlainText);
        notice->setAttribute(Qt::WA_DeleteOnClose);
        notice->open();
    }
    return app.exec();
}
