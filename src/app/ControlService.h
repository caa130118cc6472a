#pragma once

#include "app/MissionRow.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QVariantMap>

#include <functional>
#include <optional>

class MissionList;
struct Mission;

// The running program's control interface on the session bus, under the
// application id: what the command line and other programs ask of the run's
// mission list. It needs no window: showing the window and quitting are
// handed in.
class ControlService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.chronodesk.ChronoDesk")
    Q_PROPERTY(QString State READ state)

public:
    // `show` shows and raises the window; `quit` ends the run (power record
    // included).
    ControlService(MissionList &list, std::function<void()> show, std::function<void()> quit,
                   QObject *parent = nullptr);

    // Exports the interface on `connection`'s object path.
    bool exportOn(QDBusConnection connection);

    // "running", "paused" or "stopped".
    QString state() const;

public slots:
    // Adds a row as the editor's "添加并关闭" does: the list starts when
    // this made its first row. Date yyyy-MM-dd (or the list's own format),
    // time H:mm:ss. Returns the new mission's id.
    QString Add(const QString &kind, const QString &description, const QString &date, const QString &time);
    // As Add, for a mission that repeats by `rule` (an RRULE or daily,
    // weekdays, weekly, monthly): the row's first occurrence is the first
    // moment from the given one that the rule allows.
    QString AddRepeating(const QString &kind, const QString &description, const QString &date, const QString &time,
                         const QString &rule);
    // Deletes the mission with that id; an unknown id changes nothing.
    void Delete(const QString &id);
    QList<MissionRow> List();
    // The list for programs: one a{sv} per mission, in list order, with the
    // keys id, kind, kindText, text, at, repeat, lastRun (all strings).
    QList<QVariantMap> Missions();
    // state (s), count (i), and next (a{sv}, as in Missions) when a mission
    // is still to come.
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
    // Adds the requested row, or answers the call with `error`.
    QString addRequested(const std::optional<Mission> &mission, const QString &error);
    void announceCarriedOut(const Mission &mission);
    void announceState();

    MissionList &m_list;
    std::function<void()> m_show;
    std::function<void()> m_quit;
    // The bus the interface is exported on, where its changes are announced.
    std::optional<QDBusConnection> m_connection;
    QString m_announcedState;
};
