#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Whole-file reading and writing for the program's text files. A file is
// read in one go and written completely to a temporary file that then
// replaces the old one, so a failure never leaves half a file behind.
// Failures give a sentence that names the file.
std::optional<QByteArray> readTextFile(const QString &path, QString *error);
bool writeTextFile(const QString &path, const QByteArray &bytes, QString *error);
