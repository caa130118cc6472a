#include "core/files/MissionFile.h"
#include "core/missions/MissionComposer.h"
#include "core/missions/MissionList.h"
#include "core/missions/MissionStore.h"
#include "doubles/TestPlatform.h"
#include "support/RegionalFormatReset.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QDate today(2026, 12, 10);

Mission mission(MissionKind kind, const QString &description, const QString &date, const QString &time)
{
    return {kindText(kind), description, date, time, kindImageIndex(kind)};
}

QVector<Mission> missionsOf(const MissionModel &model)
{
    QVector<Mission> missions;
    for (int row = 0; row < model.count(); ++row)
        missions.append(model.mission(row));
    return missions;
}

// One line of everyday.mis.
QByteArray dailyLine(const QString &kind, const QString &description, const QString &date, const QString &time)
{
    return QStringList {kind, description, date, time}.join(QLatin1Char('$')).toUtf8() + "\r\n";
}

} // namespace

// The run's mission list without a window: its commands, its run state, and
// what a later start brings back from its store.
class TestMissionList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandsChangeTheListByIdAndAreKept();
    void unknownIdsChangeNothing();
    void aPostponeIsKept();
    void loadReplacesTheListAndIsKept_data();
    void loadReplacesTheListAndIsKept();
    void aFileThatCannotBeReadChangesNothing();
    void runStateIsOneFieldWithASignalAndIsKept();
    void restoreOffStartsAsBefore();
    void dailyRowsAreNeverListedTwice();
    void missionsMissedWhileClosedAreReportedNotRun_data();
    void missionsMissedWhileClosedAreReportedNotRun();
    void aRestartInTheSameSecondDoesNotRunTheMissionAgain();
    void recordsGiveIsoMomentsAndTheNextMission();
    void aRepeatingMissionIsKeptAndMovesOnWhenCarriedOut();

private:
    // A list on the folder, started as the program starts it.
    MissionList &start(bool restore = true);
    void restart(bool restore = true);
    void writeDaily(const QByteArray &lines);
    QString folder() const { return m_folder->path() + QLatin1Char('/'); }

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<MissionList> m_list;
};

void TestMissionList::init()
{
    resetRegionalFormat();
    m_platform = std::make_unique<TestPlatform>();
    m_platform->clock.set(QDateTime(today, QTime(12, 0, 30)));
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestMissionList::cleanup()
{
    m_list.reset();
    m_folder.reset();
    m_platform.reset();
}

MissionList &TestMissionList::start(bool restore)
{
    m_list = std::make_unique<MissionList>(m_platform->services(), folder());
    m_list->runner().setChimeOn(false);
    m_list->startUp(restore);
    return *m_list;
}

void TestMissionList::restart(bool restore)
{
    m_list.reset();
    start(restore);
}

void TestMissionList::writeDaily(const QByteArray &lines)
{
    QFile file(folder() + QStringLiteral("everyday.mis"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines);
}

void TestMissionList::commandsChangeTheListByIdAndAreKept()
{
    MissionList &list = start();
    const Mission web = mission(MissionKind::mkOpenUrl, "www.example.org", "2026-12-11", "9:00:00");
    const Mission ring = mission(MissionKind::mkRing, "内置铃声", "2026-12-12", "9:30:00");
    const Mission note = mission(MissionKind::mkShowMessage, "开会", "2026-12-13", "10:00:00");
    const MissionId first = list.add(web);
    const MissionId second = list.add(ring);
    const MissionId third = list.add(note);
    QVERIFY(first != second && second != third);
    QVERIFY(list.remove(second));
    const Mission changed = mission(MissionKind::mkShowMessage, "改期", "2026-12-14", "11:00:00");
    QVERIFY(list.modify(third, changed));

    const QVector<Mission> expected {web, changed};
    QCOMPARE(missionsOf(list.model()), expected);
    restart();
    QCOMPARE(missionsOf(m_list->model()), expected);
    QCOMPARE(m_list->model().id(0), first);
    QCOMPARE(m_list->model().id(1), third);
    // Ids are never given twice, not even after a restart.
    const MissionId fourth = m_list->add(ring);
    QVERIFY(fourth > third);
}

void TestMissionList::unknownIdsChangeNothing()
{
    MissionList &list = start();
    const Mission web = mission(MissionKind::mkOpenUrl, "www.example.org", "2026-12-11", "9:00:00");
    const MissionId id = list.add(web);
    QVERIFY(list.remove(id));
    QVERIFY(!list.remove(id));
    QVERIFY(!list.modify(id, web));
    QCOMPARE(list.model().count(), 0);
    restart();
    QCOMPARE(m_list->model().count(), 0);
}

void TestMissionList::aPostponeIsKept()
{
    MissionList &list = start();
    list.add(mission(MissionKind::mkShutdown, kindText(MissionKind::mkShutdown), "2026-12-10", "23:58:00"));
    list.postpone(list.model().id(0), QDateTime(today, QTime(23, 58, 0)));
    const QVector<Mission> expected {
        mission(MissionKind::mkShutdown, kindText(MissionKind::mkShutdown), "2026-12-11", "0:03:00")};
    QCOMPARE(missionsOf(list.model()), expected);
    restart();
    QCOMPARE(missionsOf(m_list->model()), expected);
}

void TestMissionList::loadReplacesTheListAndIsKept_data()
{
    QTest::addColumn<bool>("toToday");
    QTest::addColumn<QString>("expectedDate");
    QTest::newRow("as stored") << false << "2027-1-5";
    QTest::newRow("加载至今日") << true << "2026-12-10";
}

void TestMissionList::loadReplacesTheListAndIsKept()
{
    QFETCH(bool, toToday);
    QFETCH(QString, expectedDate);
    MissionList &list = start();
    list.add(mission(MissionKind::mkOpenUrl, "old", "2026-12-11", "9:00:00"));
    const QString path = folder() + QStringLiteral("list.mis");
    QString error;
    QVERIFY(MissionFile::save(path,
                              {mission(MissionKind::mkOpenUrl, "www.a.org", "2027-1-5", "8:00:00"),
                               mission(MissionKind::mkShowMessage, "开会", "2027-1-5", "9:00:00")},
                              &error));
    QVERIFY2(list.load(path, toToday, &error), qPrintable(error));

    const QVector<Mission> expected {mission(MissionKind::mkOpenUrl, "www.a.org", expectedDate, "8:00:00"),
                                     mission(MissionKind::mkShowMessage, "开会", expectedDate, "9:00:00")};
    QCOMPARE(missionsOf(list.model()), expected);
    restart();
    QCOMPARE(missionsOf(m_list->model()), expected);
}

void TestMissionList::aFileThatCannotBeReadChangesNothing()
{
    MissionList &list = start();
    const Mission web = mission(MissionKind::mkOpenUrl, "www.example.org", "2026-12-11", "9:00:00");
    list.add(web);
    QString error;
    QVERIFY(!list.load(folder() + QStringLiteral("missing.mis"), false, &error));
    QVERIFY(!error.isEmpty());
    restart();
    QCOMPARE(missionsOf(m_list->model()), QVector<Mission> {web});
}

void TestMissionList::runStateIsOneFieldWithASignalAndIsKept()
{
    MissionList &list = start();
    QCOMPARE(list.runState(), MissionList::RunState::Stopped);
    QSignalSpy changes(&list, &MissionList::runStateChanged);
    list.start();
    list.start();
    list.pause();
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.last().first().value<MissionList::RunState>(), MissionList::RunState::Paused);
    restart();
    QCOMPARE(m_list->runState(), MissionList::RunState::Paused);
    m_list->start();
    restart();
    QCOMPARE(m_list->runState(), MissionList::RunState::Running);
    m_list->stop();
    restart();
    QCOMPARE(m_list->runState(), MissionList::RunState::Stopped);
}

void TestMissionList::restoreOffStartsAsBefore()
{
    writeDaily(dailyLine("提示消息", "喝水", "2000-1-1", "15:00:00"));
    MissionList &list = start();
    list.stop();
    list.add(mission(MissionKind::mkOpenUrl, "www.example.org", "2026-12-11", "9:00:00"));
    QVERIFY(list.restoresAtStart());
    list.setRestoresAtStart(false);
    m_list.reset();
    // The setting is read before the start, as the program reads it.
    m_list = std::make_unique<MissionList>(m_platform->services(), folder());
    QVERIFY(!m_list->restoresAtStart());
    m_list->startUp(m_list->restoresAtStart());
    // Today's daily missions alone, running as the list always started.
    QCOMPARE(missionsOf(m_list->model()),
             QVector<Mission> {mission(MissionKind::mkShowMessage, "喝水", "2026-12-10", "15:00:00")});
    QCOMPARE(m_list->runState(), MissionList::RunState::Running);
}

void TestMissionList::dailyRowsAreNeverListedTwice()
{
    writeDaily(dailyLine("提示消息", "喝水", "2000-1-1", "15:00:00")
               + dailyLine("系统响铃", "内置铃声", "2000-1-1", "16:00:00"));
    start();
    const MissionId water = m_list->model().id(0);
    const Mission extra = mission(MissionKind::mkOpenUrl, "www.example.org", "2026-12-20", "9:00:00");
    m_list->add(extra);
    // The same day, and the next day: the kept daily rows are today's copies.
    for (const QDate &day : {today, today.addDays(1)}) {
        m_platform->clock.set(QDateTime(day, QTime(8, 0, 0)));
        restart();
        const QString date = QStringLiteral("%1-%2-%3").arg(day.year()).arg(day.month()).arg(day.day());
        const QVector<Mission> expected {mission(MissionKind::mkShowMessage, "喝水", date, "15:00:00"),
                                         mission(MissionKind::mkRing, "内置铃声", date, "16:00:00"), extra};
        QCOMPARE(missionsOf(m_list->model()), expected);
        QCOMPARE(m_list->model().id(0), water);
    }
}

void TestMissionList::missionsMissedWhileClosedAreReportedNotRun_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("reported");
    QTest::newRow("shutdown, running list") << int(MissionKind::mkShutdown) << true << true;
    QTest::newRow("message, running list") << int(MissionKind::mkShowMessage) << true << true;
    QTest::newRow("ring, stopped list") << int(MissionKind::mkRing) << false << false;
}

void TestMissionList::missionsMissedWhileClosedAreReportedNotRun()
{
    QFETCH(int, kind);
    QFETCH(bool, running);
    QFETCH(bool, reported);
    MissionList &list = start();
    const Mission missed = mission(MissionKind(kind), kindText(MissionKind(kind)), "2026-12-10", "14:00:00");
    const Mission later = mission(MissionKind::mkOpenUrl, "www.example.org", "2026-12-10", "18:00:00");
    list.add(missed);
    list.add(later);
    if (running)
        list.start();
    m_list.reset();

    m_platform->clock.set(QDateTime(today, QTime(15, 0, 30)));
    start();
    QSignalSpy messages(&m_list->runner(), &MissionRunner::messageDue);
    for (int tick = 0; tick < 3; ++tick) {
        m_platform->clock.advance(1);
        m_list->checkDueMissions();
    }
    QCOMPARE(m_platform->notifier.notices.size(), reported ? 1 : 0);
    if (reported) {
        QVERIFY(m_platform->notifier.notices.first().text.contains(QStringLiteral("程序未运行")));
        QVERIFY(m_platform->notifier.notices.first().text.contains(QStringLiteral("14:00:00")));
        QVERIFY(!m_platform->notifier.notices.first().text.contains(QStringLiteral("18:00:00")));
    }
    QVERIFY(m_platform->session.calls.isEmpty());
    QCOMPARE(messages.count(), 0);
    QVERIFY(m_platform->sound.played.isEmpty());

    // Reported once: the next start does not report it again.
    restart();
    QCOMPARE(m_platform->notifier.notices.size(), reported ? 1 : 0);
}

void TestMissionList::aRestartInTheSameSecondDoesNotRunTheMissionAgain()
{
    MissionList &list = start();
    list.add(mission(MissionKind::mkRing, "内置铃声", "2026-12-10", "12:00:32"));
    list.start();
    m_platform->clock.set(QDateTime(today, QTime(12, 0, 32)));
    list.checkDueMissions();
    QCOMPARE(m_platform->sound.played.size(), 1);
    // The tick is over: what it settled is written to the store.
    QCoreApplication::processEvents();
    restart();
    m_list->checkDueMissions();
    QCOMPARE(m_platform->sound.played.size(), 1);
    QVERIFY(m_platform->notifier.notices.isEmpty());
    QCOMPARE(m_list->record(0).value(QStringLiteral("lastRun")).toString().left(19),
             QStringLiteral("2026-12-10T12:00:32"));
}

void TestMissionList::recordsGiveIsoMomentsAndTheNextMission()
{
    MissionList &list = start();
    QCOMPARE(list.nextRow(), -1);
    list.add(mission(MissionKind::mkShowMessage, "后来", "2026-12-31", "9:30:00"));
    list.add(mission(MissionKind::mkOpenUrl, "过去", "2026-12-1", "9:30:00"));
    const MissionId soon = list.add(mission(MissionKind::mkRing, "内置铃声", "2026-12-10", "13:00:00"));
    QCOMPARE(list.nextRow(), 2);
    const QVariantMap record = list.record(0);
    const QDateTime local(QDate(2026, 12, 31), QTime(9, 30));
    QCOMPARE(QDateTime::fromString(record.value(QStringLiteral("at")).toString(), Qt::ISODate), local);
    QVERIFY(record.value(QStringLiteral("at")).toString().startsWith(QStringLiteral("2026-12-31T09:30:00")));
    QVERIFY(QRegularExpression(QStringLiteral("[+-]\\d\\d:\\d\\d$"))
                .match(record.value(QStringLiteral("at")).toString())
                .hasMatch());
    QCOMPARE(record.value(QStringLiteral("kind")).toString(), QStringLiteral("message"));
    QCOMPARE(record.value(QStringLiteral("kindText")).toString(), QStringLiteral("提示消息"));
    QCOMPARE(record.value(QStringLiteral("text")).toString(), QStringLiteral("后来"));
    QCOMPARE(record.value(QStringLiteral("repeat")).toString(), QString());
    QCOMPARE(record.value(QStringLiteral("lastRun")).toString(), QString());
    QCOMPARE(list.record(2).value(QStringLiteral("id")).toString(), QString::number(soon));
}

void TestMissionList::aRepeatingMissionIsKeptAndMovesOnWhenCarriedOut()
{
    MissionList &list = start();
    // Mondays and Thursdays from a Thursday (2026-12-10): the next is the Monday after.
    Mission ring = mission(MissionKind::mkRing, "内置铃声", "2026-12-10", "12:00:32");
    QVERIFY(applyRepeatRule(ring, QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TH"), m_platform->clock.now(), nullptr));
    const MissionId id = list.add(ring);

    restart();
    QCOMPARE(missionsOf(m_list->model()), QVector<Mission> {ring});
    QCOMPARE(m_list->model().mission(0).repeatRule, QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TH"));
    QCOMPARE(m_list->model().mission(0).repeatStart, QDateTime(today, QTime(12, 0, 32)));
    QCOMPARE(m_list->record(0).value(QStringLiteral("repeat")).toString(), QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TH"));

    m_list->start();
    m_platform->clock.set(QDateTime(today, QTime(12, 0, 32)));
    m_list->checkDueMissions();
    QCOMPARE(m_platform->sound.played.size(), 1);
    m_list.reset();

    MissionStore store(MissionStore::pathIn(folder()));
    QString error;
    QVERIFY2(store.open(&error), qPrintable(error));
    const std::optional<MissionStore::Contents> contents = store.read(&error);
    QVERIFY2(contents, qPrintable(error));
    QCOMPARE(contents->rows.size(), 1);
    QCOMPARE(contents->rows[0].id, id);
    Mission moved = ring;
    moved.dateText = QStringLiteral("2026-12-14");
    moved.timeText = QStringLiteral("12:00:32");
    QCOMPARE(contents->rows[0].mission, moved);
}

QTEST_GUILESS_MAIN(TestMissionList)
#include "tst_missionlist.moc"
