#include "ProgramFolder.h"

#include "ApplicationId.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Installed under a prefix: one copy shared by every user (who may well be
// allowed to write to its folder, as root is to /usr/bin).
bool isInstalled(const QString &executableFolder)
{
    return QFileInfo::exists(executableFolder + QStringLiteral("/../share/applications/") + applicationId()
                             + QStringLiteral(".desktop"));
}

} // namespace

QString programFolder()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (!isInstalled(executableFolder) && QFileInfo(executableFolder).isWritable())
        return QDir(executableFolder).absolutePath() + QLatin1Char('/');
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return QDir(dataFolder).absolutePath() + QLatin1Char('/');
}
