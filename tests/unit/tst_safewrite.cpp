#include "core/files/DailyMissionFile.h"
#include "core/files/MissionFile.h"
#include "core/settings/IniFile.h"
#include "platform/linux/XdgAutostart.h"
#include "support/FileFixtures.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QtTest>

#include <functional>

// Every file the program writes: a write that fails for want of room keeps
// the old file and says so, naming the file.
class TestSafeWrite : public QObject
{
    Q_OBJECT

private slots:
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
};

using Writer = std::function<bool(const QString &path, QString *error)>;
Q_DECLARE_METATYPE(Writer)

void TestSafeWrite::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<Writer>("write");
    const Mission mission {QStringLiteral("提示消息"), QString(200, QLatin1Char('x')), QStringLiteral("2026-12-10"),
                           QStringLiteral("8:00:00"), 6};

    QTest::newRow("config.ini") << "config.ini" << QByteArray("[theme]\r\nselect=2\r\n[other]\r\ncrt=100\r\n")
                                << Writer([](const QString &path, QString *error) {
                                       return IniFile(path).writeInteger(QStringLiteral("other"),
                                                                         QStringLiteral("zhuji"), 222, error);
                                   });
    QTest::newRow("autostart entry") << "ChronoDesk.desktop"
                                     << QByteArray("[Desktop Entry]\nType=Application\nExec=/old/chronodesk\n")
                                     << Writer([](const QString &path, QString *error) {
                                            return XdgAutostart(path).enable(QStringLiteral("/usr/bin/chronodesk"),
                                                                             error);
                                        });
    QTest::newRow("daily mission file") << "everyday.mis" << QByteArray("a$b$c$d\r\n")
                                        << Writer([mission](const QString &path, QString *error) {
                                               return DailyMissionFile(path).append(mission, error);
                                           });
    QTest::newRow("mission file") << "week.mis"
                                  << QByteArray("a\x80"
                                                "b\x80"
                                                "c\x80"
                                                "d\r\n")
                                  << Writer([mission](const QString &path, QString *error) {
                                         return MissionFile::save(path, QVector<Mission>(20, mission), error);
                                     });
}

void TestSafeWrite::fullDiskKeepsTheOldFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, old);
    QFETCH(Writer, write);
    FullDisk disk;
    if (!disk.available())
        QSKIP(qPrintable(disk.whyNot()));
    const QString path = disk.filePath(name);
    writeBytes(path, old);
    QVERIFY(disk.fill());

    QString error;
    QVERIFY2(!write(path, &error), "a write that did not fit is no success");
    QVERIFY2(error.contains(QStringLiteral("“%1”").arg(QDir::toNativeSeparators(path))), qPrintable(error));
    QCOMPARE(fileBytes(path), old);
}

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "tst_safewrite.moc"
