#include "platform/linux/LogindSleepWatcher.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The logind sleep watcher against a stand-in for logind on a bus of the
// test's own: PrepareForSleep(true) is the sleep, (false) the wake-up.
class TestSleepWatcher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void followsPrepareForSleep();
    void ignoresOtherSenders();
    void neverListensToTheMachinesBusUnderTest();

private:
    void emitPrepareForSleep(QDBusConnection bus, bool start);

    std::unique_ptr<PrivateBus> m_bus;
};

void TestSleepWatcher::initTestCase()
{
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(!m_bus->address().isEmpty(), "dbus-daemon did not start");
    // Should the watcher reach for the system bus after all, it finds this
    // private one and not the machine's.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_bus->address().toLocal8Bit());
    QVERIFY(QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("program")).isConnected());
    QDBusConnection standIn = QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("login1"));
    QVERIFY(standIn.registerService(QStringLiteral("org.freedesktop.login1")));
    QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("other"));
}

void TestSleepWatcher::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("login1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    m_bus.reset();
}

void TestSleepWatcher::emitPrepareForSleep(QDBusConnection bus, bool start)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                   QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
    signal << start;
    QVERIFY(bus.send(signal));
}

void TestSleepWatcher::followsPrepareForSleep()
{
    LogindSleepWatcher watcher(QDBusConnection(QStringLiteral("program")));
    QVERIFY(watcher.isListening());
    QSignalSpy sleeping(&watcher, &SleepWatcher::sleeping);
    QSignalSpy woken(&watcher, &SleepWatcher::woken);
    const QDBusConnection logind(QStringLiteral("login1"));
    emitPrepareForSleep(logind, true);
    QTRY_COMPARE(sleeping.count(), 1);
    QCOMPARE(woken.count(), 0);
    emitPrepareForSleep(logind, false);
    QTRY_COMPARE(woken.count(), 1);
    QCOMPARE(sleeping.count(), 1);
}

// The same signal from a client that is not logind changes nothing.
void TestSleepWatcher::ignoresOtherSenders()
{
    LogindSleepWatcher watcher(QDBusConnection(QStringLiteral("program")));
    QSignalSpy sleeping(&watcher, &SleepWatcher::sleeping);
    emitPrepareForSleep(QDBusConnection(QStringLiteral("other")), true);
    // A signal from logind after it shows that the other one has been passed over.
    emitPrepareForSleep(QDBusConnection(QStringLiteral("login1")), false);
    QSignalSpy woken(&watcher, &SleepWatcher::woken);
    QTRY_COMPARE(woken.count(), 1);
    QCOMPARE(sleeping.count(), 0);
}

void TestSleepWatcher::neverListensToTheMachinesBusUnderTest()
{
    QVERIFY(qEnvironmentVariableIsSet("CHRONODESK_TESTING"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^LogindSleepWatcher: CHRONODESK_TESTING")));
    LogindSleepWatcher watcher;
    QVERIFY(!watcher.isListening());
}

QTEST_GUILESS_MAIN(TestSleepWatcher)
#include "tst_sleepwatcher.moc"
