#include "core/control/MissionRequest.h"

#include "core/text/RegionalFormat.h"

#include <QStringList>

namespace {

QString kindList()
{
    QStringList texts;
    for (const MissionKindInfo &info : missionKinds)
        texts.append(QString::fromUtf8(info.storedText));
    return texts.join(QStringLiteral("、"));
}

std::optional<QDate> parseDate(const QString &text)
{
    const QDate iso = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (iso.isValid())
        return iso;
    return StrToDate(text);
}

} // namespace

std::optional<Mission> requestedMission(const QString &kind, const QString &description, const QString &date,
                                        const QString &time, QString *error)
{
    const std::optional<MissionKind> missionKind = kindFromText(kind);
    if (!missionKind) {
        *error = QStringLiteral("未知的任务类型\"%1\",可用的类型有:%2。").arg(kind, kindList());
        return std::nullopt;
    }
    const std::optional<QDate> day = parseDate(date);
    if (!day) {
        *error = QStringLiteral("无法识别执行日期\"%1\",请写成年-月-日,例如 2026-12-31。").arg(date);
        return std::nullopt;
    }
    const std::optional<QTime> second = StrToTime(time);
    if (!second) {
        *error = QStringLiteral("无法识别执行时间\"%1\",请写成时:分:秒,例如 08:30:00。").arg(time);
        return std::nullopt;
    }
    Mission mission;
    mission.kindText = kind;
    mission.imageIndex = kindImageIndex(*missionKind);
    mission.dateText = DateToStr(*day);
    mission.timeText = TimeToStr(*second);
    if (isPowerKind(*missionKind)) {
        mission.description = kind;
        return mission;
    }
    if (description.contains(QLatin1Char('\n')) || description.contains(QLatin1Char('\r'))) {
        *error = QStringLiteral("任务内容\"%1\"含有换行,任务文件每行只能放一项任务,请写成一行。").arg(description);
        return std::nullopt;
    }
    if (description.trimmed().isEmpty()) {
        *error = QStringLiteral("\"%1\"任务需要内容,例如要执行的程序、要打开的文件、提示的消息或网址。").arg(kind);
        return std::nullopt;
    }
    mission.description = description;
    return mission;
}

std::optional<QDateTime> parseWhen(const QString &when, const QDate &today)
{
    const QString text = when.trimmed();
    const QDateTime full = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (full.isValid())
        return full;
    const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
    if (time.isValid())
        return QDateTime(today, time);
    return std::nullopt;
}
