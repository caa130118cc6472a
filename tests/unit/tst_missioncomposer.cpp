#include "core/missions/MissionComposer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestMissionComposer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void fileNameValueFollowsTheCommandLineRule_data();
    void fileNameValueFollowsTheCommandLineRule();
    void pickedPathIsQuotedWhenItHoldsABlank_data();
    void pickedPathIsQuotedWhenItHoldsABlank();
    void messageKeepsToOneLine_data();
    void messageKeepsToOneLine();
    void browseFiltersOfferTheirTypes_data();
    void browseFiltersOfferTheirTypes();

private:
    QTemporaryDir m_dir;
    QString m_existing;
};

void TestMissionComposer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_existing = m_dir.filePath(QStringLiteral("my notes.txt"));
    QFile file(m_existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TestMissionComposer::fileNameValueFollowsTheCommandLineRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    const QString missing = m_dir.filePath(QStringLiteral("no such file.txt"));
    QTest::newRow("existing file with a blank") << m_existing << m_existing;
    QTest::newRow("missing file with a blank") << missing << m_dir.filePath(QStringLiteral("no"));
    QTest::newRow("quoted path") << QLatin1Char('"') + m_existing + QLatin1Char('"') << m_existing;
    QTest::newRow("quoted path and arguments") << QStringLiteral("\"/opt/my tool/run\" --now") << "/opt/my tool/run";
    QTest::newRow("built-in ring") << QStringLiteral("内置铃声") << QStringLiteral("内置铃声");
    QTest::newRow("leading blanks and a tab") << QStringLiteral("  \t/bin/true\targ") << QStringLiteral("/bin/true");
    QTest::newRow("blank text") << QStringLiteral("   ") << QString();
    QTest::newRow("empty text") << QString() << QString();
    // A folder is no file: its name is read as a command line too.
    QTest::newRow("folder with a blank") << m_dir.path() + QStringLiteral("/ x") << m_dir.path() + QStringLiteral("/");
}

void TestMissionComposer::fileNameValueFollowsTheCommandLineRule()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QCOMPARE(fileNameValue(text), value);
}

void TestMissionComposer::pickedPathIsQuotedWhenItHoldsABlank_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("no blank") << "/usr/bin/xterm"
                              << "/usr/bin/xterm";
    QTest::newRow("blank") << "/home/li/My Music/bell.wav"
                           << "\"/home/li/My Music/bell.wav\"";
}

void TestMissionComposer::pickedPathIsQuotedWhenItHoldsABlank()
{
    QFETCH(QString, path);
    QFETCH(QString, text);
    QCOMPARE(pickedPathText(path), text);
    // The field gives the picked path back whether or not the file exists.
    QCOMPARE(fileNameValue(pickedPathText(path)), path);
}

void TestMissionComposer::messageKeepsToOneLine_data()
{
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("description");
    QTest::newRow("one line") << "该起床了!"
                              << "该起床了!";
    QTest::newRow("line feed") << "开会\n带上报告"
                               << "开会 带上报告";
    QTest::newRow("carriage return and line feed") << "开会\r\n带上报告"
                                                   << "开会 带上报告";
    QTest::newRow("carriage return") << "开会\r带上报告"
                                     << "开会 带上报告";
    QTest::newRow("empty lines keep their count") << "a\n\nb\n"
                                                  << "a  b ";
    QTest::newRow("paragraph separator") << QStringLiteral("a") + QChar(QChar::ParagraphSeparator) + "b"
                                         << "a b";
    QTest::newRow("tab") << "开会\t带上报告"
                         << "开会 带上报告";
}

void TestMissionComposer::messageKeepsToOneLine()
{
    QFETCH(QString, memo);
    QFETCH(QString, description);
    QCOMPARE(messageDescription(memo), description);
    // The web and mail pages' single-line fields take a pasted tab the same way.
    for (const int page : {MessagePage, WebPage, MailPage})
        QCOMPARE(composeMission(page, memo, QDate(2026, 1, 1), QTime(8, 0)).description, description);
}

void TestMissionComposer::browseFiltersOfferTheirTypes_data()
{
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("program") << programFilters()
                             << QStringList {"可执行程序 (*)", "脚本 (*.sh *.bash *.py *.pl *.rb *.php *.tcl *.lua)",
                                             "所有文件 (*)"};
    QTest::newRow("file") << fileFilters() << QStringList {"All files (*)"};
    QTest::newRow("ring") << ringFilters() << QStringList {"wavefile (*.wav)"};
}

void TestMissionComposer::browseFiltersOfferTheirTypes()
{
    QFETCH(QStringList, filters);
    QFETCH(QStringList, expected);
    QCOMPARE(filters, expected);
}

QTEST_GUILESS_MAIN(TestMissionComposer)
#include "tst_missioncomposer.moc"
