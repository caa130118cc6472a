#include "core/files/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QStringList ProgramFolder::userFiles = {QStringLiteral("config.ini"), QStringLiteral("everyday.mis"),
                                              QStringLiteral("db.mdb")};

namespace {

QString withSeparator(const QString &folder)
{
    return QDir(folder).absolutePath() + QLatin1Char('/');
}

} // namespace

ProgramFolder ProgramFolder::choose(const QString &executableFolder, bool executableFolderWritable,
                                    const QString &userFolder)
{
    if (executableFolderWritable)
        return {withSeparator(executableFolder), QString()};

    const bool firstStart = !QFileInfo::exists(userFolder);
    QDir().mkpath(userFolder);
    const QString from = withSeparator(executableFolder);
    const QString to = withSeparator(userFolder);
    QStringList copied;
    QStringList failed;
    for (const QString &name : userFiles) {
        if (!QFileInfo::exists(from + name) || QFileInfo::exists(to + name))
            continue;
        (QFile::copy(from + name, to + name) ? copied : failed).append(name);
    }
    if (!firstStart && copied.isEmpty() && failed.isEmpty())
        return {to, QString()};

    QString notice = QStringLiteral("程序所在的文件夹“%1”不能写入，设置、每日任务和耗电记录改存在“%2”。")
                         .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to));
    if (!copied.isEmpty())
        notice += QStringLiteral("已从程序文件夹复制：%1。").arg(copied.join(QStringLiteral("、")));
    if (!failed.isEmpty())
        notice += QStringLiteral("无法复制：%1。").arg(failed.join(QStringLiteral("、")));
    return {to, notice};
}
