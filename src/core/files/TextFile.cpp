#include "TextFile.h"
#include "FileErrorText.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>

std::optional<QByteArray> readTextFile(const QString &path, QString *error)
{
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
