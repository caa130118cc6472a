#pragma once

#include "app/MissionRow.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QVariantMap>

#include <optional>

class MainWindow;
struct Mission;

// The running program's control interface on the session bus, under the
// application id: what the command line and other programs ask of the main
// window. Each method does what the window's own command does.
class ControlService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.chronodesk.ChronoDesk")
    Q_PROPERTY(QString State READ state)

public:
    explicit ControlService(MainWindow &window);

    // Exports the interface on `connection`'s object path.
    bool exportOn(QDBusConnection connection);

    // "running", "paused" or "stopped".
    QString state() const;

public slots:
    // Adds a row as the editor's "添加并关闭" does: the list starts when
    // this made its first row. Kind as its Chinese text or ASCII name, date
    // yyyy-MM-dd (or the list's own format), time H:mm:ss, in the future.
    // Returns the new mission's id.
    QString Add(const QString &kind, const QString &description, const QString &date, const QString &time);
    // Removes the mission with `id`.
    void Delete(const QString &id);
    QList<MissionRow> List();
    // The list for scripts, one map per mission (see missionEntry).
    QList<QVariantMap> Missions();
    // state, count, and next (a Missions() entry) when a mission is due.
    QVariantMap Status();
    void Start();
    void Pause();
    void Stop();
    // Replaces the list by the missions of a mission file (absolute path).
    void Load(const QString &file);
    // The quit command, power record included; it runs once this call has
    // been answered.
    void Quit();
    // Shows and raises the main window.
    void Show();

signals:
    void MissionCarriedOut(const QString &kind, const QString &description, const QString &date, const QString &time);

private:
    // id, kind (ASCII name), kindText, text, at (ISO 8601 with offset),
    // repeat and lastRun ("" when none), all strings.
    QVariantMap missionEntry(int row) const;
    void announceCarriedOut(const Mission &mission);
    void announceState();

    MainWindow &m_window;
    // The bus the interface is exported on, where its changes are announced.
    std::optional<QDBusConnection> m_connection;
    QString m_announcedState;
};
