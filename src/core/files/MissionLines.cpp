#include "MissionLines.h"

#include "CodePageText.h"

#include <QRegularExpression>

namespace {

constexpr char endOfFileMark = 0x1A;

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
    CodePageText codec;
    const qsizetype mark = m_endMark ? bytes.indexOf(endOfFileMark) : -1;
    const QByteArrayView data = QByteArrayView(bytes).first(mark < 0 ? bytes.size() : mark);
    qsizetype pos = 0;
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
            const qsizetype separator = CodePageText::findSeparator(rest, m_separator);
            if (separator < 0)
                continue;
            const QByteArrayView bytes = rest.first(separator);
            if (field == KindField) {
                // Rows share a few kind texts: decoded once, shared after.
                if (bytes != lastKindBytes) {
                    lastKindBytes = bytes.toByteArray();
                    lastKind = codec.decode(bytes);
                }
                fields[field] = lastKind;
            } else {
                fields[field] = codec.decode(bytes);
            }
            rest = rest.sliced(separator + 1);
        }
        fields[TimeField] = codec.decode(rest);
        reading.missions.append(
            Mission {fields[KindField], fields[DescriptionField], fields[DateField], fields[TimeField], 0});
    }
    if (pos < bytes.size())
        reading.unread = bytes.sliced(pos);
    return reading;
}

std::optional<MissionLines::Field> MissionLines::misfit(const Mission &mission) const
{
    // GB18030 gives no character the single byte 0x80, so only an ASCII
    // separator can turn up inside a field.
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

QByteArray MissionLines::write(const QVector<Mission> &missions) const
{
    static const QRegularExpression lineBreaks(QStringLiteral("\r\n|[\r\n]"));
    CodePageText codec;
    const auto field = [&](QString text) {
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
            text.replace(lineBreaks, QStringLiteral(" "));
        if (m_endMark)
            text.replace(QChar(endOfFileMark), QLatin1Char(' '));
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
        bytes += field(mission.timeText);
        bytes += "\r\n";
    }
    return bytes;
}
