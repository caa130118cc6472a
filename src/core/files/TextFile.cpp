#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

QString sentence(const QString &what, const QString &path, const QString &reason)
{
    return what.arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

std::optional<QByteArray> readTextFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = sentence(QStringLiteral("无法打开文件“%1”：%2。"), path, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = sentence(QStringLiteral("无法读取文件“%1”：%2。"), path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

bool writeTextFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = sentence(QStringLiteral("无法创建文件“%1”：%2。"), path, file.errorString());
        return false;
    }
    // A write cut short by a full disk can be reported as complete; the
    // size on disk tells.
    const bool complete = file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
    if (!complete)
        file.cancelWriting();
    if (!complete || !file.commit()) {
        const QString reason = complete ? file.errorString() : QStringLiteral("文件没有完整写入，磁盘可能已满");
        *error = sentence(QStringLiteral("无法写入文件“%1”：%2。"), path, reason);
        return false;
    }
    return true;
}
