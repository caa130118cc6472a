#include "core/missions/SecondTimer.h"
#include "doubles/FakeClock.h"
#include "gui/dialogs/SystemTimeDialog.h"
#include "platform/linux/TimedatedTimeSetter.h"
#include "platform/PlatformServices.h"
#include "support/ChildLookup.h"
#include "support/PrivateBus.h"
#include "support/RegionalFormatReset.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QtTest>

#include <ctime>
#include <memory>
#include <optional>

// How long a reply over the private bus may take on a loaded machine; a
// bound, not a speed requirement.
constexpr int answerWaitMs = 30000;

// Stands in for systemd-timedated on the test's private bus: records each
// SetTime and answers as the test asks.
class StandInTimedate : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.timedate1")

public:
    struct Call
    {
        qlonglong usecUtc;
        bool relative;
        bool interactive;
    };

    explicit StandInTimedate(const QDBusConnection &bus)
        : m_bus(bus)
    {
    }

    QList<Call> calls;
    bool refuse = false;

public slots:
    void SetTime(qlonglong usecUtc, bool relative, bool interactive, const QDBusMessage &message)
    {
        calls.append({usecUtc, relative, interactive});
        if (refuse) {
            message.setDelayedReply(true);
            m_bus.send(message.createErrorReply(QStringLiteral("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"),
                                                QStringLiteral("Automatic time synchronization is enabled")));
        }
    }

private:
    QDBusConnection m_bus;
};

class TestSystemTime : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void laysOutTheDialog();
    void clockReadsZerosUntilTheFirstTick();
    void pickersHoldTheMomentOfOpening();
    void calendarIsForReferenceOnly();
    void convertsLocalTimeToUtc_data();
    void convertsLocalTimeToUtc();
    void setsTheClockThroughTimedated_data();
    void setsTheClockThroughTimedated();
    void systemBusIsRefusedUnderTest();

private:
    static void setZone(const char *zone);
    SystemTimeDialog &dialog();
    template <typename T> T *child(const char *name) { return ::child<T>(&dialog(), name); }
    QMessageBox *answer();

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<QDBusConnection> m_serviceBus;
    std::unique_ptr<StandInTimedate> m_standIn;

    FakeClock m_clock;
    std::unique_ptr<TimedatedTimeSetter> m_setter;
    SystemTimeSetter *m_setterInUse = nullptr;
    QTemporaryDir m_noBusDir;
    std::unique_ptr<SystemTimeDialog> m_dialog;
};

void TestSystemTime::setZone(const char *zone)
{
    qputenv("TZ", zone);
    tzset();
}

void TestSystemTime::initTestCase()
{
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(!m_bus->address().isEmpty(), "dbus-daemon did not start");
    // Should the dialog reach for the system bus after all, it finds this
    // private one and not the machine's.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_bus->address().toUtf8());
    m_setter = std::make_unique<TimedatedTimeSetter>(
        QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("program")));
    m_setterInUse = m_setter.get();

    m_serviceBus = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("stand-in timedated")));
    QVERIFY(m_serviceBus->isConnected());
    m_standIn = std::make_unique<StandInTimedate>(*m_serviceBus);
    QVERIFY(m_serviceBus->registerObject(QStringLiteral("/org/freedesktop/timedate1"), m_standIn.get(),
                                         QDBusConnection::ExportAllSlots));

    // Eight hours ahead of UTC all year round.
    setZone("CST-8");
}

void TestSystemTime::cleanupTestCase()
{
    m_standIn.reset();
    m_serviceBus.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("stand-in timedated"));
    m_setter.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    m_bus.reset();
}

void TestSystemTime::init()
{
    resetRegionalFormat();
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    m_standIn->calls.clear();
    m_standIn->refuse = false;
    m_serviceBus->registerService(QStringLiteral("org.freedesktop.timedate1"));
}

void TestSystemTime::cleanup()
{
    m_dialog.reset();
    m_setterInUse = m_setter.get();
}

SystemTimeDialog &TestSystemTime::dialog()
{
    if (!m_dialog) {
        PlatformServices platform;
        platform.clock = &m_clock;
        platform.timeSetter = m_setterInUse;
        m_dialog = std::make_unique<SystemTimeDialog>(platform);
    }
    return *m_dialog;
}

QMessageBox *TestSystemTime::answer()
{
    return dialog().findChild<QMessageBox *>(QStringLiteral("SetTimeAnswer"));
}

void TestSystemTime::laysOutTheDialog()
{
    QCOMPARE(dialog().windowTitle(), QStringLiteral("系统时间设置"));
    QCOMPARE(dialog().size(), QSize(314, 378));
    QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("系统时间设定"));
    QCOMPARE(child<QGroupBox>("GroupBox1")->title(), QStringLiteral("获取时间"));
    QCOMPARE(child<QGroupBox>("GroupBox2")->title(), QStringLiteral("设定时间"));
    QCOMPARE(child<QPushButton>("btnSetTime")->text(), QStringLiteral("设定"));
    QCOMPARE(child<QPushButton>("btnClose")->text(), QStringLiteral("关闭"));
    QCOMPARE(child<QCalendarWidget>("Calendar1")->firstDayOfWeek(), Qt::Sunday);
    QCOMPARE(child<QCalendarWidget>("Calendar1")->selectedDate(), QDate(2026, 12, 10));
    for (const char *name : {"Image1", "Bevel1", "StaticText1"})
        QVERIFY2(dialog().findChild<QWidget *>(QString::fromLatin1(name)), name);
    QVERIFY(child<SecondTimer>("Timer1")->isEnabled());

    dialog().show();
    child<QPushButton>("btnClose")->click();
    QVERIFY(!dialog().isVisible());
}

void TestSystemTime::clockReadsZerosUntilTheFirstTick()
{
    auto *clock = child<QLabel>("StaticText1");
    QCOMPARE(clock->text(), QStringLiteral("0000-00-00 00:00:00"));
    m_clock.advance(1);
    emit child<SecondTimer>("Timer1")->timeout();
    QCOMPARE(clock->text(), QStringLiteral("2026-12-10 12:00:01"));
    m_clock.set(QDateTime(QDate(2027, 1, 2), QTime(9, 5, 7)));
    emit child<SecondTimer>("Timer1")->timeout();
    QCOMPARE(clock->text(), QStringLiteral("2027-1-2 9:05:07"));
}

void TestSystemTime::pickersHoldTheMomentOfOpening()
{
    QCOMPARE(child<QDateEdit>("dtDate")->date(), QDate(2026, 12, 10));
    QCOMPARE(child<QTimeEdit>("dtTime")->time(), QTime(12, 0, 0));
    m_clock.advance(90);
    emit child<SecondTimer>("Timer1")->timeout();
    QCOMPARE(child<QTimeEdit>("dtTime")->time(), QTime(12, 0, 0));

    child<QPushButton>("btnSetTime")->click();
    QTRY_VERIFY_WITH_TIMEOUT(answer(), answerWaitMs);
    QCOMPARE(m_standIn->calls.size(), 1);
    const QDateTime opened(QDate(2026, 12, 10), QTime(4, 0, 0), Qt::UTC);
    QCOMPARE(m_standIn->calls[0].usecUtc, opened.toMSecsSinceEpoch() * 1000);
}

void TestSystemTime::calendarIsForReferenceOnly()
{
    child<QCalendarWidget>("Calendar1")->setSelectedDate(QDate(2026, 12, 25));
    QCOMPARE(child<QDateEdit>("dtDate")->date(), QDate(2026, 12, 10));
}

void TestSystemTime::convertsLocalTimeToUtc_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("local");
    QTest::addColumn<QDateTime>("utc");
    const QByteArray central = "CET-1CEST,M3.5.0,M10.5.0/3";
    QTest::newRow("eight hours ahead") << QByteArray("CST-8") << QDateTime(QDate(2026, 12, 10), QTime(10, 0, 0))
                                       << QDateTime(QDate(2026, 12, 10), QTime(2, 0, 0), Qt::UTC);
    QTest::newRow("back over midnight") << QByteArray("CST-8") << QDateTime(QDate(2027, 1, 1), QTime(3, 30, 15, 250))
                                        << QDateTime(QDate(2026, 12, 31), QTime(19, 30, 15, 250), Qt::UTC);
    QTest::newRow("behind UTC") << QByteArray("EST5") << QDateTime(QDate(2026, 6, 1), QTime(22, 0, 0))
                                << QDateTime(QDate(2026, 6, 2), QTime(3, 0, 0), Qt::UTC);
    QTest::newRow("winter time") << central << QDateTime(QDate(2026, 1, 15), QTime(10, 0, 0))
                                 << QDateTime(QDate(2026, 1, 15), QTime(9, 0, 0), Qt::UTC);
    QTest::newRow("summer time") << central << QDateTime(QDate(2026, 7, 1), QTime(10, 0, 0))
                                 << QDateTime(QDate(2026, 7, 1), QTime(8, 0, 0), Qt::UTC);
}

void TestSystemTime::convertsLocalTimeToUtc()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, local);
    QFETCH(QDateTime, utc);
    setZone(zone.constData());
    const qint64 usec = TimedatedTimeSetter::usecSinceEpochUtc(local);
    setZone("CST-8");
    QCOMPARE(usec, utc.toMSecsSinceEpoch() * 1000);
}

void TestSystemTime::setsTheClockThroughTimedated_data()
{
    QTest::addColumn<bool>("busThere");
    QTest::addColumn<bool>("serviceThere");
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("reason");
    const QString failed = QStringLiteral("设置系统时间错误!");
    QTest::newRow("accepted") << true << true << false << QStringLiteral("设置系统时间成功!") << QString();
    QTest::newRow("automatic synchronisation on")
        << true << true << true << failed << QStringLiteral("系统开启了自动时间同步，请先关闭它。");
    QTest::newRow("no timedated") << true << false << false << failed
                                  << QStringLiteral("系统时间服务 systemd-timedated 没有运行。");
    QTest::newRow("no system bus") << false << false << false << failed << QStringLiteral("无法连接系统总线");
}

void TestSystemTime::setsTheClockThroughTimedated()
{
    QFETCH(bool, busThere);
    QFETCH(bool, serviceThere);
    QFETCH(bool, refuse);
    QFETCH(QString, message);
    QFETCH(QString, reason);
    if (!serviceThere)
        m_serviceBus->unregisterService(QStringLiteral("org.freedesktop.timedate1"));
    m_standIn->refuse = refuse;
    // A bus address where no bus listens: the call fails before it is sent.
    TimedatedTimeSetter unreachable(QDBusConnection::connectToBus(
        QStringLiteral("unix:path=") + m_noBusDir.filePath(QStringLiteral("no-bus")), QStringLiteral("no bus")));
    if (!busThere)
        m_setterInUse = &unreachable;

    dialog().show();
    child<QDateEdit>("dtDate")->setDate(QDate(2027, 3, 4));
    child<QTimeEdit>("dtTime")->setTime(QTime(10, 0, 0));
    auto *setTime = child<QPushButton>("btnSetTime");
    setTime->click();
    QVERIFY(!setTime->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(answer(), answerWaitMs);
    QCOMPARE(answer()->text(), message);
    QVERIFY2(answer()->informativeText().startsWith(reason), qPrintable(answer()->informativeText()));
    QCOMPARE(answer()->windowTitle(), QStringLiteral("翎鹊时间管理器"));
    QCOMPARE(answer()->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(setTime->isEnabled());
    QVERIFY(dialog().isVisible());

    if (!serviceThere) {
        QVERIFY(m_standIn->calls.isEmpty());
        return;
    }
    QCOMPARE(m_standIn->calls.size(), 1);
    const QDateTime utc(QDate(2027, 3, 4), QTime(2, 0, 0), Qt::UTC);
    QCOMPARE(m_standIn->calls[0].usecUtc, utc.toMSecsSinceEpoch() * 1000);
    QVERIFY(!m_standIn->calls[0].relative);
    QVERIFY(m_standIn->calls[0].interactive);
}

void TestSystemTime::systemBusIsRefusedUnderTest()
{
    QVERIFY(qEnvironmentVariableIsSet("CHRONODESK_TESTING"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^TimedatedTimeSetter: CHRONODESK_TESTING")));
    TimedatedTimeSetter onTheSystemBus;
    QObject context;
    std::optional<bool> taken;
    onTheSystemBus.setLocalTime(QDateTime(QDate(2027, 3, 4), QTime(10, 0, 0)), &context,
                                [&taken](bool ok, const QString &) { taken = ok; });
    QVERIFY(!taken);
    QTRY_VERIFY_WITH_TIMEOUT(taken.has_value(), answerWaitMs);
    QCOMPARE(*taken, false);
    QVERIFY(m_standIn->calls.isEmpty());
}

QTEST_MAIN(TestSystemTime)
#include "tst_systemtime.moc"
