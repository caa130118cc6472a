#include "core/settings/IniFile.h"

#include "core/files/TextFile.h"
#include "core/text/CodePageText.h"

#include <QFileInfo>

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

// The key of a "key=value" line, or a null array when the line has none.
QByteArray keyName(const QByteArray &line)
{
    const int equals = line.indexOf('=');
    return equals > 0 ? line.left(equals).trimmed() : QByteArray();
}

QString folded(const QByteArray &name)
{
    return QString::fromUtf8(name).toCaseFolded();
}

QString lookupKey(const QString &section, const QString &key)
{
    return section.toCaseFolded() + QLatin1Char('\n') + key.toCaseFolded();
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{
    if (!QFileInfo::exists(m_path))
        return;
    const std::optional<QByteArray> bytes = readTextFile(m_path, &m_readError);
    if (!bytes)
        return;
    QByteArray text = *bytes;
    const QByteArrayView utf8Mark = CodePageText::byteOrderMark(TextEncoding::Utf8WithBom);
    if (text.startsWith(utf8Mark)) {
        m_byteOrderMark = utf8Mark.toByteArray();
        text.remove(0, utf8Mark.size());
    }
    m_lines = text.split('\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    for (QByteArray &line : m_lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    index();
}

void IniFile::index()
{
    m_values.clear();
    QString section;
    bool inSection = false;
    for (const QByteArray &line : std::as_const(m_lines)) {
        const QByteArray name = sectionName(line);
        if (!name.isNull()) {
            section = folded(name);
            inSection = true;
            continue;
        }
        const QByteArray key = keyName(line);
        if (!inSection || key.isNull())
            continue;
        const QString where = section + QLatin1Char('\n') + folded(key);
        if (!m_values.contains(where))
            m_values.insert(where, QString::fromUtf8(line.mid(line.indexOf('=') + 1)));
    }
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const auto found = m_values.constFind(lookupKey(section, key));
    return found == m_values.cend() ? defaultValue : parseInteger(*found, defaultValue);
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

bool IniFile::writeInteger(const QString &section, const QString &key, int value, QString *error)
{
    if (!m_readError.isEmpty()) {
        *error = m_readError;
        return false;
    }
    QList<QByteArray> lines = m_lines;
    const QByteArray keyLine = key.toUtf8() + '=' + QByteArray::number(value);
    const QString wantedSection = section.toCaseFolded();
    const QString wantedKey = key.toCaseFolded();
    int sectionStart = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray name = sectionName(lines[i]);
        if (!name.isNull() && folded(name) == wantedSection) {
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
            const QByteArray name = keyName(lines[i]);
            if (!name.isNull() && folded(name) == wantedKey)
                break;
            if (!lines[i].trimmed().isEmpty())
                lastLine = i;
        }
        if (i < lines.size() && sectionName(lines[i]).isNull())
            lines[i] = keyLine;
        else
            lines.insert(lastLine + 1, keyLine);
    }

    QByteArray bytes = m_byteOrderMark;
    for (const QByteArray &line : std::as_const(lines))
        bytes += line + "\r\n";
    if (!writeTextFile(m_path, bytes, error))
        return false;
    m_lines = lines;
    index();
    return true;
}
