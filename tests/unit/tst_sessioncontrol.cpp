#include "platform/linux/LogindSessionControl.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QtTest>

#include <memory>

// Stands in for systemd-logind's manager: records each call with its
// arguments (and " interactive" when the caller allows interactive
// authorization) and answers the Can… questions as the test says.
class Login1StandIn : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    QStringList calls;
    QString canPowerOff = QStringLiteral("yes");
    QString canReboot = QStringLiteral("yes");

public slots:
    QString CanPowerOff() { return answer(QStringLiteral("CanPowerOff"), canPowerOff); }
    QString CanReboot() { return answer(QStringLiteral("CanReboot"), canReboot); }
    void PowerOff(bool interactive) { record(QStringLiteral("PowerOff %1").arg(interactive)); }
    void PowerOffWithFlags(qulonglong flags) { record(QStringLiteral("PowerOffWithFlags %1").arg(flags)); }
    void Reboot(bool interactive) { record(QStringLiteral("Reboot %1").arg(interactive)); }
    void RebootWithFlags(qulonglong flags) { record(QStringLiteral("RebootWithFlags %1").arg(flags)); }
    void TerminateSession(const QString &id) { record(QStringLiteral("TerminateSession ") + id); }

private:
    void record(const QString &call)
    {
        calls << call + (message().isInteractiveAuthorizationAllowed() ? QStringLiteral(" interactive") : QString());
    }
    QString answer(const QString &call, const QString &verdict)
    {
        record(call);
        if (verdict == QLatin1String("error"))
            sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), QStringLiteral("refused"));
        return verdict;
    }
};

class TestSessionControl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void sendsOnlyWhatTheVerdictAllows_data();
    void sendsOnlyWhatTheVerdictAllows();
    void systemBusIsRefusedUnderTest();

private:
    QDBusConnection programBus() const { return QDBusConnection(QStringLiteral("program")); }
    // Sends a reboot on the program's own bus and waits until it has come,
    // so that everything asked before it has been acted on.
    void waitForMarker();

    std::unique_ptr<PrivateBus> m_bus;
    Login1StandIn m_logind;
};

void TestSessionControl::initTestCase()
{
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(!m_bus->address().isEmpty(), "dbus-daemon did not start");
    // Should a back-end reach for the system bus after all, it finds this
    // private one and not the machine's.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_bus->address().toLocal8Bit());
    QVERIFY(QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("program")).isConnected());
    QDBusConnection standInBus = QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("login1"));
    QVERIFY(standInBus.registerService(QStringLiteral("org.freedesktop.login1")));
    QVERIFY(standInBus.registerObject(QStringLiteral("/org/freedesktop/login1"), &m_logind,
                                      QDBusConnection::ExportAllSlots));
}

void TestSessionControl::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("login1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    m_bus.reset();
}

void TestSessionControl::sendsOnlyWhatTheVerdictAllows_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QStringList>("sent");

    const QString canPowerOff = QStringLiteral("CanPowerOff");
    const QString canReboot = QStringLiteral("CanReboot");
    QTest::newRow("power off, yes") << "powerOff"
                                    << "yes" << QStringList {canPowerOff, "PowerOffWithFlags 0"};
    QTest::newRow("power off, challenge")
        << "powerOff"
        << "challenge" << QStringList {canPowerOff, "PowerOffWithFlags 0 interactive"};
    QTest::newRow("power off, no") << "powerOff"
                                   << "no" << QStringList {canPowerOff};
    QTest::newRow("power off, na") << "powerOff"
                                   << "na" << QStringList {canPowerOff};
    QTest::newRow("power off, error") << "powerOff"
                                      << "error" << QStringList {canPowerOff};
    QTest::newRow("reboot, yes") << "reboot"
                                 << "yes" << QStringList {canReboot, "RebootWithFlags 1"};
    QTest::newRow("reboot, challenge") << "reboot"
                                       << "challenge" << QStringList {canReboot, "RebootWithFlags 1 interactive"};
    QTest::newRow("reboot, no") << "reboot"
                                << "no" << QStringList {canReboot};
    QTest::newRow("reboot, error") << "reboot"
                                   << "error" << QStringList {canReboot};
    QTest::newRow("log off, yes") << "logOff"
                                  << "yes" << QStringList {canPowerOff, "TerminateSession auto"};
    QTest::newRow("log off, challenge") << "logOff"
                                        << "challenge"
                                        << QStringList {canPowerOff, "TerminateSession auto interactive"};
    QTest::newRow("log off, no") << "logOff"
                                 << "no" << QStringList {canPowerOff};
}

void TestSessionControl::sendsOnlyWhatTheVerdictAllows()
{
    QFETCH(QString, action);
    QFETCH(QString, verdict);
    QFETCH(QStringList, sent);

    m_logind.calls.clear();
    const bool asksReboot = action == QLatin1String("reboot");
    m_logind.canReboot = asksReboot ? verdict : QStringLiteral("yes");
    m_logind.canPowerOff = asksReboot ? QStringLiteral("yes") : verdict;

    LogindSessionControl session(programBus());
    if (action == QLatin1String("powerOff"))
        session.powerOff();
    else if (asksReboot)
        session.reboot();
    else
        session.logOff();
    // Then a request of the other kind whose verdict allows it. The answers
    // reach us in order, so once its request has arrived the first verdict
    // has been acted on; its own calls are then set aside.
    const QString marker = asksReboot ? QStringLiteral("PowerOff") : QStringLiteral("Reboot");
    if (asksReboot)
        session.powerOff();
    else
        session.reboot();
    const QString markerRequest = marker + QStringLiteral("WithFlags ") + (asksReboot ? "0" : "1");
    QTRY_VERIFY_WITH_TIMEOUT(m_logind.calls.contains(markerRequest), 20000);
    QStringList actionCalls;
    for (const QString &call : std::as_const(m_logind.calls)) {
        if (!call.startsWith(marker) && !call.startsWith(QStringLiteral("Can") + marker))
            actionCalls << call;
    }
    QCOMPARE(actionCalls, sent);
}

void TestSessionControl::waitForMarker()
{
    LogindSessionControl(programBus()).reboot();
    QTRY_VERIFY_WITH_TIMEOUT(m_logind.calls.contains(QStringLiteral("RebootWithFlags 1")), 20000);
}

void TestSessionControl::systemBusIsRefusedUnderTest()
{
    QVERIFY(qEnvironmentVariableIsSet("CHRONODESK_TESTING"));
    m_logind.calls.clear();
    m_logind.canPowerOff = QStringLiteral("yes");
    m_logind.canReboot = QStringLiteral("yes");

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^LogindSessionControl: CHRONODESK_TESTING")));
    LogindSessionControl onTheSystemBus;
    onTheSystemBus.powerOff();
    onTheSystemBus.logOff();
    waitForMarker();
    QCOMPARE(m_logind.calls, QStringList({QStringLiteral("CanReboot"), QStringLiteral("RebootWithFlags 1")}));
}

QTEST_GUILESS_MAIN(TestSessionControl)
#include "tst_sessioncontrol.moc"
