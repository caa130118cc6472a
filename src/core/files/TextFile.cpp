#include "core/files/TextFile.h"
#include "core/text/FileErrorText.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <sys/stat.h>

namespace {

QString sentence(const QString &what, const QString &path, const QString &reason)
{
    return what.arg(QDir::toNativeSeparators(path), reason);
}

QString tooLarge(const QString &path)
{
    return sentence(QStringLiteral("无法读取文件“%1”：它大于%2 MB，不是本程序的文件。"), path,
                    QString::number(maxTextFileSize / (1024 * 1024)));
}

// Why the file at `path` is not read, or an empty text when it may be. Only
// its type and size are looked at, so a pipe is never opened.
QString refusal(const QString &path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {}; // opening it tells why
    QString kind;
    if (S_ISDIR(status.st_mode))
        kind = QStringLiteral("是一个文件夹");
    else if (S_ISFIFO(status.st_mode))
        kind = QStringLiteral("是一个命名管道");
    else if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        kind = QStringLiteral("是一个设备");
    else if (!S_ISREG(status.st_mode))
        kind = QStringLiteral("不是普通文件");
    if (!kind.isEmpty())
        return sentence(QStringLiteral("无法读取“%1”：它%2，程序只读取普通文件。"), path, kind);
    if (status.st_size > maxTextFileSize)
        return tooLarge(path);
    return {};
}

} // namespace

std::optional<QByteArray> readTextFile(const QString &path, QString *error)
{
    if (const QString refused = refusal(path); !refused.isEmpty()) {
        *error = refused;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = fileErrorText(FileStep::Open, file, errno);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = fileErrorText(FileStep::Read, file, errno);
        return std::nullopt;
    }
    // It may have grown since it was looked at.
    if (bytes.size() > maxTextFileSize) {
        *error = tooLarge(path);
        return std::nullopt;
    }
    return bytes;
}

bool writeTextFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = fileErrorText(FileStep::Create, file, errno);
        return false;
    }
    // A write cut short by a full disk can be reported as complete; the
    // size on disk tells.
    const bool complete = file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
    if (!complete) {
        *error = file.error() != QFileDevice::NoError ? fileErrorText(FileStep::Write, file, errno)
                                                      : fileErrorText(FileStep::Write, path, FileFailure::DiskFull);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = fileErrorText(FileStep::Write, file, errno);
        return false;
    }
    return true;
}
