#include "app/ControlService.h"

#include "core/control/ApplicationId.h"
#include "core/control/MissionRequest.h"
#include "core/missions/MissionList.h"
#include "platform/Clock.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDir>
#include <QTimer>

void registerMissionRowType()
{
    qDBusRegisterMetaType<MissionRow>();
    qDBusRegisterMetaType<QList<MissionRow>>();
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

ControlService::ControlService(MissionList &list, std::function<void()> show, std::function<void()> quit,
                               QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_show(std::move(show))
    , m_quit(std::move(quit))
    , m_announcedState(state())
{
    registerMissionRowType();
    connect(&m_list, &MissionList::runStateChanged, this, &ControlService::announceState);
    connect(&m_list.runner(), &MissionRunner::carriedOut, this, &ControlService::announceCarriedOut);
}

bool ControlService::exportOn(QDBusConnection connection)
{
    m_connection = connection;
    return connection.registerObject(controlObjectPath(), this,
                                     QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
                                         | QDBusConnection::ExportAllProperties);
}

QString ControlService::state() const
{
    return MissionList::runStateName(m_list.runState());
}

QString ControlService::Add(const QString &kind, const QString &description, const QString &date, const QString &time)
{
    QString error;
    const std::optional<Mission> mission =
        requestedMission(kind, description, date, time, m_list.clock().now(), &error);
    return addRequested(mission, error);
}

QString ControlService::AddRepeating(const QString &kind, const QString &description, const QString &date,
                                     const QString &time, const QString &rule)
{
    QString error;
    const std::optional<Mission> mission =
        requestedRepeatingMission(kind, description, date, time, rule, m_list.clock().now(), &error);
    return addRequested(mission, error);
}

QString ControlService::addRequested(const std::optional<Mission> &mission, const QString &error)
{
    if (!mission) {
        sendErrorReply(QDBusError::InvalidArgs, error);
        return QString();
    }
    const MissionId id = m_list.add(*mission);
    m_list.startIfOnlyRow();
    return QString::number(id);
}

void ControlService::Delete(const QString &id)
{
    bool isNumber = false;
    const MissionId number = id.trimmed().toULongLong(&isNumber);
    if (!isNumber || !m_list.remove(number)) {
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("任务列表中没有编号为\"%1\"的任务,没有删除任何任务。").arg(id));
    }
}

QList<MissionRow> ControlService::List()
{
    const MissionModel &missions = m_list.model();
    QList<MissionRow> rows;
    rows.reserve(missions.count());
    for (int row = 0; row < missions.count(); ++row) {
        const Mission &mission = missions.mission(row);
        rows.append({mission.kindText, mission.description, mission.dateText, mission.timeText});
    }
    return rows;
}

QList<QVariantMap> ControlService::Missions()
{
    QList<QVariantMap> records;
    records.reserve(m_list.model().count());
    for (int row = 0; row < m_list.model().count(); ++row)
        records.append(m_list.record(row));
    return records;
}

QVariantMap ControlService::Status()
{
    QVariantMap status {{QStringLiteral("state"), state()}, {QStringLiteral("count"), m_list.model().count()}};
    const int next = m_list.nextRow();
    if (next >= 0)
        status.insert(QStringLiteral("next"), m_list.record(next));
    return status;
}

void ControlService::Start()
{
    m_list.start();
}

void ControlService::Pause()
{
    // As in the window, only a running list can be paused.
    if (m_list.runState() != MissionList::RunState::Running) {
        sendErrorReply(QDBusError::Failed, QStringLiteral("任务列表没有在执行,无法暂停。"));
        return;
    }
    m_list.pause();
}

void ControlService::Stop()
{
    if (m_list.runState() == MissionList::RunState::Stopped) {
        sendErrorReply(QDBusError::Failed, QStringLiteral("任务列表已经停止。"));
        return;
    }
    m_list.stop();
}

void ControlService::Load(const QString &file)
{
    // This program's working folder means nothing to the caller.
    if (QDir::isRelativePath(file)) {
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("任务文件名\"%1\"不是绝对路径,请给出完整的路径。").arg(file));
        return;
    }
    QString error;
    // The caller gets the error; the window shows none.
    if (!m_list.load(file, false, &error))
        sendErrorReply(QDBusError::Failed, error);
}

void ControlService::Quit()
{
    // After the answer has gone out: the quit may end the program at once.
    QTimer::singleShot(0, this, [this] { m_quit(); });
}

void ControlService::Show()
{
    m_show();
}

void ControlService::announceCarriedOut(const Mission &mission)
{
    emit MissionCarriedOut(mission.kindText, mission.description, mission.dateText, mission.timeText);
}

void ControlService::announceState()
{
    const QString current = state();
    if (current == m_announcedState)
        return;
    m_announcedState = current;
    QDBusMessage changed = QDBusMessage::createSignal(
        controlObjectPath(), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    changed << applicationId() << QVariantMap {{QStringLiteral("State"), current}} << QStringList();
    if (m_connection)
        m_connection->send(changed);
}
