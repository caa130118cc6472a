#pragma once

#include "core/files/MissionLines.h"
#include "core/missions/MissionModel.h"
#include "core/missions/MissionRunner.h"
#include "core/missions/MissionStore.h"
#include "core/missions/Scheduler.h"
#include "platform/PlatformServices.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariantMap>

class DailyMissionFile;
class SchedulerTimer;
class SecondTimer;

// The mission list of the run: its rows (MissionModel), the once-a-second
// check (Scheduler and its timer Timer1), the runner that carries missions
// out, the run state, and the store that keeps all of it on disk as it
// changes. The main window shows it and the session-bus service drives it;
// both go through these commands, so every change is kept.
class MissionList : public QObject
{
    Q_OBJECT

public:
    enum class RunState { Stopped, Running, Paused };
    Q_ENUM(RunState)
    // "stopped", "running", "paused": as kept and as scripts read it.
    static QString runStateName(RunState state);

    // `folder` is the program folder (everyday.mis, missions.db) with its
    // trailing separator.
    MissionList(const PlatformServices &platform, const QString &folder, QObject *parent = nullptr);
    // What is not kept yet (a fresh start's list, the last tick's moments)
    // is kept now.
    ~MissionList() override;

    MissionModel &model() { return m_model; }
    const MissionModel &model() const { return m_model; }
    MissionRunner &runner() { return m_runner; }
    const Clock &clock() const { return m_clock; }

    // The list at the start of the run. With `restore` (and a list kept
    // before), the kept rows come back in order with their run state,
    // joined by today's daily missions (a daily row kept from an earlier
    // day becomes today's copy); missions whose moment passed while no
    // program ran are reported as missed and never carried out. Otherwise
    // the list is today's daily missions, running when there are any.
    void startUp(bool restore);

    // The setting "启动时恢复上次的任务", kept with the list; on unless turned off.
    bool restoresAtStart() const;
    void setRestoresAtStart(bool on);

    // Commands; each change is kept before it returns.
    MissionId add(const Mission &mission);
    // False when no row has `id` (nothing changes).
    bool remove(MissionId id);
    bool modify(MissionId id, const Mission &mission);
    // Replaces the list by the missions of a mission file, each dated today
    // with `toToday`. A file that cannot be read changes nothing: false,
    // with the reason in `error`.
    bool load(const QString &path, bool toToday, QString *error);
    // Replaces the list by the daily missions of `path`, dated today.
    bool loadDaily(const QString &path, QString *error);

    RunState runState() const { return m_runState; }
    void start();
    void pause();
    void stop();
    // A row just added (with 添加并关闭, or by a script) starts the run when
    // it is the list's only row.
    void startIfOnlyRow();
    // The program ends: no tick comes any more. The kept run state stays as
    // it is, for the next start.
    void endTicks();

    // The tick, and what moves it: sleep and waking, the postpone answer of
    // the warning about the power mission of `row` due at `moment`.
    void checkDueMissions();
    void computerSleeps();
    void computerWakes();
    Scheduler::PostponeResult postpone(MissionId id, const QDateTime &moment);

    // Today as a mission's date text.
    QString todayText() const;
    // Every row, in order, with its id and lastRun.
    QVector<MissionStore::Row> rows() const;

    // A row as scripts read it, all values strings: id, kind (ASCII name,
    // empty for an unknown kind), kindText, text, at (ISO 8601 with the UTC
    // offset, empty when the date or time cannot be read), repeat, lastRun.
    QVariantMap record(int row) const;
    // The row whose moment comes next (from the present second on), or -1.
    int nextRow() const;

signals:
    void runStateChanged(MissionList::RunState state);
    // Something the user must be told: a daily file that cannot be read, a
    // change that could not be kept (told once until keeping works again).
    void problemFound(const QString &report);
    // Rows of the daily file are no missions; they stay in the list and the
    // file, and `notice` says which.
    void dailyRowsUnreadable(const QString &notice);
    // Rows of a loaded mission file held NUL bytes, read as blanks; the
    // rows are listed and `notice` says which.
    void loadedRowsRepaired(const QString &notice);

private:
    void setRunState(RunState state);
    // Timer1 runs while the list runs, its next wake-up planned anew.
    void followRunState();
    void restoreFrom(const MissionStore::Contents &kept, const QVector<Mission> &daily);
    // Rows whose moment passed before the present second and that were never
    // settled: reported together, and settled so they are never run.
    bool settleMissedWhileClosed();
    void tellUnreadableDailyRows(const DailyMissionFile &file, const MissionLines::Reading &reading);
    void keepAll();
    void keepAllAfterTheStart();
    void keepStartedList();
    void kept(bool ok, const QString &error);
    void keepLastRun(int row);
    void keepLastRuns();

    const Clock &m_clock;
    QString m_folder;
    MissionModel m_model;
    MissionRunner m_runner;
    Scheduler m_scheduler;
    MissionStore m_store;
    SecondTimer *m_timer1;
    SchedulerTimer *m_schedulerTimer;
    RunState m_runState = RunState::Stopped;
    QString m_storeOpenError;
    bool m_keepFailing = false;
    // The list of a fresh start is not in the store yet.
    bool m_startUnkept = false;
    // Moments carried out or reported in the tick under way, by mission.
    QHash<MissionId, qint64> m_unkeptLastRuns;
};
