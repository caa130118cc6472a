#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Whole-file reading and writing for every file the program keeps. A file is
// read in one go, and only when it is a regular file of at most
// maxTextFileSize bytes: a pipe or a device could block or never end. A file
// is written completely to a temporary file that then replaces the old one,
// so a failure (a full disk above all) never leaves half a file behind and
// keeps the old one. Failures give a sentence that names the file.
constexpr qint64 maxTextFileSize = qint64(256) * 1024 * 1024;

std::optional<QByteArray> readTextFile(const QString &path, QString *error);
bool writeTextFile(const QString &path, const QByteArray &bytes, QString *error);
