#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Texts as the program's files hold them: code page 936 bytes. We write
// GB18030, which gives every GBK character the same bytes as code page 936
// and can still hold the characters code page 936 cannot (emoji, rare
// characters), and read both. One object keeps its converters open, so a
// file of many lines opens them once.
class CodePageText
{
public:
    CodePageText();
    ~CodePageText();
    CodePageText(const CodePageText &) = delete;
    CodePageText &operator=(const CodePageText &) = delete;

    QByteArray encode(QStringView text);
    // A byte that starts no character (a lone 0x80 is code page 936's euro
    // sign) is read as that sign or as U+FFFD; nothing is skipped.
    QString decode(QByteArrayView bytes);

    // The position of the first byte `separator` at or after `from` that
    // stands as a character of its own, or -1. A lead byte 0x81-0xFE takes
    // its trail bytes with it, so a 0x80 that is the second byte of a
    // double-byte character never counts.
    static qsizetype findSeparator(QByteArrayView bytes, char separator, qsizetype from = 0);

private:
    void *m_toFile;
    void *m_fromFile;
};
