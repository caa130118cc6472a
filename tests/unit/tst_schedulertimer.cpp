#include "core/missions/Mission.h"
#include "core/missions/MissionModel.h"
#include "core/missions/MissionRunner.h"
#include "core/missions/Scheduler.h"
#include "core/missions/SchedulerTimer.h"
#include "core/missions/SecondTimer.h"
#include "doubles/FakeClock.h"
#include "doubles/RecordingNotifier.h"
#include "doubles/RecordingSession.h"
#include "doubles/RecordingShell.h"
#include "doubles/RecordingSound.h"
#include "support/RegionalFormatReset.h"

#include <QtTest>

// The wake-ups of the running list on the fake clock: the timer sleeps until
// the next second that holds something and is woken by hand here, as the
// event loop would wake it at that second.
class TestSchedulerTimer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void plansTheNextBusySecond_data();
    void plansTheNextBusySecond();
    void wakesOnlyAtTheMomentsThatMatter();
    void aClockSetWhileAsleepKeepsTheCatchUpRules_data();
    void aClockSetWhileAsleepKeepsTheCatchUpRules();
    void aChangedListIsPlannedAgain();

private:
    void addMission(const QString &kind, const QString &time);
    void startAt(const QTime &time);
    // Sets the clock a few milliseconds into the planned second and lets the
    // timer land there; returns that second's time of day.
    QTime wake();
    QTime planned() const { return fromWallClockKey(*m_timer->plannedSecond()).time(); }

    const QDate m_today {2026, 12, 10};
    FakeClock m_clock;
    RecordingSession m_session;
    RecordingShell m_shell;
    RecordingSound m_sound;
    RecordingNotifier m_notifier;
    std::unique_ptr<MissionModel> m_missions;
    std::unique_ptr<MissionRunner> m_runner;
    std::unique_ptr<Scheduler> m_scheduler;
    std::unique_ptr<SecondTimer> m_second;
    std::unique_ptr<SchedulerTimer> m_timer;
    QStringList m_missed;
};

void TestSchedulerTimer::init()
{
    resetRegionalFormat();
    m_session = RecordingSession();
    m_shell = RecordingShell();
    m_sound = RecordingSound();
    m_missed.clear();
    m_missions = std::make_unique<MissionModel>();
    m_runner = std::make_unique<MissionRunner>(m_session, m_shell, m_sound, m_notifier);
    m_runner->setChimeOn(false);
    connect(m_runner.get(), &MissionRunner::missedNoticeDue, this,
            [this](const QString &, const QString &text) { m_missed << text; });
    // Made well before the test's present: the scheduler counts the second
    // it is made in as checked.
    m_clock.set(QDateTime(m_today, QTime(9, 0)));
    m_scheduler = std::make_unique<Scheduler>(*m_missions, m_clock, *m_runner);
    m_second = std::make_unique<SecondTimer>(SecondTimer::OnTheSecond);
    m_timer = std::make_unique<SchedulerTimer>(*m_scheduler, *m_missions, m_clock, *m_second);
}

void TestSchedulerTimer::cleanup()
{
    m_timer.reset();
    m_second.reset();
}

void TestSchedulerTimer::addMission(const QString &kind, const QString &time)
{
    m_missions->append({kind, kind == QStringLiteral("执行程序") ? QStringLiteral("/bin/") + time : kind,
                        DateToStr(m_today), time, 0});
}

void TestSchedulerTimer::startAt(const QTime &time)
{
    m_clock.set(QDateTime(m_today, time));
    m_scheduler->start();
    m_second->setEnabled(true);
    m_timer->plan();
}

QTime TestSchedulerTimer::wake()
{
    const QDateTime second = fromWallClockKey(*m_timer->plannedSecond());
    m_clock.set(QDateTime(second.date(), second.time().addMSecs(3)));
    emit m_second->timeout();
    return second.time();
}

void TestSchedulerTimer::plansTheNextBusySecond_data()
{
    QTest::addColumn<QStringList>("rows"); // kind, time of day, ...
    QTest::addColumn<bool>("chime");
    QTest::addColumn<QTime>("planned");
    QTest::newRow("empty list: the next full hour at the latest") << QStringList() << false << QTime(13, 0);
    QTest::newRow("a program") << QStringList {"执行程序", "12:20:00"} << false << QTime(12, 20);
    QTest::newRow("a shutdown: its warning") << QStringList {"关闭计算机", "12:20:00"} << false << QTime(12, 19, 50);
    QTest::newRow("the earliest row, whatever its place")
        << QStringList {"执行程序", "12:40:00", "提示消息", "12:30:00"} << false << QTime(12, 30);
    QTest::newRow("a passed row counts for nothing") << QStringList {"执行程序", "11:00:00"} << false << QTime(13, 0);
    QTest::newRow("an unreadable row is reported at once")
        << QStringList {"执行程序", "12:xx"} << false << QTime(12, 0, 5);
    QTest::newRow("the hourly signal before a later row")
        << QStringList {"执行程序", "14:00:00"} << true << QTime(13, 0);
}

void TestSchedulerTimer::plansTheNextBusySecond()
{
    QFETCH(QStringList, rows);
    QFETCH(bool, chime);
    for (int i = 0; i + 1 < rows.size(); i += 2)
        addMission(rows[i], rows[i + 1]);
    m_runner->setChimeOn(chime);
    // The present second is checked yet: what is due in it comes first.
    startAt(QTime(12, 0, 5, 300));
    QTEST(planned(), "planned");
}

void TestSchedulerTimer::wakesOnlyAtTheMomentsThatMatter()
{
    addMission("执行程序", "12:20:00");
    addMission("关闭计算机", "12:40:00");
    addMission("执行程序", "12:40:00");
    m_runner->setChimeOn(true);
    startAt(QTime(12, 0, 5));

    QList<QTime> wakes;
    while (m_clock.now().time() < QTime(13, 0))
        wakes << wake();
    // While the shutdown warning is up, its countdown ticks every second.
    QList<QTime> expected {QTime(12, 20)};
    for (QTime tick(12, 39, 50); tick <= QTime(12, 40); tick = tick.addSecs(1))
        expected << tick;
    expected << QTime(13, 0);
    QCOMPARE(wakes, expected);
    QCOMPARE(m_shell.calls, (QStringList {"run /bin/12:20:00", "run /bin/12:40:00"}));
    QCOMPARE(m_session.calls, QStringList {"powerOff"});
    QCOMPARE(m_sound.played.count(MissionRunner::hourlySignalName(13)), 1);
    QVERIFY(m_missed.isEmpty());
}

void TestSchedulerTimer::aClockSetWhileAsleepKeepsTheCatchUpRules_data()
{
    QTest::addColumn<int>("jump"); // seconds, at 12:09:50
    QTest::addColumn<QStringList>("shell");
    QTest::addColumn<int>("missedNotices");
    QTest::newRow("forward 45 s: every second checked") << 45 << QStringList {"run /bin/12:10:20"} << 0;
    QTest::newRow("forward 60 s: every second checked") << 60 << QStringList {"run /bin/12:10:20"} << 0;
    QTest::newRow("forward 5 minutes: missed") << 300 << QStringList() << 1;
    QTest::newRow("back 5 minutes: nothing yet") << -300 << QStringList() << 0;
}

void TestSchedulerTimer::aClockSetWhileAsleepKeepsTheCatchUpRules()
{
    QFETCH(int, jump);
    addMission("执行程序", "12:10:20");
    startAt(QTime(12, 0, 0));
    QCOMPARE(planned(), QTime(12, 10, 20));

    // Asleep for ten minutes, then the clock is set and the notice comes.
    m_clock.set(QDateTime(m_today, QTime(12, 9, 50).addSecs(jump)));
    m_timer->check();
    QTEST(m_shell.calls, "shell");
    QTEST(int(m_missed.size()), "missedNotices");

    // Whatever happened, the row is carried out at most once.
    const int calls = int(m_shell.calls.size());
    while (m_clock.now().time() < QTime(12, 59))
        wake();
    QCOMPARE(int(m_shell.calls.size()), jump < 0 ? 1 : calls);
}

void TestSchedulerTimer::aChangedListIsPlannedAgain()
{
    startAt(QTime(12, 0, 0));
    QCOMPARE(planned(), QTime(13, 0));

    // Half an hour later rows come: one for a second already passed, which
    // stays passed, and one ahead, which the next plan wakes for.
    m_clock.set(QDateTime(m_today, QTime(12, 30, 0, 400)));
    addMission("执行程序", "12:29:00");
    addMission("执行程序", "12:30:30");
    QVERIFY(!m_timer->plannedSecond());
    QCoreApplication::processEvents();
    QCOMPARE(planned(), QTime(12, 30, 30));
    QCOMPARE(wake(), QTime(12, 30, 30));
    QCOMPARE(m_shell.calls, QStringList {"run /bin/12:30:30"});
    QVERIFY(m_missed.isEmpty());
}

QTEST_GUILESS_MAIN(TestSchedulerTimer)
#include "tst_schedulertimer.moc"
