#include "core/missions/MissionModel.h"
#include "support/RegionalFormatReset.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

namespace {

Mission makeMission(const QString &kind, const QString &description, const QString &date = QStringLiteral("2026-12-10"),
                    const QString &time = QStringLiteral("12:00:00"), int imageIndex = 0)
{
    return {kind, description, date, time, imageIndex};
}

} // namespace

class TestMissionModel : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetRegionalFormat(); }

    void knowsTheNineKinds();
    void operationsKeepOrder();
    void idsFollowTheMissionNotTheRow();
    void showsItsColumns();
    void showsARepeatingRowWithItsRuleInWords();
    void editsOnlyTheKindInPlace();
    void keepsParsedMomentsFresh();
    void renewsParsesWhenTheFormatChanges();
    void tintsPastRows_data();
    void tintsPastRows();
};

void TestMissionModel::knowsTheNineKinds()
{
    const QStringList texts = {"关闭计算机", "重启计算机", "注销计算机", "执行程序", "打开文件",
                               "提示消息",   "系统响铃",   "打开网页",   "发送邮件"};
    const QStringList names = {"shutdown", "restart", "logoff", "run", "open", "message", "ring", "web", "mail"};
    const QList<int> icons = {0, 0, 0, 1, 2, 3, 4, 5, 6};
    for (int i = 0; i < texts.size(); ++i) {
        const auto kind = kindFromText(texts[i]);
        QVERIFY(kind.has_value());
        QCOMPARE(int(*kind), i);
        QCOMPARE(kindText(*kind), texts[i]);
        QCOMPARE(kindName(*kind), names[i]);
        QCOMPARE(kindFromTextOrName(names[i]), kind);
        QCOMPARE(kindFromTextOrName(texts[i]), kind);
        QCOMPARE(kindImageIndex(*kind), icons[i]);
        QCOMPARE(isPowerKind(*kind), i < 3);
    }
    // Exact, whole-text comparison.
    QVERIFY(!kindFromText(QStringLiteral("关闭计算机 ")).has_value());
    QVERIFY(!kindFromText(QStringLiteral("执行")).has_value());
    QVERIFY(!kindFromText(QString()).has_value());
    // The ASCII names are for scripts; a file's kind text stays Chinese only.
    QVERIFY(!kindFromText(QStringLiteral("shutdown")).has_value());
    QVERIFY(!kindFromTextOrName(QStringLiteral("Shutdown")).has_value());
}

void TestMissionModel::operationsKeepOrder()
{
    MissionModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.count(), 0);

    model.append(makeMission("执行程序", "/bin/a", "2026-12-10", "9:00:00", 1));
    model.append(makeMission("打开文件", "/tmp/b"));
    model.appendAll({makeMission("提示消息", ""), makeMission("未知", "x")});
    QCOMPARE(model.count(), 4);
    QCOMPARE(model.mission(0), makeMission("执行程序", "/bin/a", "2026-12-10", "9:00:00", 1));
    QCOMPARE(model.mission(2).description, QString());
    QCOMPARE(model.mission(3).kindText, QStringLiteral("未知"));

    model.overwrite(1, makeMission("打开网页", "www.example.org", "2026-12-11", "8:00:00", 5));
    QCOMPARE(model.mission(1), makeMission("打开网页", "www.example.org", "2026-12-11", "8:00:00", 5));

    model.setDateTime(0, QStringLiteral("2026-12-12"), QStringLiteral("0:03:00"));
    QCOMPARE(model.mission(0), makeMission("执行程序", "/bin/a", "2026-12-12", "0:03:00", 1));

    model.remove(1);
    QCOMPARE(model.count(), 3);
    QCOMPARE(model.mission(1).kindText, QStringLiteral("提示消息"));

    model.clear();
    QCOMPARE(model.count(), 0);
}

void TestMissionModel::idsFollowTheMissionNotTheRow()
{
    MissionModel model;
    const MissionId first = model.append(makeMission("提示消息", "a"));
    model.appendAll({makeMission("提示消息", "b"), makeMission("提示消息", "c")});
    const MissionId third = model.id(2);
    QCOMPARE_NE(first, third);
    QCOMPARE(model.rowOf(third), 2);

    model.remove(0);
    QCOMPARE(model.rowOf(first), -1);
    QCOMPARE(model.rowOf(third), 1);
    QCOMPARE(model.mission(model.rowOf(third)).description, QString("c"));

    // A restored id is kept, and new ids go on above it: none is given twice.
    model.append(makeMission("提示消息", "restored"), 40);
    QCOMPARE(model.id(2), MissionId(40));
    QCOMPARE(model.append(makeMission("提示消息", "d")), MissionId(41));
    model.clear();
    QVERIFY(model.append(makeMission("提示消息", "e")) > 41);
}

// The four columns of the texts, then the repeat column (empty for a row
// carried out once).
void TestMissionModel::showsItsColumns()
{
    MissionModel model;
    model.append(makeMission("执行程序", "/bin/a", "2026-12-10", "9:00:00", 1));
    QCOMPARE(model.columnCount(), 5);
    const QStringList headers = {"任务", "描述", "执行日期", "执行时间", "重复"};
    const QStringList cells = {"执行程序", "/bin/a", "2026-12-10", "9:00:00", ""};
    for (int column = 0; column < 5; ++column) {
        QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), headers[column]);
        QCOMPARE(model.index(0, column).data().toString(), cells[column]);
    }
    QCOMPARE(model.index(0, 0).data(MissionModel::ImageIndexRole).toInt(), 1);
}

void TestMissionModel::showsARepeatingRowWithItsRuleInWords()
{
    MissionModel model;
    Mission mission = makeMission("提示消息", "站起来走走", "2026-12-14", "9:00:00", 3);
    mission.repeatRule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE,FR");
    mission.repeatStart = QDateTime(QDate(2026, 12, 14), QTime(9, 0));
    model.append(mission);
    QCOMPARE(model.index(0, MissionModel::RepeatColumn).data().toString(), QStringLiteral("每周一、三、五 09:00"));
    QCOMPARE(model.index(0, 0).data(MissionModel::RepeatRole).toString(), QStringLiteral("每周一、三、五 09:00"));

    // Carried out on Monday, it moves to Wednesday; the texts are new, so
    // what was noted for the old moment is forgotten.
    model.setSettled(0);
    QVERIFY(model.advanceRepeat(0, wallClockKey(QDate(2026, 12, 14), QTime(9, 0))));
    QCOMPARE(model.mission(0).dateText, QStringLiteral("2026-12-16"));
    QCOMPARE(model.mission(0).timeText, QStringLiteral("9:00:00"));
    QVERIFY(!model.tickView(0).settled);

    // A series that has ended leaves the row at its last occurrence.
    mission.repeatRule = QStringLiteral("FREQ=DAILY;COUNT=1");
    model.overwrite(0, mission);
    QVERIFY(!model.advanceRepeat(0, wallClockKey(QDate(2026, 12, 14), QTime(9, 0))));
    QCOMPARE(model.mission(0).dateText, QStringLiteral("2026-12-14"));
}

void TestMissionModel::editsOnlyTheKindInPlace()
{
    MissionModel model;
    model.append(makeMission("执行程序", "/bin/a"));
    QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    for (int column = 1; column < 4; ++column)
        QVERIFY(!(model.flags(model.index(0, column)) & Qt::ItemIsEditable));

    QVERIFY(model.setData(model.index(0, 0), QStringLiteral("打开文件"), Qt::EditRole));
    QCOMPARE(model.mission(0).kindText, QStringLiteral("打开文件"));
    QCOMPARE(model.kind(0), std::optional<MissionKind>(MissionKind::mkOpenFile));
    QVERIFY(!model.setData(model.index(0, 1), QStringLiteral("x"), Qt::EditRole));
    QCOMPARE(model.mission(0).description, QStringLiteral("/bin/a"));

    // Edited to a text that is no kind: the row stays, with no kind.
    QVERIFY(model.setData(model.index(0, 0), QStringLiteral("随便"), Qt::EditRole));
    QCOMPARE(model.count(), 1);
    QVERIFY(!model.kind(0).has_value());
}

void TestMissionModel::keepsParsedMomentsFresh()
{
    MissionModel model;
    model.append(makeMission("关闭计算机", "关闭计算机", "2026-12-10", "12:00:00"));
    model.append(makeMission("执行程序", "/bin/a", "2026-12-10", "25:00:00"));
    QCOMPARE(model.moment(0), std::optional<QDateTime>(QDateTime(QDate(2026, 12, 10), QTime(12, 0))));
    QVERIFY(!model.moment(1).has_value());
    QVERIFY(model.date(1).has_value());
    QVERIFY(!model.time(1).has_value());

    model.setDateTime(0, QStringLiteral("2026-12-10"), QStringLiteral("12:05:00"));
    QCOMPARE(model.moment(0), std::optional<QDateTime>(QDateTime(QDate(2026, 12, 10), QTime(12, 5))));
    model.overwrite(1, makeMission("执行程序", "/bin/a", "2026-12-11", "1:00:00"));
    QCOMPARE(model.moment(1), std::optional<QDateTime>(QDateTime(QDate(2026, 12, 11), QTime(1, 0))));
}

void TestMissionModel::renewsParsesWhenTheFormatChanges()
{
    MissionModel model;
    model.append(makeMission("执行程序", "/bin/a", "10/12/2026", "9:00:00"));
    QVERIFY(!model.date(0).has_value());
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("d/M/yyyy"), QStringLiteral("H:mm:ss"), '.'));
    QCOMPARE(model.date(0), std::optional<QDate>(QDate(2026, 12, 10)));
}

void TestMissionModel::tintsPastRows_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("tint");
    const int normal = int(MissionModel::Tint::Normal);
    const int past = int(MissionModel::Tint::Past);
    const int unparsed = int(MissionModel::Tint::Unparsed);
    // The present is 2026-12-10 12:00:00.500.
    QTest::newRow("yesterday, later time") << "2026-12-9"
                                           << "23:00:00" << past;
    QTest::newRow("today, time to come") << "2026-12-10"
                                         << "12:00:01" << normal;
    QTest::newRow("today, time passed") << "2026-12-10"
                                        << "11:59:59" << past;
    QTest::newRow("today, this second already begun") << "2026-12-10"
                                                      << "12:00:00" << past;
    QTest::newRow("tomorrow, time to come") << "2026-12-11"
                                            << "13:00:00" << normal;
    QTest::newRow("tomorrow, time passed today") << "2026-12-11"
                                                 << "8:00:00" << normal;
    QTest::newRow("date does not parse") << "2026-12-99"
                                         << "13:00:00" << unparsed;
    QTest::newRow("time does not parse") << "2026-12-11"
                                         << "13:00" << unparsed;
}

void TestMissionModel::tintsPastRows()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(int, tint);
    MissionModel model;
    model.append(makeMission("执行程序", "/bin/a", date, time));
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0, 0, 500));
    QCOMPARE(int(model.tint(0, now)), tint);
}

QTEST_APPLESS_MAIN(TestMissionModel)
#include "tst_missionmodel.moc"
