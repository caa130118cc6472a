#include "core/missions/Mission.h"

#include <cstdlib>

const std::array<MissionKindInfo, 9> missionKinds = {{
    {MissionKind::mkShutdown, "关闭计算机", "shutdown", 0},
    {MissionKind::mkRestart, "重启计算机", "restart", 0},
    {MissionKind::mkLogoff, "注销计算机", "logoff", 0},
    {MissionKind::mkRunProgram, "执行程序", "run", 1},
    {MissionKind::mkOpenFile, "打开文件", "open", 2},
    {MissionKind::mkShowMessage, "提示消息", "message", 3},
    {MissionKind::mkRing, "系统响铃", "ring", 4},
    {MissionKind::mkOpenUrl, "打开网页", "web", 5},
    {MissionKind::mkSendMail, "发送邮件", "mail", 6},
}};

namespace {

const std::array<QString, 9> &kindTexts()
{
    static const std::array<QString, 9> texts = [] {
        std::array<QString, 9> result;
        for (size_t i = 0; i < missionKinds.size(); ++i)
            result[i] = QString::fromUtf8(missionKinds[i].storedText);
        return result;
    }();
    return texts;
}

} // namespace

QString kindText(MissionKind kind)
{
    return kindTexts()[size_t(kind)];
}

QString kindName(MissionKind kind)
{
    return QString::fromLatin1(missionKinds[size_t(kind)].name);
}

std::optional<MissionKind> kindFromTextOrName(const QString &textOrName)
{
    for (const MissionKindInfo &info : missionKinds) {
        if (textOrName == QLatin1String(info.name))
            return info.kind;
    }
    return kindFromText(textOrName);
}

int kindImageIndex(MissionKind kind)
{
    return missionKinds[size_t(kind)].imageIndex;
}

int kindImageIndex(const QString &text)
{
    const std::optional<MissionKind> kind = kindFromText(text);
    return kind ? kindImageIndex(*kind) : 0;
}

std::optional<MissionKind> kindFromText(const QString &text)
{
    for (size_t i = 0; i < missionKinds.size(); ++i) {
        if (text == kindTexts()[i])
            return missionKinds[i].kind;
    }
    return std::nullopt;
}

bool isPowerKind(MissionKind kind)
{
    return kind == MissionKind::mkShutdown || kind == MissionKind::mkRestart || kind == MissionKind::mkLogoff;
}

qint64 wallClockKey(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * 86400 + time.msecsSinceStartOfDay() / 1000;
}

QDateTime fromWallClockKey(qint64 key)
{
    // Held as UTC, so that no time-zone rule moves it: a reading of the hour
    // that the spring change skips keeps its date and time.
    return QDateTime(QDate::fromJulianDay(key / 86400), QTime::fromMSecsSinceStartOfDay(int(key % 86400) * 1000),
                     Qt::UTC);
}

QString abbreviated(const QString &text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    return text.left(maxChars - 1) + QChar(0x2026);
}

QString isoMoment(const QDateTime &moment)
{
    // The date and time on the wall clock, whatever zone or offset the QDateTime carries.
    const QDateTime local(moment.date(), moment.time(), Qt::LocalTime);
    const int offsetMinutes = local.offsetFromUtc() / 60;
    const int magnitude = std::abs(offsetMinutes);
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
           + QStringLiteral("%1%2:%3")
                 .arg(offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                 .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
                 .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}
