#include "core/missions/MissionRunner.h"

#include "platform/Notifier.h"
#include "platform/SessionControl.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

MissionRunner::MissionRunner(SessionControl &session, Shell &shell, Sound &sound, Notifier &notifier, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_shell(shell)
    , m_sound(sound)
    , m_notifier(notifier)
{
}

void MissionRunner::carryOut(MissionId id, const Mission &mission)
{
    const std::optional<MissionKind> kind = kindFromText(mission.kindText);
    if (!kind)
        return;
    const QString &description = mission.description;
    switch (*kind) {
    case MissionKind::mkShutdown: m_session.powerOff(); break;
    case MissionKind::mkRestart: m_session.reboot(); break;
    case MissionKind::mkLogoff: m_session.logOff(); break;
    case MissionKind::mkRunProgram: m_shell.runProgram(description); break;
    case MissionKind::mkOpenFile: m_shell.openFile(description); break;
    case MissionKind::mkShowMessage:
        m_sound.beep();
        emit messageDue(description);
        break;
    // The ring mission's description names a sound file, but the built-in
    // ring is what plays.
    case MissionKind::mkRing: m_sound.play(QStringLiteral("ring")); break;
    case MissionKind::mkOpenUrl: m_shell.openUrl(description); break;
    case MissionKind::mkSendMail: m_shell.sendMail(description); break;
    }
    if (isPowerKind(*kind))
        emit powerRequestSent(id);
    emit carriedOut(mission);
}

void MissionRunner::warn(MissionId id, MissionKind kind, const QDateTime &moment)
{
    for (int i = 0; i < 3; ++i)
        m_sound.beep();
    emit warningDue(id, warningMessage(kind), moment);
}

void MissionRunner::playHourlySignal(int hour)
{
    m_sound.play(hourlySignalName(hour));
}

void MissionRunner::reportFaultyRows(const QVector<ListedMission> &rows)
{
    emit faultyRowsFound(faultyRowsReport(rows));
}

void MissionRunner::reportMissed(const QVector<ListedMission> &missed, bool slept)
{
    sendMissedNotice(missedNoticeText(missed, slept));
}

void MissionRunner::reportMissedWhileClosed(const QVector<ListedMission> &missed)
{
    sendMissedNotice(missedNoticeText(missed, QStringLiteral("程序未运行")));
}

void MissionRunner::sendMissedNotice(const QString &text)
{
    // Stays until the user closes it, so that no reminder goes unseen.
    m_notifier.notify(missedNoticeTitle(), text, 0);
    emit missedNoticeDue(missedNoticeTitle(), text);
}

QString MissionRunner::faultyRowsReport(const QVector<ListedMission> &rows)
{
    const auto quoted = [](const Mission &mission) {
        return abbreviated(mission.dateText, 30) + QLatin1Char(' ') + abbreviated(mission.timeText, 30);
    };
    if (rows.size() == 1) {
        return QStringLiteral("任务列表第%1行的执行日期或时间\"%2\"无法识别,该任务不会执行,请修改它的日期和时间。")
            .arg(rows.first().row + 1)
            .arg(quoted(rows.first().mission));
    }
    QString report = QStringLiteral("任务列表中有%1个任务的执行日期或时间无法识别,这些任务不会执行(列表中以红色标出),"
                                    "请修改它们的日期和时间:")
                         .arg(rows.size());
    for (int i = 0; i < rows.size() && i < faultyRowsQuoted; ++i)
        report += QStringLiteral("\n第%1行: \"%2\"").arg(rows[i].row + 1).arg(quoted(rows[i].mission));
    if (rows.size() > faultyRowsQuoted)
        report += QStringLiteral("\n……");
    return report;
}

QString MissionRunner::missedNoticeTitle()
{
    return QStringLiteral("错过的任务");
}

QString MissionRunner::missedNoticeText(const QVector<ListedMission> &missed, bool slept)
{
    return missedNoticeText(missed, slept ? QStringLiteral("计算机休眠") : QStringLiteral("计算机休眠或系统时钟跳变"));
}

QString MissionRunner::missedNoticeText(const QVector<ListedMission> &missed, const QString &when)
{
    QString text = QStringLiteral("以下任务的执行时间在%1期间已过,没有执行,也不会补执行:").arg(when);
    for (int i = 0; i < missed.size() && i < missedListed; ++i) {
        const Mission &mission = missed[i].mission;
        text += QStringLiteral("\n%1 %2 %3").arg(mission.dateText, mission.timeText, mission.kindText);
        // A reminder's text is the reminder: it is given whole.
        const bool reminder = kindFromText(mission.kindText) == MissionKind::mkShowMessage;
        if (mission.description != mission.kindText)
            text += QStringLiteral(": ") + (reminder ? mission.description : abbreviated(mission.description, 80));
    }
    if (missed.size() > missedListed)
        text += QStringLiteral("\n……另有%1个任务").arg(missed.size() - missedListed);
    return text;
}

QString MissionRunner::hourlySignalName(int hour)
{
    return QStringLiteral("t%1").arg(hour == 0 ? 24 : hour);
}

QString MissionRunner::warningMessage(MissionKind kind)
{
    QString verb;
    switch (kind) {
    case MissionKind::mkShutdown: verb = QStringLiteral("关机"); break;
    case MissionKind::mkRestart: verb = QStringLiteral("重启"); break;
    case MissionKind::mkLogoff: verb = QStringLiteral("注销"); break;
    default: return {};
    }
    return QStringLiteral("翎鹊工作室将在10秒钟之后执行%1操作,请选择你的操作;").arg(verb) + QChar(13)
           + QStringLiteral("如果您未选择任何操作,10秒后系统选择确定并执行%1任务.").arg(verb);
}
