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

#include "Fonts.h"
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The name the desktop shows for the tray item and the notices.
    app.setApplicationName(DesktopNotifier::applicationName());
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
    DesktopShell shell;
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

    MainWindow form1(platform, programFolder());
    form1.show();
    return app.exec();
}
