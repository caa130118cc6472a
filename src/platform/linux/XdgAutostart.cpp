#include "platform/linux/XdgAutostart.h"

#include "core/files/TextFile.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

std::optional<QString> XdgAutostart::execArgument(const QString &path)
{
    // A string value holds no control character but those it has an escape
    // for.
    const bool unwritable = std::any_of(path.cbegin(), path.cend(), [](QChar c) {
        return (c.unicode() < 0x20 && !QStringLiteral("\t\n\r").contains(c)) || c.unicode() == 0x7F;
    });
    if (unwritable)
        return std::nullopt;
    // The desktop-entry rules: a field code sign doubles; an argument with a
    // reserved character is quoted, with " ` $ \ escaped inside the quotes;
    // then the whole value gets the string escapes of a backslash and of
    // line breaks and tabs, so that the argument stays on the Exec line.
    static const QString reserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
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
    argument.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    argument.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    argument.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return argument;
}

bool XdgAutostart::isOn() const
{
    QString error;
    const std::optional<QByteArray> bytes = readTextFile(m_entryPath, &error);
    if (!bytes)
        return false;
    bool inEntry = false;
    bool runsSomething = false;
    for (const QByteArray &rawLine : bytes->split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
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
    const std::optional<QString> exec = execArgument(programPath);
    if (!exec) {
        *error = QStringLiteral("程序的路径“%1”含有控制字符，无法写入自动启动项“%2”。")
                     .arg(programPath, QDir::toNativeSeparators(m_entryPath));
        return false;
    }
    const QString contents = QStringLiteral("[Desktop Entry]\n"
                                            "Type=Application\n"
                                            "Name=ChronoDesk\n"
                                            "Exec=%1\n"
                                            "X-GNOME-Autostart-enabled=true\n")
                                 .arg(*exec);
    QDir().mkpath(QFileInfo(m_entryPath).absolutePath());
    return writeTextFile(m_entryPath, contents.toUtf8(), error);
}

void XdgAutostart::disable()
{
    QFile::remove(m_entryPath);
}
