#include "core/control/CommandLine.h"
#include "core/control/DisplayPlatform.h"
#include "core/control/MissionRequest.h"
#include "support/RegionalFormatReset.h"

#include <QtTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void readsEachCommand_data();
    void readsEachCommand();
    void refusesBadInput_data();
    void refusesBadInput();
    void addedRowIsSpelledAsTheListSpellsIt_data();
    void addedRowIsSpelledAsTheListSpellsIt();
    void helpAndVersionSpeakBothLanguages();
    void xwaylandIsChosenOnlyWhenItRuns_data();
    void xwaylandIsChosenOnlyWhenItRuns();

private:
    const QDate m_today = QDate(2026, 3, 7);
    const QString m_folder = QStringLiteral("/home/user/plans");
};

void TestCommandLine::initTestCase()
{
    resetRegionalFormat();
}

void TestCommandLine::readsEachCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("command");
    QTest::addColumn<QStringList>("fields"); // kind, description, date, time, file
    QTest::addColumn<bool>("hidden");

    const QStringList none = {{}, {}, {}, {}, {}};
    QTest::newRow("nothing") << QStringList() << int(CommandLine::OpenWindow) << none << false;
    QTest::newRow("started hidden") << QStringList {"--hidden"} << int(CommandLine::OpenWindow) << none << true;
    QTest::newRow("list") << QStringList {"--list"} << int(CommandLine::List) << none << false;
    QTest::newRow("start") << QStringList {"--start"} << int(CommandLine::Start) << none << false;
    QTest::newRow("pause") << QStringList {"--pause"} << int(CommandLine::Pause) << none << false;
    QTest::newRow("stop") << QStringList {"--stop"} << int(CommandLine::Stop) << none << false;
    QTest::newRow("quit") << QStringList {"--quit"} << int(CommandLine::Quit) << none << false;
    QTest::newRow("load, relative name") << QStringList {"--load", "week.mis"} << int(CommandLine::Load)
                                         << QStringList {{}, {}, {}, {}, "/home/user/plans/week.mis"} << false;
    QTest::newRow("load, absolute name") << QStringList {"--load=/tmp/a b.mis"} << int(CommandLine::Load)
                                         << QStringList {{}, {}, {}, {}, "/tmp/a b.mis"} << false;
    QTest::newRow("add, full moment") << QStringList {"--add",   "提示消息", "--text",
                                                      "开会 了", "--at",     "2026-12-31 08:05:09"}
                                      << int(CommandLine::Add)
                                      << QStringList {"提示消息", "开会 了", "2026-12-31", "08:05:09", {}} << false;
    QTest::newRow("add, time alone is today")
        << QStringList {"--at", "23:59:59", "--text", "/usr/bin/true", "--add", "执行程序"} << int(CommandLine::Add)
        << QStringList {"执行程序", "/usr/bin/true", "2026-03-07", "23:59:59", {}} << false;
    QTest::newRow("add, power kind needs no text")
        << QStringList {"--add", "注销计算机", "--at", "00:00:00"} << int(CommandLine::Add)
        << QStringList {"注销计算机", {}, "2026-03-07", "00:00:00", {}} << false;
}

void TestCommandLine::readsEachCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, command);
    QFETCH(QStringList, fields);
    QFETCH(bool, hidden);
    arguments.prepend(QStringLiteral("chronodesk"));
    const CommandLine line = parseCommandLine(arguments, m_today, m_folder);
    QCOMPARE(line.error, QString());
    QCOMPARE(int(line.command), command);
    QCOMPARE(QStringList({line.kind, line.description, line.date, line.time, line.file}), fields);
    QCOMPARE(line.hidden, hidden);
}

void TestCommandLine::refusesBadInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named"); // what the message must name

    QTest::newRow("unknown kind") << QStringList {"--add", "关机", "--text", "x", "--at", "08:00:00"} << "关机";
    QTest::newRow("WHEN that does not parse")
        << QStringList {"--add", "提示消息", "--text", "x", "--at", "8点"} << "8点";
    QTest::newRow("hour 24") << QStringList {"--add", "提示消息", "--text", "x", "--at", "24:00:00"} << "24:00:00";
    QTest::newRow("no such day") << QStringList {"--add", "提示消息", "--text", "x", "--at", "2026-02-30 08:00:00"}
                                 << "2026-02-30 08:00:00";
    QTest::newRow("line break") << QStringList {"--add", "提示消息", "--text", "一\n二", "--at", "08:00:00"}
                                << "一\n二";
    QTest::newRow("carriage return") << QStringList {"--add", "打开网页", "--text", "a\rb", "--at", "08:00:00"}
                                     << "a\rb";
    QTest::newRow("no WHEN") << QStringList {"--add", "提示消息", "--text", "x"} << "--at";
    QTest::newRow("no text") << QStringList {"--add", "打开文件", "--at", "08:00:00"} << "打开文件";
    QTest::newRow("text without add") << QStringList {"--list", "--text", "x"} << "--text";
    QTest::newRow("two commands") << QStringList {"--start", "--stop"} << "--stop";
    QTest::newRow("unknown option") << QStringList {"--frobnicate"} << "frobnicate";
    QTest::newRow("missing value") << QStringList {"--load"} << "load";
    QTest::newRow("stray argument") << QStringList {"--list", "extra"} << "extra";
}

void TestCommandLine::refusesBadInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    arguments.prepend(QStringLiteral("chronodesk"));
    const CommandLine line = parseCommandLine(arguments, m_today, m_folder);
    QCOMPARE(int(line.command), int(CommandLine::Invalid));
    QVERIFY2(line.error.contains(named), qPrintable(line.error));
}

void TestCommandLine::addedRowIsSpelledAsTheListSpellsIt_data()
{
    QTest::addColumn<QStringList>("request"); // kind, description, date, time
    QTest::addColumn<QStringList>("row"); // the four texts of the row
    QTest::addColumn<int>("imageIndex");

    QTest::newRow("message") << QStringList {"提示消息", "喝水", "2026-03-07", "08:05:09"}
                             << QStringList {"提示消息", "喝水", "2026-3-7", "8:05:09"} << 3;
    QTest::newRow("list's own date format") << QStringList {"打开网页", "example.org", "2026-3-7", "8:05:09"}
                                            << QStringList {"打开网页", "example.org", "2026-3-7", "8:05:09"} << 5;
    QTest::newRow("power kind takes its kind text")
        << QStringList {"重启计算机", "whatever", "2026-12-31", "23:00:00"}
        << QStringList {"重启计算机", "重启计算机", "2026-12-31", "23:00:00"} << 0;
    QTest::newRow("ring") << QStringList {"系统响铃", "内置铃声", "2026-03-07", "00:00:00"}
                          << QStringList {"系统响铃", "内置铃声", "2026-3-7", "0:00:00"} << 4;
}

void TestCommandLine::addedRowIsSpelledAsTheListSpellsIt()
{
    QFETCH(QStringList, request);
    QFETCH(QStringList, row);
    QFETCH(int, imageIndex);
    QString error;
    const std::optional<Mission> mission = requestedMission(request[0], request[1], request[2], request[3], &error);
    QVERIFY2(mission, qPrintable(error));
    QCOMPARE(QStringList({mission->kindText, mission->description, mission->dateText, mission->timeText}), row);
    QCOMPARE(mission->imageIndex, imageIndex);
}

void TestCommandLine::helpAndVersionSpeakBothLanguages()
{
    const CommandLine help = parseCommandLine({QStringLiteral("chronodesk"), QStringLiteral("--help")}, m_today, {});
    QCOMPARE(int(help.command), int(CommandLine::Help));
    for (const char *text : {"--add <KIND>", "--text <DESCRIPTION>", "--at <WHEN>", "--load <FILE>", "--quit",
                             "添加一项任务", "Add a mission", "退出状态", "Exit status"})
        QVERIFY2(help.output.contains(QString::fromUtf8(text)), text);
    QVERIFY(!help.output.contains(QStringLiteral("--hidden")));

    const CommandLine version = parseCommandLine({QStringLiteral("chronodesk"), QStringLiteral("-v")}, m_today, {});
    QCOMPARE(int(version.command), int(CommandLine::Version));
    QVERIFY(QRegularExpression(QStringLiteral("^chronodesk \\d+\\.\\d+\\n$")).match(version.output).hasMatch());
}

void TestCommandLine::xwaylandIsChosenOnlyWhenItRuns_data()
{
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("userChoice");
    QTest::addColumn<QByteArray>("platform");

    QTest::newRow("Wayland with Xwayland")
        << QByteArray("wayland-0") << QByteArray(":0") << QByteArray() << QByteArray("xcb");
    QTest::newRow("Wayland alone") << QByteArray("wayland-0") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("X11 session") << QByteArray() << QByteArray(":0") << QByteArray() << QByteArray();
    QTest::newRow("the user's choice stands")
        << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland") << QByteArray();
}

void TestCommandLine::xwaylandIsChosenOnlyWhenItRuns()
{
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, userChoice);
    QFETCH(QByteArray, platform);
    QCOMPARE(chosenDisplayPlatform(waylandDisplay, display, userChoice), platform);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
