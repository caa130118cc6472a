#include "core/text/FileErrorText.h"

#include <QDir>

#include <cerrno>

namespace {

QString stepText(FileStep step)
{
    switch (step) {
    case FileStep::Open: return QStringLiteral("无法打开文件");
    case FileStep::Read: return QStringLiteral("无法读取文件");
    case FileStep::Create: return QStringLiteral("无法创建文件");
    case FileStep::Write: return QStringLiteral("无法写入文件");
    }
    return QStringLiteral("无法访问文件");
}

QString causeText(FileFailure cause)
{
    switch (cause) {
    case FileFailure::NoPermission: return QStringLiteral("没有访问权限");
    case FileFailure::ReadOnlyFileSystem: return QStringLiteral("文件所在的磁盘是只读的");
    case FileFailure::DiskFull: return QStringLiteral("磁盘已满");
    case FileFailure::NotFound: return QStringLiteral("文件或文件夹不存在");
    case FileFailure::Busy: return QStringLiteral("文件被锁定或正被其他程序使用");
    case FileFailure::Other: break;
    }
    return QString();
}

QString inBrackets(const QString &technical)
{
    return technical.isEmpty() ? QString() : QStringLiteral("（%1）").arg(technical);
}

} // namespace

FileFailure fileFailure(int errorNumber, QFileDevice::FileError error)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM: return FileFailure::NoPermission;
    case EROFS: return FileFailure::ReadOnlyFileSystem;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileFailure::DiskFull;
    case ENOENT:
    case ENOTDIR: return FileFailure::NotFound;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
    case EDEADLK: return FileFailure::Busy;
    default: break;
    }
    return error == QFileDevice::ResourceError ? FileFailure::DiskFull : FileFailure::Other;
}

QString fileErrorText(FileStep step, const QString &path, FileFailure cause, const QString &technical)
{
    const QString reason = causeText(cause);
    return QStringLiteral("%1“%2”%3%4。")
        .arg(stepText(step), QDir::toNativeSeparators(path),
             reason.isEmpty() ? QString() : QStringLiteral("：") + reason, inBrackets(technical));
}

QString fileErrorText(FileStep step, const QFileDevice &file, int errorNumber)
{
    return fileErrorText(step, file.fileName(), fileFailure(errorNumber, file.error()), file.errorString());
}

QString databaseErrorText(const QString &what, const QString &path, const QString &technical)
{
    return QStringLiteral("数据库“%1”%2%3。").arg(QDir::toNativeSeparators(path), what, inBrackets(technical));
}
