#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// What the program was asked to do on its command line. Without a command
// it opens its window (or raises the one already running); each command is
// sent to the running program over the session bus.
struct CommandLine
{
    enum Command { OpenWindow, Help, Version, Add, Delete, List, Status, Start, Pause, Stop, Load, Quit, Invalid };
    // The status the program ends with.
    enum Status { Success = 0, Failure = 1, BadInput = 2 };

    Command command = OpenWindow;
    // OpenWindow: start hidden in the notification area (the program
    // started by a command when none was running).
    bool hidden = false;
    // Add: the row's texts as the bus takes them (kind as given, date
    // yyyy-MM-dd, time HH:mm:ss), already checked.
    QString kind;
    QString description;
    QString date;
    QString time;
    // Add with --repeat: the rule as an RRULE, already checked; empty for a
    // mission carried out once.
    QString repeat;
    // Delete: the mission's id, as --add printed it.
    QString id;
    // List and Status: machine-readable output (JSON).
    bool json = false;
    // Load: the file as an absolute path.
    QString file;
    // Invalid: what is wrong, in Chinese, naming the value.
    QString error;
    // Help and Version: the text to print.
    QString output;
};

// Reads `arguments` (the program's name first). `now` dates a WHEN given
// as a time alone or relative, and a WHEN before it is refused;
// `workingFolder` resolves a relative FILE.
CommandLine parseCommandLine(const QStringList &arguments, const QDateTime &now, const QString &workingFolder);
