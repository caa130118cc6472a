#include "core/missions/MissionActions.h"
#include "core/missions/MissionModel.h"
#include "core/missions/MissionRunner.h"
#include "core/missions/Scheduler.h"
#include "doubles/FakeClock.h"
#include "support/RegionalFormatReset.h"

#include <QtTest>

#include <time.h>

namespace {

// Records everything the check hands over, in order, each due mission as
// the call its kind leads to.
class RecordingActions : public MissionActions
{
public:
    void carryOut(MissionId, const Mission &mission) override
    {
        const QString &d = mission.description;
        switch (*kindFromText(mission.kindText)) {
        case MissionKind::mkShutdown: calls << QStringLiteral("shutdown"); break;
        case MissionKind::mkRestart: calls << QStringLiteral("restart"); break;
        case MissionKind::mkLogoff: calls << QStringLiteral("logoff"); break;
        case MissionKind::mkRunProgram: calls << QStringLiteral("run ") + d; break;
        case MissionKind::mkOpenFile: calls << QStringLiteral("file ") + d; break;
        case MissionKind::mkShowMessage: calls << QStringLiteral("message ") + d; break;
        case MissionKind::mkRing: calls << QStringLiteral("ring"); break;
        case MissionKind::mkOpenUrl: calls << QStringLiteral("url ") + d; break;
        case MissionKind::mkSendMail: calls << QStringLiteral("mail ") + d; break;
        }
    }
    void warn(MissionId id, MissionKind kind, const QDateTime &moment) override
    {
        calls << QStringLiteral("warn %1 %2")
                     .arg(missions->rowOf(id))
                     .arg(moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        messages << MissionRunner::warningMessage(kind);
    }
    bool chimeOn() const override { return chime; }
    void playHourlySignal(int hour) override
    {
        calls << QStringLiteral("chime ") + MissionRunner::hourlySignalName(hour);
    }
    void reportFaultyRows(const QVector<ListedMission> &rows) override
    {
        QStringList numbers;
        for (const ListedMission &row : rows)
            numbers << QString::number(row.row);
        calls << QStringLiteral("faulty ") + numbers.join(QLatin1Char(','));
    }
    void reportMissed(const QVector<ListedMission> &rows, bool slept) override
    {
        QStringList missed;
        for (const ListedMission &row : rows)
            missed << QStringLiteral("%1 %2").arg(row.row).arg(row.mission.timeText);
        calls << QStringLiteral("missed ") + missed.join(QLatin1Char(',')) + (slept ? " slept" : "");
    }

    const MissionModel *missions = nullptr;
    QStringList calls;
    QStringList messages;
    bool chime = false;
};

const QDate today(2026, 12, 10);

} // namespace

class TestScheduler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void carriesOutOnceInItsSecond();
    void handsEachKindToItsAction_data();
    void handsEachKindToItsAction();
    void warnsTenSecondsAheadOfPowerMissions_data();
    void warnsTenSecondsAheadOfPowerMissions();
    void neverWarnsOtherKinds();
    void postponesFiveMinutesAfterTheMoment_data();
    void postponesFiveMinutesAfterTheMoment();
    void postponesAgainAndAgain();
    void aLateStartStillGivesTheWholeWarning_data();
    void aLateStartStillGivesTheWholeWarning();
    void pausedSecondsAreNotCarriedOut();
    void runsMissionsOfOneSecondInListOrder();
    void soundsTheHourAfterTheRows_data();
    void soundsTheHourAfterTheRows();
    void catchesUpALateTick();
    void skipsALongGap();
    void checksThePresentAfterTheClockWasSetBack();
    void skipsAndReportsAFaultyRowOnce();
    void datesWithLeadingZerosAreDue();
    void startingAgainInTheSameSecondChecksItOnce();
    void warningCountsDownBeforeALateMission_data();
    void warningCountsDownBeforeALateMission();
    void postponingWhileTheWarningCountsDownMovesIt();
    void carriesOutOncePerMoment_data();
    void carriesOutOncePerMoment();
    void aWarningFromBeforeTheClockWentBackComesAgain();
    void fallBackRunsTheRepeatedHourOnce();
    void springForwardRunsTheSkippedHourAtOnce();
    void gapAtTheEdgeOfTheCatchUp_data();
    void gapAtTheEdgeOfTheCatchUp();
    void listsWhatASleepMissedInOneReport();
    void warnsLateAfterALongGapAndWaits_data();
    void warnsLateAfterALongGapAndWaits();
    void reportsAFloodOfFaultyRowsOnce();
    void warningStandsTenSecondsWhateverTheClockDoes_data();
    void warningStandsTenSecondsWhateverTheClockDoes();
    void aWarningOpenedLateInItsSecondStandsTenSeconds();
    void aZoneChangeIsAJump();
    void postponeHoldsTheMissionNotItsRow();
    void postponeAfterTheRequestWentDoesNothing();
    void aRestartInTheMissionsSecondDoesNotRunItAgain_data();
    void aRestartInTheMissionsSecondDoesNotRunItAgain();
    void carriesOutAMinutelyRuleInItsOwnSecondEachTime();
    void reportsMissedOccurrencesOnceAndMovesOn();
    void postponingARepeatingPowerMissionMovesOnlyThatOccurrence();

private:
    void tickEverySecond(const QDateTime &from, const QDateTime &to);
    void addMission(const QString &kind, const QString &description, const QString &date, const QString &time);
    void addRepeating(const QString &kind, const QString &rule, const QDateTime &start);
    void startAt(const QTime &time, const QDate &date = today);
    void tickAt(const QTime &time, const QDate &date = today);

    MissionModel m_missions;
    FakeClock m_clock;
    RecordingActions m_actions;
    std::unique_ptr<Scheduler> m_scheduler;
};

void TestScheduler::initTestCase()
{
    // A zone with summer time, so that the clock's own jumps can be tried.
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

void TestScheduler::init()
{
    resetRegionalFormat();
    m_missions.clear();
    m_actions = RecordingActions();
    m_actions.missions = &m_missions;
    // The program starts the day before, out of the way of every test's
    // seconds.
    m_clock.set(QDateTime(today.addDays(-1), QTime(8, 0)));
    m_scheduler = std::make_unique<Scheduler>(m_missions, m_clock, m_actions);
}

void TestScheduler::addMission(const QString &kind, const QString &description, const QString &date,
                               const QString &time)
{
    m_missions.append({kind, description, date, time, 0});
}

void TestScheduler::addRepeating(const QString &kind, const QString &rule, const QDateTime &start)
{
    Mission mission {kind, kind, DateToStr(start.date()), TimeToStr(start.time()), 0};
    mission.repeatRule = rule;
    mission.repeatStart = start;
    m_missions.append(mission);
}

void TestScheduler::startAt(const QTime &time, const QDate &date)
{
    m_clock.set(QDateTime(date, time));
    m_scheduler->start();
}

void TestScheduler::tickAt(const QTime &time, const QDate &date)
{
    m_clock.set(QDateTime(date, time.addMSecs(5)));
    m_scheduler->checkDueMissions();
}

void TestScheduler::carriesOutOnceInItsSecond()
{
    addMission("执行程序", "/usr/bin/x", "2026-12-10", "12:00:00");
    const Mission before = m_missions.mission(0);
    startAt(QTime(11, 59, 58));
    tickAt(QTime(11, 59, 59));
    QCOMPARE(m_actions.calls, QStringList());
    tickAt(QTime(12, 0, 0));
    QCOMPARE(m_actions.calls, QStringList {"run /usr/bin/x"});
    // A second tick in the same second, and the seconds after: nothing more.
    tickAt(QTime(12, 0, 0));
    tickAt(QTime(12, 0, 1));
    tickAt(QTime(12, 0, 2));
    QCOMPARE(m_actions.calls, QStringList {"run /usr/bin/x"});
    QCOMPARE(m_missions.count(), 1);
    QCOMPARE(m_missions.mission(0), before);
}

void TestScheduler::handsEachKindToItsAction_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("call");
    QTest::newRow("shutdown") << "关闭计算机"
                              << "关闭计算机"
                              << "shutdown";
    QTest::newRow("restart") << "重启计算机"
                             << "重启计算机"
                             << "restart";
    QTest::newRow("log off") << "注销计算机"
                             << "注销计算机"
                             << "logoff";
    QTest::newRow("program") << "执行程序"
                             << "/opt/my tools/run me"
                             << "run /opt/my tools/run me";
    QTest::newRow("file") << "打开文件"
                          << "/home/u/报告.txt"
                          << "file /home/u/报告.txt";
    QTest::newRow("message") << "提示消息"
                             << "开会了 别忘了"
                             << "message 开会了 别忘了";
    QTest::newRow("ring") << "系统响铃"
                          << "内置铃声"
                          << "ring";
    QTest::newRow("web page") << "打开网页"
                              << "www.example.org"
                              << "url www.example.org";
    QTest::newRow("mail") << "发送邮件"
                          << "a@example.org"
                          << "mail a@example.org";
    QTest::newRow("empty description") << "执行程序"
                                       << ""
                                       << "run ";
}

void TestScheduler::handsEachKindToItsAction()
{
    QFETCH(QString, kind);
    QFETCH(QString, description);
    QFETCH(QString, call);
    addMission(kind, description, "2026-12-10", "12:00:00");
    addMission("未知任务", "x", "2026-12-10", "12:00:00"); // no kind: nothing
    addMission("执行程序 ", "y", "2026-12-10", "12:00:00"); // not exactly a kind text
    startAt(QTime(11, 59, 49));
    tickEverySecond(QDateTime(today, QTime(11, 59, 50)), QDateTime(today, QTime(12, 0, 0)));
    QCOMPARE(m_actions.calls.filter(QRegularExpression("^(?!warn)")), QStringList {call});
}

void TestScheduler::warnsTenSecondsAheadOfPowerMissions_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("message");
    QTest::newRow("shutdown") << "关闭计算机"
                              << "shutdown"
                              << QStringLiteral("翎鹊工作室将在10秒钟之后执行关机操作,请选择你的操作;\r"
                                                "如果您未选择任何操作,10秒后系统选择确定并执行关机任务.");
    QTest::newRow("restart") << "重启计算机"
                             << "restart"
                             << QStringLiteral("翎鹊工作室将在10秒钟之后执行重启操作,请选择你的操作;\r"
                                               "如果您未选择任何操作,10秒后系统选择确定并执行重启任务.");
    QTest::newRow("log off") << "注销计算机"
                             << "logoff"
                             << QStringLiteral("翎鹊工作室将在10秒钟之后执行注销操作,请选择你的操作;\r"
                                               "如果您未选择任何操作,10秒后系统选择确定并执行注销任务.");
}

void TestScheduler::warnsTenSecondsAheadOfPowerMissions()
{
    QFETCH(QString, kind);
    QFETCH(QString, call);
    QFETCH(QString, message);
    addMission("执行程序", "/bin/first", "2026-12-10", "11:59:50");
    addMission(kind, kind, "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 45));
    tickAt(QTime(11, 59, 49));
    QCOMPARE(m_actions.calls, QStringList());
    tickAt(QTime(11, 59, 50));
    QCOMPARE(m_actions.calls, (QStringList {"run /bin/first", "warn 1 2026-12-10 12:00:00"}));
    QCOMPARE(m_actions.messages, QStringList {message});
    for (int s = 51; s <= 59; ++s)
        tickAt(QTime(11, 59, s));
    tickAt(QTime(12, 0, 0));
    QCOMPARE(m_actions.calls.last(), call);
    QCOMPARE(m_actions.calls.size(), 3);
}

void TestScheduler::neverWarnsOtherKinds()
{
    const QStringList kinds = {"执行程序", "打开文件", "提示消息", "系统响铃", "打开网页", "发送邮件"};
    for (const QString &kind : kinds)
        addMission(kind, "d", "2026-12-10", "12:00:10");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    QCOMPARE(m_actions.calls, QStringList());
    QVERIFY(m_actions.messages.isEmpty());
}

void TestScheduler::postponesFiveMinutesAfterTheMoment_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("newDate");
    QTest::addColumn<QString>("newTime");
    QTest::newRow("same day") << "2026-12-10"
                              << "12:00:00"
                              << "2026-12-10"
                              << "12:05:00";
    QTest::newRow("across midnight") << "2026-12-10"
                                     << "23:58:00"
                                     << "2026-12-11"
                                     << "0:03:00";
    QTest::newRow("across the year") << "2026-12-31"
                                     << "23:59:30"
                                     << "2027-1-1"
                                     << "0:04:30";
    QTest::newRow("written afresh") << "2026-12-10"
                                    << "09:00:00"
                                    << "2026-12-10"
                                    << "9:05:00";
}

void TestScheduler::postponesFiveMinutesAfterTheMoment()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, newDate);
    QFETCH(QString, newTime);
    addMission("重启计算机", "重启计算机", date, time);
    m_scheduler->postpone(m_missions.id(0), *m_missions.moment(0));
    QCOMPARE(m_missions.mission(0).dateText, newDate);
    QCOMPARE(m_missions.mission(0).timeText, newTime);
    QCOMPARE(m_missions.mission(0).kindText, QStringLiteral("重启计算机"));
}

void TestScheduler::postponesAgainAndAgain()
{
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 49));
    tickAt(QTime(11, 59, 50));
    QCOMPARE(m_actions.calls, QStringList {"warn 0 2026-12-10 12:00:00"});
    // The answer comes while later seconds are being checked.
    tickAt(QTime(11, 59, 51));
    m_scheduler->postpone(m_missions.id(0), QDateTime(today, QTime(12, 0)));
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("12:05:00"));
    for (int s = 52; s <= 59; ++s)
        tickAt(QTime(11, 59, s));
    tickAt(QTime(12, 0, 0));
    QCOMPARE(m_actions.calls, QStringList {"warn 0 2026-12-10 12:00:00"});

    startAt(QTime(12, 4, 49));
    tickAt(QTime(12, 4, 50));
    QCOMPARE(m_actions.calls.last(), QStringLiteral("warn 0 2026-12-10 12:05:00"));
    m_scheduler->postpone(m_missions.id(0), QDateTime(today, QTime(12, 5)));
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("12:10:00"));
}

// A power mission that the list reaches less than ten seconds ahead (the
// list started late, the mission added or loaded late) gets its whole
// warning all the same, and runs ten seconds after it opened.
void TestScheduler::aLateStartStillGivesTheWholeWarning_data()
{
    QTest::addColumn<bool>("addedWhileRunning");
    QTest::addColumn<QTime>("from");
    QTest::newRow("list started 5 s ahead") << false << QTime(11, 59, 55);
    QTest::newRow("added 3 s ahead") << true << QTime(11, 59, 57);
    QTest::newRow("added in its own second") << true << QTime(12, 0, 0);
}

void TestScheduler::aLateStartStillGivesTheWholeWarning()
{
    QFETCH(bool, addedWhileRunning);
    QFETCH(QTime, from);
    if (addedWhileRunning)
        startAt(QTime(11, 59, 0));
    tickEverySecond(QDateTime(today, QTime(11, 59, 1)), QDateTime(today, from.addSecs(-1)));
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "12:00:00");
    if (!addedWhileRunning)
        startAt(from);
    tickEverySecond(QDateTime(today, from.addSecs(addedWhileRunning ? 0 : 1)), QDateTime(today, from.addSecs(9)));
    QCOMPARE(m_actions.calls, QStringList {"warn 0 2026-12-10 12:00:00"});
    tickEverySecond(QDateTime(today, from.addSecs(10)), QDateTime(today, from.addSecs(11)));
    QCOMPARE(m_actions.calls, (QStringList {"warn 0 2026-12-10 12:00:00", "shutdown"}));
}

void TestScheduler::pausedSecondsAreNotCarriedOut()
{
    addMission("执行程序", "/bin/x", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 50));
    tickAt(QTime(11, 59, 59));
    // Paused over 12:00:00: no ticks come; then the list starts again.
    startAt(QTime(12, 0, 3));
    tickAt(QTime(12, 0, 4));
    QCOMPARE(m_actions.calls, QStringList());
    QCOMPARE(m_missions.count(), 1);
}

void TestScheduler::runsMissionsOfOneSecondInListOrder()
{
    addMission("打开网页", "www.b.org", "2026-12-10", "12:00:00");
    addMission("执行程序", "/bin/a", "2026-12-10", "12:00:00");
    addMission("发送邮件", "c@d.org", "2026-12-10", "12:00:00");
    addMission("打开文件", "/tmp/later", "2026-12-10", "12:00:01");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    QCOMPARE(m_actions.calls, (QStringList {"url www.b.org", "run /bin/a", "mail c@d.org"}));
}

void TestScheduler::soundsTheHourAfterTheRows_data()
{
    QTest::addColumn<QTime>("tick");
    QTest::addColumn<bool>("chimeOn");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("full hour") << QTime(15, 0, 0) << true << QStringList {"ring", "chime t15"};
    QTest::newRow("a second later") << QTime(15, 0, 1) << true << QStringList {};
    QTest::newRow("switched off") << QTime(15, 0, 0) << false << QStringList {"ring"};
    QTest::newRow("midnight") << QTime(0, 0, 0) << true << QStringList {"chime t24"};
    QTest::newRow("one o'clock") << QTime(1, 0, 0) << true << QStringList {"chime t1"};
}

void TestScheduler::soundsTheHourAfterTheRows()
{
    QFETCH(QTime, tick);
    QFETCH(bool, chimeOn);
    QFETCH(QStringList, calls);
    m_actions.chime = chimeOn;
    addMission("系统响铃", "内置铃声", "2026-12-10", "15:00:00");
    startAt(tick);
    tickAt(tick);
    QCOMPARE(m_actions.calls, calls);
}

void TestScheduler::catchesUpALateTick()
{
    addMission("执行程序", "/bin/x", "2026-12-10", "12:00:02");
    addMission("执行程序", "/bin/y", "2026-12-10", "12:00:04");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    // The next tick comes five seconds late.
    tickAt(QTime(12, 0, 5));
    QCOMPARE(m_actions.calls, (QStringList {"run /bin/x", "run /bin/y"}));
    tickAt(QTime(12, 0, 6));
    QCOMPARE(m_actions.calls.size(), 2);
}

void TestScheduler::skipsALongGap()
{
    addMission("执行程序", "/bin/in-the-gap", "2026-12-10", "12:05:00");
    addMission("执行程序", "/bin/now", "2026-12-10", "12:10:00");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    tickAt(QTime(12, 10, 0));
    QCOMPARE(m_actions.calls, (QStringList {"missed 0 12:05:00", "run /bin/now"}));
    tickAt(QTime(12, 10, 1));
    QCOMPARE(m_actions.calls.size(), 2);
}

void TestScheduler::checksThePresentAfterTheClockWasSetBack()
{
    addMission("执行程序", "/bin/x", "2026-12-10", "11:00:00");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    tickAt(QTime(11, 0, 0));
    QCOMPARE(m_actions.calls, QStringList {"run /bin/x"});
}

void TestScheduler::skipsAndReportsAFaultyRowOnce()
{
    m_actions.chime = true;
    addMission("执行程序", "/bin/before", "2026-12-10", "12:00:00");
    addMission("执行程序", "/bin/bad", "2026-12-10", "12:00");
    addMission("执行程序", "/bin/after", "2026-12-10", "12:00:00");
    startAt(QTime(12, 0, 0));
    tickAt(QTime(12, 0, 0));
    QCOMPARE(m_actions.calls, (QStringList {"run /bin/before", "run /bin/after", "chime t12", "faulty 1"}));
    tickAt(QTime(12, 0, 1));
    QCOMPARE(m_actions.calls.size(), 4);

    // Mended, the row runs; broken again, it is reported again.
    m_missions.setDateTime(1, QStringLiteral("2026-12-10"), QStringLiteral("12:00:02"));
    tickAt(QTime(12, 0, 2));
    QCOMPARE(m_actions.calls.last(), QStringLiteral("run /bin/bad"));
    m_missions.setDateTime(1, QStringLiteral("2026-13-10"), QStringLiteral("12:00:02"));
    tickAt(QTime(12, 0, 3));
    QCOMPARE(m_actions.calls.last(), QStringLiteral("faulty 1"));
}

void TestScheduler::datesWithLeadingZerosAreDue()
{
    addMission("关闭计算机", "关闭计算机", "2026-01-05", "08:00:00");
    const QDate day(2026, 1, 5);
    startAt(QTime(7, 59, 49), day);
    tickAt(QTime(7, 59, 50), day);
    for (int s = 51; s <= 59; ++s)
        tickAt(QTime(7, 59, s), day);
    tickAt(QTime(8, 0, 0), day);
    QCOMPARE(m_actions.calls, (QStringList {"warn 0 2026-01-05 08:00:00", "shutdown"}));
}

void TestScheduler::tickEverySecond(const QDateTime &from, const QDateTime &to)
{
    for (QDateTime moment = from; moment <= to; moment = moment.addSecs(1)) {
        m_clock.set(moment.addMSecs(5));
        m_scheduler->checkDueMissions();
    }
}

// The list paused (or stopped) and started again within the second it has
// just checked: that second is not checked a second time.
void TestScheduler::startingAgainInTheSameSecondChecksItOnce()
{
    m_actions.chime = true;
    addMission("执行程序", "/bin/x", "2026-12-10", "13:00:00");
    startAt(QTime(12, 59, 58));
    tickAt(QTime(12, 59, 59));
    tickAt(QTime(13, 0, 0));
    m_clock.set(QDateTime(today, QTime(13, 0, 0, 600)));
    m_scheduler->start();
    tickAt(QTime(13, 0, 1));
    tickAt(QTime(13, 0, 2));
    QCOMPARE(m_actions.calls, (QStringList {"run /bin/x", "chime t13"}));
}

// A shutdown at 12:00:00 is warned about at 11:59:50. When one tick reaches
// both seconds (a short suspend, the clock set forward), the warning opens
// in that tick and the shutdown waits for its ten seconds.
void TestScheduler::warningCountsDownBeforeALateMission_data()
{
    QTest::addColumn<QTime>("lastTick");
    QTest::addColumn<QTime>("lateTick");
    QTest::addColumn<QTime>("carriedOutAt");
    QTest::newRow("lands between") << QTime(11, 59, 45) << QTime(11, 59, 55) << QTime(12, 0, 5);
    QTest::newRow("lands on the mission") << QTime(11, 59, 45) << QTime(12, 0, 0) << QTime(12, 0, 10);
    QTest::newRow("lands after the mission") << QTime(11, 59, 40) << QTime(12, 0, 30) << QTime(12, 0, 40);
    QTest::newRow("a gap of exactly 60 s") << QTime(11, 59, 30) << QTime(12, 0, 30) << QTime(12, 0, 40);
    QTest::newRow("on time") << QTime(11, 59, 49) << QTime(11, 59, 50) << QTime(12, 0, 0);
}

void TestScheduler::warningCountsDownBeforeALateMission()
{
    QFETCH(QTime, lastTick);
    QFETCH(QTime, lateTick);
    QFETCH(QTime, carriedOutAt);
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "12:00:00");
    startAt(lastTick);
    tickAt(lastTick);
    tickAt(lateTick);
    QCOMPARE(m_actions.calls, QStringList {"warn 0 2026-12-10 12:00:00"});
    tickEverySecond(QDateTime(today, lateTick.addSecs(1)), QDateTime(today, carriedOutAt.addSecs(-1)));
    QCOMPARE(m_actions.calls, QStringList {"warn 0 2026-12-10 12:00:00"});
    tickEverySecond(QDateTime(today, carriedOutAt), QDateTime(today, carriedOutAt.addSecs(20)));
    QCOMPARE(m_actions.calls, (QStringList {"warn 0 2026-12-10 12:00:00", "shutdown"}));
}

void TestScheduler::postponingWhileTheWarningCountsDownMovesIt()
{
    addMission("注销计算机", "注销计算机", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 40));
    tickAt(QTime(11, 59, 40));
    tickAt(QTime(12, 0, 30));
    m_scheduler->postpone(m_missions.id(0), QDateTime(today, QTime(12, 0)));
    tickEverySecond(QDateTime(today, QTime(12, 0, 31)), QDateTime(today, QTime(12, 5, 0)));
    QCOMPARE(m_actions.calls, (QStringList {"warn 0 2026-12-10 12:00:00", "warn 0 2026-12-10 12:05:00", "logoff"}));
}

// Each row is carried out at most once for its date and time, whatever the
// clock does afterwards; new texts give it a new moment.
void TestScheduler::carriesOutOncePerMoment_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QTime>("setBackTo");
    QTest::addColumn<QString>("newTime");
    QTest::addColumn<QStringList>("calls");
    const QStringList once {"run /bin/x"};
    const QStringList warnedOnce {"warn 0 2026-12-10 12:00:00", "restart"};
    QTest::newRow("program, set back 30 s") << "执行程序" << QTime(11, 59, 35) << QString() << once;
    QTest::newRow("program, set back 1 s") << "执行程序" << QTime(11, 59, 59) << QString() << once;
    QTest::newRow("program, set back an hour") << "执行程序" << QTime(11, 0, 0) << QString() << once;
    QTest::newRow("restart, set back 30 s") << "重启计算机" << QTime(11, 59, 35) << QString() << warnedOnce;
    QTest::newRow("program, moved later")
        << "执行程序" << QTime(11, 59, 35) << "12:00:20" << QStringList {"run /bin/x", "run /bin/x"};
    QTest::newRow("program, same texts again") << "执行程序" << QTime(11, 59, 35) << "12:00:00" << once;
}

void TestScheduler::carriesOutOncePerMoment()
{
    QFETCH(QString, kind);
    QFETCH(QTime, setBackTo);
    QFETCH(QString, newTime);
    addMission(kind, "/bin/x", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 30));
    tickEverySecond(QDateTime(today, QTime(11, 59, 30)), QDateTime(today, QTime(12, 0, 5)));
    if (!newTime.isEmpty())
        m_missions.setDateTime(0, QStringLiteral("2026-12-10"), newTime);
    tickEverySecond(QDateTime(today, setBackTo), QDateTime(today, QTime(12, 0, 30)));
    QTEST(m_actions.calls, "calls");
}

void TestScheduler::aWarningFromBeforeTheClockWentBackComesAgain()
{
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 45));
    tickEverySecond(QDateTime(today, QTime(11, 59, 45)), QDateTime(today, QTime(11, 59, 55)));
    tickEverySecond(QDateTime(today, QTime(11, 58, 0)), QDateTime(today, QTime(12, 0, 30)));
    QCOMPARE(m_actions.calls, (QStringList {"warn 0 2026-12-10 12:00:00", "warn 0 2026-12-10 12:00:00", "shutdown"}));
}

// The last Sunday of October: at 3:00 summer time the clock goes back to
// 2:00, and the hour from 2:00 to 3:00 comes twice.
void TestScheduler::fallBackRunsTheRepeatedHourOnce()
{
    const QDate day(2026, 10, 25);
    addMission("提示消息", "两点半", "2026-10-25", "2:30:00");
    addMission("重启计算机", "重启计算机", "2026-10-25", "2:45:00");
    const QDateTime from = QDateTime(day, QTime(2, 29, 50), Qt::OffsetFromUTC, 2 * 3600).toLocalTime();
    const QDateTime to = QDateTime(day, QTime(2, 50, 0), Qt::OffsetFromUTC, 3600).toLocalTime();
    QCOMPARE(from.secsTo(to), 3600 + 20 * 60 + 10);
    m_clock.set(from);
    m_scheduler->start();
    tickEverySecond(from, to);
    QCOMPARE(m_actions.calls, (QStringList {"message 两点半", "warn 1 2026-10-25 02:45:00", "restart"}));
}

// The last Sunday of March: at 2:00 winter time the clock goes on to 3:00.
// The missions of the hour that never shows are carried out at 3:00, a power
// mission after its warning.
void TestScheduler::springForwardRunsTheSkippedHourAtOnce()
{
    m_actions.chime = true;
    const QDate day(2026, 3, 29);
    addMission("提示消息", "两点半", "2026-3-29", "2:30:00");
    addMission("关闭计算机", "关闭计算机", "2026-3-29", "2:59:59");
    addMission("执行程序", "/bin/later", "2026-3-29", "3:00:05");
    const QDateTime from = QDateTime(day, QTime(1, 59, 55));
    const QDateTime to = QDateTime(day, QTime(3, 0, 30));
    QCOMPARE(from.secsTo(to), 35);
    m_clock.set(from);
    m_scheduler->start();
    tickEverySecond(from, QDateTime(day, QTime(3, 0, 0)));
    QCOMPARE(m_actions.calls, (QStringList {"message 两点半", "warn 1 2026-03-29 02:59:59", "chime t3"}));
    tickEverySecond(QDateTime(day, QTime(3, 0, 1)), to);
    QCOMPARE(m_actions.calls,
             (QStringList {"message 两点半", "warn 1 2026-03-29 02:59:59", "chime t3", "run /bin/later", "shutdown"}));
}

// Up to a minute of unchecked seconds is caught up, whether the clock was
// set forward or the machine stalled; more is not, and what fell in the
// gap is reported instead.
void TestScheduler::gapAtTheEdgeOfTheCatchUp_data()
{
    QTest::addColumn<int>("skipped");
    QTest::addColumn<bool>("stalled");
    QTest::addColumn<QStringList>("calls");
    const QStringList caughtUp {"run /bin/x", "url www.example.org"};
    const QStringList missed {"missed 0 12:00:30,1 12:01:00"};
    QTest::newRow("set forward 59 s") << 59 << false << caughtUp;
    QTest::newRow("set forward 60 s") << 60 << false << caughtUp;
    QTest::newRow("set forward 61 s") << 61 << false << missed;
    QTest::newRow("stalled 60 s") << 60 << true << caughtUp;
    QTest::newRow("stalled 61 s") << 61 << true << missed;
}

void TestScheduler::gapAtTheEdgeOfTheCatchUp()
{
    QFETCH(int, skipped);
    QFETCH(bool, stalled);
    addMission("执行程序", "/bin/x", "2026-12-10", "12:00:30");
    addMission("打开网页", "www.example.org", "2026-12-10", "12:01:00");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    if (stalled) {
        m_clock.advance(skipped);
    } else {
        m_clock.step(skipped);
    }
    m_clock.advance(1);
    m_scheduler->checkDueMissions();
    tickAt(QTime(12, 0, 2).addSecs(skipped));
    QTEST(m_actions.calls, "calls");
}

// A sleep over several missions: all of them in one report, none carried
// out late, a power mission no more than the others; what comes after the
// wake-up runs as usual.
void TestScheduler::listsWhatASleepMissedInOneReport()
{
    addMission("提示消息", "交报告", "2026-12-10", "12:10:00");
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "12:20:00");
    addMission("执行程序", "/bin/x", "2026-12-10", "12:10:00");
    addMission("执行程序", "/bin/after", "2026-12-10", "13:00:02");
    addMission("执行程序", "/bin/earlier", "2026-12-10", "11:00:00");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    m_scheduler->noteSleep();
    tickAt(QTime(13, 0, 0));
    m_scheduler->noteWoken();
    QCOMPARE(m_actions.calls, QStringList {"missed 0 12:10:00,1 12:20:00,2 12:10:00 slept"});
    tickEverySecond(QDateTime(today, QTime(13, 0, 1)), QDateTime(today, QTime(13, 0, 5)));
    QCOMPARE(m_actions.calls.last(), QStringLiteral("run /bin/after"));
    QCOMPARE(m_actions.calls.size(), 2);
    // Without word of a sleep, the gap was a jump of the clock.
    addMission("执行程序", "/bin/y", "2026-12-10", "13:30:00");
    tickAt(QTime(14, 0, 0));
    QCOMPARE(m_actions.calls.last(), QStringLiteral("missed 5 13:30:00"));
}

// A long gap that ends after a power mission's warning second but not
// after its own: the warning opens at once, and the mission waits for it.
void TestScheduler::warnsLateAfterALongGapAndWaits_data()
{
    QTest::addColumn<QTime>("wokenAt");
    QTest::addColumn<QTime>("carriedOutAt");
    QTest::newRow("before the mission") << QTime(11, 59, 55) << QTime(12, 0, 5);
    QTest::newRow("in the mission's second") << QTime(12, 0, 0) << QTime(12, 0, 10);
}

void TestScheduler::warnsLateAfterALongGapAndWaits()
{
    QFETCH(QTime, wokenAt);
    QFETCH(QTime, carriedOutAt);
    addMission("重启计算机", "重启计算机", "2026-12-10", "12:00:00");
    startAt(QTime(11, 50, 0));
    tickAt(QTime(11, 50, 0));
    tickAt(wokenAt);
    QCOMPARE(m_actions.calls, QStringList {"warn 0 2026-12-10 12:00:00"});
    tickEverySecond(QDateTime(today, wokenAt.addSecs(1)), QDateTime(today, carriedOutAt.addSecs(-1)));
    QCOMPARE(m_actions.calls.size(), 1);
    tickEverySecond(QDateTime(today, carriedOutAt), QDateTime(today, carriedOutAt.addSecs(5)));
    QCOMPARE(m_actions.calls, (QStringList {"warn 0 2026-12-10 12:00:00", "restart"}));
}

// A mission file saved under another date format: thousands of rows that
// cannot be read. One report names them all; the valid mission still runs
// in its second, and every row stays in the list.
void TestScheduler::reportsAFloodOfFaultyRowsOnce()
{
    QVector<Mission> rows;
    for (int i = 0; i < 5000; ++i)
        rows.append({"执行程序", "/bin/bad", "10/12/2026", "12:00:00", 0});
    rows.append({"执行程序", "/bin/good", "2026-12-10", "12:00:08", 0});
    m_missions.appendAll(rows);
    startAt(QTime(12, 0, 0));
    tickEverySecond(QDateTime(today, QTime(12, 0, 0)), QDateTime(today, QTime(12, 0, 10)));
    QCOMPARE(m_actions.calls.size(), 2);
    QVERIFY(m_actions.calls.first().startsWith(QStringLiteral("faulty 0,1,2,")));
    QCOMPARE(m_actions.calls.first().count(QLatin1Char(',')), 4999);
    QCOMPARE(m_actions.calls.last(), QStringLiteral("run /bin/good"));
    QCOMPARE(m_missions.count(), 5001);
}

// A shutdown at 12:00:00, warned about at 11:59:50. Two seconds later the
// clock is set, the computer sleeps or the machine stops for a while; the
// shutdown still waits for ten ticks of its warning on screen.
void TestScheduler::warningStandsTenSecondsWhateverTheClockDoes_data()
{
    QTest::addColumn<int>("stepped");
    QTest::addColumn<int>("stalled");
    QTest::newRow("nothing happens") << 0 << 0;
    QTest::newRow("clock set forward 30 s") << 30 << 0;
    QTest::newRow("clock set forward 60 s") << 60 << 0;
    QTest::newRow("suspended 5 s") << 5 << 0;
    QTest::newRow("stalled 20 s") << 0 << 20;
    QTest::newRow("stalled 3 s") << 0 << 3;
}

void TestScheduler::warningStandsTenSecondsWhateverTheClockDoes()
{
    QFETCH(int, stepped);
    QFETCH(int, stalled);
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 49));
    tickEverySecond(QDateTime(today, QTime(11, 59, 50)), QDateTime(today, QTime(11, 59, 52)));
    QCOMPARE(m_actions.calls, QStringList {"warn 0 2026-12-10 12:00:00"});
    m_clock.step(stepped);
    int ticks = 2;
    if (stalled) {
        // The next tick comes only after the stall.
        m_clock.advance(stalled - 1);
    }
    while (m_actions.calls.size() == 1 && ticks < 30) {
        m_clock.advance(1);
        m_scheduler->checkDueMissions();
        ++ticks;
    }
    QCOMPARE(m_actions.calls, (QStringList {"warn 0 2026-12-10 12:00:00", "shutdown"}));
    QCOMPARE(ticks, 10);
}

// The tick that opens the warning comes late in its second: the shutdown
// does not come in its own second, 9.1 s later, but in the next.
void TestScheduler::aWarningOpenedLateInItsSecondStandsTenSeconds()
{
    addMission("重启计算机", "重启计算机", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 49));
    m_clock.set(QDateTime(today, QTime(11, 59, 50, 900)));
    m_scheduler->checkDueMissions();
    QCOMPARE(m_actions.calls, QStringList {"warn 0 2026-12-10 12:00:00"});
    tickEverySecond(QDateTime(today, QTime(11, 59, 51)), QDateTime(today, QTime(12, 0, 0)));
    QCOMPARE(m_actions.calls.size(), 1);
    tickAt(QTime(12, 0, 1));
    QCOMPARE(m_actions.calls.last(), QStringLiteral("restart"));
}

// Berlin to Shanghai: seven hours later on the wall clock in one real
// second. What the skipped hours held is reported, not run; a shutdown
// just after the change still gets its whole warning.
void TestScheduler::aZoneChangeIsAJump()
{
    addMission("执行程序", "/bin/x", "2026-12-10", "12:00:30");
    addMission("提示消息", "三点", "2026-12-10", "15:00:00");
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "19:00:05");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    const qint64 instant = m_clock.now().toSecsSinceEpoch();
    qputenv("TZ", "Asia/Shanghai");
    tzset();
    m_clock.set(QDateTime::fromSecsSinceEpoch(instant + 1));
    QCOMPARE(m_clock.now().time(), QTime(19, 0, 1));
    m_scheduler->checkDueMissions();
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QCOMPARE(m_actions.calls, (QStringList {"missed 0 12:00:30,1 15:00:00", "warn 2 2026-12-10 19:00:05"}));
}

// A list loaded (or a row deleted) while the warning is up: the answer
// moves the mission warned about, or nothing when it has gone.
void TestScheduler::postponeHoldsTheMissionNotItsRow()
{
    addMission("执行程序", "/bin/first", "2026-12-10", "11:00:00");
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 49));
    tickAt(QTime(11, 59, 50));
    const MissionId warned = m_missions.id(1);
    const QDateTime moment(today, QTime(12, 0));

    m_missions.remove(0);
    QCOMPARE(m_scheduler->postpone(warned, moment), Scheduler::PostponeResult::Postponed);
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("12:05:00"));

    // A script loads a list of the same length in its place.
    m_missions.clear();
    m_missions.appendAll({{"重启计算机", "重启计算机", "2026-12-10", "12:05:00", 0}});
    QCOMPARE(m_scheduler->postpone(warned, moment.addSecs(300)), Scheduler::PostponeResult::Gone);
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("12:05:00"));
    // The same mission with new texts: the warning was about another moment.
    QCOMPARE(m_scheduler->postpone(m_missions.id(0), moment), Scheduler::PostponeResult::Gone);
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("12:05:00"));
}

// 推迟5分钟 in the warning's last moment, after the shutdown was asked for:
// no second request five minutes later.
void TestScheduler::postponeAfterTheRequestWentDoesNothing()
{
    addMission("关闭计算机", "关闭计算机", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 49));
    tickEverySecond(QDateTime(today, QTime(11, 59, 50)), QDateTime(today, QTime(12, 0, 0)));
    QCOMPARE(m_actions.calls.last(), QStringLiteral("shutdown"));
    QCOMPARE(m_scheduler->postpone(m_missions.id(0), QDateTime(today, QTime(12, 0))),
             Scheduler::PostponeResult::AlreadyCarriedOut);
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("12:00:00"));
    tickEverySecond(QDateTime(today, QTime(12, 0, 1)), QDateTime(today, QTime(12, 5, 30)));
    QCOMPARE(m_actions.calls, (QStringList {"warn 0 2026-12-10 12:00:00", "shutdown"}));
}

// The program quits and starts again: within the second in which it ran a
// mission, it does not run it again; started before the second, it does.
void TestScheduler::aRestartInTheMissionsSecondDoesNotRunItAgain_data()
{
    QTest::addColumn<QTime>("restartedAt");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("same second") << QTime(12, 0, 0, 700) << QStringList {"run /bin/x"};
    QTest::newRow("the second before") << QTime(11, 59, 59, 700) << QStringList {"run /bin/x", "run /bin/x"};
}

void TestScheduler::aRestartInTheMissionsSecondDoesNotRunItAgain()
{
    QFETCH(QTime, restartedAt);
    addMission("执行程序", "/bin/x", "2026-12-10", "12:00:00");
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    QCOMPARE(m_actions.calls, QStringList {"run /bin/x"});

    MissionModel reloaded;
    reloaded.append(m_missions.mission(0));
    m_clock.set(QDateTime(today, restartedAt));
    Scheduler restarted(reloaded, m_clock, m_actions);
    restarted.start();
    for (const QTime &tick : {QTime(12, 0, 0, 5), QTime(12, 0, 1, 5)}) {
        m_clock.set(QDateTime(today, tick));
        restarted.checkDueMissions();
    }
    QTEST(m_actions.calls, "calls");
}

// Each occurrence of a rule is carried out in its own second, and the row
// shows the next one from then on.
void TestScheduler::carriesOutAMinutelyRuleInItsOwnSecondEachTime()
{
    addRepeating("提示消息", "FREQ=MINUTELY", QDateTime(today, QTime(12, 0)));
    startAt(QTime(11, 59, 58));
    int carriedOut = 0;
    for (QDateTime moment(today, QTime(11, 59, 59)); moment <= QDateTime(today, QTime(12, 3, 30));
         moment = moment.addSecs(1)) {
        tickEverySecond(moment, moment);
        if (moment.time().second() == 0)
            ++carriedOut;
        QCOMPARE(m_actions.calls.size(), carriedOut);
        const QTime minute(moment.time().hour(), moment.time().minute());
        const QTime next = moment.time() < QTime(12, 0) ? QTime(12, 0) : minute.addSecs(60);
        QCOMPARE(m_missions.mission(0).timeText, TimeToStr(next));
    }
    QCOMPARE(carriedOut, 4);
    QCOMPARE(m_actions.calls, QStringList(4, QStringLiteral("message 提示消息")));
    QCOMPARE(m_missions.mission(0).dateText, QStringLiteral("2026-12-10"));
}

// An hour asleep holds sixty occurrences of a minutely rule: the row is
// listed once, moves on, and is carried out again in the present second.
void TestScheduler::reportsMissedOccurrencesOnceAndMovesOn()
{
    addRepeating("执行程序", "FREQ=MINUTELY", QDateTime(today, QTime(12, 0)));
    addRepeating("执行程序", "FREQ=DAILY", QDateTime(today, QTime(12, 30)));
    startAt(QTime(11, 59, 59));
    tickAt(QTime(12, 0, 0));
    m_scheduler->noteSleep();
    tickAt(QTime(13, 0, 0));
    m_scheduler->noteWoken();
    QCOMPARE(m_actions.calls, QStringList({"run 执行程序", "missed 0 12:01:00,1 12:30:00 slept", "run 执行程序"}));
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("13:01:00"));
    QCOMPARE(m_missions.mission(1).dateText, QStringLiteral("2026-12-11"));
    QCOMPARE(m_missions.mission(1).timeText, QStringLiteral("12:30:00"));
    tickEverySecond(QDateTime(today, QTime(13, 0, 1)), QDateTime(today, QTime(13, 1, 0)));
    QCOMPARE(m_actions.calls.size(), 4);
}

void TestScheduler::postponingARepeatingPowerMissionMovesOnlyThatOccurrence()
{
    addRepeating("关闭计算机", "FREQ=DAILY", QDateTime(today, QTime(12, 0)));
    startAt(QTime(11, 59, 49));
    tickAt(QTime(11, 59, 50));
    m_scheduler->postpone(m_missions.id(0), QDateTime(today, QTime(12, 0)));
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("12:05:00"));
    tickEverySecond(QDateTime(today, QTime(11, 59, 51)), QDateTime(today, QTime(12, 5, 0)));
    QCOMPARE(m_actions.calls, QStringList({"warn 0 2026-12-10 12:00:00", "warn 0 2026-12-10 12:05:00", "shutdown"}));
    // The series keeps its time: tomorrow at 12:00 again.
    QCOMPARE(m_missions.mission(0).dateText, QStringLiteral("2026-12-11"));
    QCOMPARE(m_missions.mission(0).timeText, QStringLiteral("12:00:00"));
}

QTEST_APPLESS_MAIN(TestScheduler)
#include "tst_scheduler.moc"
