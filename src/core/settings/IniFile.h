#pragma once

#include <QString>
#include <QStringList>

// config.ini, read and written key by key as the desktop's old profile files
// were: section and key names match without regard to case, a value is a
// decimal integer or "0x" hexadecimal, and anything else reads as the
// default. Writing one key leaves every other line of the file as it was.
class IniFile
{
public:
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    // The integer under [section] key=, or `defaultValue` when the file, the
    // section or the key is missing or the value is not a whole number.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // Sets [section] key=value: the key's line is changed in place, a
    // missing key goes at the end of its section and a missing section at
    // the end of the file, which is created when absent. Lines are written
    // with CR LF. Returns false when the file cannot be written, with a
    // sentence in `error` that names the file and says why.
    bool writeInteger(const QString &section, const QString &key, int value, QString *error);

    // The value rule on its own: "42", "-1", "0x1A" and "0X1a" are numbers.
    static int parseInteger(const QString &text, int defaultValue);

private:
    QStringList readLines() const;

    QString m_path;
};
