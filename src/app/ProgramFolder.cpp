#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString programFolder()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(executableFolder).isWritable())
        return QDir(executableFolder).absolutePath() + QLatin1Char('/');
    // Named here, not after the application's name, which is the Chinese
    // one the desktop shows.
    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/ChronoDesk");
    QDir().mkpath(dataFolder);
    return QDir(dataFolder).absolutePath() + QLatin1Char('/');
}
