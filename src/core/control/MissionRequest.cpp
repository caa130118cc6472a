#include "core/control/MissionRequest.h"

#include "core/missions/MissionComposer.h"
#include "core/missions/RepeatRule.h"
#include "core/text/RegionalFormat.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

QString kindList()
{
    QStringList texts;
    for (const MissionKindInfo &info : missionKinds)
        texts.append(QStringLiteral("%1(%2)").arg(QString::fromUtf8(info.storedText), QString::fromLatin1(info.name)));
    return texts.join(QStringLiteral("、"));
}

std::optional<QDate> parseDate(const QString &text)
{
    const QDate iso = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (iso.isValid())
        return iso;
    return StrToDate(text);
}

// A time with or without its seconds: H:mm[:ss] with leading zeros allowed,
// or the list's own time format.
std::optional<QTime> parseTime(const QString &text)
{
    static const QRegularExpression clock(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const QRegularExpressionMatch match = clock.match(text);
    if (match.hasMatch()) {
        const QTime time(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
        if (time.isValid())
            return time;
        return std::nullopt;
    }
    return StrToTime(text);
}

// "+1h30m": the seconds from now, or nothing when `text` is not of that form.
std::optional<qint64> relativeSeconds(const QString &text)
{
    static const QRegularExpression relative(
        QStringLiteral("^\\+(?:(\\d{1,5})d)?(?:(\\d{1,6})h)?(?:(\\d{1,8})m)?(?:(\\d{1,9})s)?$"));
    const QRegularExpressionMatch match = relative.match(text);
    if (!match.hasMatch() || text.size() < 3)
        return std::nullopt;
    return match.captured(1).toLongLong() * 86400 + match.captured(2).toLongLong() * 3600
           + match.captured(3).toLongLong() * 60 + match.captured(4).toLongLong();
}

// The name of the first character a one-line field cannot hold, or empty.
QString forbiddenCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\t'))
            return QStringLiteral("制表符");
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(QChar::LineSeparator)
            || c == QChar(QChar::ParagraphSeparator))
            return QStringLiteral("换行");
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("控制字符 U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    }
    return {};
}

} // namespace

std::optional<Mission> requestedMission(const QString &kind, const QString &description, const QString &date,
                                        const QString &time, const QDateTime &now, QString *error)
{
    const std::optional<MissionKind> missionKind = kindFromTextOrName(kind);
    if (!missionKind) {
        *error = QStringLiteral("未知的任务类型\"%1\",可用的类型有:%2。").arg(kind, kindList());
        return std::nullopt;
    }
    const std::optional<QDate> day = parseDate(date);
    if (!day) {
        *error = QStringLiteral("无法识别执行日期\"%1\",请写成年-月-日,例如 2026-12-31。").arg(date);
        return std::nullopt;
    }
    const std::optional<QTime> second = parseTime(time);
    if (!second) {
        *error = QStringLiteral("无法识别执行时间\"%1\",请写成时:分:秒,例如 08:30:00。").arg(time);
        return std::nullopt;
    }
    // Local time skips the hour a daylight-saving change jumps over: such a
    // moment is no valid local time.
    const QDateTime moment(*day, *second);
    if (!moment.isValid() || moment.time() != *second || moment.date() != *day) {
        *error = QStringLiteral("本地时间 %1 %2 不存在(夏令时调整跳过了这段时间),请换一个时刻。")
                     .arg(day->toString(QStringLiteral("yyyy-MM-dd")), second->toString(QStringLiteral("HH:mm:ss")));
        return std::nullopt;
    }
    if (wallClockKey(*day, *second) < wallClockKey(now)) {
        *error = QStringLiteral("执行时刻 %1 %2 已经过去,请给出将来的时刻。")
                     .arg(day->toString(QStringLiteral("yyyy-MM-dd")), second->toString(QStringLiteral("HH:mm:ss")));
        return std::nullopt;
    }
    Mission mission;
    mission.kindText = kindText(*missionKind);
    mission.imageIndex = kindImageIndex(*missionKind);
    mission.dateText = DateToStr(*day);
    mission.timeText = TimeToStr(*second);
    if (isPowerKind(*missionKind)) {
        mission.description = mission.kindText;
        return mission;
    }
    const QString forbidden = forbiddenCharacter(description);
    if (!forbidden.isEmpty()) {
        *error =
            QStringLiteral("任务内容\"%1\"含有%2,一项任务的内容只能是一行文字,请去掉它。").arg(description, forbidden);
        return std::nullopt;
    }
    if (description.trimmed().isEmpty()) {
        if (*missionKind == MissionKind::mkRing) {
            // As the editor's ring page: the built-in sound unless a file is chosen.
            mission.description = QStringLiteral("内置铃声");
            return mission;
        }
        *error = QStringLiteral("\"%1\"任务需要内容,例如要执行的程序、要打开的文件、提示的消息或网址。")
                     .arg(mission.kindText);
        return std::nullopt;
    }
    mission.description = description;
    return mission;
}

std::optional<Mission> requestedRepeatingMission(const QString &kind, const QString &description, const QString &date,
                                                 const QString &time, const QString &rule, const QDateTime &now,
                                                 QString *error)
{
    if (!RepeatRule::parse(rule, error))
        return std::nullopt;
    std::optional<Mission> mission = requestedMission(kind, description, date, time, now, error);
    if (mission && !applyRepeatRule(*mission, rule, now, error))
        return std::nullopt;
    return mission;
}

std::optional<WallClockMoment> parseWhen(const QString &when, const QDateTime &now)
{
    const QString text = when.simplified();
    if (const std::optional<qint64> seconds = relativeSeconds(text)) {
        const QDateTime moment = now.addSecs(*seconds);
        const QTime time = moment.time();
        return WallClockMoment {moment.date(), QTime(time.hour(), time.minute(), time.second())};
    }
    const int space = text.indexOf(QLatin1Char(' '));
    if (space < 0) {
        if (const std::optional<QTime> time = parseTime(text))
            return WallClockMoment {now.date(), *time};
        return std::nullopt;
    }
    const QString dayText = text.left(space);
    const std::optional<QTime> time = parseTime(text.mid(space + 1));
    if (!time)
        return std::nullopt;
    if (dayText.compare(QStringLiteral("tomorrow"), Qt::CaseInsensitive) == 0)
        return WallClockMoment {now.date().addDays(1), *time};
    if (const std::optional<QDate> day = parseDate(dayText))
        return WallClockMoment {*day, *time};
    return std::nullopt;
}

QString whenForms()
{
    return QStringLiteral("\"yyyy-MM-dd HH:mm[:ss]\"、\"HH:mm[:ss]\"(今天)、\"tomorrow HH:mm[:ss]\"(明天)、"
                          "\"+90s\"、\"+45m\"、\"+2h\"、\"+1d\"、\"+1h30m\"(从现在起),或 --list 列出的日期和时间");
}
