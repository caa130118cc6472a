#include "core/files/DailyMissionFile.h"

#include "core/files/MissionFile.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFileInfo>

DailyMissionFile::DailyMissionFile(const QString &path)
    : m_path(path)
{
}

QString DailyMissionFile::pathIn(const QString &folder)
{
    return folder + QStringLiteral("everyday.mis");
}

bool DailyMissionFile::exists() const
{
    return QFileInfo::exists(m_path);
}

std::optional<MissionLines::Reading> DailyMissionFile::read(const QString &todayText, QString *error) const
{
    const std::optional<QByteArray> bytes = readTextFile(m_path, error);
    if (!bytes)
        return std::nullopt;
    MissionLines::Reading reading = MissionLines::dailyFile().read(*bytes);
    MissionFile::dateAll(reading.missions, todayText);
    return reading;
}

QString DailyMissionFile::unreadableRowsNotice(const MissionLines::Reading &reading) const
{
    QVector<int> unreadable;
    for (int row = 0; row < reading.missions.size(); ++row) {
        if (!kindFromText(reading.missions[row].kindText))
            unreadable.append(row);
    }
    QStringList notices;
    if (!unreadable.isEmpty()) {
        notices << QStringLiteral("每日任务文件“%1”中有%2行不是能识别的任务(%3),这些任务不会执行。"
                                  "文件中可能有损坏的字节,或不是以GBK或UTF-8编码保存的。"
                                  "这些行仍列在任务列表中,文件没有改动;请检查并修改文件。")
                       .arg(QDir::toNativeSeparators(m_path))
                       .arg(unreadable.size())
                       .arg(MissionLines::rowNumbers(unreadable));
    }
    const QString nul = MissionLines::blankedNulNotice(m_path, reading);
    if (!nul.isEmpty())
        notices << nul;
    return notices.join(QLatin1Char('\n'));
}

bool DailyMissionFile::append(const Mission &mission, QString *error) const
{
    if (!fits({mission}, error))
        return false;
    QByteArray bytes;
    if (exists()) {
        std::optional<QByteArray> old = readTextFile(m_path, error);
        if (!old)
            return false;
        bytes = *old;
    }
    const MissionLines lines = MissionLines::dailyFile();
    const MissionLines::Reading before = lines.read(bytes);
    QByteArray read = bytes.first(bytes.size() - before.unread.size());
    // A last line without its line end would swallow the new one.
    if (read.size() > CodePageText::byteOrderMark(before.encoding).size() && !read.endsWith('\n'))
        read += "\r\n";
    const QByteArray line = lines.write({mission}, before.encoding);
    const QByteArray after = read + line + before.unread;

    const QVector<Mission> added = lines.read(line).missions;
    const MissionLines::Reading check = lines.read(after);
    if (check.missions != before.missions + added) {
        *error = QStringLiteral("任务“%1”加入每日任务文件“%2”后无法读回，文件没有改动。")
                     .arg(mission.kindText, QDir::toNativeSeparators(m_path));
        return false;
    }
    return writeTextFile(m_path, after, error);
}

bool DailyMissionFile::rewrite(const QVector<Mission> &missions, const MissionLines::Reading &previous,
                               QString *error) const
{
    if (!fits(missions, error))
        return false;
    const MissionLines lines = MissionLines::dailyFile();
    return writeTextFile(m_path,
                         CodePageText::byteOrderMark(previous.encoding).toByteArray()
                             + lines.write(missions, previous.encoding) + previous.unread,
                         error);
}

bool DailyMissionFile::fits(const QVector<Mission> &missions, QString *error) const
{
    static const QString fieldNames[] = {QStringLiteral("任务"), QStringLiteral("描述"), QStringLiteral("执行日期")};
    const MissionLines lines = MissionLines::dailyFile();
    for (const Mission &mission : missions) {
        const std::optional<MissionLines::Field> field = lines.misfit(mission);
        if (!field)
            continue;
        const QString texts[] = {mission.kindText, mission.description, mission.dateText};
        *error = QStringLiteral("%1“%2”含有字符“$”，每日任务文件“%3”中不能保存这样的任务。")
                     .arg(fieldNames[*field], texts[*field], QDir::toNativeSeparators(m_path));
        return false;
    }
    return true;
}
