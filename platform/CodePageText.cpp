#include "CodePageText.h"

#include <cerrno>
#include <iconv.h>

namespace {

const char fileCharset[] = "GB18030";
const char memoryCharset[] = "UTF-8";
constexpr char32_t euroSign = 0x20AC;

bool isAscii(QByteArrayView bytes)
{
    for (char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
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

// Runs `converter` over `input`; on a sequence it cannot convert it calls
// `skip`, which appends a stand-in and tells how many input bytes to pass.
template<typename Skip>
QByteArray convert(void *converter, QByteArrayView input, Skip skip)
{
    QByteArray output;
    output.resize(input.size() * 2 + 8);
    char *in = const_cast<char *>(input.data());
    size_t inLeft = size_t(input.size());
    size_t done = 0;
    iconv(handle(converter), nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        char *out = output.data() + done;
        size_t outLeft = size_t(output.size()) - done;
        const size_t result = iconv(handle(converter), &in, &inLeft, &out, &outLeft);
        done = size_t(out - output.data());
        if (result != size_t(-1))
            break;
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        // EILSEQ (no such character) or EINVAL (cut off at the end).
        output.truncate(qsizetype(done));
        const qsizetype passed = skip(QByteArrayView(in, qsizetype(inLeft)), output);
        done = size_t(output.size());
        output.resize(output.size() + qsizetype(inLeft) * 2 + 8);
        in += passed;
        inLeft -= size_t(passed);
    }
    output.truncate(qsizetype(done));
    return output;
}

qsizetype utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
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

} // namespace

CodePageText::CodePageText()
    : m_toFile(iconv_open(fileCharset, memoryCharset))
    , m_fromFile(iconv_open(memoryCharset, fileCharset))
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
    return convert(m_toFile, text.toUtf8(), [](QByteArrayView rest, QByteArray &output) {
        output.append('?');
        return std::min(utf8SequenceLength(static_cast<unsigned char>(rest[0])), rest.size());
    });
}

QString CodePageText::decode(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    return QString::fromUtf8(convert(m_fromFile, bytes, [](QByteArrayView rest, QByteArray &output) {
        const char32_t standIn = static_cast<unsigned char>(rest[0]) == 0x80 ? euroSign : char32_t(0xFFFD);
        output.append(QString::fromUcs4(&standIn, 1).toUtf8());
        return qsizetype(1);
    }));
}

qsizetype CodePageText::findSeparator(QByteArrayView bytes, char separator, qsizetype from)
{
    qsizetype i = from;
    while (i < bytes.size()) {
        if (bytes[i] == separator)
            return i;
        i += characterLength(bytes.sliced(i));
    }
    return -1;
}
