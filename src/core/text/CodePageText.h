#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// How a whole text file holds its texts. A file that is valid UTF-8 (as a
// Linux editor writes it) stays UTF-8, its byte-order mark kept as it was;
// every other file is code page 936.
enum class TextEncoding { CodePage, Utf8, Utf8WithBom };

// Texts as the program's files hold them: code page 936 bytes, or UTF-8.
// For code page 936 we write GB18030, which gives every GBK character the
// same bytes as code page 936 and can still hold the characters code page 936
// cannot (emoji, rare characters), and read both. One object keeps its
// converters open, so a file of many lines opens them once.
//
// Reading never loses a byte: a byte that starts no character (a lone 0x80,
// a lead byte without its trail) is carried in the text as an escape, the
// unpaired low surrogate U+DC00 + byte, which no real character uses, and
// is written back as that same byte. So a text read and written unchanged
// keeps its exact bytes.
class CodePageText
{
public:
    explicit CodePageText(TextEncoding encoding = TextEncoding::CodePage);
    ~CodePageText();
    CodePageText(const CodePageText &) = delete;
    CodePageText &operator=(const CodePageText &) = delete;

    QByteArray encode(QStringView text);
    QString decode(QByteArrayView bytes);

    // The encoding of a whole file's bytes.
    static TextEncoding detect(QByteArrayView file);
    // The byte-order mark a file in `encoding` starts with (empty for most).
    static QByteArrayView byteOrderMark(TextEncoding encoding);
    // The escape that stands for the undecodable byte `byte` (0x80-0xFF).
    static QChar escapedByte(unsigned char byte);

    // The position of the first byte `separator` at or after `from` that
    // stands as a character of its own, or -1. A lead byte 0x81-0xFE takes
    // its trail bytes with it, so a 0x80 that is the second byte of a
    // double-byte character never counts. In UTF-8 an ASCII separator is
    // found as it is, and a byte 0x80-0xFF never stands alone.
    static qsizetype findSeparator(QByteArrayView bytes, char separator, qsizetype from = 0,
                                   TextEncoding encoding = TextEncoding::CodePage);

private:
    QString decodeRun(QByteArrayView bytes);
    QString decodeByCharacter(QByteArrayView bytes);
    QByteArray encodeRun(QStringView text);

    TextEncoding m_encoding;
    void *m_toFile;
    void *m_fromFile;
};
