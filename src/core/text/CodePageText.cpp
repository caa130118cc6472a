#include "core/text/CodePageText.h"

#include <QSysInfo>

#include <algorithm>
#include <cstring>
#include <iconv.h>

namespace {

const char fileCharset[] = "GB18030";
constexpr char16_t escapeBase = 0xDC00;
const QByteArray utf8Mark("\xEF\xBB\xBF");

bool isEscape(char16_t unit)
{
    return unit >= escapeBase + 0x80 && unit <= escapeBase + 0xFF;
}

bool isValidUtf8(QByteArrayView bytes)
{
    // Qt turns every malformed sequence into U+FFFD, so only valid UTF-8
    // comes back as the same bytes.
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

bool isAscii(QByteArrayView bytes)
{
    for (char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
}

bool hasSurrogates(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar unit) { return unit.isSurrogate(); });
}

bool isAscii(QStringView text)
{
    for (QChar ch : text) {
        if (ch.unicode() >= 0x80)
            return false;
    }
    return true;
}

iconv_t handle(void *converter)
{
    return static_cast<iconv_t>(converter);
}

// QString's own byte order, so iconv writes straight into its buffer.
const char *memoryCharset()
{
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
}

// Runs `converter` from `in` into `out`, which the caller has made large
// enough for the worst case. On a sequence it cannot convert it calls `skip`,
// which writes a stand-in and tells how many input bytes to pass. Returns
// the bytes written.
template <typename Skip> size_t convert(void *converter, const char *input, size_t inLeft, char *output, Skip skip)
{
    char *in = const_cast<char *>(input);
    char *out = output;
    size_t outLeft = size_t(-1) / 2;
    iconv(handle(converter), nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0 && iconv(handle(converter), &in, &inLeft, &out, &outLeft) == size_t(-1)) {
        // EILSEQ (no such character) or EINVAL (cut off at the end).
        const size_t passed = std::min(skip(in, inLeft, out), inLeft);
        in += passed;
        inLeft -= passed;
    }
    return size_t(out - output);
}

bool isTrail(unsigned char byte)
{
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

bool isDigit(unsigned char byte)
{
    return byte >= 0x30 && byte <= 0x39;
}

bool isLead(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

// How many bytes the character at the start of `bytes` takes; a byte that
// starts no well-formed character stands alone.
qsizetype characterLength(QByteArrayView bytes)
{
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    if (!isLead(at(0)) || bytes.size() < 2)
        return 1;
    if (isTrail(at(1)))
        return 2;
    if (isDigit(at(1)) && bytes.size() >= 4 && isLead(at(2)) && isDigit(at(3)))
        return 4;
    return 1;
}

// How many bytes the UTF-8 sequence at the start of `bytes` claims, cut to
// what is there.
qsizetype utf8Length(QByteArrayView bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, bytes.size());
}

} // namespace

CodePageText::CodePageText(TextEncoding encoding)
    : m_encoding(encoding)
    , m_toFile(iconv_open(fileCharset, memoryCharset()))
    , m_fromFile(iconv_open(memoryCharset(), fileCharset))
{
    // glibc always carries both charsets; without them no file could be read.
    Q_ASSERT(m_toFile != reinterpret_cast<void *>(-1) && m_fromFile != reinterpret_cast<void *>(-1));
}

CodePageText::~CodePageText()
{
    iconv_close(handle(m_toFile));
    iconv_close(handle(m_fromFile));
}

QByteArray CodePageText::encode(QStringView text)
{
    if (isAscii(text))
        return text.toLatin1();
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isEscape(text[i].unicode()))
            continue;
        bytes += encodeRun(text.sliced(runStart, i - runStart));
        if (i < text.size())
            bytes += char(text[i].unicode() - escapeBase);
        runStart = i + 1;
    }
    return bytes;
}

QByteArray CodePageText::encodeRun(QStringView text)
{
    if (isAscii(text))
        return text.toLatin1();
    if (m_encoding != TextEncoding::CodePage)
        return text.toUtf8();
    // GB18030 needs at most four bytes for one UTF-16 unit.
    QByteArray bytes(text.size() * 4, Qt::Uninitialized);
    const size_t written = convert(m_toFile, reinterpret_cast<const char *>(text.utf16()), size_t(text.size()) * 2,
                                   bytes.data(), [](const char *, size_t, char *&out) {
                                       *out++ = '?';
                                       return size_t(2);
                                   });
    bytes.truncate(qsizetype(written));
    return bytes;
}

QString CodePageText::decode(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (m_encoding != TextEncoding::CodePage)
        return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : decodeByCharacter(bytes);
    const QString text = decodeRun(bytes);
    // Every one- and two-byte character and every four-byte one of the
    // basic plane converts back to its own bytes (a test walks the whole
    // table); only a few of the supplementary planes and escaped bytes need
    // the check. A character whose conversion does not give back its own
    // bytes would change the file when written, so it goes byte by byte.
    if (!hasSurrogates(text))
        return text;
    return encode(text) == bytes ? text : decodeByCharacter(bytes);
}

QString CodePageText::decodeRun(QByteArrayView bytes)
{
    // Every character takes at least as many bytes as UTF-16 units.
    QString text(bytes.size(), Qt::Uninitialized);
    const size_t written = convert(m_fromFile, bytes.data(), size_t(bytes.size()),
                                   reinterpret_cast<char *>(text.data()), [](const char *in, size_t, char *&out) {
                                       const char16_t escape = escapedByte(static_cast<unsigned char>(*in)).unicode();
                                       std::memcpy(out, &escape, sizeof escape);
                                       out += sizeof escape;
                                       return size_t(1);
                                   });
    text.truncate(qsizetype(written / 2));
    return text;
}

QString CodePageText::decodeByCharacter(QByteArrayView bytes)
{
    QString text;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const bool codePage = m_encoding == TextEncoding::CodePage;
        const QByteArrayView character =
            bytes.sliced(i, codePage ? characterLength(bytes.sliced(i)) : utf8Length(bytes.sliced(i)));
        const QString decoded = codePage ? decodeRun(character) : QString::fromUtf8(character);
        if (encode(decoded) == character) {
            text += decoded;
        } else {
            for (char byte : character)
                text += escapedByte(static_cast<unsigned char>(byte));
        }
        i += character.size();
    }
    return text;
}

TextEncoding CodePageText::detect(QByteArrayView file)
{
    if (file.startsWith(utf8Mark))
        return isValidUtf8(file.sliced(utf8Mark.size())) ? TextEncoding::Utf8WithBom : TextEncoding::CodePage;
    return !isAscii(file) && isValidUtf8(file) ? TextEncoding::Utf8 : TextEncoding::CodePage;
}

QByteArrayView CodePageText::byteOrderMark(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8WithBom ? QByteArrayView(utf8Mark) : QByteArrayView();
}

QChar CodePageText::escapedByte(unsigned char byte)
{
    // ASCII always reads as itself.
    return byte < 0x80 ? QChar(byte) : QChar(char16_t(escapeBase + byte));
}

qsizetype CodePageText::findSeparator(QByteArrayView bytes, char separator, qsizetype from, TextEncoding encoding)
{
    if (encoding != TextEncoding::CodePage)
        return static_cast<unsigned char>(separator) < 0x80 ? bytes.indexOf(separator, from) : -1;
    qsizetype i = from;
    while (i < bytes.size()) {
        if (bytes[i] == separator)
            return i;
        i += characterLength(bytes.sliced(i));
    }
    return -1;
}
