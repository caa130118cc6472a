#include "core/missions/MissionList.h"

#include "core/files/DailyMissionFile.h"
#include "core/files/MissionFile.h"
#include "core/missions/SchedulerTimer.h"
#include "core/missions/SecondTimer.h"
#include "core/text/RegionalFormat.h"
#include "platform/Clock.h"
#include "platform/ClockChangeWatcher.h"
#include "platform/SleepWatcher.h"

namespace {

const QString restoreSettingKey = QStringLiteral("restoreAtStart");

std::optional<MissionList::RunState> runStateNamed(const QString &name)
{
    for (MissionList::RunState state :
         {MissionList::RunState::Stopped, MissionList::RunState::Running, MissionList::RunState::Paused}) {
        if (MissionList::runStateName(state) == name)
            return state;
    }
    return std::nullopt;
}

// What makes two rows the same daily mission on different days: kind,
// description and time of day.
QString dailyKey(const Mission &mission)
{
    return mission.kindText + QChar(0x1F) + mission.description + QChar(0x1F) + mission.timeText;
}

} // namespace

QString MissionList::runStateName(RunState state)
{
    switch (state) {
    case RunState::Running: return QStringLiteral("running");
    case RunState::Paused: return QStringLiteral("paused");
    case RunState::Stopped: break;
    }
    return QStringLiteral("stopped");
}

MissionList::MissionList(const PlatformServices &platform, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_clock(*platform.clock)
    , m_folder(folder)
    , m_runner(*platform.session, *platform.shell, *platform.sound, *platform.notifier)
    , m_scheduler(m_model, *platform.clock, m_runner)
    , m_store(MissionStore::pathIn(folder))
    , m_timer1(new SecondTimer(SecondTimer::OnTheSecond, this))
    , m_schedulerTimer(new SchedulerTimer(m_scheduler, m_model, *platform.clock, *m_timer1, this))
{
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    connect(&m_model, &MissionModel::rowSettled, this, &MissionList::keepLastRun);
    connect(&m_model, &MissionModel::repeatAdvanced, this, [this](int row) {
        QString error;
        kept(m_store.update(m_model.id(row), m_model.mission(row), &error), error);
    });
    if (platform.sleepWatcher) {
        connect(platform.sleepWatcher, &SleepWatcher::sleeping, this, &MissionList::computerSleeps);
        connect(platform.sleepWatcher, &SleepWatcher::woken, this, &MissionList::computerWakes);
    }
    // A set clock is checked at once: the timer slept towards a moment
    // measured on the old clock.
    if (platform.clockChanges) {
        connect(platform.clockChanges, &ClockChangeWatcher::clockChanged, this, [this] {
            if (m_runState == RunState::Running)
                m_schedulerTimer->check();
        });
    }
    // Opened here, so that the restore setting can be read before the start.
    m_store.open(&m_storeOpenError);
}

MissionList::~MissionList()
{
    keepStartedList();
    if (!m_unkeptLastRuns.isEmpty())
        keepLastRuns();
}

void MissionList::startUp(bool restore)
{
    QString error;
    if (!m_store.isOpen())
        emit problemFound(m_storeOpenError);

    QVector<Mission> daily;
    const DailyMissionFile dailyFile(DailyMissionFile::pathIn(m_folder));
    if (dailyFile.exists()) {
        const std::optional<MissionLines::Reading> reading = dailyFile.read(todayText(), &error);
        if (reading) {
            daily = reading->missions;
            tellUnreadableDailyRows(dailyFile, *reading);
        } else {
            emit problemFound(error);
        }
    }

    std::optional<MissionStore::Contents> kept;
    if (restore && m_store.isOpen()) {
        kept = m_store.read(&error);
        if (!kept)
            emit problemFound(error);
    }
    if (kept && runStateNamed(kept->runState)) {
        restoreFrom(*kept, daily);
        return;
    }
    m_model.clear();
    m_model.appendAll(daily);
    m_runState = m_model.count() > 0 ? RunState::Running : RunState::Stopped;
    keepAllAfterTheStart();
    if (m_runState == RunState::Running)
        m_scheduler.start();
    followRunState();
    emit runStateChanged(m_runState);
}

void MissionList::restoreFrom(const MissionStore::Contents &kept, const QVector<Mission> &daily)
{
    m_model.clear();
    m_model.setNextId(kept.nextId);
    QVector<Mission> missions;
    QVector<MissionId> ids;
    missions.reserve(kept.rows.size());
    ids.reserve(kept.rows.size());
    for (const MissionStore::Row &row : kept.rows) {
        missions.append(row.mission);
        ids.append(row.id);
    }
    m_model.appendAll(missions, ids);
    for (int row = 0; row < kept.rows.size(); ++row) {
        if (kept.rows[row].lastRun)
            m_model.restoreLastRun(row, *kept.rows[row].lastRun);
    }

    // A daily row kept from today or an earlier day is today's copy of it:
    // moved to today (a new moment, not yet settled), never listed twice.
    bool changed = false;
    const QDate today = m_clock.now().date();
    // The kept rows of today or an earlier day, by what makes them the same
    // daily mission, each list in list order.
    QHash<QString, QVector<int>> keptByDailyKey;
    for (int row = 0; row < m_model.count(); ++row) {
        const std::optional<QDate> date = m_model.date(row);
        if (date && *date <= today)
            keptByDailyKey[dailyKey(m_model.mission(row))].append(row);
    }
    for (const Mission &mission : daily) {
        QVector<int> &candidates = keptByDailyKey[dailyKey(mission)];
        if (candidates.isEmpty()) {
            m_model.append(mission);
            changed = true;
            continue;
        }
        const int found = candidates.takeFirst();
        if (m_model.mission(found).dateText != mission.dateText) {
            m_model.setDateTime(found, mission.dateText, mission.timeText);
            changed = true;
        }
    }

    m_runState = *runStateNamed(kept.runState);
    if (m_runState == RunState::Running && settleMissedWhileClosed())
        changed = true;
    if (changed)
        keepAll();
    if (m_runState == RunState::Running)
        m_scheduler.start();
    followRunState();
    emit runStateChanged(m_runState);
}

bool MissionList::settleMissedWhileClosed()
{
    const qint64 present = wallClockKey(m_clock.now());
    QVector<ListedMission> missed;
    // Settled in one go and kept by the caller with the rest of the start.
    const QSignalBlocker quiet(&m_model);
    for (int row = 0; row < m_model.count(); ++row) {
        const MissionModel::TickView view = m_model.tickView(row);
        if (view.moment && *view.moment < present && !view.settled) {
            m_model.setSettled(row);
            missed.append({row, m_model.mission(row)});
        }
    }
    if (missed.isEmpty())
        return false;
    m_runner.reportMissedWhileClosed(missed);
    return true;
}

bool MissionList::restoresAtStart() const
{
    return m_store.setting(restoreSettingKey).value_or(QStringLiteral("1")) != QStringLiteral("0");
}

void MissionList::setRestoresAtStart(bool on)
{
    QString error;
    kept(m_store.setSetting(restoreSettingKey, on ? QStringLiteral("1") : QStringLiteral("0"), &error), error);
}

QVector<MissionStore::Row> MissionList::rows() const
{
    QVector<MissionStore::Row> rows;
    rows.reserve(m_model.count());
    for (int row = 0; row < m_model.count(); ++row)
        rows.append({m_model.id(row), m_model.mission(row), m_model.lastRun(row)});
    return rows;
}

void MissionList::keepAllAfterTheStart()
{
    // The window comes up first: the list of a fresh start is today's daily
    // missions, which everyday.mis holds meanwhile, so a start cut short
    // loses nothing. A command that comes first keeps it before its change.
    m_startUnkept = true;
    QMetaObject::invokeMethod(this, &MissionList::keepStartedList, Qt::QueuedConnection);
}

void MissionList::keepStartedList()
{
    if (std::exchange(m_startUnkept, false))
        keepAll();
}

void MissionList::keepAll()
{
    QString error;
    kept(m_store.replaceAll(rows(), m_model.nextId(), runStateName(m_runState), &error), error);
}

void MissionList::kept(bool ok, const QString &error)
{
    if (ok) {
        m_keepFailing = false;
        return;
    }
    if (!m_keepFailing)
        emit problemFound(error);
    m_keepFailing = true;
}

void MissionList::keepLastRun(int row)
{
    // Written once the tick is over: the disk's sync comes after the
    // mission has started, not between its second and its start.
    m_unkeptLastRuns.insert(m_model.id(row), *m_model.lastRun(row));
    if (m_unkeptLastRuns.size() == 1)
        QMetaObject::invokeMethod(this, &MissionList::keepLastRuns, Qt::QueuedConnection);
}

void MissionList::keepLastRuns()
{
    keepStartedList();
    const QHash<MissionId, qint64> unkept = std::exchange(m_unkeptLastRuns, {});
    QString error;
    kept(m_store.setLastRuns(unkept, &error), error);
}

MissionId MissionList::add(const Mission &mission)
{
    keepStartedList();
    const MissionId id = m_model.append(mission);
    QString error;
    kept(m_store.add({id, mission, std::nullopt}, m_model.nextId(), &error), error);
    return id;
}

bool MissionList::remove(MissionId id)
{
    keepStartedList();
    const int row = m_model.rowOf(id);
    if (row < 0)
        return false;
    m_model.remove(row);
    QString error;
    kept(m_store.remove(id, &error), error);
    return true;
}

bool MissionList::modify(MissionId id, const Mission &mission)
{
    keepStartedList();
    const int row = m_model.rowOf(id);
    if (row < 0)
        return false;
    m_model.overwrite(row, mission);
    QString error;
    kept(m_store.update(id, mission, &error), error);
    return true;
}

bool MissionList::load(const QString &path, bool toToday, QString *error)
{
    keepStartedList();
    QString notice;
    std::optional<QVector<Mission>> missions = MissionFile::load(path, error, &notice);
    if (!missions)
        return false;
    if (toToday)
        MissionFile::dateAll(*missions, todayText());
    m_model.clear();
    m_model.appendAll(*missions);
    keepAll();
    if (!notice.isEmpty())
        emit loadedRowsRepaired(notice);
    return true;
}

void MissionList::tellUnreadableDailyRows(const DailyMissionFile &file, const MissionLines::Reading &reading)
{
    const QString notice = file.unreadableRowsNotice(reading);
    if (!notice.isEmpty())
        emit dailyRowsUnreadable(notice);
}

bool MissionList::loadDaily(const QString &path, QString *error)
{
    keepStartedList();
    const DailyMissionFile file(path);
    const std::optional<MissionLines::Reading> reading = file.read(todayText(), error);
    if (!reading)
        return false;
    m_model.clear();
    m_model.appendAll(reading->missions);
    keepAll();
    tellUnreadableDailyRows(file, *reading);
    return true;
}

void MissionList::setRunState(RunState state)
{
    keepStartedList();
    // Starting a list that already runs changes nothing; starting a stopped
    // or paused one checks from the present second on.
    if (state == RunState::Running && m_runState != RunState::Running)
        m_scheduler.start();
    const bool changed = state != m_runState;
    m_runState = state;
    followRunState();
    if (!changed)
        return;
    QString error;
    kept(m_store.setRunState(runStateName(state), &error), error);
    emit runStateChanged(state);
}

void MissionList::start()
{
    setRunState(RunState::Running);
}

void MissionList::pause()
{
    setRunState(RunState::Paused);
}

void MissionList::stop()
{
    setRunState(RunState::Stopped);
}

void MissionList::startIfOnlyRow()
{
    if (m_model.count() == 1)
        start();
}

void MissionList::followRunState()
{
    m_timer1->setEnabled(m_runState == RunState::Running);
    m_schedulerTimer->plan();
}

void MissionList::endTicks()
{
    m_timer1->setEnabled(false);
    m_schedulerTimer->plan();
}

void MissionList::checkDueMissions()
{
    m_schedulerTimer->check();
}

void MissionList::computerSleeps()
{
    // Everything up to the sleep is checked now, so that the gap begins there.
    if (m_runState == RunState::Running)
        m_schedulerTimer->check();
    m_scheduler.noteSleep();
}

void MissionList::computerWakes()
{
    // At once, not at the next tick: what fell in the sleep is reported now.
    if (m_runState == RunState::Running)
        m_schedulerTimer->check();
    m_scheduler.noteWoken();
}

Scheduler::PostponeResult MissionList::postpone(MissionId id, const QDateTime &moment)
{
    keepStartedList();
    const Scheduler::PostponeResult result = m_scheduler.postpone(id, moment);
    if (result == Scheduler::PostponeResult::Postponed) {
        QString error;
        kept(m_store.update(id, m_model.mission(m_model.rowOf(id)), &error), error);
    }
    return result;
}

QVariantMap MissionList::record(int row) const
{
    const Mission &mission = m_model.mission(row);
    const std::optional<MissionKind> kind = m_model.kind(row);
    const std::optional<QDateTime> moment = m_model.moment(row);
    const std::optional<qint64> lastRun = m_model.lastRun(row);
    return {
        {QStringLiteral("id"), QString::number(m_model.id(row))},
        {QStringLiteral("kind"), kind ? kindName(*kind) : QString()},
        {QStringLiteral("kindText"), mission.kindText},
        {QStringLiteral("text"), mission.description},
        {QStringLiteral("at"), moment ? isoMoment(*moment) : QString()},
        {QStringLiteral("repeat"), mission.repeatRule},
        {QStringLiteral("lastRun"), lastRun ? isoMoment(fromWallClockKey(*lastRun)) : QString()},
    };
}

int MissionList::nextRow() const
{
    const qint64 present = wallClockKey(m_clock.now());
    int next = -1;
    qint64 nextMoment = 0;
    for (int row = 0; row < m_model.count(); ++row) {
        const std::optional<qint64> moment = m_model.momentKey(row);
        if (moment && *moment >= present && (next < 0 || *moment < nextMoment)) {
            next = row;
            nextMoment = *moment;
        }
    }
    return next;
}

QString MissionList::todayText() const
{
    return DateToStr(m_clock.now().date());
}
