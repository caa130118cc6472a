#include "core/files/MissionLines.h"

#include "core/text/CodePageText.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr char endOfFileMark = 0x1A;
constexpr char16_t euroSign = 0x20AC;

} // namespace

MissionLines::MissionLines(char separator, bool endMark)
    : m_separator(separator)
    , m_endMark(endMark)
{
}

MissionLines MissionLines::missionFile()
{
    return MissionLines(char(0x80), false);
}

MissionLines MissionLines::dailyFile()
{
    return MissionLines('$', true);
}

MissionLines::Reading MissionLines::read(const QByteArray &bytes) const
{
    Reading reading;
    reading.encoding = CodePageText::detect(bytes);
    CodePageText codec(reading.encoding);
    const qsizetype mark = m_endMark ? bytes.indexOf(endOfFileMark) : -1;
    const QByteArrayView data = QByteArrayView(bytes).first(mark < 0 ? bytes.size() : mark);
    qsizetype pos = CodePageText::byteOrderMark(reading.encoding).size();
    QByteArray lastKindBytes;
    QString lastKind;
    while (pos < data.size() && data[pos] != '\r') {
        const qsizetype lineFeed = data.indexOf('\n', pos);
        const qsizetype end = lineFeed < 0 ? data.size() : lineFeed;
        QByteArrayView line = data.sliced(pos, end - pos);
        QByteArray withoutCr;
        if (line.endsWith('\r') && !line.chopped(1).contains('\r')) {
            line.chop(1);
        } else if (line.contains('\r')) {
            withoutCr = line.toByteArray().replace('\r', QByteArrayView());
            line = withoutCr;
        }
        pos = lineFeed < 0 ? data.size() : lineFeed + 1;

        QString fields[4];
        QByteArrayView rest = line;
        for (int field = KindField; field < TimeField; ++field) {
            const qsizetype separator = CodePageText::findSeparator(rest, m_separator, 0, reading.encoding);
            if (separator < 0)
                continue;
            const QByteArrayView fieldBytes = rest.first(separator);
            if (field == KindField) {
                // Rows share a few kind texts: decoded once, shared after.
                if (fieldBytes != lastKindBytes) {
                    lastKindBytes = fieldBytes.toByteArray();
                    lastKind = codec.decode(fieldBytes);
                }
                fields[field] = lastKind;
            } else {
                fields[field] = codec.decode(fieldBytes);
            }
            rest = rest.sliced(separator + 1);
        }
        fields[TimeField] = codec.decode(rest);
        // NUL is ASCII in both encodings: no byte of a longer character.
        if (line.contains('\0')) {
            for (QString &text : fields)
                text.replace(QChar(u'\0'), QLatin1Char(' '));
            reading.blankedNulRows.append(int(reading.missions.size()));
        }
        // The files hold no icon: each row gets its kind's.
        reading.missions.append(Mission {fields[KindField], fields[DescriptionField], fields[DateField],
                                         fields[TimeField], kindImageIndex(fields[KindField])});
    }
    if (pos < bytes.size())
        reading.unread = bytes.sliced(pos);
    return reading;
}

QString MissionLines::rowNumbers(const QVector<int> &rows)
{
    QStringList named;
    for (qsizetype i = 0; i < rows.size() && i < rowsNamed; ++i)
        named << QString::number(rows[i] + 1);
    return QStringLiteral("第%1行%2")
        .arg(named.join(QStringLiteral("、")), rows.size() > rowsNamed ? QStringLiteral("等") : QString());
}

QString MissionLines::blankedNulNotice(const QString &path, const Reading &reading)
{
    if (reading.blankedNulRows.isEmpty())
        return {};
    return QStringLiteral("文件“%1”中有%2行含有空字节(NUL,%3),每个空字节已当作空格读入任务列表;"
                          "文件没有改动,请检查这些任务的内容。")
        .arg(QDir::toNativeSeparators(path))
        .arg(reading.blankedNulRows.size())
        .arg(rowNumbers(reading.blankedNulRows));
}

std::optional<MissionLines::Field> MissionLines::misfit(const Mission &mission) const
{
    // GB18030 gives no character the single byte 0x80, and the writer turns
    // a carried lone 0x80 into the euro sign, so only an ASCII separator can
    // turn up inside a field.
    if (static_cast<unsigned char>(m_separator) >= 0x80)
        return std::nullopt;
    const QChar separator = QLatin1Char(m_separator);
    if (mission.kindText.contains(separator))
        return KindField;
    if (mission.description.contains(separator))
        return DescriptionField;
    if (mission.dateText.contains(separator))
        return DateField;
    return std::nullopt;
}

QByteArray MissionLines::write(const QVector<Mission> &missions, TextEncoding encoding) const
{
    static const QRegularExpression lineBreaks(QStringLiteral("\r\n|[\r\n]"));
    CodePageText codec(encoding);
    const bool separatorIsByte80 = static_cast<unsigned char>(m_separator) == 0x80;
    const auto field = [&](QString text, bool last = false) {
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
            text.replace(lineBreaks, QStringLiteral(" "));
        if (m_endMark)
            text.replace(QChar(endOfFileMark), QLatin1Char(' '));
        // A lone 0x80 carried from another file would split the line before
        // the time; code page 936 reads it as the euro sign, so it is written
        // as one. In the time, reading keeps it.
        if (separatorIsByte80 && !last)
            text.replace(CodePageText::escapedByte(0x80), QChar(euroSign));
        return codec.encode(text);
    };
    QByteArray bytes;
    for (const Mission &mission : missions) {
        bytes += field(mission.kindText);
        bytes += m_separator;
        bytes += field(mission.description);
        bytes += m_separator;
        bytes += field(mission.dateText);
        bytes += m_separator;
        bytes += field(mission.timeText, true);
        bytes += "\r\n";
    }
    return bytes;
}
