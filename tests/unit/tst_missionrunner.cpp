#include "core/missions/MissionModel.h"
#include "core/missions/MissionRunner.h"
#include "core/missions/Scheduler.h"
#include "doubles/FakeClock.h"
#include "doubles/RecordingNotifier.h"
#include "doubles/RecordingSession.h"
#include "doubles/RecordingShell.h"
#include "doubles/RecordingSound.h"
#include "support/RegionalFormatReset.h"

#include <QtTest>

// The road of a due mission through the core: the scheduler finds it, the
// runner carries it out through the platform services (recorded by the
// doubles) and tells the windows what to show (recorded from its signals).
class TestMissionRunner : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void carriesOutThroughTheRightService_data();
    void carriesOutThroughTheRightService();
    void reportsFaultyRowsInOneText_data();
    void reportsFaultyRowsInOneText();
    void reportsMissedMissionsOnTheDesktopAndToTheWindow();
    void aLongMissedListCountsTheRest_data();
    void aLongMissedListCountsTheRest();

private:
    RecordingSession m_session;
    RecordingShell m_shell;
    RecordingSound m_sound;
    RecordingNotifier m_notifier;
    QStringList m_shown;
    QStringList m_warnings;
};

void TestMissionRunner::init()
{
    resetRegionalFormat();
    m_session = RecordingSession();
    m_shell = RecordingShell();
    m_sound = RecordingSound();
    m_notifier = RecordingNotifier();
    m_shown.clear();
    m_warnings.clear();
}

void TestMissionRunner::carriesOutThroughTheRightService_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("chime");
    QTest::addColumn<QStringList>("session");
    QTest::addColumn<QStringList>("shell");
    QTest::addColumn<QStringList>("sound");
    QTest::addColumn<QStringList>("shown");

    const QStringList none;
    const QString warning = QStringLiteral("warning 1 2026-12-10 12:00:00");
    const QStringList threeBeeps {"beep", "beep", "beep"};
    QTest::newRow("shutdown") << "关闭计算机"
                              << "关闭计算机"
                              << "2026-12-10"
                              << "12:00:00" << false << QStringList {"powerOff"} << none << threeBeeps
                              << QStringList {warning, "carried out 关闭计算机"};
    QTest::newRow("restart") << "重启计算机"
                             << "重启计算机"
                             << "2026-12-10"
                             << "12:00:00" << false << QStringList {"reboot"} << none << threeBeeps
                             << QStringList {warning, "carried out 重启计算机"};
    QTest::newRow("log off") << "注销计算机"
                             << "注销计算机"
                             << "2026-12-10"
                             << "12:00:00" << false << QStringList {"logOff"} << none << threeBeeps
                             << QStringList {warning, "carried out 注销计算机"};
    QTest::newRow("program") << "执行程序"
                             << "/opt/my tools/run me"
                             << "2026-12-10"
                             << "12:00:00" << false << none << QStringList {"run /opt/my tools/run me"} << none
                             << QStringList {"carried out 执行程序"};
    QTest::newRow("file") << "打开文件"
                          << "/home/u/报告.txt"
                          << "2026-12-10"
                          << "12:00:00" << false << none << QStringList {"file /home/u/报告.txt"} << none
                          << QStringList {"carried out 打开文件"};
    QTest::newRow("message") << "提示消息"
                             << "开会了 别忘了"
                             << "2026-12-10"
                             << "12:00:00" << false << none << none << QStringList {"beep"}
                             << QStringList {"message 开会了 别忘了", "carried out 提示消息"};
    QTest::newRow("ring") << "系统响铃"
                          << "/usr/share/sounds/x.wav"
                          << "2026-12-10"
                          << "12:00:00" << false << none << none << QStringList {"ring"}
                          << QStringList {"carried out 系统响铃"};
    QTest::newRow("web page") << "打开网页"
                              << "www.example.org"
                              << "2026-12-10"
                              << "12:00:00" << false << none << QStringList {"url www.example.org"} << none
                              << QStringList {"carried out 打开网页"};
    QTest::newRow("mail") << "发送邮件"
                          << "a@example.org"
                          << "2026-12-10"
                          << "12:00:00" << false << none << QStringList {"mail a@example.org"} << none
                          << QStringList {"carried out 发送邮件"};
    QTest::newRow("hourly signal at noon")
        << QString() << QString() << QString() << QString() << true << none << none << QStringList {"t12"} << none;
    QTest::newRow("hourly signal at midnight") << QString() << QString() << "2026-12-11"
                                               << "0:00:00" << true << none << none << QStringList {"t24"} << none;
    QTest::newRow("faulty row") << "执行程序"
                                << "/bin/true"
                                << "2026-13-45"
                                << "12:00:00" << false << none << none << none
                                << QStringList {"faulty 任务列表第2行的执行日期或时间\"2026-13-45 12:00:00\"无法识别,"
                                                "该任务不会执行,请修改它的日期和时间。"};
}

void TestMissionRunner::carriesOutThroughTheRightService()
{
    QFETCH(QString, kind);
    QFETCH(QString, description);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(bool, chime);

    MissionModel missions;
    FakeClock clock;
    MissionRunner runner(m_session, m_shell, m_sound, m_notifier);
    Scheduler scheduler(missions, clock, runner);
    runner.setChimeOn(chime);
    connect(&runner, &MissionRunner::warningDue, this,
            [this, &missions](MissionId id, const QString &message, const QDateTime &at) {
                m_shown << QStringLiteral("warning %1 %2")
                               .arg(missions.rowOf(id))
                               .arg(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
                m_warnings << message;
            });
    connect(&runner, &MissionRunner::messageDue, this, [this](const QString &text) { m_shown << "message " + text; });
    connect(&runner, &MissionRunner::faultyRowsFound, this,
            [this](const QString &report) { m_shown << "faulty " + report; });
    connect(&runner, &MissionRunner::carriedOut, this,
            [this](const Mission &mission) { m_shown << "carried out " + mission.kindText; });

    // A program mission of another minute stands before the one under test,
    // so the row numbers that reach the windows are checked too.
    missions.append({"执行程序", "/bin/elsewhere", "2026-12-10", "9:00:00", 0});
    if (!kind.isEmpty())
        missions.append({kind, description, date, time, 0});
    m_shell.calls.clear();

    // Midnight for the midnight signal, noon for everything else.
    const QDateTime due(QDate(2026, 12, time == QLatin1String("0:00:00") ? 11 : 10),
                        QTime(time == QLatin1String("0:00:00") ? 0 : 12, 0));
    clock.set(due.addSecs(-15));
    scheduler.start();
    for (int s = -14; s <= 2; ++s) {
        clock.set(due.addSecs(s).addMSecs(3));
        scheduler.checkDueMissions();
    }

    QTEST(m_session.calls, "session");
    QTEST(m_shell.calls, "shell");
    QTEST(m_sound.played, "sound");
    QTEST(m_shown, "shown");
    for (const QString &message : std::as_const(m_warnings))
        QCOMPARE(message, MissionRunner::warningMessage(*kindFromText(kind)));
}

void TestMissionRunner::reportsFaultyRowsInOneText_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("timeText");
    QTest::addColumn<QString>("report");
    QTest::newRow("one")
        << 1 << "12:00"
        << "任务列表第1行的执行日期或时间\"10/12/2026 12:00\"无法识别,该任务不会执行,请修改它的日期和时间。";
    QTest::newRow("three") << 3 << "12:00"
                           << "任务列表中有3个任务的执行日期或时间无法识别,这些任务不会执行(列表中以红色标出),"
                              "请修改它们的日期和时间:\n第1行: \"10/12/2026 12:00\"\n第2行: \"10/12/2026 12:00\"\n"
                              "第3行: \"10/12/2026 12:00\"";
    QTest::newRow("many, the first five named")
        << 300 << "12:00"
        << "任务列表中有300个任务的执行日期或时间无法识别,这些任务不会执行(列表中以红色标出),"
           "请修改它们的日期和时间:\n第1行: \"10/12/2026 12:00\"\n第2行: \"10/12/2026 12:00\"\n"
           "第3行: \"10/12/2026 12:00\"\n第4行: \"10/12/2026 12:00\"\n第5行: \"10/12/2026 12:00\"\n……";
    QTest::newRow("a huge time text, cut short")
        << 1 << QString(1 << 20, QLatin1Char('9'))
        << "任务列表第1行的执行日期或时间\"10/12/2026 " + QString(29, QLatin1Char('9')) + QChar(0x2026)
               + "\"无法识别,该任务不会执行,请修改它的日期和时间。";
}

void TestMissionRunner::reportsFaultyRowsInOneText()
{
    QFETCH(int, rows);
    QFETCH(QString, timeText);
    MissionRunner runner(m_session, m_shell, m_sound, m_notifier);
    QSignalSpy reports(&runner, &MissionRunner::faultyRowsFound);
    QVector<ListedMission> faulty;
    for (int row = 0; row < rows; ++row)
        faulty.append({row, {"执行程序", "/bin/true", "10/12/2026", timeText, 0}});
    runner.reportFaultyRows(faulty);
    QCOMPARE(reports.count(), 1);
    QTEST(reports.first().first().toString(), "report");
}

// Missed missions go to the desktop's notifications, kept until closed,
// and to the windows; a reminder's text is given whole.
void TestMissionRunner::reportsMissedMissionsOnTheDesktopAndToTheWindow()
{
    MissionModel missions;
    FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    MissionRunner runner(m_session, m_shell, m_sound, m_notifier);
    runner.setChimeOn(false);
    Scheduler scheduler(missions, clock, runner);
    QSignalSpy notices(&runner, &MissionRunner::missedNoticeDue);
    const QString reminder =
        QStringLiteral("下午三点去医院复查,带上上次的化验单和医保卡。") + QString(100, QChar(0x6B21));
    missions.append({"提示消息", reminder, "2026-12-10", "12:30:00", 0});
    missions.append({"关闭计算机", "关闭计算机", "2026-12-10", "12:40:00", 0});
    missions.append({"打开网页", "www.example.org/" + QString(200, QLatin1Char('a')), "2026-12-10", "12:50:00", 0});
    scheduler.start();
    scheduler.checkDueMissions();
    scheduler.noteSleep();
    clock.set(QDateTime(QDate(2026, 12, 10), QTime(13, 0, 0)));
    scheduler.checkDueMissions();

    const QString text = QStringLiteral("以下任务的执行时间在计算机休眠期间已过,没有执行,也不会补执行:\n"
                                        "2026-12-10 12:30:00 提示消息: ")
                         + reminder + QStringLiteral("\n2026-12-10 12:40:00 关闭计算机\n2026-12-10 12:50:00 打开网页: ")
                         + "www.example.org/" + QString(63, QLatin1Char('a')) + QChar(0x2026);
    QCOMPARE(m_notifier.notices.size(), 1);
    QCOMPARE(m_notifier.notices.first().title, QStringLiteral("错过的任务"));
    QCOMPARE(m_notifier.notices.first().text, text);
    QCOMPARE(m_notifier.notices.first().timeoutMs, 0);
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.first().at(1).toString(), text);
    QVERIFY(m_session.calls.isEmpty());
    QVERIFY(m_sound.played.isEmpty());
}

// The notice lists twenty missions and counts the ones beyond.
void TestMissionRunner::aLongMissedListCountsTheRest_data()
{
    QTest::addColumn<int>("missed");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("tail");
    QTest::newRow("twenty") << 20 << 20 << "19:00:19 执行程序: /bin/19";
    QTest::newRow("twenty-one") << 21 << 20 << "……另有1个任务";
    QTest::newRow("forty-five") << 45 << 20 << "……另有25个任务";
}

void TestMissionRunner::aLongMissedListCountsTheRest()
{
    QFETCH(int, missed);
    QFETCH(int, listed);
    QFETCH(QString, tail);
    QVector<ListedMission> rows;
    for (int i = 0; i < missed; ++i)
        rows.append({i,
                     {"执行程序", QStringLiteral("/bin/%1").arg(i), "2026-12-10",
                      QStringLiteral("19:00:%1").arg(i, 2, 10, QLatin1Char('0')), 0}});
    const QStringList lines = MissionRunner::missedNoticeText(rows, false).split(QLatin1Char('\n'));
    QCOMPARE(lines.filter(QStringLiteral("执行程序")).size(), listed);
    QVERIFY2(lines.last().endsWith(tail), qPrintable(lines.last()));
}

QTEST_GUILESS_MAIN(TestMissionRunner)
#include "tst_missionrunner.moc"
