#include "core/files/ProgramFolder.h"
#include "support/FileFixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Where the user's files live when the program's own folder cannot be
// written, and what the user is told about it.
class TestProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void choosesAndCopiesOnce_data();
    void choosesAndCopiesOnce();
};

void TestProgramFolder::choosesAndCopiesOnce_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QStringList>("inProgramFolder");
    QTest::addColumn<QStringList>("inUserFolder"); // empty: the folder does not exist yet
    QTest::addColumn<bool>("usesUserFolder");
    QTest::addColumn<QStringList>("copied");
    QTest::addColumn<bool>("notice");
    const QStringList all = ProgramFolder::userFiles;
    QTest::newRow("writable program folder") << true << all << QStringList() << false << QStringList() << false;
    QTest::newRow("read-only: first start copies every file") << false << all << QStringList() << true << all << true;
    QTest::newRow("read-only: files already there are not overwritten")
        << false << all << QStringList {"config.ini"} << true << QStringList {"everyday.mis", "db.mdb"} << true;
    QTest::newRow("read-only: later starts say nothing") << false << all << all << true << QStringList() << false;
    QTest::newRow("read-only and empty: first start says so")
        << false << QStringList() << QStringList() << true << QStringList() << true;
}

void TestProgramFolder::choosesAndCopiesOnce()
{
    QFETCH(bool, writable);
    QFETCH(QStringList, inProgramFolder);
    QFETCH(QStringList, inUserFolder);
    QFETCH(bool, usesUserFolder);
    QFETCH(QStringList, copied);
    QFETCH(bool, notice);
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    const QString user = dir.filePath(QStringLiteral("user/ChronoDesk"));
    QVERIFY(QDir().mkpath(program));
    for (const QString &name : inProgramFolder)
        writeBytes(program + QLatin1Char('/') + name, "program's " + name.toUtf8());
    if (!inUserFolder.isEmpty())
        QVERIFY(QDir().mkpath(user));
    for (const QString &name : inUserFolder)
        writeBytes(user + QLatin1Char('/') + name, "user's " + name.toUtf8());

    const ProgramFolder chosen = ProgramFolder::choose(program, writable, user);
    QCOMPARE(chosen.path, (usesUserFolder ? user : program) + QLatin1Char('/'));
    for (const QString &name : ProgramFolder::userFiles) {
        const QByteArray expected = copied.contains(name)         ? "program's " + name.toUtf8()
                                    : inUserFolder.contains(name) ? "user's " + name.toUtf8()
                                                                  : QByteArray("<missing>");
        if (usesUserFolder)
            QCOMPARE(fileBytes(user + QLatin1Char('/') + name), expected);
    }
    QCOMPARE(!chosen.notice.isEmpty(), notice);
    if (notice) {
        QVERIFY2(chosen.notice.contains(QDir::toNativeSeparators(program)), qPrintable(chosen.notice));
        QVERIFY2(chosen.notice.contains(QDir::toNativeSeparators(user)), qPrintable(chosen.notice));
        QVERIFY2(chosen.notice.contains(QStringLiteral("不能写入")), qPrintable(chosen.notice));
        for (const QString &name : copied)
            QVERIFY2(chosen.notice.contains(name), qPrintable(chosen.notice));
    }
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
