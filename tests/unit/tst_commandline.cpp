#include "core/control/CommandLine.h"
#include "core/control/DisplayPlatform.h"
#include "core/control/MissionRequest.h"
#include "core/text/RegionalFormat.h"
#include "support/RegionalFormatReset.h"

#include <QtTest>

#include <ctime>

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
    void requestIsRefused_data();
    void requestIsRefused();
    void momentIsIsoWithItsOffset_data();
    void momentIsIsoWithItsOffset();
    void helpAndVersionSpeakBothLanguages();
    void xwaylandIsChosenOnlyWhenItRuns_data();
    void xwaylandIsChosenOnlyWhenItRuns();

private:
    // A Saturday three weeks before Central Europe's clocks skip 02:00-03:00.
    const QDateTime m_now = QDateTime(QDate(2026, 3, 7), QTime(0, 0));
    const QString m_folder = QStringLiteral("/home/user/plans");
};

void TestCommandLine::initTestCase()
{
    // A zone with daylight saving, whatever the machine's.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    resetRegionalFormat();
}

void TestCommandLine::readsEachCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("command");
    QTest::addColumn<QStringList>("fields"); // kind, description, date, time, file, id, repeat
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("json");

    const QStringList none = {{}, {}, {}, {}, {}, {}, {}};
    QTest::newRow("nothing") << QStringList() << int(CommandLine::OpenWindow) << none << false << false;
    QTest::newRow("started hidden") << QStringList {"--hidden"} << int(CommandLine::OpenWindow) << none << true
                                    << false;
    QTest::newRow("list") << QStringList {"--list"} << int(CommandLine::List) << none << false << false;
    QTest::newRow("list as JSON") << QStringList {"--list", "--json"} << int(CommandLine::List) << none << false
                                  << true;
    QTest::newRow("status") << QStringList {"--status"} << int(CommandLine::Status) << none << false << false;
    QTest::newRow("status as JSON") << QStringList {"--json", "--status"} << int(CommandLine::Status) << none << false
                                    << true;
    QTest::newRow("delete") << QStringList {"--delete", "42"} << int(CommandLine::Delete)
                            << QStringList {{}, {}, {}, {}, {}, "42", {}} << false << false;
    QTest::newRow("start") << QStringList {"--start"} << int(CommandLine::Start) << none << false << false;
    QTest::newRow("pause") << QStringList {"--pause"} << int(CommandLine::Pause) << none << false << false;
    QTest::newRow("stop") << QStringList {"--stop"} << int(CommandLine::Stop) << none << false << false;
    QTest::newRow("quit") << QStringList {"--quit"} << int(CommandLine::Quit) << none << false << false;
    QTest::newRow("load, relative name") << QStringList {"--load", "week.mis"} << int(CommandLine::Load)
                                         << QStringList {{}, {}, {}, {}, "/home/user/plans/week.mis", {}, {}} << false
                                         << false;
    QTest::newRow("load, absolute name") << QStringList {"--load=/tmp/a b.mis"} << int(CommandLine::Load)
                                         << QStringList {{}, {}, {}, {}, "/tmp/a b.mis", {}, {}} << false << false;

    // Each form of WHEN, from now (2026-03-07 00:00:00).
    const QList<std::pair<const char *, QStringList>> moments = {
        {"2026-12-31 08:05:09", {"2026-12-31", "08:05:09"}},
        {"2026-12-31 08:05", {"2026-12-31", "08:05:00"}},
        {"23:59:59", {"2026-03-07", "23:59:59"}},
        {"23:59", {"2026-03-07", "23:59:00"}},
        {"00:00:00", {"2026-03-07", "00:00:00"}},
        {"tomorrow 8:30", {"2026-03-08", "08:30:00"}},
        {"tomorrow 08:30:15", {"2026-03-08", "08:30:15"}},
        {"+90s", {"2026-03-07", "00:01:30"}},
        {"+45m", {"2026-03-07", "00:45:00"}},
        {"+2h", {"2026-03-07", "02:00:00"}},
        {"+1d", {"2026-03-08", "00:00:00"}},
        {"+1h30m", {"2026-03-07", "01:30:00"}},
        {"+1d2h3m4s", {"2026-03-08", "02:03:04"}},
        {"2026-3-9 8:05:09", {"2026-03-09", "08:05:09"}}, // as --list prints it
    };
    for (const auto &[when, moment] : moments) {
        QTest::addRow("add at %s", when) << QStringList {"--add", "提示消息", "--text", "开会 了", "--at", when}
                                         << int(CommandLine::Add)
                                         << QStringList {"提示消息", "开会 了", moment[0], moment[1], {}, {}, {}}
                                         << false << false;
    }
    QTest::newRow("add, options in any order")
        << QStringList {"--at", "23:59:59", "--text", "/usr/bin/true", "--add", "执行程序"} << int(CommandLine::Add)
        << QStringList {"执行程序", "/usr/bin/true", "2026-03-07", "23:59:59", {}, {}, {}} << false << false;
    QTest::newRow("add, kind by its ASCII name")
        << QStringList {"--add", "web", "--text", "example.org", "--at", "23:00"} << int(CommandLine::Add)
        << QStringList {"web", "example.org", "2026-03-07", "23:00:00", {}, {}, {}} << false << false;
    QTest::newRow("add, power kind needs no text")
        << QStringList {"--add", "注销计算机", "--at", "00:00:00"} << int(CommandLine::Add)
        << QStringList {"注销计算机", {}, "2026-03-07", "00:00:00", {}, {}, {}} << false << false;
    QTest::newRow("add, ring needs no text")
        << QStringList {"--add", "系统响铃", "--at", "+1m"} << int(CommandLine::Add)
        << QStringList {"系统响铃", {}, "2026-03-07", "00:01:00", {}, {}, {}} << false << false;

    // --repeat: each short name and an RRULE give the rule as iCalendar writes it; the date and time stay as
    // given (the running program places the first occurrence).
    const QList<std::pair<const char *, const char *>> rules = {
        {"daily", "FREQ=DAILY"},
        {"weekdays", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"},
        {"WEEKLY", "FREQ=WEEKLY"},
        {"monthly", "FREQ=MONTHLY"},
        {"FREQ=WEEKLY;BYDAY=MO,WE,FR", "FREQ=WEEKLY;BYDAY=MO,WE,FR"},
        {"RRULE:FREQ=DAILY;COUNT=3", "FREQ=DAILY;COUNT=3"},
    };
    for (const auto &[rule, written] : rules) {
        QTest::addRow("add, repeat %s", rule)
            << QStringList {"--add", "message", "--text", "站会", "--at", "09:15", "--repeat", rule}
            << int(CommandLine::Add) << QStringList {"message", "站会", "2026-03-07", "09:15:00", {}, {}, written}
            << false << false;
    }
}

void TestCommandLine::readsEachCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, command);
    QFETCH(QStringList, fields);
    QFETCH(bool, hidden);
    QFETCH(bool, json);
    arguments.prepend(QStringLiteral("chronodesk"));
    const CommandLine line = parseCommandLine(arguments, m_now, m_folder);
    QCOMPARE(line.error, QString());
    QCOMPARE(int(line.command), command);
    QCOMPARE(QStringList({line.kind, line.description, line.date, line.time, line.file, line.id, line.repeat}), fields);
    QCOMPARE(line.hidden, hidden);
    QCOMPARE(line.json, json);
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
    QTest::newRow("line break") << QStringList {"--add", "提示消息", "--text", "一\n二", "--at", "08:00:00"} << "换行";
    QTest::newRow("carriage return") << QStringList {"--add", "打开网页", "--text", "a\rb", "--at", "08:00:00"}
                                     << "换行";
    QTest::newRow("no WHEN") << QStringList {"--add", "提示消息", "--text", "x"} << "--at";
    QTest::newRow("WHEN without add") << QStringList {"--list", "--at", "08:00:00"} << "--at";
    QTest::newRow("WHEN without add, no command") << QStringList {"--at", "+5m"} << "--at";
    QTest::newRow("a moment past") << QStringList {"--add", "提示消息", "--text", "x", "--at", "2026-03-06 23:59:59"}
                                   << "已经过去";
    QTest::newRow("relative, unknown unit") << QStringList {"--add", "提示消息", "--text", "x", "--at", "+5x"} << "+5x";
    QTest::newRow("relative, units out of order")
        << QStringList {"--add", "提示消息", "--text", "x", "--at", "+30m1h"} << "+30m1h";
    QTest::newRow("relative, no number") << QStringList {"--add", "提示消息", "--text", "x", "--at", "+"} << "+";
    QTest::newRow("relative, backwards") << QStringList {"--add", "提示消息", "--text", "x", "--at", "-5m"} << "-5m";
    QTest::newRow("tomorrow without a time")
        << QStringList {"--add", "提示消息", "--text", "x", "--at", "tomorrow"} << "tomorrow";
    QTest::newRow("inside the daylight-saving gap")
        << QStringList {"--add", "提示消息", "--text", "x", "--at", "2026-03-29 02:30:00"} << "不存在";
    QTest::newRow("tab") << QStringList {"--add", "提示消息", "--text", "a\tb", "--at", "08:00:00"} << "制表符";
    QTest::newRow("control character") << QStringList {"--add", "执行程序", "--text", "a\x01", "--at", "08:00"}
                                       << "U+0001";
    QTest::newRow("id that is no number") << QStringList {"--delete", "abc"} << "abc";
    QTest::newRow("id zero") << QStringList {"--delete", "0"} << "0";
    QTest::newRow("JSON without list or status") << QStringList {"--start", "--json"} << "--json";
    QTest::newRow("no text") << QStringList {"--add", "打开文件", "--at", "08:00:00"} << "打开文件";
    QTest::newRow("text without add") << QStringList {"--list", "--text", "x"} << "--text";
    QTest::newRow("repeat without add") << QStringList {"--list", "--repeat", "daily"} << "--repeat";
    QTest::newRow("repeat without add, no command") << QStringList {"--repeat", "weekdays"} << "--repeat";
    QTest::newRow("repeat rule libical cannot read")
        << QStringList {"--add", "message", "--text", "x", "--at", "+1h", "--repeat", "FREQ=WEEKLY;BYDAY=XX"}
        << "BYDAY=XX";
    QTest::newRow("repeat rule without a frequency")
        << QStringList {"--add", "message", "--text", "x", "--at", "+1h", "--repeat", "sometimes"} << "sometimes";
    QTest::newRow("empty repeat rule") << QStringList {"--add", "message", "--text", "x", "--at", "+1h", "--repeat", ""}
                                       << "规则是空的";
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
    const CommandLine line = parseCommandLine(arguments, m_now, m_folder);
    QCOMPARE(int(line.command), int(CommandLine::Invalid));
    QVERIFY2(line.error.contains(named), qPrintable(line.error));
}

void TestCommandLine::addedRowIsSpelledAsTheListSpellsIt_data()
{
    QTest::addColumn<QStringList>("request"); // kind, description, date, time, and a repeat rule if any
    QTest::addColumn<QStringList>("row"); // the four texts of the row
    QTest::addColumn<int>("imageIndex");
    QTest::addColumn<QString>("rule"); // as the row keeps it

    QTest::newRow("message") << QStringList {"提示消息", "喝水", "2026-03-07", "08:05:09"}
                             << QStringList {"提示消息", "喝水", "2026-3-7", "8:05:09"} << 3 << QString();
    QTest::newRow("list's own date format")
        << QStringList {"打开网页", "example.org", "2026-3-7", "8:05:09"}
        << QStringList {"打开网页", "example.org", "2026-3-7", "8:05:09"} << 5 << QString();
    QTest::newRow("power kind takes its kind text")
        << QStringList {"重启计算机", "whatever", "2026-12-31", "23:00:00"}
        << QStringList {"重启计算机", "重启计算机", "2026-12-31", "23:00:00"} << 0 << QString();
    QTest::newRow("ring") << QStringList {"系统响铃", "内置铃声", "2026-03-07", "00:00:00"}
                          << QStringList {"系统响铃", "内置铃声", "2026-3-7", "0:00:00"} << 4 << QString();
    QTest::newRow("ring without text plays the built-in sound")
        << QStringList {"ring", "", "2026-03-07", "0:00"} << QStringList {"系统响铃", "内置铃声", "2026-3-7", "0:00:00"}
        << 4 << QString();
    QTest::newRow("ASCII name stored as the kind text")
        << QStringList {"mail", "a@example.org", "2026-03-07", "09:00"}
        << QStringList {"发送邮件", "a@example.org", "2026-3-7", "9:00:00"} << 6 << QString();
    QTest::newRow("an hour after the daylight-saving gap")
        << QStringList {"message", "x", "2026-03-29", "03:00:00"}
        << QStringList {"提示消息", "x", "2026-3-29", "3:00:00"} << 3 << QString();

    // A repeating row shows the first moment from the given one that its rule allows (now is a Saturday).
    QTest::newRow("weekdays from a Saturday start on Monday")
        << QStringList {"message", "站会", "2026-03-07", "09:15:00", "weekdays"}
        << QStringList {"提示消息", "站会", "2026-3-9", "9:15:00"} << 3 << "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR";
    QTest::newRow("RRULE on the day it allows")
        << QStringList {"run", "backup.sh", "2026-03-09", "20:00", "FREQ=WEEKLY;BYDAY=MO,WE,FR"}
        << QStringList {"执行程序", "backup.sh", "2026-3-9", "20:00:00"} << 1 << "FREQ=WEEKLY;BYDAY=MO,WE,FR";
    QTest::newRow("daily keeps the given moment")
        << QStringList {"ring", "", "2026-03-07", "07:00", "daily"}
        << QStringList {"系统响铃", "内置铃声", "2026-3-7", "7:00:00"} << 4 << "FREQ=DAILY";
}

void TestCommandLine::requestIsRefused_data()
{
    QTest::addColumn<QStringList>("request"); // kind, description, date, time, rule, as the bus gives them
    QTest::addColumn<QString>("named");

    QTest::newRow("unknown kind") << QStringList {"shutdown now", "", "2026-12-31", "08:00:00"} << "shutdown now";
    QTest::newRow("in the daylight-saving gap")
        << QStringList {"提示消息", "x", "2026-03-29", "02:00:00"} << "2026-03-29 02:00:00 不存在";
    QTest::newRow("last second of the gap") << QStringList {"shutdown", "", "2026-03-29", "02:59:59"} << "不存在";
    QTest::newRow("a second ago") << QStringList {"提示消息", "x", "2026-03-06", "23:59:59"} << "已经过去";
    QTest::newRow("tab") << QStringList {"提示消息", "a\tb", "2026-12-31", "08:00:00"} << "制表符";
    QTest::newRow("paragraph separator") << QStringList {"提示消息", "a\u2029b", "2026-12-31", "08:00:00"} << "换行";
    QTest::newRow("message without text") << QStringList {"message", " ", "2026-12-31", "08:00:00"} << "提示消息";
    QTest::newRow("repeat rule libical cannot read")
        << QStringList {"message", "x", "2026-12-31", "08:00:00", "FREQ=DAILY;INTERVAL=zwei"} << "INTERVAL=zwei";
    QTest::newRow("empty repeat rule") << QStringList {"message", "x", "2026-12-31", "08:00:00", ""} << "规则是空的";
    QTest::newRow("repeat rule ended before the moment")
        << QStringList {"message", "x", "2026-12-31", "08:00:00", "FREQ=DAILY;UNTIL=20261201T000000"} << "不再有";
    QTest::newRow("repeating, a moment past")
        << QStringList {"message", "x", "2026-03-06", "08:00:00", "daily"} << "已经过去";
}

void TestCommandLine::requestIsRefused()
{
    QFETCH(QStringList, request);
    QFETCH(QString, named);
    QString error;
    QVERIFY(request.size() > 4
                ? !requestedRepeatingMission(request[0], request[1], request[2], request[3], request[4], m_now, &error)
                : !requestedMission(request[0], request[1], request[2], request[3], m_now, &error));
    QVERIFY2(error.contains(named), qPrintable(error));
}

void TestCommandLine::momentIsIsoWithItsOffset_data()
{
    // Under TZ=Europe/Berlin (set for the whole test).
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("iso");
    QTest::newRow("winter") << QDateTime(QDate(2026, 12, 31), QTime(9, 30)) << "2026-12-31T09:30:00+01:00";
    QTest::newRow("summer") << QDateTime(QDate(2026, 7, 1), QTime(23, 59, 59)) << "2026-07-01T23:59:59+02:00";
    QTest::newRow("given in UTC, told on the wall clock")
        << QDateTime(QDate(2026, 7, 1), QTime(8, 0), Qt::UTC) << "2026-07-01T08:00:00+02:00";
}

void TestCommandLine::momentIsIsoWithItsOffset()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, iso);
    QCOMPARE(isoMoment(moment), iso);
}

void TestCommandLine::addedRowIsSpelledAsTheListSpellsIt()
{
    QFETCH(QStringList, request);
    QFETCH(QStringList, row);
    QFETCH(int, imageIndex);
    QFETCH(QString, rule);
    QString error;
    const std::optional<Mission> mission =
        request.size() > 4
            ? requestedRepeatingMission(request[0], request[1], request[2], request[3], request[4], m_now, &error)
            : requestedMission(request[0], request[1], request[2], request[3], m_now, &error);
    QVERIFY2(mission, qPrintable(error));
    QCOMPARE(QStringList({mission->kindText, mission->description, mission->dateText, mission->timeText}), row);
    QCOMPARE(mission->imageIndex, imageIndex);
    QCOMPARE(mission->repeatRule, rule);
    // The series starts at the row's first occurrence.
    QCOMPARE(mission->repeatStart, rule.isEmpty() ? QDateTime() : QDateTime(*StrToDate(row[2]), *StrToTime(row[3])));
}

void TestCommandLine::helpAndVersionSpeakBothLanguages()
{
    const CommandLine help = parseCommandLine({QStringLiteral("chronodesk"), QStringLiteral("--help")}, m_now, {});
    QCOMPARE(int(help.command), int(CommandLine::Help));
    for (const char *text :
         {"--add <KIND>", "--text <DESCRIPTION>", "--at <WHEN>", "--delete <ID>", "--json", "--status", "--load <FILE>",
          "--repeat <RULE>", "weekdays", "FREQ=WEEKLY;BYDAY=MO,WE,FR", "--quit", "+1h30m", "tomorrow", "shutdown",
          "添加一项任务", "Add a mission", "退出状态", "Exit status", "2 bad input"})
        QVERIFY2(help.output.contains(QString::fromUtf8(text)), text);
    QVERIFY(!help.output.contains(QStringLiteral("--hidden")));

    const CommandLine version = parseCommandLine({QStringLiteral("chronodesk"), QStringLiteral("-v")}, m_now, {});
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
