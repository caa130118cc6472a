#pragma once

#include <QFileDevice>
#include <QString>

// What was being done to a file when it failed; it opens the sentence.
enum class FileStep { Open, Read, Create, Write };

// The common causes of a file failure, said in Chinese to the user.
enum class FileFailure { Other, NoPermission, ReadOnlyFileSystem, DiskFull, NotFound, Busy };

// The cause from the system's error number (errno, read right after the
// failed call) or, when that tells nothing, from Qt's class of the error
// (a write Qt reports as a resource error ran out of disk space).
FileFailure fileFailure(int errorNumber, QFileDevice::FileError error = QFileDevice::NoError);

// The sentence the user is shown: the step, the file's name, the cause in
// Chinese, then the technical text in brackets when there is one, e.g.
// "无法写入文件“/home/a/任务.mis”：磁盘已满（No space left on device）。"
QString fileErrorText(FileStep step, const QString &path, FileFailure cause, const QString &technical = QString());

// The same for a file that has just failed, given errno as it was right
// after the failing call: the file's name, its error and error string.
QString fileErrorText(FileStep step, const QFileDevice &file, int errorNumber);

// A database failure (SQLite) on the given file: "数据库…" in Chinese with
// what was being done, then the database's own text in brackets.
QString databaseErrorText(const QString &what, const QString &path, const QString &technical);
