#include "app/ControlService.h"

#include "core/control/ApplicationId.h"
#include "core/control/MissionRequest.h"
#include "core/missions/MissionModel.h"
#include "core/missions/MissionRunner.h"
#include "core/text/RegionalFormat.h"
#include "gui/mainwindow/MainWindow.h"

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

ControlService::ControlService(MainWindow &window)
    : QObject(&window)
    , m_window(window)
    , m_announcedState(state())
{
    registerMissionRowType();
    connect(&m_window, &MainWindow::runStateChanged, this, &ControlService::announceState);
    connect(&m_window.runner(), &MissionRunner::carriedOut, this, &ControlService::announceCarriedOut);
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
    switch (m_window.runState()) {
    case MainWindow::RunState::Running: return QStringLiteral("running");
    case MainWindow::RunState::Paused: return QStringLiteral("paused");
    case MainWindow::RunState::Stopped: break;
    }
    return QStringLiteral("stopped");
}

QString ControlService::Add(const QString &kind, const QString &description, const QString &date, const QString &time)
{
    QString error;
    const std::optional<Mission> mission =
        requestedMission(kind, description, date, time, QDateTime::currentDateTime(), &error);
    if (!mission) {
        sendErrorReply(QDBusError::InvalidArgs, error);
        return {};
    }
    const MissionId id = m_window.missions()->append(*mission);
    m_window.startListIfOnlyRow();
    return QString::number(id);
}

void ControlService::Delete(const QString &id)
{
    bool isNumber = false;
    const MissionId missionId = id.toULongLong(&isNumber);
    const int row = isNumber && missionId != 0 ? m_window.missions()->rowOf(missionId) : -1;
    if (row < 0) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("列表中没有编号为\"%1\"的任务。").arg(id));
        return;
    }
    m_window.missions()->remove(row);
}

QList<MissionRow> ControlService::List()
{
    const MissionModel *missions = m_window.missions();
    QList<MissionRow> rows;
    rows.reserve(missions->count());
    for (int row = 0; row < missions->count(); ++row) {
        const Mission &mission = missions->mission(row);
        rows.append({mission.kindText, mission.description, mission.dateText, mission.timeText});
    }
    return rows;
}

QVariantMap ControlService::missionEntry(int row) const
{
    const Mission &mission = m_window.missions()->mission(row);
    const std::optional<MissionKind> kind = kindFromText(mission.kindText);
    return {{QStringLiteral("id"), QString::number(m_window.missions()->id(row))},
            {QStringLiteral("kind"), kind ? kindName(*kind) : QString()},
            {QStringLiteral("kindText"), mission.kindText},
            {QStringLiteral("text"), mission.description},
            {QStringLiteral("at"), isoMoment(mission)},
            {QStringLiteral("repeat"), QString()},
            {QStringLiteral("lastRun"), QString()}};
}

QList<QVariantMap> ControlService::Missions()
{
    QList<QVariantMap> entries;
    for (int row = 0; row < m_window.missions()->count(); ++row)
        entries.append(missionEntry(row));
    return entries;
}

QVariantMap ControlService::Status()
{
    const MissionModel *missions = m_window.missions();
    QVariantMap status {{QStringLiteral("state"), state()}, {QStringLiteral("count"), missions->count()}};
    // The next mission is the earliest one still ahead.
    const qint64 now = wallClockKey(QDateTime::currentDateTime());
    int next = -1;
    qint64 nextKey = 0;
    for (int row = 0; row < missions->count(); ++row) {
        const Mission &mission = missions->mission(row);
        const std::optional<QDate> day = StrToDate(mission.dateText);
        const std::optional<QTime> time = StrToTime(mission.timeText);
        if (!day || !time)
            continue;
        const qint64 key = wallClockKey(*day, *time);
        if (key >= now && (next < 0 || key < nextKey)) {
            next = row;
            nextKey = key;
        }
    }
    if (next >= 0)
        status.insert(QStringLiteral("next"), missionEntry(next));
    return status;
}

void ControlService::Start()
{
    m_window.startList();
}

void ControlService::Pause()
{
    // As in the window, only a running list can be paused.
    if (m_window.runState() != MainWindow::RunState::Running) {
        sendErrorReply(QDBusError::Failed, QStringLiteral("任务列表没有在执行,无法暂停。"));
        return;
    }
    m_window.pauseList();
}

void ControlService::Stop()
{
    if (m_window.runState() == MainWindow::RunState::Stopped) {
        sendErrorReply(QDBusError::Failed, QStringLiteral("任务列表已经停止。"));
        return;
    }
    m_window.stopList();
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
    if (!m_window.loadMissionsFrom(file, false, &error))
        sendErrorReply(QDBusError::Failed, error);
}

void ControlService::Quit()
{
    // After the answer has gone out: the quit may end the program at once.
    QTimer::singleShot(0, &m_window, &MainWindow::quit);
}

void ControlService::Show()
{
    m_window.restoreFromTray();
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
