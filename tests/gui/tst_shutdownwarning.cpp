#include "core/missions/MissionModel.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/ShutdownWarning.h"
#include "support/MainWindowFixture.h"
#include "support/RegionalFormatReset.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

class TestPreWarning : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetRegionalFormat(); }

    void looksAsANotice();
    void countsDownAndClosesOnTheEleventhTick();
    void buttonsRecordTheAnswer_data();
    void buttonsRecordTheAnswer();
    void escapeDoesNotAnswer();
    void isAnnouncedWhenItOpens();
    void linesClearTheRuleAtEveryScale_data();
    void linesClearTheRuleAtEveryScale();
    void warnsAndShutsDownOnTimeWithRealTimers();
    void postponeAnswerMovesTheMission();
    void aLateTickOpensTheWarningAndTheShutdownWaits();
    void postponeAfterALoadMovesNoOtherMission();
    void theWarningClosesWhenTheRequestHasGone();
};

void TestPreWarning::looksAsANotice()
{
    QWidget owner;
    ShutdownWarning hint(&owner);
    QCOMPARE(hint.size(), QSize(357, 83));
    QVERIFY(hint.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(hint.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(qRound(hint.windowOpacity() * 255), 200);
    QCOMPARE(hint.tickCount, 0);
    QCOMPARE(hint.userChoice, 0);
    QCOMPARE(hint.findChild<QLabel *>("lbTishi")->text(), QStringLiteral("翎鹊时间管理器"));
    QCOMPARE(hint.findChild<QLabel *>("lbTishi")->pos(), QPoint(16, 16));
    QCOMPARE(hint.findChild<QLabel *>("lbShengyu")->text(), QStringLiteral("该窗口将在10秒后关闭."));
    for (const char *name : {"btnOK", "btnCancel"}) {
        auto *button = hint.findChild<QPushButton *>(name);
        QVERIFY(button->isFlat());
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QCOMPARE(button->size(), QSize(65, 17));
    }
    QCOMPARE(hint.findChild<QPushButton *>("btnOK")->text(), QStringLiteral("确定"));
    QCOMPARE(hint.findChild<QPushButton *>("btnCancel")->text(), QStringLiteral("推迟5分钟"));

    const QString message = QStringLiteral("第一行<") + QChar(13) + QStringLiteral("第二行");
    hint.setMessage(message);
    QCOMPARE(hint.message(), message);
    const QString shown = hint.findChild<QLabel *>("lbTishi")->text();
    QCOMPARE(shown, QStringLiteral("第一行<\n第二行"));
    // Both lines stay whole between y 16 and the rule at y 40: the label
    // ends above the rule and no letter is cut at its top or bottom edge.
    auto *lbTishi = hint.findChild<QLabel *>("lbTishi");
    QCOMPARE(lbTishi->pos(), QPoint(16, 16));
    QVERIFY(lbTishi->geometry().bottom() < 40);
    hint.setMessage(QStringLiteral("翎鹊工作室将在10秒钟之后执行关机操作;\r如果您未选择任何操作,10秒后系统选择确定."));
    const QImage letters = lbTishi->grab().toImage();
    auto inkInRow = [&letters](int y) {
        int dark = 0;
        for (int x = 0; x < letters.width(); ++x)
            dark += qGray(letters.pixel(x, y)) < 128;
        return dark;
    };
    QCOMPARE(inkInRow(0), 0);
    QCOMPARE(inkInRow(letters.height() - 1), 0);
    int inkRows = 0;
    for (int y = 0; y < letters.height(); ++y)
        inkRows += inkInRow(y) > 0;
    QVERIFY2(inkRows >= 18, qPrintable(QString::number(inkRows)));

    hint.placeAtScreenCorner();
    const QRect screen = hint.screen()->geometry();
    QCOMPARE(hint.pos(), QPoint(screen.width() - 357, screen.height() - 83 - 30));
}

void TestPreWarning::countsDownAndClosesOnTheEleventhTick()
{
    QWidget owner;
    ShutdownWarning hint(&owner);
    hint.show();
    QSignalSpy finished(&hint, &QDialog::finished);
    auto *label = hint.findChild<QLabel *>("lbShengyu");
    const QStringList expected = {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1"};
    for (int tick = 0; tick < 10; ++tick) {
        hint.countDown();
        QCOMPARE(label->text(), QStringLiteral("该窗口将在%1秒后关闭.").arg(expected[tick]));
        QVERIFY(hint.isVisible());
    }
    QCOMPARE(finished.count(), 0);
    hint.countDown();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), 0);
    QCOMPARE(hint.userChoice, 0);
    QVERIFY(!hint.isVisible());
}

void TestPreWarning::buttonsRecordTheAnswer_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("choice");
    QTest::newRow("confirm") << "btnOK" << 1;
    QTest::newRow("postpone") << "btnCancel" << 2;
}

void TestPreWarning::buttonsRecordTheAnswer()
{
    QFETCH(QString, button);
    QFETCH(int, choice);
    QWidget owner;
    ShutdownWarning hint(&owner);
    hint.show();
    hint.countDown();
    hint.countDown();
    QTest::mouseClick(hint.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(hint.userChoice, choice);
    QVERIFY(!hint.isVisible());
}

void TestPreWarning::escapeDoesNotAnswer()
{
    QWidget owner;
    ShutdownWarning hint(&owner);
    hint.show();
    QSignalSpy finished(&hint, &QDialog::finished);
    QTest::keyClick(&hint, Qt::Key_Escape);
    QVERIFY(hint.isVisible());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(hint.userChoice, 0);
}

void TestPreWarning::linesClearTheRuleAtEveryScale_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::newRow("1") << qreal(1);
    QTest::newRow("1.5") << qreal(1.5);
    QTest::newRow("2") << qreal(2);
}

void TestPreWarning::linesClearTheRuleAtEveryScale()
{
    // Drawn as on a screen of that scale: the second line's letters end a
    // whole pixel above the rule at y 40, and the first line's begin below
    // the label's top.
    QFETCH(qreal, scale);
    QWidget owner;
    ShutdownWarning hint(&owner);
    hint.setMessage(MissionRunner::warningMessage(MissionKind::mkShutdown));
    auto *lbTishi = hint.findChild<QLabel *>(QStringLiteral("lbTishi"));
    QImage letters(lbTishi->size() * scale, QImage::Format_ARGB32);
    letters.setDevicePixelRatio(scale);
    letters.fill(Qt::white);
    lbTishi->render(&letters, QPoint(), QRegion(), QWidget::DrawChildren);
    auto inkInRow = [&letters](int y) {
        int dark = 0;
        for (int x = 0; x < letters.width(); ++x)
            dark += qGray(letters.pixel(x, y)) < 160;
        return dark;
    };
    const int lastRow = letters.height() - 1;
    const int gap = qCeil(scale);
    for (int y = lastRow; y > lastRow - gap; --y)
        QVERIFY2(inkInRow(y) == 0, qPrintable(QStringLiteral("ink in row %1 of %2").arg(y).arg(lastRow)));
    QVERIFY2(lbTishi->y() + lbTishi->height() <= 40, qPrintable(QString::number(lbTishi->height())));
    QCOMPARE(inkInRow(0), 0);
}

void TestPreWarning::isAnnouncedWhenItOpens()
{
    // The warning takes no focus: a screen reader hears it as an alert,
    // with its message.
    QWidget owner;
    ShutdownWarning hint(&owner);
    hint.setMessage(MissionRunner::warningMessage(MissionKind::mkShutdown));
    hint.show();
    QCOMPARE(QAccessible::queryAccessibleInterface(&hint)->text(QAccessible::Description),
             hint.findChild<QLabel *>(QStringLiteral("lbTishi"))->text());
}

// The whole road with the program's own one-second timers: the warning opens
// ten seconds ahead, the shutdown is requested in its own second, and the
// warning, with nothing left to answer, closes.
void TestPreWarning::warnsAndShutsDownOnTimeWithRealTimers()
{
    MainWindowFixture fixture;
    const QDate today = QDate::currentDate();
    fixture.platform.clock.runFrom(QDateTime(today, QTime(11, 59, 48)));
    MainWindow &form = fixture.form();
    form.missions()->append(
        {QStringLiteral("关闭计算机"), QStringLiteral("关闭计算机"), DateToStr(today), QStringLiteral("12:00:00"), 0});
    const Mission before = form.missions()->mission(0);
    form.show();
    form.startList();

    QPointer<ShutdownWarning> hint;
    QTRY_VERIFY_WITH_TIMEOUT((hint = form.findChild<ShutdownWarning *>()) != nullptr, 5000);
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->message(), QStringLiteral("翎鹊工作室将在10秒钟之后执行关机操作,请选择你的操作;\r"
                                             "如果您未选择任何操作,10秒后系统选择确定并执行关机任务."));
    QCOMPARE(fixture.platform.sound.played, (QStringList {"beep", "beep", "beep"}));
    QVERIFY(hint->isModal());
    QSignalSpy finished(hint.data(), &QDialog::finished);

    QTRY_COMPARE_WITH_TIMEOUT(fixture.platform.session.calls, QStringList {"powerOff"}, 13000);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), 0);
    QCOMPARE(form.missions()->mission(0), before);
    QCOMPARE(fixture.platform.session.calls, QStringList {"powerOff"});
}

void TestPreWarning::postponeAnswerMovesTheMission()
{
    MainWindowFixture fixture;
    const QDate today(2026, 12, 10);
    fixture.platform.clock.set(QDateTime(today, QTime(23, 57, 49)));
    MainWindow &form = fixture.form();
    form.missions()->append({QStringLiteral("重启计算机"), QStringLiteral("重启计算机"), QStringLiteral("2026-12-10"),
                             QStringLiteral("23:58:00"), 0});
    form.startList();
    fixture.platform.clock.set(QDateTime(today, QTime(23, 57, 50)));
    form.missionList().checkDueMissions();
    auto *hint = form.findChild<ShutdownWarning *>();
    QVERIFY(hint);
    QTest::mouseClick(hint->findChild<QPushButton *>("btnCancel"), Qt::LeftButton);
    QCOMPARE(form.missions()->mission(0).dateText, QStringLiteral("2026-12-11"));
    QCOMPARE(form.missions()->mission(0).timeText, QStringLiteral("0:03:00"));
    fixture.platform.clock.set(QDateTime(today, QTime(23, 58, 0)));
    form.missionList().checkDueMissions();
    QVERIFY(fixture.platform.session.calls.isEmpty());
}

// The clock jumps 30 s forward over both the warning's second and the
// shutdown's: the warning opens, and the shutdown comes ten seconds later.
void TestPreWarning::aLateTickOpensTheWarningAndTheShutdownWaits()
{
    QTemporaryDir dir;
    TestPlatform platform;
    const QDate today(2026, 12, 10);
    platform.clock.set(QDateTime(today, QTime(11, 59, 40)));
    MainWindow form(platform.services(), dir.path() + QLatin1Char('/'));
    form.missions()->append({QStringLiteral("关闭计算机"), QStringLiteral("关闭计算机"), QStringLiteral("2026-12-10"),
                             QStringLiteral("12:00:00"), 0});
    form.startList();
    platform.clock.set(QDateTime(today, QTime(12, 0, 10)));
    form.missionList().checkDueMissions();
    auto *hint = form.findChild<ShutdownWarning *>();
    QVERIFY(hint);
    QVERIFY(hint->isVisible());
    QVERIFY(platform.session.calls.isEmpty());
    for (int s = 11; s <= 19; ++s) {
        platform.clock.set(QDateTime(today, QTime(12, 0, s)));
        form.missionList().checkDueMissions();
    }
    QVERIFY(platform.session.calls.isEmpty());
    platform.clock.set(QDateTime(today, QTime(12, 0, 20)));
    form.missionList().checkDueMissions();
    QCOMPARE(platform.session.calls, QStringList {"powerOff"});
    hint->close();
}

// A script loads a list of the same length while the warning is up: 推迟5分钟
// moves none of the new missions, and the user is told.
void TestPreWarning::postponeAfterALoadMovesNoOtherMission()
{
    MainWindowFixture fixture;
    const QDate today(2026, 12, 10);
    fixture.platform.clock.set(QDateTime(today, QTime(11, 59, 48)));
    MainWindow &form = fixture.form();
    form.missions()->append({QStringLiteral("关闭计算机"), QStringLiteral("关闭计算机"), QStringLiteral("2026-12-10"),
                             QStringLiteral("12:00:00"), 0});
    form.startList();
    fixture.platform.clock.set(QDateTime(today, QTime(11, 59, 50)));
    form.missionList().checkDueMissions();
    auto *hint = form.findChild<ShutdownWarning *>();
    QVERIFY(hint);

    form.missions()->clear();
    const Mission loaded {QStringLiteral("重启计算机"), QStringLiteral("重启计算机"), QStringLiteral("2026-12-10"),
                          QStringLiteral("12:00:00"), 0};
    form.missions()->appendAll({loaded});
    QTest::mouseClick(hint->findChild<QPushButton *>("btnCancel"), Qt::LeftButton);
    QCOMPARE(form.missions()->mission(0), loaded);
    const auto *told = form.findChild<QMessageBox *>("PostponeGone");
    QVERIFY(told);
    QVERIFY(told->isVisible());
}

// The shutdown is requested while the warning is up: the warning closes,
// and no postpone can follow it.
void TestPreWarning::theWarningClosesWhenTheRequestHasGone()
{
    MainWindowFixture fixture;
    const QDate today(2026, 12, 10);
    fixture.platform.clock.set(QDateTime(today, QTime(11, 59, 48)));
    MainWindow &form = fixture.form();
    form.missions()->append({QStringLiteral("注销计算机"), QStringLiteral("注销计算机"), QStringLiteral("2026-12-10"),
                             QStringLiteral("12:00:00"), 0});
    form.startList();
    fixture.platform.clock.set(QDateTime(today, QTime(11, 59, 50)));
    form.missionList().checkDueMissions();
    QPointer<ShutdownWarning> hint = form.findChild<ShutdownWarning *>();
    QVERIFY(hint);
    QSignalSpy finished(hint.data(), &QDialog::finished);
    for (int s = 51; s <= 60; ++s) {
        fixture.platform.clock.set(QDateTime(today, QTime(11, 59, 0)).addSecs(s));
        form.missionList().checkDueMissions();
    }
    QCOMPARE(fixture.platform.session.calls, QStringList {"logOff"});
    QCOMPARE(finished.count(), 1);
    QTRY_VERIFY(!hint);
    QCOMPARE(form.missions()->mission(0).timeText, QStringLiteral("12:00:00"));
}

QTEST_MAIN(TestPreWarning)
#include "tst_shutdownwarning.moc"
