#include "core/files/DailyMissionFile.h"
#include "core/files/MissionFile.h"
#include "core/files/MissionLines.h"
#include "core/files/TextFile.h"
#include "support/FileFixtures.h"

#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A mission file read strictly by the plain format's rules, as a reader
// that knows nothing of repeats reads it: lines until the end of the file
// or an empty line (a CR as the first byte of a line); each line to its LF,
// CRs dropped; the first three 0x80 separate the fields, the time keeps the
// rest. (The texts used with it hold no double-byte character ending in
// 0x80.)
QList<QStringList> readAsPlainMissionFile(const QByteArray &bytes)
{
    QList<QStringList> rows;
    qsizetype pos = 0;
    while (pos < bytes.size() && bytes[pos] != '\r') {
        const qsizetype lineFeed = bytes.indexOf('\n', pos);
        QByteArray line = bytes.mid(pos, lineFeed < 0 ? -1 : lineFeed - pos);
        line.replace('\r', QByteArray());
        pos = lineFeed < 0 ? bytes.size() : lineFeed + 1;
        QStringList fields;
        for (int field = 0; field < 3; ++field) {
            const qsizetype separator = line.indexOf(char(0x80));
            fields << (separator < 0 ? QString() : CodePageText(TextEncoding::CodePage).decode(line.first(separator)));
            if (separator >= 0)
                line = line.mid(separator + 1);
        }
        fields << CodePageText(TextEncoding::CodePage).decode(line);
        rows << fields;
    }
    return rows;
}

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
    void dailyRowsThatAreNoMissionsAreToldAndKept_data();
    void dailyRowsThatAreNoMissionsAreToldAndKept();
    void nulBytesReadAsBlanksAndAreTold_data();
    void nulBytesReadAsBlanksAndAreTold();

    void unchangedMissionsKeepTheirBytes_data();
    void unchangedMissionsKeepTheirBytes();
    void appendPutsTheLineWhereReadingFindsIt_data();
    void appendPutsTheLineWhereReadingFindsIt();
    void readsOnlyRegularFilesOfSensibleSize_data();
    void readsOnlyRegularFilesOfSensibleSize();

    void fileWithoutRepeatingRowsKeepsThePlainBytes();
    void repeatingRowsRoundTripAndReadAsOneShotMissionsElsewhere();
    void dailyFileTakesNoRule();

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
    QTest::newRow("five separators")
        << "mission"
        << QByteArray("a\x80"
                      "b\x80"
                      "c\x80"
                      "d\x80"
                      "e\x80"
                      "f\r\n")
        << QList<QStringList> {{"a", "b", "c", QStringLiteral("d%1e%1f").arg(CodePageText::escapedByte(0x80))}}
        << QByteArray();
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
    QTest::newRow("daily: lone 0x80 carried")
        << "daily" << QByteArray("a\x80$b$c$d\r\n")
        << QList<QStringList> {{QLatin1Char('a') + CodePageText::escapedByte(0x80), "b", "c", "d"}} << QByteArray();
    QTest::newRow("daily: UTF-8") << "daily" << QStringLiteral("执行程序$开会$c$d\r\n").toUtf8()
                                  << QList<QStringList> {{"执行程序", "开会", "c", "d"}} << QByteArray();
    QTest::newRow("daily: UTF-8 after its byte-order mark")
        << "daily" << QByteArray("\xEF\xBB\xBF") + QStringLiteral("执行程序$b$c$d\r\n").toUtf8()
        << QList<QStringList> {{"执行程序", "b", "c", "d"}} << QByteArray();
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
    QVERIFY(!file.rewrite({threeRows[0], mission}, MissionLines::Reading(), &error));
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

// A UTF-8 daily file with one stray byte reads as code page 936: its kinds
// are no kinds, which the user is told; every row stays, and so does every
// byte of the file when it is written back.
void TestMissionFiles::dailyRowsThatAreNoMissionsAreToldAndKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("told");
    const QByteArray good =
        QStringLiteral("提示消息$起床$2026-1-1$7:00:00\r\n执行程序$/bin/x$2026-1-1$8:00:00\r\n").toUtf8();
    QTest::newRow("clean UTF-8") << good << 2 << QString();
    QTest::newRow("UTF-8 with a stray byte") << good + "\xff$$$\r\n"
                                             << 3 << QStringLiteral("有3行不是能识别的任务(第1、2、3行)");
    QByteArray many;
    for (int i = 0; i < 12; ++i)
        many += "x$y$z$9:00:00\r\n";
    QTest::newRow("twelve unknown kinds")
        << many << 12 << QStringLiteral("有12行不是能识别的任务(第1、2、3、4、5、6、7、8、9、10行等)");
}

void TestMissionFiles::dailyRowsThatAreNoMissionsAreToldAndKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(QString, told);
    const DailyMissionFile file(m_dir->filePath(QStringLiteral("everyday.mis")));
    writeBytes(file.path(), bytes);
    QString error;
    const std::optional<MissionLines::Reading> reading = file.read(QStringLiteral("2026-12-10"), &error);
    QVERIFY(reading);
    QCOMPARE(reading->missions.size(), rows);
    const QString notice = file.unreadableRowsNotice(*reading);
    if (told.isEmpty()) {
        QCOMPARE(notice, QString());
    } else {
        QVERIFY2(notice.contains(told), qPrintable(notice));
        QVERIFY(notice.contains(QDir::toNativeSeparators(file.path())));
    }
    // Written back (the maintenance dialog), the rows read back the same.
    QVERIFY(file.rewrite(reading->missions, *reading, &error));
    QCOMPARE(file.read(QStringLiteral("2026-12-10"), &error)->missions, reading->missions);
}

// A NUL byte in a row would cut its text short wherever it is shown or
// sent: the row is kept with a blank for it, the user is told which line,
// the other rows and the file stay as they are.
void TestMissionFiles::nulBytesReadAsBlanksAndAreTold_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QString>("told");

    const auto misLine = [](const QByteArray &kind, const QByteArray &text, const QByteArray &time) {
        return kind + '\x80' + text + '\x80' + "2026-12-12" + '\x80' + time + "\r\n";
    };
    const QByteArray message = CodePageText().encode(QStringLiteral("提示消息"));
    const QByteArray meeting = CodePageText().encode(QStringLiteral("开会"));
    QTest::newRow("mission file, description")
        << "mission"
        << misLine(message, meeting, "8:00:00") + misLine(message, meeting + QByteArray("\0!", 2), "9:00:00")
        << QList<QStringList> {{"提示消息", "开会", "2026-12-12", "8:00:00"},
                               {"提示消息", "开会 !", "2026-12-12", "9:00:00"}}
        << QStringLiteral("有1行含有空字节(NUL,第2行)");
    QTest::newRow("mission file, kind and time")
        << "mission" << misLine(QByteArray("\0", 1) + message, meeting, QByteArray("8:00:00\0\0", 9))
        << QList<QStringList> {{" 提示消息", "开会", "2026-12-12", "8:00:00  "}}
        << QStringLiteral("有1行含有空字节(NUL,第1行)");
    const QByteArray dailyUtf8 = QStringLiteral("提示消息$起床$2026-1-1$7:00:00\r\n").toUtf8();
    QTest::newRow("UTF-8 daily file") << "daily"
                                      << dailyUtf8 + QByteArray("执行程序$/bin/a") + '\0' + "b$2026-1-1$8:00:00\r\n"
                                             + dailyUtf8
                                      << QList<QStringList> {{"提示消息", "起床", "2026-12-10", "7:00:00"},
                                                             {"执行程序", "/bin/a b", "2026-12-10", "8:00:00"},
                                                             {"提示消息", "起床", "2026-12-10", "7:00:00"}}
                                      << QStringLiteral("有1行含有空字节(NUL,第2行)");
}

void TestMissionFiles::nulBytesReadAsBlanksAndAreTold()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QString, told);
    const QString path =
        m_dir->filePath(format == QLatin1String("daily") ? QStringLiteral("everyday.mis") : QStringLiteral("plan.mis"));
    writeBytes(path, bytes);
    QString error;
    QString notice;
    if (format == QLatin1String("daily")) {
        const DailyMissionFile file(path);
        const std::optional<MissionLines::Reading> reading = file.read(QStringLiteral("2026-12-10"), &error);
        QVERIFY2(reading, qPrintable(error));
        QCOMPARE(texts(reading->missions), rows);
        notice = file.unreadableRowsNotice(*reading);
        QVERIFY2(!notice.contains(QStringLiteral("不是能识别的任务")), qPrintable(notice));
    } else {
        const std::optional<QVector<Mission>> missions = MissionFile::load(path, &error, &notice);
        QVERIFY2(missions, qPrintable(error));
        QCOMPARE(texts(*missions), rows);
    }
    QVERIFY2(notice.contains(told), qPrintable(notice));
    QVERIFY(notice.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(fileBytes(path), bytes);
}

void TestMissionFiles::unchangedMissionsKeepTheirBytes_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kindText");
    // Every date is today's, which the daily reading puts in every row.
    const QByteArray utf8Line = QStringLiteral("执行程序$/usr/bin/李$2026-12-10$8:00:00\r\n").toUtf8();
    QTest::newRow("daily: lone 0x80") << "daily" << QByteArray("a\x80$b$2026-12-10$8:00:00\r\n")
                                      << QLatin1Char('a') + CodePageText::escapedByte(0x80);
    QTest::newRow("daily: bytes that are no GB18030")
        << "daily" << QByteArray("\xFF$\x81 \x81\x30\x81$2026-12-10$") + QByteArray::fromHex("B9D8") + "\xFE\r\n"
        << QString(CodePageText::escapedByte(0xFF));
    QTest::newRow("daily: UTF-8") << "daily" << utf8Line + utf8Line << QStringLiteral("执行程序");
    QTest::newRow("daily: UTF-8 with its byte-order mark")
        << "daily" << QByteArray("\xEF\xBB\xBF") + utf8Line << QStringLiteral("执行程序");
    QTest::newRow("mission file: bytes that are no GB18030") << "mission"
                                                             << QByteArray("\xFF\x80"
                                                                           "a\xA1\x80"
                                                                           "\x80"
                                                                           "2026-12-10\x80"
                                                                           "8:00:00\x81\x30\r\n")
                                                             << QString(CodePageText::escapedByte(0xFF));
}

void TestMissionFiles::unchangedMissionsKeepTheirBytes()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kindText);
    const QString path = m_dir->filePath(QStringLiteral("everyday.mis"));
    writeBytes(path, bytes);
    QString error;
    if (format == QLatin1String("daily")) {
        const DailyMissionFile file(path);
        const std::optional<MissionLines::Reading> reading = file.read(QStringLiteral("2026-12-10"), &error);
        QVERIFY2(reading, qPrintable(error));
        QCOMPARE(reading->missions.first().kindText, kindText);
        QVERIFY2(file.rewrite(reading->missions, *reading, &error), qPrintable(error));
    } else {
        const std::optional<QVector<Mission>> missions = MissionFile::load(path, &error);
        QVERIFY2(missions, qPrintable(error));
        QCOMPARE(missions->first().kindText, kindText);
        QVERIFY2(MissionFile::save(path, *missions, &error), qPrintable(error));
    }
    QCOMPARE(fileBytes(path).toHex(' '), bytes.toHex(' '));
}

void TestMissionFiles::appendPutsTheLineWhereReadingFindsIt_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("head"); // what comes before the new line
    QTest::addColumn<QByteArray>("tail"); // what comes after it, kept as it was
    const QByteArray line = "a$b$c$d\r\n";
    QTest::newRow("after the last line") << line << line << QByteArray();
    QTest::newRow("before an empty line") << line + "\r\n" + line + "\xFF" << line << "\r\n" + line + "\xFF";
    QTest::newRow("before an empty first line") << "\r\n" + line << QByteArray() << "\r\n" + line;
    QTest::newRow("before the end mark") << line + "\x1A" << line << QByteArray("\x1A");
    QTest::newRow("before an end mark inside a line")
        << QByteArray("a$b$c$d\x1Axyz\r\n") << line << QByteArray("\x1Axyz\r\n");
    QTest::newRow("unfinished last line") << QByteArray("a$b$c$d") << line << QByteArray();
    const QByteArray utf8Line = QStringLiteral("提示消息$开会$c$d\r\n").toUtf8();
    QTest::newRow("UTF-8 file stays UTF-8") << "\xEF\xBB\xBF" + utf8Line << "\xEF\xBB\xBF" + utf8Line << QByteArray();
}

void TestMissionFiles::appendPutsTheLineWhereReadingFindsIt()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, tail);
    const DailyMissionFile file(m_dir->filePath(QStringLiteral("everyday.mis")));
    writeBytes(file.path(), before);
    QString error;
    QVERIFY2(file.append(threeRows[1], &error), qPrintable(error));
    const TextEncoding encoding = CodePageText::detect(before);
    const QByteArray added = MissionLines::dailyFile().write({threeRows[1]}, encoding);
    QCOMPARE(fileBytes(file.path()), head + added + tail);

    const std::optional<MissionLines::Reading> reading = file.read(QStringLiteral("2026-12-10"), &error);
    QVERIFY(reading);
    QCOMPARE(reading->missions.last().kindText, threeRows[1].kindText);
    QCOMPARE(reading->missions.last().description, threeRows[1].description);
    QCOMPARE(reading->missions.last().timeText, threeRows[1].timeText);
    QCOMPARE(reading->unread, tail);
}

void TestMissionFiles::readsOnlyRegularFilesOfSensibleSize_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("folder") << "folder" << QStringLiteral("是一个文件夹");
    QTest::newRow("named pipe") << "pipe" << QStringLiteral("是一个命名管道");
    QTest::newRow("device") << "device" << QStringLiteral("是一个设备");
    QTest::newRow("over 256 MB") << "huge" << QStringLiteral("大于256 MB");
}

void TestMissionFiles::readsOnlyRegularFilesOfSensibleSize()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    QString path = m_dir->filePath(QStringLiteral("everyday.mis"));
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("device")) {
        path = QStringLiteral("/dev/zero");
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(maxTextFileSize + 1)); // sparse: takes no room
    }

    // A reading that blocks on the pipe is freed by a writer that closes at
    // once, so the test ends either way.
    QString error;
    auto reading = std::async(std::launch::async, [&] { return DailyMissionFile(path).read(QString(), &error); });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
        reading.wait();
        QFAIL("reading waited for the pipe");
    }
    QVERIFY(!reading.get());
    QVERIFY2(error.contains(QStringLiteral("“%1”").arg(path)), qPrintable(error));
    QVERIFY2(error.contains(why), qPrintable(error));
}

void TestMissionFiles::fileWithoutRepeatingRowsKeepsThePlainBytes()
{
    const QString path = m_dir->filePath(QStringLiteral("plain.mis"));
    QVERIFY(MissionFile::save(path, threeRows, nullptr));
    QCOMPARE(fileBytes(path),
             QByteArray("\xB9\xD8\xB1\xD5\xBC\xC6\xCB\xE3\xBB\xFA\x80\xB9\xD8\xB1\xD5\xBC\xC6\xCB\xE3\xBB"
                        "\xFA\x80"
                        "2026-12-10\x80"
                        "23:00:00\r\n"
                        "\xD6\xB4\xD0\xD0\xB3\xCC\xD0\xF2\x80/usr/bin/gedit\x80"
                        "2026-12-11\x80"
                        "8:00:00\r\n"
                        "\xCC\xE1\xCA\xBE\xCF\xFB\xCF\xA2\x80\xBF\xAA\xBB\xE1\x80"
                        "2026-12-12\x80"
                        "12:30:05\r\n"));
}

// A repeating row is written as a plain row at its next occurrence, its rule
// after an empty line: a reader of the plain format sees a mission carried
// out once, and our own reading gets the rule back.
void TestMissionFiles::repeatingRowsRoundTripAndReadAsOneShotMissionsElsewhere()
{
    QVector<Mission> missions = threeRows;
    missions[1].repeatRule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE,FR");
    missions[1].repeatStart = QDateTime(QDate(2026, 12, 9), QTime(8, 0));
    missions[2].repeatRule = QStringLiteral("FREQ=DAILY;COUNT=3");
    missions[2].repeatStart = QDateTime(QDate(2026, 12, 12), QTime(12, 30, 5));
    const QString path = m_dir->filePath(QStringLiteral("repeat.mis"));
    QString error;
    QVERIFY2(MissionFile::save(path, missions, &error), qPrintable(error));

    const QByteArray bytes = fileBytes(path);
    const QByteArray plain = MissionLines::missionFile().write(threeRows);
    QVERIFY(bytes.startsWith(plain));
    QCOMPARE(bytes.mid(plain.size(), 2), QByteArray("\r\n"));
    QCOMPARE(readAsPlainMissionFile(bytes), texts(threeRows));

    const std::optional<QVector<Mission>> loaded = MissionFile::load(path, &error);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(loaded->size(), missions.size());
    for (int row = 0; row < missions.size(); ++row) {
        QCOMPARE(texts({loaded->at(row)}), texts({missions[row]}));
        QCOMPARE(loaded->at(row).repeatRule, missions[row].repeatRule);
        QCOMPARE(loaded->at(row).repeatStart, missions[row].repeatStart);
    }
    // Saved again, the file is the same.
    QVERIFY(MissionFile::save(path, *loaded, &error));
    QCOMPARE(fileBytes(path), bytes);
}

void TestMissionFiles::dailyFileTakesNoRule()
{
    Mission mission = threeRows[2];
    mission.repeatRule = QStringLiteral("FREQ=DAILY");
    mission.repeatStart = QDateTime(QDate(2026, 12, 12), QTime(12, 30, 5));
    const QString path = m_dir->filePath(QStringLiteral("everyday.mis"));
    QVERIFY(DailyMissionFile(path).append(mission, nullptr));
    QCOMPARE(fileBytes(path), MissionLines::dailyFile().write({threeRows[2]}));
}

QTEST_GUILESS_MAIN(TestMissionFiles)
#include "tst_missionfiles.moc"
