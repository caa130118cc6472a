#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// config.ini, read and written key by key as the desktop's old profile files
// were: section and key names match without regard to case, a value is a
// decimal integer or "0x" hexadecimal, and anything else reads as the
// default. The file is read once, when the object is made; writing one key
// leaves every other line of the file, and a UTF-8 byte-order mark at its
// start, as it was.
class IniFile
{
public:
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    // The integer under [section] key=, or `defaultValue` when the file, the
    // section or the key is missing or the value is not a whole number. A
    // file that cannot be read gives the defaults.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // Sets [section] key=value: the key's line is changed in place, a
    // missing key goes at the end of its section and a missing section at
    // the end of the file, which is created when absent. Lines are written
    // with CR LF, the whole file at once, so a failed write keeps the old
    // file. Returns false when the file cannot be written (or could not be
    // read, so that it would lose its other lines), with a sentence in
    // `error` that names the file and says why.
    bool writeInteger(const QString &section, const QString &key, int value, QString *error);

    // The value rule on its own: "42", "-1", "0x1A" and "0X1a" are numbers.
    static int parseInteger(const QString &text, int defaultValue);

private:
    void index();

    QString m_path;
    // Why the existing file could not be read; writing is refused then.
    QString m_readError;
    QByteArray m_byteOrderMark;
    // The file's lines without their line ends.
    QList<QByteArray> m_lines;
    // "section\nkey", case folded, to the first value the file gives it.
    QHash<QString, QString> m_values;
};
