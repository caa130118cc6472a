#include "DailyMissionFile.h"
#include "FileFixtures.h"
#include "MissionFile.h"
#include "MissionLines.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

MissionLines format(const QString &name)
{
    return name == QLatin1String("daily") ? MissionLines::dailyFile() : MissionLines::missionFile();
}

QList<QStringList> texts(const QVector<Mission> &missions)
{
    QList<QStringList> rows;
    for (const Mission &mission : missions)
        rows.append({mission.kindText, mission.description, mission.dateText, mission.timeText});
    return rows;
}

const QVector<Mission> threeRows = {
    {QStringLiteral("关闭计算机"), QStringLiteral("关闭计算机"), QStringLiteral("2026-12-10"),
     QStringLiteral("23:00:00"), 1},
    {QStringLiteral("执行程序"), QStringLiteral("/usr/bin/gedit"), QStringLiteral("2026-12-11"),
     QStringLiteral("8:00:00"), 4},
    {QStringLiteral("提示消息"), QStringLiteral("开会"), QStringLiteral("2026-12-12"), QStringLiteral("12:30:05"), 6},
};

} // namespace

class TestMissionFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void writesOneLinePerMission_data();
    void writesOneLinePerMission();
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void readRowsWearTheirKindsIcon_data();
    void readRowsWearTheirKindsIcon();
    void readsLinesByTheRules_data();
    void readsLinesByTheRules();
    void keepsEveryMissionOnOneLine_data();
    void keepsEveryMissionOnOneLine();

    void saveReplacesTheFile();
    void failedSaveKeepsTheOldFile();
    void loadOfAMissingFileNamesIt();

    void appendCreatesTheFileAndAddsOneLineEachTime();
    void appendEndsAnUnfinishedLastLineFirst();
    void dailyFileRefusesADollarBeforeTheTime_data();
    void dailyFileRefusesADollarBeforeTheTime();
    void dailyReadingDatesEveryRowToday();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMissionFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestMissionFiles::writesOneLinePerMission_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("mission file") << "mission"
                                  << QByteArray::fromHex("B9D8B1D5BCC6CBE3BBFA80B9D8B1D5BCC6CBE3BBFA80")
                                         + "2026-12-10\x80"
                                           "23:00:00\r\n"
                                         + QByteArray::fromHex("D6B4D0D0B3CCD0F280")
                                         + "/usr/bin/gedit\x80"
                                           "2026-12-11\x80"
                                           "8:00:00\r\n"
                                         + QByteArray::fromHex("CCE1CABECFFBCFA280BFAABBE180")
                                         + "2026-12-12\x80"
                                           "12:30:05\r\n";
    QTest::newRow("daily file") << "daily"
                                << QByteArray::fromHex("B9D8B1D5BCC6CBE3BBFA24B9D8B1D5BCC6CBE3BBFA24")
                                       + "2026-12-10$23:00:00\r\n" + QByteArray::fromHex("D6B4D0D0B3CCD0F224")
                                       + "/usr/bin/gedit$2026-12-11$8:00:00\r\n"
                                       + QByteArray::fromHex("CCE1CABECFFBCFA224BFAABBE124")
                                       + "2026-12-12$12:30:05\r\n";
}

void TestMissionFiles::writesOneLinePerMission()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QCOMPARE(::format(format).write(threeRows).toHex(' '), bytes.toHex(' '));
}

void TestMissionFiles::readsBackWhatItWrote_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("timeText");
    for (const char *name : {"mission", "daily"}) {
        const QByteArray tag(name);
        QTest::newRow(tag + ": three rows") << name << QString() << QString();
        QTest::newRow(tag + ": second byte 0x80") << name << QStringLiteral("亐皜諃晙") << QString();
        QTest::newRow(tag + ": outside code page 936") << name << QStringLiteral("生日快乐😀") << QString();
        QTest::newRow(tag + ": euro and empty fields") << name << QStringLiteral("€") << QStringLiteral("");
    }
    QTest::newRow("daily: dollars in the time") << "daily" << QString() << QStringLiteral("8:00:00$$x");
}

void TestMissionFiles::readsBackWhatItWrote()
{
    QFETCH(QString, format);
    QFETCH(QString, description);
    QFETCH(QString, timeText);
    QVector<Mission> missions = threeRows;
    if (!description.isNull())
        missions[1].description = description;
    if (!timeText.isNull())
        missions[2].timeText = timeText;
    const MissionLines::Reading reading = ::format(format).read(::format(format).write(missions));
    QCOMPARE(texts(reading.missions), texts(missions));
    QCOMPARE(reading.unread, QByteArray());
}

void TestMissionFiles::readRowsWearTheirKindsIcon_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("kindText");
    QTest::addColumn<int>("imageIndex");
    for (const char *format : {"mission", "daily"}) {
        for (const MissionKindInfo &kind : missionKinds)
            QTest::addRow("%s, %s", format, kind.storedText)
                << QString::fromLatin1(format) << QString::fromUtf8(kind.storedText) << kind.imageIndex;
        QTest::addRow("%s, unknown kind", format) << QString::fromLatin1(format) << QStringLiteral("关机") << 0;
    }
}

void TestMissionFiles::readRowsWearTheirKindsIcon()
{
    QFETCH(QString, format);
    QFETCH(QString, kindText);
    QFETCH(int, imageIndex);
    const Mission written {kindText, QStringLiteral("x"), QStringLiteral("2026-12-10"), QStringLiteral("8:00:00"), 0};
    const MissionLines::Reading reading = ::format(format).read(::format(format).write({written}));
    QCOMPARE(reading.missions.size(), 1);
    QCOMPARE(reading.missions.first().imageIndex, imageIndex);
}

void TestMissionFiles::readsLinesByTheRules_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QByteArray>("unread");
    const QStringList abcd = {"a", "b", "c", "d"};

    QTest::newRow("empty file") << "mission" << QByteArray() << QList<QStringList>() << QByteArray();
    QTest::newRow("first line empty") << "mission"
                                      << QByteArray("\r\na\x80"
                                                    "b\x80"
                                                    "c\x80"
                                                    "d\r\n")
                                      << QList<QStringList>()
                                      << QByteArray("\r\na\x80"
                                                    "b\x80"
                                                    "c\x80"
                                                    "d\r\n");
    QTest::newRow("fourth line empty") << "mission"
                                       << QByteArray("a\x80"
                                                     "b\x80"
                                                     "c\x80"
                                                     "d\r\n")
                                                  .repeated(3)
                                              + "\r\nx\r\n"
                                       << QList<QStringList> {abcd, abcd, abcd} << QByteArray("\r\nx\r\n");
    QTest::newRow("empty line ending in LF alone") << "mission"
                                                   << QByteArray("a\x80"
                                                                 "b\x80"
                                                                 "c\x80"
                                                                 "d\n\na\x80"
                                                                 "b\x80"
                                                                 "c\x80"
                                                                 "d")
                                                   << QList<QStringList> {abcd, {"", "", "", ""}, abcd} << QByteArray();
    QTest::newRow("lone CR dropped") << "mission"
                                     << QByteArray("a\rb\x80"
                                                   "b\x80"
                                                   "c\x80"
                                                   "d\r\r\n")
                                     << QList<QStringList> {{"ab", "b", "c", "d"}} << QByteArray();
    QTest::newRow("no separator") << "mission" << QByteArray("12:00:00\r\n")
                                  << QList<QStringList> {{"", "", "", "12:00:00"}} << QByteArray();
    QTest::newRow("one separator") << "mission"
                                   << QByteArray("k\x80"
                                                 "12:00:00")
                                   << QList<QStringList> {{"k", "", "", "12:00:00"}} << QByteArray();
    QTest::newRow("five separators") << "mission"
                                     << QByteArray("a\x80"
                                                   "b\x80"
                                                   "c\x80"
                                                   "d\x80"
                                                   "e\x80"
                                                   "f\r\n")
                                     << QList<QStringList> {{"a", "b", "c", "d€e€f"}} << QByteArray();
    QTest::newRow("0x80 inside a character") << "mission"
                                             << QByteArray("k\x80\x81\x80"
                                                           "x\x80"
                                                           "c\x80"
                                                           "d\r\n")
                                             << QList<QStringList> {{"k", "亐x", "c", "d"}} << QByteArray();
    QTest::newRow("0x1A is text in a mission file") << "mission"
                                                    << QByteArray("a\x80"
                                                                  "b\x80"
                                                                  "c\x80"
                                                                  "d\x1A\r\n")
                                                    << QList<QStringList> {{"a", "b", "c", "d\x1A"}} << QByteArray();

    QTest::newRow("daily: third line empty") << "daily" << QByteArray("a$b$c$d\r\na$b$c$d\r\n\r\na$b$c$d\r\n")
                                             << QList<QStringList> {abcd, abcd} << QByteArray("\r\na$b$c$d\r\n");
    QTest::newRow("daily: one separator") << "daily" << QByteArray::fromHex("B9D8B1D5BCC6CBE3BBFA") + "$8:00:00\r\n"
                                          << QList<QStringList> {{"关闭计算机", "", "", "8:00:00"}} << QByteArray();
    QTest::newRow("daily: five separators")
        << "daily" << QByteArray("a$b$c$d$e$f\r\n") << QList<QStringList> {{"a", "b", "c", "d$e$f"}} << QByteArray();
    QTest::newRow("daily: end mark line") << "daily"
                                          << QByteArray("a$b$c$d\r\n\x1A"
                                                        "a$b$c$d\r\n")
                                          << QList<QStringList> {abcd}
                                          << QByteArray("\x1A"
                                                        "a$b$c$d\r\n");
    QTest::newRow("daily: end mark inside a line") << "daily"
                                                   << QByteArray("a$b$c$d\x1A"
                                                                 "xyz\r\n")
                                                   << QList<QStringList> {abcd}
                                                   << QByteArray("\x1A"
                                                                 "xyz\r\n");
    QTest::newRow("daily: 0x80 is text") << "daily" << QByteArray("a\x80$b$c$d\r\n")
                                         << QList<QStringList> {{"a€", "b", "c", "d"}} << QByteArray();
}

void TestMissionFiles::readsLinesByTheRules()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QByteArray, unread);
    const MissionLines::Reading reading = ::format(format).read(bytes);
    QCOMPARE(texts(reading.missions), rows);
    QCOMPARE(reading.unread, unread);
}

void TestMissionFiles::keepsEveryMissionOnOneLine_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("stored");
    for (const char *name : {"mission", "daily"}) {
        const QByteArray tag(name);
        QTest::newRow(tag + ": CR LF") << name << QStringLiteral("第一行\r\n第二行") << QStringLiteral("第一行 第二行");
        QTest::newRow(tag + ": LF") << name << QStringLiteral("a\n\nb") << QStringLiteral("a  b");
        QTest::newRow(tag + ": CR") << name << QStringLiteral("a\rb") << QStringLiteral("a b");
    }
    QTest::newRow("daily: end mark") << "daily"
                                     << QStringLiteral("a\x1A"
                                                       "b")
                                     << QStringLiteral("a b");
}

void TestMissionFiles::keepsEveryMissionOnOneLine()
{
    QFETCH(QString, format);
    QFETCH(QString, description);
    QFETCH(QString, stored);
    QVector<Mission> missions = threeRows;
    missions[0].description = description;
    const MissionLines::Reading reading = ::format(format).read(::format(format).write(missions));
    QCOMPARE(reading.missions.size(), 3);
    QCOMPARE(reading.missions[0].description, stored);
    QCOMPARE(texts(reading.missions.mid(1)), texts(threeRows.mid(1)));
}

void TestMissionFiles::saveReplacesTheFile()
{
    const QString path = m_dir->filePath(QStringLiteral("week.mis"));
    writeBytes(path, QByteArray(1000, 'x'));
    QString error;
    QVERIFY(MissionFile::save(path, threeRows.mid(0, 1), &error));
    QCOMPARE(fileBytes(path), MissionLines::missionFile().write(threeRows.mid(0, 1)));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("week.mis")});
}

void TestMissionFiles::failedSaveKeepsTheOldFile()
{
    const QString path = m_dir->filePath(QStringLiteral("week.mis"));
    const QByteArray old = MissionLines::missionFile().write(threeRows);
    writeBytes(path, old);
    QVector<Mission> many;
    for (int i = 0; i < 100; ++i)
        many += threeRows;

    // A file size limit stands for a full disk; it holds also for root.
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool saved512 = MissionFile::save(path, many, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!saved512);
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("week.mis")});
}

void TestMissionFiles::loadOfAMissingFileNamesIt()
{
    const QString path = m_dir->filePath(QStringLiteral("none.mis"));
    QString error;
    QVERIFY(!MissionFile::load(path, &error));
    QVERIFY2(error.contains(QStringLiteral("“%1”").arg(QDir::toNativeSeparators(path))), qPrintable(error));
    QVERIFY(error.endsWith(QStringLiteral("。")));
}

void TestMissionFiles::appendCreatesTheFileAndAddsOneLineEachTime()
{
    const DailyMissionFile file(DailyMissionFile::pathIn(m_dir->path() + QLatin1Char('/')));
    QVERIFY(!file.exists());
    QString error;
    QVERIFY2(file.append(threeRows[1], &error), qPrintable(error));
    const QByteArray line = QByteArray::fromHex("D6B4D0D0B3CCD0F224") + "/usr/bin/gedit$2026-12-11$8:00:00\r\n";
    QCOMPARE(fileBytes(file.path()), line);
    QVERIFY2(file.append(threeRows[1], &error), qPrintable(error));
    QCOMPARE(fileBytes(file.path()), line + line);
}

void TestMissionFiles::appendEndsAnUnfinishedLastLineFirst()
{
    const DailyMissionFile file(m_dir->filePath(QStringLiteral("everyday.mis")));
    writeBytes(file.path(), "a$b$c$d");
    QString error;
    QVERIFY(file.append(Mission {"e", "f", "g", "h", 0}, &error));
    QCOMPARE(fileBytes(file.path()), QByteArray("a$b$c$d\r\ne$f$g$h\r\n"));
}

void TestMissionFiles::dailyFileRefusesADollarBeforeTheTime_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("fieldName");
    QTest::newRow("kind") << 0 << QStringLiteral("任务");
    QTest::newRow("description") << 1 << QStringLiteral("描述");
    QTest::newRow("date") << 2 << QStringLiteral("执行日期");
}

void TestMissionFiles::dailyFileRefusesADollarBeforeTheTime()
{
    QFETCH(int, field);
    QFETCH(QString, fieldName);
    const DailyMissionFile file(m_dir->filePath(QStringLiteral("everyday.mis")));
    writeBytes(file.path(), "a$b$c$d\r\n");
    Mission mission = threeRows[2];
    QString *texts[] = {&mission.kindText, &mission.description, &mission.dateText};
    *texts[field] = QStringLiteral("US$5");
    QString error;
    QVERIFY(!file.append(mission, &error));
    QVERIFY(!file.rewrite({threeRows[0], mission}, QByteArray(), &error));
    QVERIFY2(error.startsWith(fieldName + QStringLiteral("“US$5”")), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(file.path())), qPrintable(error));
    QCOMPARE(fileBytes(file.path()), QByteArray("a$b$c$d\r\n"));
}

void TestMissionFiles::dailyReadingDatesEveryRowToday()
{
    const DailyMissionFile file(m_dir->filePath(QStringLiteral("everyday.mis")));
    writeBytes(file.path(), "a$b$2001-1-1$8:00:00\r\n$$$\r\n\r\nrest");
    QString error;
    const std::optional<MissionLines::Reading> reading = file.read(QStringLiteral("2026-12-10"), &error);
    QVERIFY(reading);
    QCOMPARE(texts(reading->missions),
             (QList<QStringList> {{"a", "b", "2026-12-10", "8:00:00"}, {"", "", "2026-12-10", ""}}));
    QCOMPARE(reading->unread, QByteArray("\r\nrest"));
}

QTEST_GUILESS_MAIN(TestMissionFiles)
#include "tst_missionfiles.moc"
