#include "core/files/TextFile.h"
#include "core/text/FileErrorText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

// The sentences that tell the user why a file failed: the common causes in
// Chinese, naming the file, with the system's own text in brackets.
class TestFileErrorText : public QObject
{
    Q_OBJECT

private slots:
    void causesAreSaidInChinese_data();
    void causesAreSaidInChinese();
    void missingFileIsNamed();
    void fullDiskIsNamed();
    void folderInPlaceOfTheFileIsNamed();
    void databaseErrorsAreSaidInChinese();
};

void TestFileErrorText::causesAreSaidInChinese_data()
{
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<int>("qtError");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("technical");
    QTest::addColumn<QString>("text");

    const int none = QFileDevice::NoError;
    const int open = int(FileStep::Open);
    const int write = int(FileStep::Write);
    const int create = int(FileStep::Create);
    QTest::newRow("no permission") << EACCES << int(QFileDevice::OpenError) << open << "Permission denied"
                                   << "无法打开文件“/home/李/任务.mis”：没有访问权限（Permission denied）。";
    QTest::newRow("not permitted") << EPERM << none << write << QString()
                                   << "无法写入文件“/home/李/任务.mis”：没有访问权限。";
    QTest::newRow("read-only file system")
        << EROFS << int(QFileDevice::OpenError) << create << "Read-only file system"
        << "无法创建文件“/home/李/任务.mis”：文件所在的磁盘是只读的（Read-only file system）。";
    QTest::newRow("disk full") << ENOSPC << int(QFileDevice::ResourceError) << write << "No space left on device"
                               << "无法写入文件“/home/李/任务.mis”：磁盘已满（No space left on device）。";
    QTest::newRow("quota") << EDQUOT << none << write << QString() << "无法写入文件“/home/李/任务.mis”：磁盘已满。";
    QTest::newRow("resource error without errno")
        << 0 << int(QFileDevice::ResourceError) << write << QString() << "无法写入文件“/home/李/任务.mis”：磁盘已满。";
    QTest::newRow("file not found")
        << ENOENT << int(QFileDevice::OpenError) << open << "No such file or directory"
        << "无法打开文件“/home/李/任务.mis”：文件或文件夹不存在（No such file or directory）。";
    QTest::newRow("busy")
        << EBUSY << none << open << "Device or resource busy"
        << "无法打开文件“/home/李/任务.mis”：文件被锁定或正被其他程序使用（Device or resource busy）。";
    QTest::newRow("locked") << EAGAIN << none << write << QString()
                            << "无法写入文件“/home/李/任务.mis”：文件被锁定或正被其他程序使用。";
    QTest::newRow("text file busy") << ETXTBSY << none << write << QString()
                                    << "无法写入文件“/home/李/任务.mis”：文件被锁定或正被其他程序使用。";
    QTest::newRow("other cause") << EISDIR << int(QFileDevice::OpenError) << open << "Is a directory"
                                 << "无法打开文件“/home/李/任务.mis”（Is a directory）。";
    QTest::newRow("other, nothing known")
        << 0 << none << int(FileStep::Read) << QString() << "无法读取文件“/home/李/任务.mis”。";
}

void TestFileErrorText::causesAreSaidInChinese()
{
    QFETCH(int, errorNumber);
    QFETCH(int, qtError);
    QFETCH(int, step);
    QFETCH(QString, technical);
    QFETCH(QString, text);
    const FileFailure cause = fileFailure(errorNumber, QFileDevice::FileError(qtError));
    QCOMPARE(fileErrorText(FileStep(step), QStringLiteral("/home/李/任务.mis"), cause, technical), text);
}

void TestFileErrorText::missingFileIsNamed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("没有的文件.mis"));
    QString error;
    QVERIFY(!readTextFile(path, &error));
    QVERIFY2(
        error.startsWith(QStringLiteral("无法打开文件“%1”：文件或文件夹不存在（").arg(QDir::toNativeSeparators(path))),
        qPrintable(error));
    QVERIFY(error.endsWith(QStringLiteral("）。")));

    QVERIFY(!writeTextFile(dir.filePath(QStringLiteral("没有的文件夹/a.mis")), "x", &error));
    QVERIFY2(error.contains(QStringLiteral("：文件或文件夹不存在（")), qPrintable(error));
}

void TestFileErrorText::fullDiskIsNamed()
{
    // /dev/full takes every write with "no space left on device".
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        QSKIP("no /dev/full here");
    errno = 0;
    QVERIFY(full.write(QByteArray(4096, 'x')) < 0 || !full.flush());
    const QString text = fileErrorText(FileStep::Write, full, errno);
    QVERIFY2(text.startsWith(QStringLiteral("无法写入文件“/dev/full”：磁盘已满（")), qPrintable(text));
}

void TestFileErrorText::folderInPlaceOfTheFileIsNamed()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(!readTextFile(dir.path(), &error));
    QVERIFY2(error.startsWith(QStringLiteral("无法")), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("“%1”").arg(QDir::toNativeSeparators(dir.path()))), qPrintable(error));
    QVERIFY(error.endsWith(QStringLiteral("。")));
}

void TestFileErrorText::databaseErrorsAreSaidInChinese()
{
    QCOMPARE(databaseErrorText(QStringLiteral("无法打开"), QStringLiteral("/opt/cd/db.mdb"),
                               QStringLiteral("file is not a database")),
             QStringLiteral("数据库“/opt/cd/db.mdb”无法打开（file is not a database）。"));
    QCOMPARE(databaseErrorText(QStringLiteral("无法读取"), QStringLiteral("/opt/cd/db.mdb"), QString()),
             QStringLiteral("数据库“/opt/cd/db.mdb”无法读取。"));
}

QTEST_GUILESS_MAIN(TestFileErrorText)
#include "tst_fileerrortext.moc"
