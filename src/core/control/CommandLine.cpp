#include "core/control/CommandLine.h"

#include "core/control/MissionRequest.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>

namespace {

CommandLine invalid(const QString &error)
{
    CommandLine line;
    line.command = CommandLine::Invalid;
    line.error = error;
    return line;
}

// Every option of the program, each with its Chinese and English help.
struct Options
{
    QCommandLineOption help, version, add, text, at, repeat, deleteId, list, json, status, start, pause, stop, load,
        quit, hidden;
};

Options programOptions()
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("显示本帮助。\nShow this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("显示版本。\nShow the version."));
    const QCommandLineOption add(
        QStringLiteral("add"),
        QStringLiteral("添加一项任务,在标准输出上打印它的编号。KIND 为任务类型:\n"
                       "关闭计算机(shutdown)、重启计算机(restart)、注销计算机(logoff)、\n"
                       "执行程序(run)、打开文件(open)、提示消息(message)、系统响铃(ring)、\n"
                       "打开网页(web)、发送邮件(mail),中文或英文名均可。列表原为空时随即开始执行。\n"
                       "Add a mission of kind KIND (the Chinese text or the name in brackets) and print its "
                       "id; the list starts when this is its first row."),
        QStringLiteral("KIND"));
    const QCommandLineOption text(
        QStringLiteral("text"),
        QStringLiteral("任务内容(程序、文件、消息、网址或邮件地址),一行;三种关机类任务不需要,\n"
                       "系统响铃不给时用内置铃声。\n"
                       "The mission's description, on one line; the three power kinds need none, a ring "
                       "without one uses the built-in sound."),
        QStringLiteral("DESCRIPTION"));
    const QCommandLineOption at(
        QStringLiteral("at"),
        QStringLiteral("执行时刻,须在将来:\"yyyy-MM-dd HH:mm[:ss]\";\"HH:mm[:ss]\" 表示今天;\n"
                       "\"tomorrow HH:mm[:ss]\" 表示明天;+90s、+45m、+2h、+1d、+1h30m\n"
                       "表示从现在起;也可以用 --list 列出的日期和时间。\n"
                       "When, in the future: \"yyyy-MM-dd HH:mm[:ss]\", \"HH:mm[:ss]\" for today, \"tomorrow "
                       "HH:mm[:ss]\", +90s, +45m, +2h, +1d, +1h30m from now, or the date and time --list prints."),
        QStringLiteral("WHEN"));
    const QCommandLineOption repeat(
        QStringLiteral("repeat"),
        QStringLiteral("按规则重复执行:daily(每天)、weekdays(工作日)、weekly(每周)、monthly(每月),\n"
                       "或 iCalendar 的重复规则 RRULE,如 \"FREQ=WEEKLY;BYDAY=MO,WE,FR\"。\n"
                       "从 --at 起第一个合乎规则的时刻执行第一次,执行后移到下一次。\n"
                       "Repeat by RULE: daily, weekdays, weekly, monthly, or an iCalendar RRULE such as "
                       "\"FREQ=WEEKLY;BYDAY=MO,WE,FR\"; the first occurrence is the first moment from --at that "
                       "the rule allows, and after it is carried out the row moves to the next."),
        QStringLiteral("RULE"));
    const QCommandLineOption deleteId(QStringLiteral("delete"),
                                      QStringLiteral("删除编号为 ID 的任务(编号由 --add 打印,--list --json 列出)。\n"
                                                     "Delete the mission with id ID (as --add printed it)."),
                                      QStringLiteral("ID"));
    const QCommandLineOption list(QStringLiteral("list"),
                                  QStringLiteral("列出任务,每行一项,四栏以制表符分隔。\n"
                                                 "List the missions, one per line, four fields separated by tabs."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("与 --list 或 --status 一起使用:输出 JSON。\n--list 给出一个数组,每项任务一个对象\n"
                       "(id、kind、kindText、text、at、repeat、lastRun)。\n"
                       "With --list or --status: print JSON. --list prints an array, one object per mission "
                       "(id, kind, kindText, text, at, repeat, lastRun)."));
    const QCommandLineOption status(QStringLiteral("status"),
                                    QStringLiteral("显示执行状态、任务数和下一项任务。\n"
                                                   "Print the run state, the number of missions and the next one."));
    const QCommandLineOption start(QStringLiteral("start"), QStringLiteral("开始执行(F5)。\nStart the list (F5)."));
    const QCommandLineOption pause(QStringLiteral("pause"), QStringLiteral("暂停执行(F6)。\nPause the list (F6)."));
    const QCommandLineOption stop(QStringLiteral("stop"), QStringLiteral("停止执行(F7)。\nStop the list (F7)."));
    const QCommandLineOption load(QStringLiteral("load"),
                                  QStringLiteral("加载任务文件,替换列表中的任务。\n"
                                                 "Load a mission file in place of the list."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption quit(QStringLiteral("quit"),
                                  QStringLiteral("退出程序,并记录本次耗电。\nQuit, recording this run's energy."));
    QCommandLineOption hidden(QStringLiteral("hidden"));
    hidden.setFlags(QCommandLineOption::HiddenFromHelp);
    return {help, version, add, text, at, repeat, deleteId, list, json, status, start, pause, stop, load, quit, hidden};
}

// The parser's own first line names the executable as the running program
// knows it, which is not known here yet.
QString usageText(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    text.remove(0, text.indexOf(QLatin1Char('\n')) + 1);
    text.replace(QStringLiteral("\nOptions:\n"), QStringLiteral("\n选项 / Options:\n"));
    return QStringLiteral("用法 / Usage: chronodesk [选项 / options]\n") + text;
}

// --add with its --text, --at and --repeat, checked as the list would take
// the row.
CommandLine addCommand(const QCommandLineParser &parser, const Options &options, const QDateTime &now)
{
    if (!parser.isSet(options.at))
        return invalid(QStringLiteral("--add 需要用 --at 给出执行时刻。"));
    const QString when = parser.value(options.at);
    const std::optional<WallClockMoment> moment = parseWhen(when, now);
    if (!moment)
        return invalid(QStringLiteral("无法识别执行时刻\"%1\",可以写成 %2。").arg(when, whenForms()));
    CommandLine line;
    line.command = CommandLine::Add;
    line.kind = parser.value(options.add);
    line.description = parser.value(options.text);
    line.date = moment->date.toString(QStringLiteral("yyyy-MM-dd"));
    line.time = moment->time.toString(QStringLiteral("HH:mm:ss"));
    QString error;
    const std::optional<Mission> mission =
        parser.isSet(options.repeat) ? requestedRepeatingMission(line.kind, line.description, line.date, line.time,
                                                                 parser.value(options.repeat), now, &error)
                                     : requestedMission(line.kind, line.description, line.date, line.time, now, &error);
    if (!mission)
        return invalid(error);
    line.repeat = mission->repeatRule;
    return line;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, const QDateTime &now, const QString &workingFolder)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("翎鹊时间管理器:按日期和时间执行任务。不带命令时打开主窗口(已在运行时显示它);\n"
                       "带命令时交给本会话中正在运行的程序执行(--add 和 --load 在它没有运行时先在后台启动它)。\n"
                       "退出状态:0 成功;1 失败(程序没有运行或没有回应、文件无法读取等);\n"
                       "2 输入有误(未知的选项、类型或编号,无法识别或已经过去的时刻等),列表不变。\n"
                       "ChronoDesk: carries out missions at their date and time. Without a command it opens\n"
                       "the main window (or shows the running one); a command goes to the program running\n"
                       "in this session (--add and --load start it in the background first when none runs).\n"
                       "Exit status: 0 success; 1 failure (no program running or answering, a file that\n"
                       "cannot be read...); 2 bad input (unknown option, kind or id, a moment that does not\n"
                       "parse or has passed...), nothing changed."));
    const Options options = programOptions();
    const auto &[help, version, add, text, at, repeat, deleteId, list, json, status, start, pause, stop, load, quit,
                 hidden] = options;
    parser.addOptions(
        {help, version, add, text, at, repeat, deleteId, list, json, status, start, pause, stop, load, quit, hidden});

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return invalid(QStringLiteral("无法识别的选项\"%1\",用 --help 查看用法。").arg(unknown.first()));
        return invalid(QStringLiteral("命令行有误:%1 用 --help 查看用法。").arg(parser.errorText()));
    }
    if (!parser.positionalArguments().isEmpty())
        return invalid(
            QStringLiteral("多余的参数\"%1\",用 --help 查看用法。").arg(parser.positionalArguments().first()));

    const QList<std::pair<const QCommandLineOption *, CommandLine::Command>> commands = {
        {&help, CommandLine::Help},       {&version, CommandLine::Version}, {&add, CommandLine::Add},
        {&deleteId, CommandLine::Delete}, {&list, CommandLine::List},       {&status, CommandLine::Status},
        {&start, CommandLine::Start},     {&pause, CommandLine::Pause},     {&stop, CommandLine::Stop},
        {&load, CommandLine::Load},       {&quit, CommandLine::Quit},
    };
    CommandLine line;
    QStringList given;
    for (const auto &[option, command] : commands) {
        if (parser.isSet(*option)) {
            given.append(QStringLiteral("--") + option->names().last());
            line.command = command;
        }
    }
    if (given.size() > 1)
        return invalid(QStringLiteral("一次只能给出一个命令,这里有 %1。").arg(given.join(QStringLiteral("、"))));
    if (line.command != CommandLine::Add) {
        for (const QCommandLineOption *option : {&text, &at, &repeat}) {
            if (parser.isSet(*option))
                return invalid(QStringLiteral("--%1 只能与 --add 一起使用。").arg(option->names().first()));
        }
    }
    if (parser.isSet(json) && line.command != CommandLine::List && line.command != CommandLine::Status)
        return invalid(QStringLiteral("--json 只能与 --list 或 --status 一起使用。"));
    line.json = parser.isSet(json);
    if (parser.isSet(hidden) && line.command != CommandLine::OpenWindow)
        return invalid(QStringLiteral("--hidden 不能与命令一起使用。"));

    switch (line.command) {
    case CommandLine::OpenWindow: line.hidden = parser.isSet(hidden); break;
    case CommandLine::Help: line.output = usageText(parser); break;
    case CommandLine::Version:
        line.output = QStringLiteral("chronodesk %1\n").arg(QStringLiteral(CHRONODESK_VERSION));
        break;
    case CommandLine::Add: return addCommand(parser, options, now);
    case CommandLine::Delete: {
        static const QRegularExpression number(QStringLiteral("^[1-9][0-9]{0,18}$"));
        line.id = parser.value(deleteId).trimmed();
        if (!number.match(line.id).hasMatch())
            return invalid(QStringLiteral("任务编号\"%1\"不对:编号是 --add 打印的正整数。").arg(line.id));
        break;
    }
    case CommandLine::Load: {
        const QString file = parser.value(load);
        if (file.isEmpty())
            return invalid(QStringLiteral("--load 需要任务文件的名字。"));
        line.file = QDir(workingFolder).absoluteFilePath(file);
        break;
    }
    default: break;
    }
    return line;
}
