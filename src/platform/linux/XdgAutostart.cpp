#include "XdgAutostart.h"
#include "FileErrorText.h"

#include <algorithm>
#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

XdgAutostart::XdgAutostart(const QString &entryPath)
    : m_entryPath(entryPath)
{
}

QString XdgAutostart::defaultEntryPath()
{
    // GenericConfigLocation follows $XDG_CONFIG_HOME and falls back to ~/.config.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/autostart/ChronoDesk.desktop");
}

QString XdgAutostart::execArgument(const QString &path)
{
    // The desktop-entry rules: a field code sign doubles; an argument with a
    // reserved character is quoted, with " ` $ \ escaped inside the quotes;
    // then the whole value gets the string escape of a backslash.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument = path;
    argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
    const bool needsQuotes =
        std::any_of(argument.cbegin(), argument.cend(), [](QChar c) { return reserved.contains(c); });
    if (needsQuotes) {
        QString quoted = QStringLiteral("\"");
        for (const QChar c : std::as_const(argument)) {
            if (QStringLiteral("\"`$\\").contains(c))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        argument = quoted + QLatin1Char('"');
    }
    argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return argument;
}

bool XdgAutostart::isOn() const
{
    QFile file(m_entryPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inEntry = false;
    bool runsSomething = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (!inEntry || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        // An entry the desktop was told to skip starts nothing.
        if ((key == QLatin1String("Hidden") && value == QLatin1String("true"))
            || (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false")))
            return false;
        if (key == QLatin1String("Exec"))
            runsSomething = !value.isEmpty();
    }
    return runsSomething;
}

bool XdgAutostart::enable(const QString &programPath, QString *error)
{
    const QString contents = QStringLiteral("[Desktop Entry]\n"
                                            "Type=Application\n"
                                            "Name=ChronoDesk\n"
                                            "Exec=%1\n"
                                            "X-GNOME-Autostart-enabled=true\n")
                                 .arg(execArgument(programPath));
    QDir().mkpath(QFileInfo(m_entryPath).absolutePath());
    QSaveFile file(m_entryPath);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(contents.toUtf8());
        if (file.commit())
            return true;
    }
    // The library's own words for a failed write follow the Chinese sentence.
    *error = fileErrorText(FileStep::Write, m_entryPath, fileFailure(errno, file.error()),
                           QStringLiteral("Unable to write to %1").arg(m_entryPath));
    return false;
}

void XdgAutostart::disable()
{
    QFile::remove(m_entryPath);
}
