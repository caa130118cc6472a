#include "core/files/MissionFile.h"

#include "core/files/MissionLines.h"
#include "core/files/TextFile.h"

namespace {

// The repeat rules follow the rows after an empty line, where a reader of
// the plain format stops: such a reader sees each repeating row as a mission
// carried out once at its next occurrence. After the empty line comes a
// heading line, then one line per repeating row: its row number (from 1),
// the first occurrence of its series and its rule, separated by 0x80.
const QByteArray repeatHeading = QByteArrayLiteral("[ChronoDesk repeat rules]");
constexpr char separator = char(0x80);
const QString startFormat = QStringLiteral("yyyyMMdd'T'HHmmss");

QByteArray repeatSection(const QVector<Mission> &missions)
{
    QByteArray section;
    for (int row = 0; row < missions.size(); ++row) {
        const Mission &mission = missions[row];
        if (!mission.repeats())
            continue;
        section += QByteArray::number(row + 1) + separator + mission.repeatStart.toString(startFormat).toLatin1()
                   + separator + mission.repeatRule.toLatin1() + "\r\n";
    }
    return section.isEmpty() ? section : "\r\n" + repeatHeading + "\r\n" + section;
}

// Gives the rows the rules that `unread` (what the line reader left after an
// empty line) holds. Lines that do not fit are passed over: their rows stay
// missions carried out once.
void readRepeatSection(const QByteArray &unread, QVector<Mission> &missions)
{
    const QList<QByteArray> lines = unread.split('\n');
    if (lines.size() < 2 || lines[0] != "\r" || lines[1].chopped(lines[1].endsWith('\r') ? 1 : 0) != repeatHeading)
        return;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        const QList<QByteArray> fields = line.split(separator);
        if (fields.size() != 3)
            continue;
        bool isNumber = false;
        const int row = fields[0].toInt(&isNumber) - 1;
        const QDateTime start = QDateTime::fromString(QString::fromLatin1(fields[1]), startFormat);
        if (!isNumber || row < 0 || row >= missions.size() || !start.isValid() || fields[2].isEmpty())
            continue;
        missions[row].repeatRule = QString::fromLatin1(fields[2]);
        missions[row].repeatStart = start;
    }
}

} // namespace

std::optional<QVector<Mission>> MissionFile::load(const QString &path, QString *error, QString *notice)
{
    const std::optional<QByteArray> bytes = readTextFile(path, error);
    if (!bytes)
        return std::nullopt;
    MissionLines::Reading reading = MissionLines::missionFile().read(*bytes);
    readRepeatSection(reading.unread, reading.missions);
    if (notice)
        *notice = MissionLines::blankedNulNotice(path, reading);
    return reading.missions;
}

bool MissionFile::save(const QString &path, const QVector<Mission> &missions, QString *error)
{
    return writeTextFile(path, MissionLines::missionFile().write(missions) + repeatSection(missions), error);
}

void MissionFile::dateAll(QVector<Mission> &missions, const QString &dateText)
{
    for (Mission &mission : missions)
        mission.dateText = dateText;
}
