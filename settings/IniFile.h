#pragma once

#include <QString>
#include <QStringList>

// config.ini, read key by key as the desktop's old profile files were:
// section and key names match without regard to case, a value is a decimal
// integer or "0x" hexadecimal, and anything else reads as the default.
class IniFile
{
public:
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    // The integer under [section] key=, or `defaultValue` when the file, the
    // section or the key is missing or the value is not a whole number.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // The value rule on its own: "42", "-1", "0x1A" and "0X1a" are numbers.
    static int parseInteger(const QString &text, int defaultValue);

private:
    QStringList readLines() const;

    QString m_path;
};
