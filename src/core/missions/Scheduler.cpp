#include "Scheduler.h"

#include "Clock.h"
#include "MissionActions.h"
#include "MissionModel.h"
#include "RegionalFormat.h"

Scheduler::Scheduler(MissionModel &missions, const Clock &clock, MissionActions &actions)
    : m_missions(missions)
    , m_clock(clock)
    , m_actions(actions)
{
}

void Scheduler::start()
{
    m_lastChecked = wallClockKey(m_clock.now()) - 1;
}

void Scheduler::checkDueMissions()
{
    const qint64 now = wallClockKey(m_clock.now());
    if (!m_lastChecked)
        m_lastChecked = now - 1;
    const qint64 gap = now - *m_lastChecked;
    if (gap == 0)
        return; // this second has been checked already
    // A long gap (suspend, the clock set forward) or a clock set back:
    // only the present second counts.
    const qint64 first = (gap < 0 || gap > maxCatchUpSeconds) ? now : *m_lastChecked + 1;
    for (qint64 second = first; second <= now; ++second) {
        m_lastChecked = second;
        checkSecond(second);
    }
}

void Scheduler::checkSecond(qint64 second)
{
    for (int row = 0; row < m_missions.count(); ++row) {
        const std::optional<qint64> moment = m_missions.momentKey(row);
        if (!moment) {
            if (!m_missions.faultReported(row)) {
                m_missions.setFaultReported(row);
                m_actions.reportFaultyRow(row);
            }
            continue;
        }
        const std::optional<MissionKind> kind = m_missions.kind(row);
        if (!kind)
            continue;
        if (isPowerKind(*kind) && *moment - warningLeadSeconds == second)
            m_actions.showPreWarning(row, warningMessage(*kind), fromWallClockKey(*moment));
        if (*moment == second)
            carryOut(*kind, m_missions.mission(row).description);
    }

    const QDateTime moment = fromWallClockKey(second);
    if (m_actions.chimeOn() && moment.time().minute() == 0 && moment.time().second() == 0) {
        // Midnight sounds the 24th announcement.
        const int hour = moment.time().hour();
        m_actions.playHourlySignal(QStringLiteral("t%1").arg(hour == 0 ? 24 : hour));
    }
}

void Scheduler::carryOut(MissionKind kind, const QString &description)
{
    switch (kind) {
    case MissionKind::mkShutdown: m_actions.shutDown(); break;
    case MissionKind::mkRestart: m_actions.restart(); break;
    case MissionKind::mkLogoff: m_actions.logOff(); break;
    case MissionKind::mkRunProgram: m_actions.runProgram(description); break;
    case MissionKind::mkOpenFile: m_actions.openFile(description); break;
    case MissionKind::mkShowMessage: m_actions.showMessage(description); break;
    case MissionKind::mkRing: m_actions.ring(); break;
    case MissionKind::mkOpenUrl: m_actions.openWebPage(description); break;
    case MissionKind::mkSendMail: m_actions.sendMail(description); break;
    }
}

void Scheduler::postpone(int row, const QDateTime &moment)
{
    if (row < 0 || row >= m_missions.count())
        return;
    const QDateTime later = fromWallClockKey(wallClockKey(moment) + postponeSeconds);
    m_missions.setDateTime(row, DateToStr(later.date()), TimeToStr(later.time()));
}

QString Scheduler::warningMessage(MissionKind kind)
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
