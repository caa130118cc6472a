#pragma once

#include <QProcess>
#include <QString>

#include <signal.h>
#include <sys/types.h>

// A D-Bus daemon of the test's own, so that stand-ins for system services
// can be registered on it. Stopped when the object goes.
class PrivateBus
{
public:
    PrivateBus()
    {
        QProcess daemon;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--fork"), QStringLiteral("--print-address=1"),
                      QStringLiteral("--print-pid=1")});
        if (!daemon.waitForFinished(30000) || daemon.exitCode() != 0)
            return;
        const QStringList lines = QString::fromLocal8Bit(daemon.readAllStandardOutput()).split(QLatin1Char('\n'));
        if (lines.size() < 2)
            return;
        m_address = lines.at(0).trimmed();
        m_pid = lines.at(1).trimmed().toLongLong();
    }
    ~PrivateBus()
    {
        if (m_pid > 0)
            ::kill(pid_t(m_pid), SIGTERM);
    }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Empty when the daemon could not be started.
    QString address() const { return m_address; }

private:
    QString m_address;
    qint64 m_pid = 0;
};
