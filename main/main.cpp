#include "Autostart.h"
#include "Clock.h"
#include "DesktopShell.h"
#include "ErrorReport.h"
#include "LogindSessionControl.h"
#include "Notifier.h"
#include "ProgramFolder.h"
#include "QueuedSound.h"
#include "RegionalFormat.h"
#include "SystemTimeSetter.h"
#include "SoundEffectOutput.h"
#include "TForm1.h"

#include <QApplication>
#include <QFont>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ChronoDesk"));
    app.setQuitOnLastWindowClosed(false);
    QFont font(QStringLiteral("SimSun"), 9);
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Sans CJK SC")});
    app.setFont(font);
    RegionalFormat::setCurrent(RegionalFormat::fromSystemLocale());

    SystemClock clock;
    DesktopNotifier notifier;
    TimedatedTimeSetter timeSetter;
    PlatformServices platform;
    platform.clock = &clock;
    platform.notifier = &notifier;
    XdgAutostart autostart;
    platform.autostart = &autostart;
    platform.timeSetter = &timeSetter;
    LogindSessionControl session;
    platform.session = &session;
    DesktopShell shell;
    platform.shell = &shell;
    SoundEffectOutput soundOutput;
    QueuedSound sound(&soundOutput);
    platform.sound = &sound;

    TForm1 form1(platform, programFolder());
    form1.show();
    return app.exec();
}
