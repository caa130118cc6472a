#include "core/missions/MissionModel.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/MessagePopup.h"
#include "support/MainWindowFixture.h"
#include "support/RegionalFormatReset.h"

#include <QApplication>
#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

class TestMessagePopup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void isBuiltAsThePicture();
    void countsDownAndCloses();
    void doubleClickCloses_data();
    void doubleClickCloses();
    void secondMessageStartsAgain();
    void standsInTheBottomRightCorner();
    void eachMessageIsAnnounced();
    void snoozeAddsTheSameMessageLater_data();
    void snoozeAddsTheSameMessageLater();

private:
    MessagePopup &popup() { return *m_main->form().messagePopup(); }
    // A message mission comes due: the runner beeps and the popup shows it.
    void carryOutMessage(const QString &text)
    {
        m_main->form().runner().carryOut(
            0, {QStringLiteral("提示消息"), text, QStringLiteral("2026-12-10"), QStringLiteral("12:00:00"), 3});
    }
    QString text(const char *label) { return popup().findChild<QLabel *>(QLatin1String(label))->text(); }

    std::unique_ptr<MainWindowFixture> m_main;
};

void TestMessagePopup::init()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
    m_main->form();
}

void TestMessagePopup::cleanup()
{
    m_main.reset();
}

void TestMessagePopup::isBuiltAsThePicture()
{
    QCOMPARE(popup().objectName(), QStringLiteral("frmTishi"));
    QVERIFY(popup().isHidden());
    QCOMPARE(popup().size(), QSize(200, 442));
    QVERIFY(popup().windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(popup().windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(qRound(popup().windowOpacity() * 255), 200);

    auto *label1 = popup().findChild<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(label1->geometry(), QRect(32, 88, 97, 185));
    QVERIFY(label1->wordWrap());
    QCOMPARE(label1->textFormat(), Qt::PlainText);
    QCOMPARE(popup().findChild<QLabel *>(QStringLiteral("Label2"))->pos(), QPoint(22, 272));
    QCOMPARE(text("Label2"), QStringLiteral("距离关闭的秒数:"));
    QCOMPARE(popup().findChild<QLabel *>(QStringLiteral("lbNum"))->pos(), QPoint(112, 272));
    QCOMPARE(popup().findChild<QLabel *>(QStringLiteral("Image1"))->geometry(), QRect(0, 0, 200, 442));

    // The fuchsia around the figure is cut away; the board and the figure stay.
    const QRegion shape = popup().mask();
    QVERIFY(!shape.contains(QPoint(1, 1)));
    QVERIFY(!shape.contains(QPoint(198, 440)));
    QVERIFY(!shape.contains(QPoint(4, 400)));
    QVERIFY(shape.contains(QPoint(86, 178)));
    QVERIFY(shape.contains(QPoint(88, 36)));
    QVERIFY(shape.contains(QPoint(180, 200)));

    // No edge of the figure is blended with the fuchsia: such pixels would
    // stay and draw a pink outline.
    const QImage picture = popup().findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().toImage();
    int blended = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            const bool fuchsia = qRed(pixel) == 255 && qGreen(pixel) == 0 && qBlue(pixel) == 255;
            if (!fuchsia && qRed(pixel) > 160 && qBlue(pixel) > 160 && qGreen(pixel) < 110)
                ++blended;
        }
    }
    QCOMPARE(blended, 0);
}

void TestMessagePopup::countsDownAndCloses()
{
    carryOutMessage(QStringLiteral("开会了"));
    QVERIFY(popup().isVisible());
    QCOMPARE(text("Label1"), QStringLiteral("开会了"));
    QCOMPARE(m_main->platform.sound.played, QStringList {"beep"});
    auto *timer1 = popup().findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer1->isActive());
    QCOMPARE(timer1->interval(), 1000);

    QStringList shown {text("lbNum")};
    for (int tick = 1; tick <= 10; ++tick) {
        popup().countDown();
        QVERIFY(popup().isVisible());
        shown << text("lbNum");
    }
    QCOMPARE(shown, (QStringList {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));
    popup().countDown();
    QVERIFY(popup().isHidden());
    QVERIFY(!timer1->isActive());
}

void TestMessagePopup::doubleClickCloses_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("closes");

    QTest::newRow("picture") << "Image1" << true;
    QTest::newRow("message text") << "Label1" << true;
    QTest::newRow("countdown caption") << "Label2" << false;
    QTest::newRow("countdown number") << "lbNum" << false;
}

void TestMessagePopup::doubleClickCloses()
{
    QFETCH(QString, target);
    QFETCH(bool, closes);

    carryOutMessage(QStringLiteral("双击关闭"));
    QTest::mouseDClick(popup().findChild<QLabel *>(target), Qt::LeftButton);
    QCOMPARE(popup().isHidden(), closes);
    QCOMPARE(popup().findChild<QTimer *>(QStringLiteral("Timer1"))->isActive(), !closes);
}

void TestMessagePopup::secondMessageStartsAgain()
{
    carryOutMessage(QStringLiteral("第一条"));
    const QPoint place = popup().pos();
    for (int tick = 0; tick < 4; ++tick)
        popup().countDown();
    QCOMPARE(text("lbNum"), QStringLiteral("6"));

    carryOutMessage(QStringLiteral("第二条"));
    QVERIFY(popup().isVisible());
    QCOMPARE(text("Label1"), QStringLiteral("第二条"));
    QCOMPARE(text("lbNum"), QStringLiteral("10"));
    QCOMPARE(popup().tickCount(), 0);
    QCOMPARE(m_main->platform.sound.played, (QStringList {"beep", "beep"}));
    QCOMPARE(popup().pos(), place);

    // Closed and shown again: the same place, a fresh countdown.
    popup().closeOnDoubleClick();
    carryOutMessage(QStringLiteral("第三条"));
    QCOMPARE(text("lbNum"), QStringLiteral("10"));
    QCOMPARE(popup().pos(), place);
}

void TestMessagePopup::standsInTheBottomRightCorner()
{
    // This test's own screen is 1024 x 768; the corner on other screens is
    // checked with the placement itself.
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1024, 768));
    QCOMPARE(popup().pos(), QPoint(824, 326));
}

void TestMessagePopup::eachMessageIsAnnounced()
{
    // The popup takes no focus: a screen reader hears it as an alert,
    // when it opens and again for a message that comes while it is up.
    carryOutMessage(QStringLiteral("第一条"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&popup())->text(QAccessible::Description), QStringLiteral("第一条"));
    carryOutMessage(QStringLiteral("第二条"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&popup())->text(QAccessible::Description), QStringLiteral("第二条"));
}

void TestMessagePopup::snoozeAddsTheSameMessageLater_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("time");
    QTest::newRow("5") << 5 << "12:05:00";
    QTest::newRow("10") << 10 << "12:10:00";
    QTest::newRow("30") << 30 << "12:30:00";
}

void TestMessagePopup::snoozeAddsTheSameMessageLater()
{
    QFETCH(int, minutes);
    QFETCH(QString, time);
    m_main->platform.clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0, 250)));
    carryOutMessage(QStringLiteral("交周报"));
    auto *snooze = popup().findChild<QToolButton *>(QStringLiteral("btnSnooze"));
    QVERIFY(snooze && snooze->isVisible());
    QCOMPARE(snooze->accessibleName(), QStringLiteral("稍后提醒"));
    QVERIFY(snooze->focusPolicy() & Qt::TabFocus);
    // On the picture, clear of the board's text and countdown.
    QVERIFY(QRect(QPoint(0, 0), popup().size()).contains(snooze->geometry()));
    QVERIFY(!snooze->geometry().intersects(popup().findChild<QLabel *>(QStringLiteral("lbNum"))->geometry()));

    const int rows = m_main->form().missions()->count();
    QAction *choice = snooze->menu()->findChild<QAction *>(QStringLiteral("snooze%1").arg(minutes));
    QVERIFY(choice);
    choice->trigger();
    QVERIFY(!popup().isVisible());
    QCOMPARE(m_main->form().missions()->count(), rows + 1);
    const Mission &added = m_main->form().missions()->mission(rows);
    QCOMPARE(added.kindText, QStringLiteral("提示消息"));
    QCOMPARE(added.description, QStringLiteral("交周报"));
    QCOMPARE(added.dateText, QStringLiteral("2026-12-10"));
    QCOMPARE(added.timeText, time);
    QVERIFY(!added.repeats());
}

int main(int argc, char *argv[])
{
    // An offscreen screen of 1024 x 768, the size the popup's place is checked on.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1024, "height": 768,
                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    TestMessagePopup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_messagepopup.moc"
