#include "IniFile.h"

#include <QFile>

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
        if (line.startsWith(QLatin1Char('['))) {
            const int end = line.indexOf(QLatin1Char(']'));
            inSection = end > 0 && line.mid(1, end - 1).trimmed().compare(section, Qt::CaseInsensitive) == 0;
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
