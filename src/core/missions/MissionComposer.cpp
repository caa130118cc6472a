#include "core/missions/MissionComposer.h"

#include "core/missions/RepeatRule.h"
#include "core/text/RegionalFormat.h"

#include <QFileInfo>

#include <array>

namespace {

// The kind each page stores; the power page takes its kind from its entry.
constexpr std::array<MissionKind, EditorPageCount> pageKinds = {
    MissionKind::mkShutdown, MissionKind::mkRunProgram, MissionKind::mkOpenFile, MissionKind::mkShowMessage,
    MissionKind::mkRing,     MissionKind::mkOpenUrl,    MissionKind::mkSendMail,
};

bool isWordBreak(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace

QStringList powerEntries()
{
    return {kindText(MissionKind::mkShutdown), kindText(MissionKind::mkRestart), kindText(MissionKind::mkLogoff)};
}

Mission composeMission(int page, const QString &input, const QDate &date, const QTime &time)
{
    Mission mission;
    mission.dateText = DateToStr(date);
    mission.timeText = TimeToStr(time);
    mission.imageIndex = kindImageIndex(pageKinds[size_t(page)]);
    switch (page) {
    case PowerPage:
        mission.kindText = input;
        mission.description = input;
        return mission;
    case ProgramPage:
    case FilePage:
    case RingPage: mission.description = fileNameValue(input); break;
    case MessagePage:
    default: mission.description = messageDescription(input); break;
    }
    mission.kindText = kindText(pageKinds[size_t(page)]);
    return mission;
}

int pageForKindText(const QString &kindText)
{
    const std::optional<MissionKind> kind = kindFromText(kindText);
    if (!kind)
        return PowerPage;
    for (int page = ProgramPage; page < EditorPageCount; ++page) {
        if (pageKinds[size_t(page)] == *kind)
            return page;
    }
    return PowerPage;
}

QTime proposedTime(const QTime &now)
{
    const int hour = now.hour() + 1;
    return QTime(hour > 23 ? 0 : hour, now.minute(), now.second());
}

QString fileNameValue(const QString &text)
{
    if (QFileInfo(text).isFile())
        return text;
    QString word;
    int i = 0;
    while (i < text.size() && isWordBreak(text[i]))
        ++i;
    bool quoted = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && isWordBreak(c))
            break;
        else
            word += c;
    }
    return word;
}

QString pickedPathText(const QString &path)
{
    if (path.contains(QLatin1Char(' ')))
        return QLatin1Char('"') + path + QLatin1Char('"');
    return path;
}

QString messageDescription(const QString &memoText)
{
    QString line = memoText;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (const QChar lineBreak :
         {QChar(u'\r'), QChar(u'\n'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator), QChar(u'\t')})
        line.replace(lineBreak, QLatin1Char(' '));
    return line;
}

QStringList programFilters()
{
    return {executablesFilter(), QStringLiteral("脚本 (*.sh *.bash *.py *.pl *.rb *.php *.tcl *.lua)"),
            QStringLiteral("所有文件 (*)")};
}

QString executablesFilter()
{
    return QStringLiteral("可执行程序 (*)");
}

QStringList fileFilters()
{
    // "*.*" would hide every file without a dot in its name here.
    return {QStringLiteral("All files (*)")};
}

QStringList ringFilters()
{
    return {QStringLiteral("wavefile (*.wav)")};
}

bool applyRepeatRule(Mission &mission, const QString &rule, const QDateTime &now, QString *error)
{
    if (rule.isEmpty()) {
        mission.repeatRule.clear();
        mission.repeatStart = {};
        return true;
    }
    const std::optional<RepeatRule> repeat = RepeatRule::parse(rule, error);
    const std::optional<QDate> date = StrToDate(mission.dateText);
    const std::optional<QTime> time = StrToTime(mission.timeText);
    if (!repeat || !date || !time)
        return false;
    const std::optional<QDateTime> first = repeat->firstOccurrence(QDateTime(*date, *time));
    const std::optional<QDateTime> shown = first && *first <= now ? repeat->nextOccurrence(*first, now) : first;
    if (!shown) {
        if (error)
            *error = QStringLiteral("重复规则“%1”从%2 %3起不再有执行的时间，请改动执行日期或重复的结束。")
                         .arg(repeat->description(QDateTime(*date, *time)), mission.dateText, mission.timeText);
        return false;
    }
    mission.repeatRule = repeat->text();
    mission.repeatStart = *first;
    mission.dateText = DateToStr(shown->date());
    mission.timeText = TimeToStr(shown->time());
    return true;
}

QDateTime quickMoment(QuickTime quickTime, const QDateTime &now)
{
    const QDateTime second = now.addMSecs(-now.time().msec());
    switch (quickTime) {
    case QuickTime::InFiveMinutes: return second.addSecs(5 * 60);
    case QuickTime::InThirtyMinutes: return second.addSecs(30 * 60);
    case QuickTime::InOneHour: return second.addSecs(60 * 60);
    case QuickTime::TomorrowAtEight: break;
    }
    return QDateTime(now.date().addDays(1), QTime(8, 0));
}

Mission snoozedMessage(const QString &text, const QDateTime &now, int minutes)
{
    const QDateTime moment = now.addMSecs(-now.time().msec()).addSecs(minutes * 60);
    return Mission {kindText(MissionKind::mkShowMessage), text, DateToStr(moment.date()), TimeToStr(moment.time()),
                    kindImageIndex(MissionKind::mkShowMessage)};
}
