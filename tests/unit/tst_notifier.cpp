#include "platform/linux/DesktopNotifier.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// Stands in for the desktop's notification daemon: records each notice and
// names it with the next number.
class NotificationsStandIn : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice
    {
        QString applicationName;
        QString title;
        QString body;
        QStringList actions;
    };
    QList<Notice> notices;

public slots:
    uint Notify(const QString &applicationName, uint, const QString &, const QString &title, const QString &body,
                const QStringList &actions, const QVariantMap &, int)
    {
        notices.append({applicationName, title, body, actions});
        return uint(notices.size());
    }
};

class TestNotifier : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void aClickOnTheNoticeRunsItsAction_data();
    void aClickOnTheNoticeRunsItsAction();
    void theBodyIsSentAsMarkup();
    void tellsWhetherNoticesAreShown();

public slots:
    // Every ActionInvoked the program's connection has delivered.
    void actionHeard() { ++m_actionsHeard; }
    void aButtonOfANoticeWithChoicesGivesItsKey();

private:
    void sendSignal(const QString &name, const QVariantList &arguments);

    std::unique_ptr<PrivateBus> m_bus;
    NotificationsStandIn m_daemon;
    int m_actionsHeard = 0;
};

void TestNotifier::initTestCase()
{
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(!m_bus->address().isEmpty(), "dbus-daemon did not start");
    QDBusConnection daemonBus = QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("daemon"));
    QVERIFY(daemonBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    QVERIFY(daemonBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_daemon,
                                     QDBusConnection::ExportAllSlots));
}

void TestNotifier::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("daemon"));
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    m_bus.reset();
}

void TestNotifier::sendSignal(const QString &name, const QVariantList &arguments)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                     QStringLiteral("org.freedesktop.Notifications"), name);
    signal.setArguments(arguments);
    QVERIFY(QDBusConnection(QStringLiteral("daemon")).send(signal));
}

void TestNotifier::aClickOnTheNoticeRunsItsAction_data()
{
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QString>("actionKey");
    QTest::addColumn<bool>("runs");
    QTest::newRow("click on the notice") << "ActionInvoked"
                                         << "default" << true;
    QTest::newRow("another action") << "ActionInvoked"
                                    << "other" << false;
    QTest::newRow("closed first") << "NotificationClosed"
                                  << "default" << false;
}

void TestNotifier::aClickOnTheNoticeRunsItsAction()
{
    QFETCH(QString, signal);
    QFETCH(QString, actionKey);
    QFETCH(bool, runs);

    QDBusConnection programBus = QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("program"));
    DesktopNotifier notifier(programBus);
    // Connected after the notifier, so it hears each signal after it.
    QVERIFY(programBus.connect(QString(), QStringLiteral("/org/freedesktop/Notifications"),
                               QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"), this,
                               SLOT(actionHeard())));
    QSignalSpy shown(&notifier, &DesktopNotifier::noticeShown);
    int clicks = 0;
    const int before = int(m_daemon.notices.size());
    notifier.notify(QStringLiteral("翎鹊时间管理器友情提示"), QStringLiteral("点击这里关闭或恢复"), 10000,
                    [&clicks] { ++clicks; });
    QTRY_COMPARE(m_daemon.notices.size(), before + 1);
    const NotificationsStandIn::Notice &notice = m_daemon.notices.last();
    QCOMPARE(notice.applicationName, QStringLiteral("翎鹊时间管理器"));
    QCOMPARE(notice.title, QStringLiteral("翎鹊时间管理器友情提示"));
    QVERIFY(notice.actions.contains(QStringLiteral("default")));

    const uint id = uint(m_daemon.notices.size());
    // The notice's name reaches the program before the user can click.
    QTRY_COMPARE(shown.count(), 1);
    QCOMPARE(shown.constFirst().constFirst().toUInt(), id);
    if (signal == QLatin1String("NotificationClosed"))
        sendSignal(signal, {id, uint(2)});
    const int heardBefore = m_actionsHeard;
    sendSignal(QStringLiteral("ActionInvoked"), {id, actionKey});
    // A notice of another program with another number changes nothing.
    sendSignal(QStringLiteral("ActionInvoked"), {id + 100, QStringLiteral("default")});
    QTRY_COMPARE(m_actionsHeard, heardBefore + 2);
    QCOMPARE(clicks, runs ? 1 : 0);
    programBus.disconnect(QString(), QStringLiteral("/org/freedesktop/Notifications"),
                          QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"), this,
                          SLOT(actionHeard()));
}

void TestNotifier::tellsWhetherNoticesAreShown()
{
    DesktopNotifier notifier(QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("program")));
    QVERIFY(notifier.canNotify());
    QDBusConnection daemonBus(QStringLiteral("daemon"));
    QVERIFY(daemonBus.unregisterService(QStringLiteral("org.freedesktop.Notifications")));
    QVERIFY(!notifier.canNotify());
    QVERIFY(daemonBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    QVERIFY(!DesktopNotifier(QDBusConnection(QStringLiteral("not connected"))).canNotify());
}

// A missed notice that quotes a description with "<", ">" and "&": the
// daemon reads markup, and shows them as they are.
void TestNotifier::theBodyIsSentAsMarkup()
{
    DesktopNotifier notifier(QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("program")));
    const int before = int(m_daemon.notices.size());
    notifier.notify(QStringLiteral("错过的任务"), QStringLiteral("打开文件: ‹文件> a<b & <i>c</i>"), 0, {});
    QTRY_COMPARE(m_daemon.notices.size(), before + 1);
    QCOMPARE(m_daemon.notices.last().body, QStringLiteral("打开文件: ‹文件&gt; a&lt;b &amp; &lt;i&gt;c&lt;/i&gt;"));
}

void TestNotifier::aButtonOfANoticeWithChoicesGivesItsKey()
{
    DesktopNotifier notifier(QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("program")));
    QStringList chosen;
    const int before = int(m_daemon.notices.size());
    notifier.notifyWithChoices(QStringLiteral("友情提示"), QStringLiteral("开会"), 0,
                               {{"5", "5 分钟后再提醒"}, {"30", "30 分钟后再提醒"}},
                               [&chosen](const QString &key) { chosen << key; });
    QTRY_COMPARE(m_daemon.notices.size(), before + 1);
    QCOMPARE(m_daemon.notices.last().actions, QStringList({"5", "5 分钟后再提醒", "30", "30 分钟后再提醒"}));
    const uint id = uint(m_daemon.notices.size());
    QTest::qWait(100);
    // A click on the notice itself is no choice.
    sendSignal(QStringLiteral("ActionInvoked"), {id, QStringLiteral("default")});
    sendSignal(QStringLiteral("ActionInvoked"), {id, QStringLiteral("30")});
    QTRY_COMPARE(chosen, QStringList {"30"});
}

QTEST_GUILESS_MAIN(TestNotifier)
#include "tst_notifier.moc"
