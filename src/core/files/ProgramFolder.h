#pragma once

#include <QString>
#include <QStringList>

// The folder where config.ini, everyday.mis and db.mdb live: the folder of
// the executable, or the per-user data folder when the executable's folder
// cannot be written (a system-wide install, a read-only medium).
struct ProgramFolder
{
    // The folder with its trailing separator.
    QString path;
    // Said once, on the start that first moved to the per-user folder: which
    // folder is used, why, and which files were brought over. Empty on every
    // other start.
    QString notice;

    // The user's files that the executable's folder holds and the per-user
    // folder lacks are copied over, never over a file there, so that
    // settings, daily missions and records carry on.
    static ProgramFolder choose(const QString &executableFolder, bool executableFolderWritable,
                                const QString &userFolder);

    static const QStringList userFiles;
};
