#include "app/ControlClient.h"

#include "app/MissionRow.h"
#include "core/control/ApplicationId.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <cstdio>

namespace {

constexpr int callTimeoutMs = 20000;
constexpr int startTimeoutMs = 20000;
constexpr int quitTimeoutMs = 10000;

void printError(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

bool isRunning(QDBusConnection &bus)
{
    return bus.interface()->isServiceRegistered(applicationId()).value();
}

// Asks `condition` every 50 ms until it holds (true) or `timeoutMs` ends
// (false).
template <typename Condition> bool pollUntil(Condition condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

QDBusMessage call(QDBusConnection &bus, const QString &method, const QVariantList &arguments = {},
                  const QString &interface = applicationId())
{
    QDBusMessage message = QDBusMessage::createMethodCall(applicationId(), controlObjectPath(), interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, callTimeoutMs);
}

// Whether the program answers on its interface: it owns its name on the
// bus a moment before its window is made.
bool isAnswering(QDBusConnection &bus)
{
    return call(bus, QStringLiteral("Get"), {applicationId(), QStringLiteral("State")},
                QStringLiteral("org.freedesktop.DBus.Properties"))
               .type()
           == QDBusMessage::ReplyMessage;
}

int failed(const QDBusMessage &reply)
{
    printError(reply.errorMessage());
    return reply.errorName() == QDBusError::errorString(QDBusError::InvalidArgs) ? CommandLine::BadInput
                                                                                 : CommandLine::Failure;
}

int printList(const QDBusMessage &reply)
{
    QList<MissionRow> rows;
    reply.arguments().value(0).value<QDBusArgument>() >> rows;
    for (const MissionRow &row : std::as_const(rows)) {
        const QString line = QStringList {row.kind, row.description, row.date, row.time}.join(QLatin1Char('\t'));
        std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    }
    return CommandLine::Success;
}

// Starts this program hidden, on its own: it outlives this command and keeps
// nothing of its terminal.
bool startHiddenProgram()
{
    QProcess program;
    program.setProgram(QCoreApplication::applicationFilePath());
    program.setArguments({QStringLiteral("--hidden")});
    program.setStandardInputFile(QProcess::nullDevice());
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    return program.startDetached();
}

} // namespace

bool showRunningWindow()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return pollUntil([&bus] { return isAnswering(bus); }, startTimeoutMs)
           && call(bus, QStringLiteral("Show")).type() == QDBusMessage::ReplyMessage;
}

int runRemoteCommand(const CommandLine &line)
{
    registerMissionRowType();
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
        if (!startHiddenProgram() || !pollUntil([&bus] { return isAnswering(bus); }, startTimeoutMs)) {
            printError(QStringLiteral("无法启动翎鹊时间管理器。"));
            return CommandLine::Failure;
        }
    }

    QDBusMessage reply;
    switch (line.command) {
    case CommandLine::Add:
        reply = call(bus, QStringLiteral("Add"), {line.kind, line.description, line.date, line.time});
        break;
    case CommandLine::List:
        reply = call(bus, QStringLiteral("List"));
        if (reply.type() == QDBusMessage::ReplyMessage)
            return printList(reply);
        break;
    case CommandLine::Start: reply = call(bus, QStringLiteral("Start")); break;
    case CommandLine::Pause: reply = call(bus, QStringLiteral("Pause")); break;
    case CommandLine::Stop: reply = call(bus, QStringLiteral("Stop")); break;
    case CommandLine::Load: reply = call(bus, QStringLiteral("Load"), {line.file}); break;
    case CommandLine::Quit:
        // The answer may be lost when the program ends at once; what counts
        // is that it gives up its name.
        call(bus, QStringLiteral("Quit"));
        if (!pollUntil([&bus] { return !isRunning(bus); }, quitTimeoutMs)) {
            printError(QStringLiteral("翎鹊时间管理器还没有退出:它可能在等用户回答一个问题。"));
            return CommandLine::Failure;
        }
        return CommandLine::Success;
    default: return CommandLine::BadInput;
    }
    return reply.type() == QDBusMessage::ErrorMessage ? failed(reply) : CommandLine::Success;
}
