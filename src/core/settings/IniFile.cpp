#include "IniFile.h"
#include "FileErrorText.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>

IniFile::IniFile(const QString &path)
    : m_path(path)
{
}

QStringList IniFile::readLines() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        QByteArray text = line;
        if (text.endsWith('\r'))
            text.chop(1);
        lines.append(QString::fromLocal8Bit(text));
    }
    return lines;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool inSection = false;
    for (const QString &rawLine : readLines()) {
        const QString line = rawLine.trimmed();
        // A "[" without its "]" opens no section, as for the writer below.
        const int end = line.startsWith(QLatin1Char('[')) ? line.indexOf(QLatin1Char(']')) : -1;
        if (end > 0) {
            inSection = line.mid(1, end - 1).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return parseInteger(line.mid(equals + 1), defaultValue);
    }
    return defaultValue;
}

int IniFile::parseInteger(const QString &text, int defaultValue)
{
    const QString value = text.trimmed();
    bool ok = false;
    int result = 0;
    if (value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        result = int(value.mid(2).toUInt(&ok, 16));
    else
        result = value.toInt(&ok, 10);
    return ok ? result : defaultValue;
}

namespace {

// The name between the brackets of a section line, or a null array when the
// line opens no section.
QByteArray sectionName(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    if (!text.startsWith('['))
        return {};
    const int end = text.indexOf(']');
    if (end <= 0)
        return {};
    // "[]" opens a section too, one with an empty name.
    const QByteArray name = text.mid(1, end - 1).trimmed();
    return name.isNull() ? QByteArray("") : name;
}

bool sameName(const QByteArray &name, const QString &wanted)
{
    return QString::fromLatin1(name).compare(wanted, Qt::CaseInsensitive) == 0;
}

bool isKeyLine(const QByteArray &line, const QString &key)
{
    const int equals = line.indexOf('=');
    return equals > 0 && sameName(line.left(equals).trimmed(), key);
}

// The library's own words for a failed write follow the Chinese sentence.
QString writeFailure(const QString &path, FileFailure cause)
{
    return fileErrorText(FileStep::Write, path, cause, QStringLiteral("Unable to write to %1").arg(path));
}

} // namespace

bool IniFile::writeInteger(const QString &section, const QString &key, int value, QString *error)
{
    // The lines are kept as bytes so that every line this write does not
    // touch goes back exactly as it was, whatever its encoding.
    QList<QByteArray> lines;
    QFile existing(m_path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            *error = writeFailure(m_path, fileFailure(errno, existing.error()));
            return false;
        }
        lines = existing.readAll().split('\n');
        existing.close();
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        for (QByteArray &line : lines) {
            if (line.endsWith('\r'))
                line.chop(1);
        }
    }

    const QByteArray keyLine = key.toUtf8() + '=' + QByteArray::number(value);
    int sectionStart = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray name = sectionName(lines[i]);
        if (!name.isNull() && sameName(name, section)) {
            sectionStart = i;
            break;
        }
    }
    if (sectionStart < 0) {
        lines.append('[' + section.toUtf8() + ']');
        lines.append(keyLine);
    } else {
        int lastLine = sectionStart; // the section's last line that is not blank
        int i = sectionStart + 1;
        for (; i < lines.size() && sectionName(lines[i]).isNull(); ++i) {
            if (isKeyLine(lines[i], key))
                break;
            if (!lines[i].trimmed().isEmpty())
                lastLine = i;
        }
        if (i < lines.size() && sectionName(lines[i]).isNull())
            lines[i] = keyLine;
        else
            lines.insert(lastLine + 1, keyLine);
    }

    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly)) {
        for (const QByteArray &line : std::as_const(lines))
            file.write(line + "\r\n");
        if (file.commit())
            return true;
    }
    *error = writeFailure(m_path, fileFailure(errno, file.error()));
    return false;
}
