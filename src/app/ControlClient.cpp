#include "app/ControlClient.h"

#include "app/MissionRow.h"
#include "core/control/ApplicationId.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

// However the program behaves, a command gives up within this time (and
// within 5 s in all, its own start included).
constexpr int answerTimeoutMs = 4000;
constexpr int quitTimeoutMs = 10000;

void printError(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

void printOut(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
}

QString notAnswering()
{
    return QStringLiteral("翎鹊时间管理器正在运行,但 %1 秒内没有回应(它可能卡住了),命令没有执行。")
        .arg(answerTimeoutMs / 1000);
}

bool isRunning(QDBusConnection &bus)
{
    return bus.interface()->isServiceRegistered(applicationId()).value();
}

// Asks `condition` every 50 ms until it holds (true) or `deadline` ends
// (false).
template <typename Condition> bool pollUntil(Condition condition, const QDeadlineTimer &deadline)
{
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

QDBusMessage call(QDBusConnection &bus, const QString &method, const QVariantList &arguments = {},
                  const QString &interface = applicationId(), int timeoutMs = answerTimeoutMs)
{
    QDBusMessage message = QDBusMessage::createMethodCall(applicationId(), controlObjectPath(), interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, std::max(1, timeoutMs));
}

// Whether the program answers on its interface: it owns its name on the
// bus a moment before its window is made.
bool isAnswering(QDBusConnection &bus, const QDeadlineTimer &deadline)
{
    return call(bus, QStringLiteral("Get"), {applicationId(), QStringLiteral("State")},
                QStringLiteral("org.freedesktop.DBus.Properties"), int(deadline.remainingTime()))
               .type()
           == QDBusMessage::ReplyMessage;
}

bool timedOut(const QDBusMessage &reply)
{
    return reply.errorName() == QDBusError::errorString(QDBusError::NoReply)
           || reply.errorName() == QDBusError::errorString(QDBusError::Timeout);
}

int failed(const QDBusMessage &reply)
{
    if (timedOut(reply)) {
        printError(notAnswering());
        return CommandLine::Failure;
    }
    printError(reply.errorMessage());
    return reply.errorName() == QDBusError::errorString(QDBusError::InvalidArgs) ? CommandLine::BadInput
                                                                                 : CommandLine::Failure;
}

// A field of a plain --list line: a tab would split it.
QString plainField(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '));
}

int printList(const QDBusMessage &reply)
{
    QList<MissionRow> rows;
    reply.arguments().value(0).value<QDBusArgument>() >> rows;
    for (const MissionRow &row : std::as_const(rows)) {
        printOut(
            QStringList {plainField(row.kind), plainField(row.description), plainField(row.date), plainField(row.time)}
                .join(QLatin1Char('\t')));
    }
    return CommandLine::Success;
}

QVariantMap mapOf(const QVariant &value)
{
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

// A Missions() entry as JSON: the empty texts that the bus carries for
// "none" are null.
QJsonObject missionObject(const QVariantMap &entry)
{
    QJsonObject object;
    for (const char *key : {"id", "kind", "kindText", "text", "at"})
        object.insert(QLatin1String(key), entry.value(QLatin1String(key)).toString());
    for (const char *key : {"repeat", "lastRun"}) {
        const QString value = entry.value(QLatin1String(key)).toString();
        object.insert(QLatin1String(key), value.isEmpty() ? QJsonValue() : QJsonValue(value));
    }
    return object;
}

int printMissionsJson(const QDBusMessage &reply)
{
    const QList<QVariantMap> entries = qdbus_cast<QList<QVariantMap>>(reply.arguments().value(0));
    QJsonArray array;
    for (const QVariantMap &entry : entries)
        array.append(missionObject(entry));
    std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
    return CommandLine::Success;
}

QString stateText(const QString &state)
{
    if (state == QLatin1String("running"))
        return QStringLiteral("正在执行");
    if (state == QLatin1String("paused"))
        return QStringLiteral("已暂停");
    return QStringLiteral("已停止");
}

int printStatus(const QDBusMessage &reply, bool json)
{
    const QVariantMap status = mapOf(reply.arguments().value(0));
    const QString state = status.value(QStringLiteral("state")).toString();
    const int count = status.value(QStringLiteral("count")).toInt();
    const QVariantMap next = mapOf(status.value(QStringLiteral("next")));
    if (json) {
        const QJsonObject object {{QStringLiteral("state"), state},
                                  {QStringLiteral("count"), count},
                                  {QStringLiteral("next"), next.isEmpty() ? QJsonValue() : missionObject(next)}};
        std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).constData(), stdout);
        return CommandLine::Success;
    }
    printOut(QStringLiteral("状态:%1(%2)").arg(stateText(state), state));
    printOut(QStringLiteral("任务数:%1").arg(count));
    if (next.isEmpty())
        printOut(QStringLiteral("下一项:无"));
    else
        printOut(QStringLiteral("下一项:%1\t%2\t%3")
                     .arg(next.value(QStringLiteral("kindText")).toString(),
                          plainField(next.value(QStringLiteral("text")).toString()),
                          next.value(QStringLiteral("at")).toString()));
    return CommandLine::Success;
}

// The program started for a command, hidden and on its own: it outlives
// this command and keeps nothing of its terminal. What it says on error
// output while starting goes to `errors`, so that a start that fails (no
// display, say) can be explained.
std::optional<qint64> startHiddenProgram(const QString &errors)
{
    QProcess program;
    program.setProgram(QCoreApplication::applicationFilePath());
    program.setArguments({QStringLiteral("--hidden")});
    program.setStandardInputFile(QProcess::nullDevice());
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(errors.isEmpty() ? QProcess::nullDevice() : errors);
    qint64 pid = 0;
    if (!program.startDetached(&pid))
        return std::nullopt;
    return pid;
}

bool hasEnded(qint64 pid)
{
    return ::kill(pid_t(pid), 0) != 0;
}

// Starts the program and waits until it answers. False, after saying why,
// when it ends first or does not answer in time.
bool startProgram(QDBusConnection &bus)
{
    QTemporaryFile errors(QDir::tempPath() + QStringLiteral("/chronodesk-start-XXXXXX.log"));
    errors.open();
    const std::optional<qint64> pid = startHiddenProgram(errors.fileName());
    if (!pid) {
        printError(QStringLiteral("无法启动翎鹊时间管理器(%1)。").arg(QCoreApplication::applicationFilePath()));
        return false;
    }
    const QDeadlineTimer deadline(answerTimeoutMs);
    bool ended = false;
    const bool answered = pollUntil(
        [&] {
            ended = hasEnded(*pid);
            return ended || (isRunning(bus) && isAnswering(bus, deadline));
        },
        deadline);
    if (answered && !ended)
        return true;
    const QString said = QString::fromLocal8Bit(errors.readAll()).trimmed();
    if (ended) {
        printError(said.isEmpty() ? QStringLiteral("翎鹊时间管理器启动后随即退出了,命令没有执行。")
                                  : QStringLiteral("翎鹊时间管理器无法启动(没有可用的显示?),它报告:\n%1").arg(said));
    } else {
        printError(QStringLiteral("翎鹊时间管理器启动后 %1 秒内没有回应,命令没有执行。").arg(answerTimeoutMs / 1000));
    }
    return false;
}

} // namespace

bool showRunningWindow()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDeadlineTimer deadline(answerTimeoutMs);
    return pollUntil([&] { return isAnswering(bus, deadline); }, deadline)
           && call(bus, QStringLiteral("Show"), {}, applicationId(), int(deadline.remainingTime())).type()
                  == QDBusMessage::ReplyMessage;
}

int runRemoteCommand(const CommandLine &line)
{
    registerMissionRowType();
    qDBusRegisterMetaType<QList<QVariantMap>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        printError(QStringLiteral("没有会话总线(D-Bus),无法联系正在运行的翎鹊时间管理器。"));
        return CommandLine::Failure;
    }
    if (!isRunning(bus)) {
        if (line.command != CommandLine::Add && line.command != CommandLine::Load) {
            printError(QStringLiteral("翎鹊时间管理器没有在运行。"));
            return CommandLine::Failure;
        }
        if (!startProgram(bus))
            return CommandLine::Failure;
    }

    QDBusMessage reply;
    switch (line.command) {
    case CommandLine::Add:
        reply = line.repeat.isEmpty()
                    ? call(bus, QStringLiteral("Add"), {line.kind, line.description, line.date, line.time})
                    : call(bus, QStringLiteral("AddRepeating"),
                           {line.kind, line.description, line.date, line.time, line.repeat});
        if (reply.type() == QDBusMessage::ReplyMessage)
            printOut(reply.arguments().value(0).toString());
        break;
    case CommandLine::Delete: reply = call(bus, QStringLiteral("Delete"), {line.id}); break;
    case CommandLine::List:
        reply = call(bus, line.json ? QStringLiteral("Missions") : QStringLiteral("List"));
        if (reply.type() == QDBusMessage::ReplyMessage)
            return line.json ? printMissionsJson(reply) : printList(reply);
        break;
    case CommandLine::Status:
        reply = call(bus, QStringLiteral("Status"));
        if (reply.type() == QDBusMessage::ReplyMessage)
            return printStatus(reply, line.json);
        break;
    case CommandLine::Start: reply = call(bus, QStringLiteral("Start")); break;
    case CommandLine::Pause: reply = call(bus, QStringLiteral("Pause")); break;
    case CommandLine::Stop: reply = call(bus, QStringLiteral("Stop")); break;
    case CommandLine::Load: reply = call(bus, QStringLiteral("Load"), {line.file}); break;
    case CommandLine::Quit: {
        // The answer may be lost when the program ends at once; what counts
        // is that it gives up its name.
        reply = call(bus, QStringLiteral("Quit"));
        if (reply.type() == QDBusMessage::ErrorMessage && isRunning(bus))
            return failed(reply);
        if (!pollUntil([&bus] { return !isRunning(bus); }, QDeadlineTimer(quitTimeoutMs))) {
            printError(QStringLiteral("翎鹊时间管理器还没有退出:它可能在等用户回答一个问题。"));
            return CommandLine::Failure;
        }
        return CommandLine::Success;
    }
    default: return CommandLine::BadInput;
    }
    return reply.type() == QDBusMessage::ErrorMessage ? failed(reply) : CommandLine::Success;
}
