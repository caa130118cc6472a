#include "core/missions/MissionModel.h"
#include "core/missions/SecondTimer.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/MainWindowFixture.h"
#include "support/RegionalFormatReset.h"

#include <QAction>
#include <QMessageBox>
#include <QTableView>
#include <QtTest>

#include <memory>

// The schedule as the main window runs it: the run controls, the reports
// of unreadable rows and missed missions, and sleep.
class TestScheduleWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pauseAndStartInTheSameSecondRunsOnce_data();
    void pauseAndStartInTheSameSecondRunsOnce();
    void aFloodOfUnreadableRowsGivesOneReport();
    void aHugeTimeTextIsShownAndReportedShort();
    void missedMissionsAreNoticed_data();
    void missedMissionsAreNoticed();
    void wakingUpChecksAtOnce();
    void aSetClockIsCheckedAtOnce();
    void missedWhileClosedIsNoticedWhenTheWindowShows();

private:
    MainWindow &form() { return m_main->form(); }
    void tickAt(const QTime &time);
    QList<QMessageBox *> boxes(const char *name) { return form().findChildren<QMessageBox *>(name); }

    std::unique_ptr<MainWindowFixture> m_main;
};

namespace {
const QDate today(2026, 12, 10);
}

void TestScheduleWindow::init()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
    m_main->platform.clock.set(QDateTime(today, QTime(12, 0, 0)));
}

void TestScheduleWindow::cleanup()
{
    m_main.reset();
}

void TestScheduleWindow::tickAt(const QTime &time)
{
    m_main->platform.clock.set(QDateTime(today, time));
    form().missionList().checkDueMissions();
}

// F6 then F5 (or F7 then F5) within the second a mission has just run in.
void TestScheduleWindow::pauseAndStartInTheSameSecondRunsOnce_data()
{
    QTest::addColumn<QString>("halt");
    QTest::newRow("pause") << "mnPause";
    QTest::newRow("stop") << "mnStop";
}

void TestScheduleWindow::pauseAndStartInTheSameSecondRunsOnce()
{
    QFETCH(QString, halt);
    form().missions()->append({"执行程序", "/bin/x", "2026-12-10", "13:35:15", 0});
    m_main->platform.clock.set(QDateTime(today, QTime(13, 35, 14)));
    form().startList();
    tickAt(QTime(13, 35, 15, 14));
    form().findChild<QAction *>(halt)->trigger();
    m_main->platform.clock.set(QDateTime(today, QTime(13, 35, 15, 600)));
    form().findChild<QAction *>("mnStart")->trigger();
    tickAt(QTime(13, 35, 16, 8));
    tickAt(QTime(13, 35, 17, 8));
    QCOMPARE(m_main->platform.shell.calls, QStringList {"run /bin/x"});
}

// A mission file saved under another date format: five thousand rows that
// cannot be read, and one valid mission eight seconds ahead.
void TestScheduleWindow::aFloodOfUnreadableRowsGivesOneReport()
{
    QVector<Mission> rows;
    for (int i = 0; i < 5000; ++i)
        rows.append({"执行程序", "/bin/bad", "12/10/2026", "12:00:08", 0});
    rows.append({"执行程序", "/bin/good", "2026-12-10", "12:00:08", 0});
    form().missions()->appendAll(rows);
    form().startList();
    for (int s = 1; s <= 10; ++s)
        tickAt(QTime(12, 0, s));
    QCOMPARE(m_main->platform.shell.calls, QStringList {"run /bin/good"});
    const QList<QMessageBox *> reports = boxes("ErrorReport");
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.first()->isVisible());
    QVERIFY(reports.first()->text().startsWith(QStringLiteral("任务列表中有5000个任务的执行日期或时间无法识别")));
    QCOMPARE(reports.first()->text().count(QStringLiteral("\"12/10/2026 12:00:08\"")), 5);
    QCOMPARE(form().missions()->count(), 5001);
}

// A time text of a megabyte: the list, its tool tip and the report quote it
// cut short, and the row keeps it whole.
void TestScheduleWindow::aHugeTimeTextIsShownAndReportedShort()
{
    const QString huge(1 << 20, QLatin1Char('9'));
    form().missions()->append({"执行程序", "/bin/x", "2026-12-10", huge, 0});
    form().startList();
    tickAt(QTime(12, 0, 1));
    const QAbstractItemModel *shown = form().findChild<QTableView *>("ListView1")->model();
    const QModelIndex time = shown->index(0, MissionModel::TimeColumn);
    QVERIFY(time.data(Qt::DisplayRole).toString().size() <= 256);
    QVERIFY(time.data(Qt::DisplayRole).toString().startsWith(QStringLiteral("9999")));
    QVERIFY(time.data(Qt::ToolTipRole).toString().size() < 100);
    const QList<QMessageBox *> reports = boxes("ErrorReport");
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.first()->text().size() < 200);
    QCOMPARE(form().missions()->mission(0).timeText, huge);
}

// Missions whose seconds passed while the computer slept: one desktop
// notification always, one notice in the window when it is up, or when it
// next shows (the desktop may have no notification service).
void TestScheduleWindow::missedMissionsAreNoticed_data()
{
    QTest::addColumn<bool>("windowShown");
    QTest::newRow("window shown") << true;
    QTest::newRow("window hidden") << false;
}

void TestScheduleWindow::missedMissionsAreNoticed()
{
    QFETCH(bool, windowShown);
    form().missions()->append({"提示消息", "取快递", "2026-12-10", "12:10:00", 0});
    form().missions()->append({"关闭计算机", "关闭计算机", "2026-12-10", "12:20:00", 0});
    if (windowShown)
        form().show();
    form().startList();
    tickAt(QTime(12, 0, 1));
    tickAt(QTime(12, 30, 0));
    tickAt(QTime(12, 30, 1));

    const QString text = QStringLiteral("以下任务的执行时间在计算机休眠或系统时钟跳变期间已过,没有执行,也不会补执行:\n"
                                        "2026-12-10 12:10:00 提示消息: 取快递\n2026-12-10 12:20:00 关闭计算机");
    QCOMPARE(m_main->platform.notifier.notices.size(), 1);
    QCOMPARE(m_main->platform.notifier.notices.first().text, text);
    const QList<QMessageBox *> notices = boxes("MissedNotice");
    QCOMPARE(notices.size(), windowShown ? 1 : 0);
    if (windowShown) {
        QCOMPARE(notices.first()->text(), text);
        QCOMPARE(notices.first()->windowTitle(), QStringLiteral("错过的任务"));
    }
    QVERIFY(m_main->platform.session.calls.isEmpty());
    QVERIFY(!form().messagePopup()->isVisible());

    if (!windowShown) {
        form().show();
        QTRY_COMPARE(boxes("MissedNotice").size(), 1);
        QCOMPARE(boxes("MissedNotice").first()->text(), text);
        form().hide();
        form().show();
        QTest::qWait(50);
        QCOMPARE(boxes("MissedNotice").size(), 1);
    }
}

// Word of the wake-up checks at once, before any tick, and names the sleep
// as the cause.
void TestScheduleWindow::wakingUpChecksAtOnce()
{
    form().missions()->append({"执行程序", "/bin/x", "2026-12-10", "12:10:00", 0});
    form().startList();
    tickAt(QTime(12, 0, 1));
    m_main->platform.sleepWatcher.sleep();
    m_main->platform.clock.set(QDateTime(today, QTime(12, 30, 0)));
    m_main->platform.sleepWatcher.wake();
    QCOMPARE(m_main->platform.notifier.notices.size(), 1);
    QVERIFY(m_main->platform.notifier.notices.first().text.startsWith(
        QStringLiteral("以下任务的执行时间在计算机休眠期间已过")));
    QVERIFY(m_main->platform.shell.calls.isEmpty());
}

// Asleep until the row's second, the window hears of a clock set forward
// by 40 s past it: the row is carried out at once, not an hour later.
void TestScheduleWindow::aSetClockIsCheckedAtOnce()
{
    form().missions()->append({"执行程序", "/bin/x", "2026-12-10", "12:10:00", 0});
    form().startList();
    tickAt(QTime(12, 0, 1));
    auto *timer1 = form().findChild<SecondTimer *>("Timer1");
    m_main->platform.clock.set(QDateTime(today, QTime(12, 9, 30)));
    m_main->platform.clock.set(QDateTime(today, QTime(12, 10, 10)));
    m_main->platform.clockChanges.reportChange();
    QCOMPARE(m_main->platform.shell.calls, QStringList {"run /bin/x"});
    QVERIFY(m_main->platform.notifier.notices.isEmpty());
    QVERIFY(timer1->isEnabled());
}

// A mission whose moment passed while no program ran: reported on the
// desktop at the start, in the window once it shows, and never carried out.
void TestScheduleWindow::missedWhileClosedIsNoticedWhenTheWindowShows()
{
    form().missionList().add({QStringLiteral("提示消息"), QStringLiteral("取快递"), QStringLiteral("2026-12-10"),
                              QStringLiteral("12:10:00"), 3});
    form().startList();
    m_main->dropForm();
    m_main->platform.clock.set(QDateTime(today, QTime(13, 0, 0)));

    MainWindow &restarted = form();
    QCOMPARE(m_main->platform.notifier.notices.size(), 1);
    QVERIFY(m_main->platform.notifier.notices.first().text.contains(QStringLiteral("程序未运行")));
    QVERIFY(boxes("MissedNotice").isEmpty());
    restarted.show();
    QTRY_COMPARE(boxes("MissedNotice").size(), 1);
    QVERIFY(boxes("MissedNotice").first()->text().contains(QStringLiteral("取快递")));
    QVERIFY(m_main->platform.session.calls.isEmpty());
    QVERIFY(!restarted.messagePopup()->isVisible());
}

QTEST_MAIN(TestScheduleWindow)
#include "tst_schedulewindow.moc"
