#include "app/ControlService.h"

#include "core/control/ApplicationId.h"
#include "core/control/MissionRequest.h"
#include "core/missions/MissionModel.h"
#include "core/missions/MissionRunner.h"
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

void ControlService::Add(const QString &kind, const QString &description, const QString &date, const QString &time)
{
    QString error;
    const std::optional<Mission> mission = requestedMission(kind, description, date, time, &error);
    if (!mission) {
        sendErrorReply(QDBusError::InvalidArgs, error);
        return;
    }
    m_window.missions()->append(*mission);
    m_window.startListIfOnlyRow();
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
