#include "MissionRunner.h"

#include "SessionControl.h"
#include "Shell.h"
#include "Sound.h"

MissionRunner::MissionRunner(SessionControl &session, Shell &shell, Sound &sound, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_shell(shell)
    , m_sound(sound)
{
}

void MissionRunner::carryOut(int row, const Mission &mission)
{
    Q_UNUSED(row);
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
    emit carriedOut(mission);
}

void MissionRunner::warn(int row, MissionKind kind, const QDateTime &moment)
{
    for (int i = 0; i < 3; ++i)
        m_sound.beep();
    emit warningDue(row, warningMessage(kind), moment);
}

void MissionRunner::playHourlySignal(int hour)
{
    m_sound.play(hourlySignalName(hour));
}

void MissionRunner::reportFaultyRow(int row)
{
    emit faultyRowFound(row);
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
