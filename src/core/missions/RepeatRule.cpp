#include "core/missions/RepeatRule.h"

#include "core/missions/Mission.h"
#include "core/text/RegionalFormat.h"

#include <libical/ical.h>

#include <QStringList>

#include <memory>

namespace {

// An occurrence in the skipped hour of spring lands up to this much later
// than its wall time, so occurrences are looked at this far past the first
// one found, and an iterator set forward starts this far back.
constexpr qint64 skippedHourAllowance = 3 * 3600;
// A bound on the occurrences walked for one answer.
constexpr int maxSteps = 2'000'000;

struct IteratorDeleter
{
    void operator()(icalrecur_iterator *iterator) const { icalrecur_iterator_free(iterator); }
};
using Iterator = std::unique_ptr<icalrecur_iterator, IteratorDeleter>;

icalrecurrencetype readRule(const QString &text)
{
    icalerror_clear_errno();
    return icalrecurrencetype_from_string(text.toLatin1().constData());
}

bool refused(const icalrecurrencetype &rule)
{
    return rule.freq == ICAL_NO_RECURRENCE || icalerrno != ICAL_NO_ERROR;
}

// libical's reason for a refusal, in Chinese words.
QString libicalReason(icalerrorenum error)
{
    switch (error) {
    case ICAL_MALFORMEDDATA_ERROR: return QStringLiteral("文字格式不正确");
    case ICAL_BADARG_ERROR: return QStringLiteral("参数无效");
    case ICAL_NEWFAILED_ERROR:
    case ICAL_ALLOCATION_ERROR: return QStringLiteral("内存不足");
    case ICAL_UNIMPLEMENTED_ERROR: return QStringLiteral("不支持这种写法");
    case ICAL_USAGE_ERROR: return QStringLiteral("用法不对");
    default: return QStringLiteral("无法识别");
    }
}

icaltimetype toIcal(const QDateTime &moment)
{
    const QDateTime local = moment.toLocalTime();
    icaltimetype time = icaltime_null_time();
    time.year = local.date().year();
    time.month = local.date().month();
    time.day = local.date().day();
    time.hour = local.time().hour();
    time.minute = local.time().minute();
    time.second = local.time().second();
    time.is_date = 0;
    return time;
}

QDate dateOf(const icaltimetype &time)
{
    return QDate(time.year, time.month, time.day);
}

qint64 wallKeyOf(const icaltimetype &time)
{
    return wallClockKey(dateOf(time), QTime(time.hour, time.minute, time.second));
}

// The local moment of a wall time; a time that the spring change skips is
// read with the offset from before the change.
QDateTime placeLocally(const QDate &date, const QTime &time)
{
    const QDateTime moment(date, time);
    if (moment.isValid() && moment.date() == date && moment.time() == time)
        return moment;
    const int offsetBefore = QDateTime(date.addDays(-1), time).offsetFromUtc();
    return QDateTime(date, time, Qt::OffsetFromUTC, offsetBefore).toLocalTime();
}

QString timeOfDayText(const QTime &time)
{
    return time.toString(time.second() == 0 ? QStringLiteral("HH:mm") : QStringLiteral("HH:mm:ss"));
}

QString weekdayName(int icalWeekday)
{
    // libical counts from Sunday = 1.
    static const QString names[] = {QStringLiteral("日"), QStringLiteral("一"), QStringLiteral("二"),
                                    QStringLiteral("三"), QStringLiteral("四"), QStringLiteral("五"),
                                    QStringLiteral("六")};
    return names[(icalWeekday - 1 + 7) % 7];
}

int icalWeekdayOf(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1;
}

template <std::size_t N> QList<short> listed(const short (&values)[N])
{
    QList<short> result;
    for (std::size_t i = 0; i < N && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        result.append(values[i]);
    return result;
}

QString monthDayText(short day)
{
    if (day == -1)
        return QStringLiteral("最后一天");
    if (day < 0)
        return QStringLiteral("倒数第%1天").arg(-day);
    return QStringLiteral("%1日").arg(day);
}

QString positionedWeekday(short byDay)
{
    const int position = icalrecurrencetype_day_position(byDay);
    const QString day = QStringLiteral("周") + weekdayName(icalrecurrencetype_day_day_of_week(byDay));
    if (position == 0)
        return day;
    if (position == -1)
        return QStringLiteral("最后一个") + day;
    if (position < 0)
        return QStringLiteral("倒数第%1个").arg(-position) + day;
    return QStringLiteral("第%1个").arg(position) + day;
}

} // namespace

std::optional<RepeatRule> RepeatRule::parse(const QString &text, QString *error)
{
    QString rule = text.trimmed();
    if (rule.startsWith(QStringLiteral("RRULE:"), Qt::CaseInsensitive))
        rule = rule.mid(6);
    const QString shortName = rule.toLower();
    if (shortName == QStringLiteral("daily"))
        rule = dailyRule();
    else if (shortName == QStringLiteral("weekdays"))
        rule = weekdaysRule();
    else if (shortName == QStringLiteral("weekly"))
        rule = QStringLiteral("FREQ=WEEKLY");
    else if (shortName == QStringLiteral("monthly"))
        rule = QStringLiteral("FREQ=MONTHLY");

    const auto refuse = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("无法识别重复规则“%1”：%2。").arg(text.trimmed(), why);
        return std::nullopt;
    };
    if (rule.isEmpty())
        return refuse(QStringLiteral("规则是空的"));
    // libical reads ASCII only.
    for (const QChar c : rule) {
        if (c.unicode() > 0x7E || c.unicode() < 0x20)
            return refuse(QStringLiteral("规则只能由英文字母、数字和 = ; , : - 组成"));
    }

    icalrecurrencetype parsed = readRule(rule);
    if (!refused(parsed)) {
        char *normal = icalrecurrencetype_as_string_r(&parsed);
        const QString normalText = QString::fromLatin1(normal);
        icalmemory_free_buffer(normal);
        return RepeatRule(normalText);
    }
    const icalerrorenum reason = icalerrno;
    if (reason == ICAL_NO_ERROR)
        return refuse(QStringLiteral("缺少重复的频率 FREQ（如 FREQ=DAILY）"));
    // Each part read on its own names the one at fault.
    const QStringList parts = rule.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const bool isFrequency = part.startsWith(QStringLiteral("FREQ="), Qt::CaseInsensitive);
        if (refused(readRule(isFrequency ? part : QStringLiteral("FREQ=YEARLY;") + part))) {
            return refuse(
                QStringLiteral("“%1”一段不合 iCalendar 的写法（libical：%2）").arg(part, libicalReason(icalerrno)));
        }
    }
    if (rule.contains(QStringLiteral("COUNT="), Qt::CaseInsensitive)
        && rule.contains(QStringLiteral("UNTIL="), Qt::CaseInsensitive))
        return refuse(QStringLiteral("不能同时给出次数 COUNT 和截止时间 UNTIL"));
    return refuse(QStringLiteral("libical：") + libicalReason(reason));
}

std::optional<QDateTime> RepeatRule::firstOccurrence(const QDateTime &from) const
{
    // libical passes over a start that the rule does not allow.
    return nextOccurrence(from, from.addSecs(-1));
}

std::optional<QDateTime> RepeatRule::nextOccurrence(const QDateTime &start, const QDateTime &after) const
{
    const icalrecurrencetype rule = readRule(m_text);
    if (refused(rule) || !start.isValid() || !after.isValid())
        return std::nullopt;
    Iterator iterator(icalrecur_iterator_new(rule, toIcal(start)));
    if (!iterator)
        return std::nullopt;
    // Far into a series without a count, the iterator is set near `after`
    // rather than walked there from the start.
    const QDateTime near = after.addSecs(-skippedHourAllowance);
    if (rule.count == 0 && near > start)
        icalrecur_iterator_set_start(iterator.get(), toIcal(near));

    std::optional<QDateTime> best;
    qint64 bestWallKey = 0;
    for (int step = 0; step < maxSteps; ++step) {
        const icaltimetype next = icalrecur_iterator_next(iterator.get());
        if (icaltime_is_null_time(next))
            break;
        const qint64 wallKey = wallKeyOf(next);
        if (best && wallKey > bestWallKey + skippedHourAllowance)
            break;
        const QDateTime moment = placeLocally(dateOf(next), QTime(next.hour, next.minute, next.second));
        if (moment > after && (!best || moment < *best)) {
            best = moment;
            bestWallKey = wallKey;
        }
    }
    return best;
}

QString RepeatRule::description(const QDateTime &start) const
{
    const icalrecurrencetype rule = readRule(m_text);
    if (refused(rule))
        return m_text;
    const int interval = std::max<int>(1, rule.interval);
    const QList<short> days = listed(rule.by_day);
    const QList<short> monthDays = listed(rule.by_month_day);
    const QList<short> months = listed(rule.by_month);
    const QString at = QLatin1Char(' ') + timeOfDayText(start.time());
    // Parts the words below do not cover: the rule is quoted after them.
    bool described = listed(rule.by_second).isEmpty() && listed(rule.by_minute).isEmpty()
                     && listed(rule.by_hour).isEmpty() && listed(rule.by_year_day).isEmpty()
                     && listed(rule.by_week_no).isEmpty() && listed(rule.by_set_pos).isEmpty();

    QString words;
    switch (rule.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        words = interval == 1 ? QStringLiteral("每秒") : QStringLiteral("每隔%1秒").arg(interval);
        described = described && days.isEmpty() && monthDays.isEmpty() && months.isEmpty();
        break;
    case ICAL_MINUTELY_RECURRENCE:
        words = interval == 1 ? QStringLiteral("每分钟") : QStringLiteral("每隔%1分钟").arg(interval);
        described = described && days.isEmpty() && monthDays.isEmpty() && months.isEmpty();
        break;
    case ICAL_HOURLY_RECURRENCE:
        words = interval == 1 ? QStringLiteral("每小时") : QStringLiteral("每隔%1小时").arg(interval);
        described = described && days.isEmpty() && monthDays.isEmpty() && months.isEmpty();
        break;
    case ICAL_DAILY_RECURRENCE:
        words = (interval == 1 ? QStringLiteral("每天") : QStringLiteral("每隔%1天").arg(interval)) + at;
        described = described && days.isEmpty() && monthDays.isEmpty() && months.isEmpty();
        break;
    case ICAL_WEEKLY_RECURRENCE: {
        QStringList names;
        for (short day : days) {
            if (icalrecurrencetype_day_position(day) != 0)
                described = false;
            names.append(weekdayName(icalrecurrencetype_day_day_of_week(day)));
        }
        if (names.isEmpty())
            names.append(weekdayName(icalWeekdayOf(start.date())));
        if (interval == 1 && names == QStringList {"一", "二", "三", "四", "五"})
            words = QStringLiteral("工作日") + at;
        else
            words = (interval == 1 ? QStringLiteral("每周") : QStringLiteral("每隔%1周的周").arg(interval))
                    + names.join(QStringLiteral("、")) + at;
        described = described && monthDays.isEmpty() && months.isEmpty();
        break;
    }
    case ICAL_MONTHLY_RECURRENCE: {
        QStringList which;
        for (short day : monthDays)
            which.append(monthDayText(day));
        for (short day : days)
            which.append(positionedWeekday(day));
        if (which.isEmpty())
            which.append(monthDayText(short(start.date().day())));
        words = (interval == 1 ? QStringLiteral("每月") : QStringLiteral("每隔%1个月的").arg(interval))
                + which.join(QStringLiteral("、")) + at;
        described = described && months.isEmpty();
        break;
    }
    case ICAL_YEARLY_RECURRENCE: {
        const int month = months.size() == 1 ? months.first() : start.date().month();
        const int day = monthDays.size() == 1 ? monthDays.first() : start.date().day();
        words = (interval == 1 ? QStringLiteral("每年") : QStringLiteral("每隔%1年的").arg(interval))
                + QStringLiteral("%1月%2日").arg(month).arg(day) + at;
        described = described && days.isEmpty() && months.size() <= 1 && monthDays.size() <= 1;
        break;
    }
    default: return m_text;
    }
    if (!described)
        words += QStringLiteral("（%1）").arg(m_text);
    if (rule.count > 0)
        words += QStringLiteral("，共%1次").arg(rule.count);
    if (!icaltime_is_null_time(rule.until))
        words += QStringLiteral("，至") + DateToStr(dateOf(rule.until));
    return words;
}
