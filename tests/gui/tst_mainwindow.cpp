#include "core/missions/MissionModel.h"
#include "core/missions/SecondTimer.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/widgets/ErrorReport.h"
#include "support/ChildLookup.h"
#include "support/MainWindowFixture.h"
#include "support/RegionalFormatReset.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hasItsNamedComponents();
    void laysOutTheWindow();
    void menusHoldTheirItemsInOrder_data();
    void menusHoldTheirItemsInOrder();
    void sharedCommandsAnswerBothKeys();
    void runControlSwitchesTheControls_data();
    void runControlSwitchesTheControls();
    void readsTheConfigurationAtStart_data();
    void readsTheConfigurationAtStart();
    void statusBarFollowsTheTicks();
    void listShowsIconsAndTints();
    void tintFollowsTheClockRowByRow();
    void closingWithoutNotificationAreaMinimises();
    void trayActivationRestores_data();
    void trayActivationRestores();
    void errorReportEndsInAFullStop_data();
    void errorReportEndsInAFullStop();
    void errorReportStandsOverTheAskerAsTyped_data();
    void errorReportStandsOverTheAskerAsTyped();
    void displayModelKeepsTheModelRules();
    void tabLeavesTheListAndNamesIt();
    void statusPanelsGiveWayWhenNarrowed_data();
    void statusPanelsGiveWayWhenNarrowed();
    void opensInsideTheAvailableScreen();

private:
    MainWindow &form() { return m_main->form(); }
    template <typename T> T *child(const char *name) { return ::child<T>(&form(), name); }
    void writeConfig(const QByteArray &contents);

    std::unique_ptr<MainWindowFixture> m_main;
};

void TestMainWindow::init()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
}

void TestMainWindow::cleanup()
{
    m_main.reset();
}

void TestMainWindow::writeConfig(const QByteArray &contents)
{
    QFile file(m_main->filePath(QStringLiteral("config.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

void TestMainWindow::hasItsNamedComponents()
{
    const char *widgets[] = {"CoolBar1",   "ToolBar1",   "dxNavBar1", "ListView1", "StatusBar1", "MainMenu1",
                             "PopupMenu1", "PopupMenu2", "tbAdd",     "tbModify",  "tbDel",      "tbStart",
                             "tbPause",    "tbStop",     "tbAbout",   "bAdd",      "bModify",    "bDel",
                             "bStart",     "bPause",     "bStop"};
    for (const char *name : widgets)
        QVERIFY2(form().findChild<QWidget *>(QString::fromLatin1(name)), name);
    const char *actions[] = {"actAdd",    "actDelMis",        "actSaveMis", "actLoadMis", "actQuit",
                             "actAbout",  "actHelpContent",   "mnModify",   "mnStart",    "mnPause",
                             "mnStop",    "mnLoadMisConvert", "mnSetup",    "mnRestore",  "mnpEverydayMission",
                             "mnEveryday"};
    for (const char *name : actions)
        QVERIFY2(form().findChild<QAction *>(QString::fromLatin1(name)), name);
    QVERIFY(form().findChild<QObject *>(QStringLiteral("ActionManager1")));
    QVERIFY(form().findChild<SecondTimer *>(QStringLiteral("Timer1")));
    QVERIFY(form().findChild<SecondTimer *>(QStringLiteral("Timer2")));
    QVERIFY(form().findChild<QObject *>(QStringLiteral("CoolTrayIcon1")));
}

void TestMainWindow::laysOutTheWindow()
{
    QCOMPARE(form().windowTitle(), QStringLiteral("翎鹊时间管理器 2007 -2(内部版本:2.1)"));
    QCOMPARE(form().size(), QSize(696, 480));
    QCOMPARE(child<QWidget>("dxNavBar1")->width(), 153);

    auto *list = child<QTableView>("ListView1");
    const int widths[] = {100, 120, 100, 100};
    for (int column = 0; column < 4; ++column)
        QCOMPARE(list->columnWidth(column), widths[column]);
    QVERIFY(list->showGrid());
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!list->isSortingEnabled());

    // The status bar lays its panels out once the window shows.
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    const char *panels[] = {"StatusBar1Panel0", "StatusBar1Panel1", "StatusBar1Panel2"};
    const int panelWidths[] = {200, 150, 150};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(child<QLabel>(panels[i])->width(), panelWidths[i]);

    auto *start = child<QToolButton>("tbStart");
    QCOMPARE(start->size(), QSize(55, 68));
    QCOMPARE(start->iconSize(), QSize(48, 48));
    QCOMPARE(start->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(start->toolTip(), QStringLiteral("F5"));
    QCOMPARE(child<QToolButton>("tbAdd")->text(), QStringLiteral("添加任务"));
    QCOMPARE(child<QToolButton>("tbAdd")->toolTip(), QStringLiteral("Ins"));
}

void TestMainWindow::menusHoldTheirItemsInOrder_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("system") << "系统(&S)" << QStringList {"系统设置", "设置系统时间", "每日任务维护", "电脑耗电统计",
                                                          "-",        "保存任务",     "加载任务",     "加载至今日",
                                                          "-",        "退出程序"};
    QTest::newRow("mission") << "任务(&M)" << QStringList {"添加任务", "修改任务", "删除任务"};
    QTest::newRow("control") << "控制(&C)" << QStringList {"开始执行", "暂停执行", "停止执行"};
    QTest::newRow("help") << "帮助(&H)"
                          << QStringList {"帮助主题", "关于程序", "升级历史", "-", "访问主页", "问题反馈"};
    QTest::newRow("tray") << "PopupMenu1" << QStringList {"恢复", "关于程序", "-", "关闭程序"};
    QTest::newRow("list") << "PopupMenu2"
                          << QStringList {"添加任务(&A)", "修改任务(&M)", "删除任务(&D)", "-", "设为每日执行任务"};
}

void TestMainWindow::menusHoldTheirItemsInOrder()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QMenu *found = form().findChild<QMenu *>(menu);
    if (!found) {
        for (QAction *top : child<QMenuBar>("MainMenu1")->actions()) {
            if (top->text() == menu)
                found = top->menu();
        }
    }
    QVERIFY(found);
    QStringList texts;
    for (QAction *action : found->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(texts, items);
}

void TestMainWindow::sharedCommandsAnswerBothKeys()
{
    const QList<QKeySequence> add = child<QAction>("actAdd")->shortcuts();
    QVERIFY(add.contains(QKeySequence(Qt::Key_Insert)));
    QVERIFY(add.contains(QKeySequence(Qt::CTRL | Qt::Key_Insert)));
    const QList<QKeySequence> del = child<QAction>("actDelMis")->shortcuts();
    QVERIFY(del.contains(QKeySequence(Qt::Key_Delete)));
    QVERIFY(del.contains(QKeySequence(Qt::CTRL | Qt::Key_Delete)));
    QCOMPARE(child<QAction>("actSaveMis")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(child<QAction>("actLoadMis")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(child<QAction>("mnLoadMisConvert")->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O));
    QCOMPARE(child<QAction>("mnModify")->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(child<QAction>("mnStart")->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(child<QAction>("mnPause")->shortcut(), QKeySequence(Qt::Key_F6));
    QCOMPARE(child<QAction>("mnStop")->shortcut(), QKeySequence(Qt::Key_F7));
}

void TestMainWindow::runControlSwitchesTheControls_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("timerOn");
    QTest::addColumn<bool>("startOn");
    QTest::addColumn<bool>("pauseOn");
    QTest::addColumn<bool>("stopOn");
    QTest::newRow("at creation") << QStringList {} << false << true << false << false;
    QTest::newRow("start") << QStringList {"start"} << true << false << true << true;
    QTest::newRow("start, pause") << QStringList {"start", "pause"} << false << true << false << true;
    QTest::newRow("start, stop") << QStringList {"start", "stop"} << false << true << false << false;
    QTest::newRow("pause, start") << QStringList {"start", "pause", "start"} << true << false << true << true;
    QTest::newRow("pause, stop") << QStringList {"start", "pause", "stop"} << false << true << false << false;
    // The editor's road starts a running list again: nothing changes.
    QTest::newRow("running, started again") << QStringList {"start", "startList"} << true << false << true << true;
}

void TestMainWindow::runControlSwitchesTheControls()
{
    QFETCH(QStringList, events);
    QFETCH(bool, timerOn);
    QFETCH(bool, startOn);
    QFETCH(bool, pauseOn);
    QFETCH(bool, stopOn);
    form().show();
    // Through each of the three controls of a command in turn.
    const char *starts[] = {"tbStart", "mnStart", "bStart"};
    const char *pauses[] = {"tbPause", "mnPause", "bPause"};
    const char *stops[] = {"tbStop", "mnStop", "bStop"};
    int turn = 0;
    for (const QString &event : events) {
        if (event == "startList") {
            form().startList();
            continue;
        }
        const char *name = (event == "start" ? starts : event == "pause" ? pauses : stops)[turn++ % 3];
        if (auto *button = form().findChild<QToolButton *>(QString::fromLatin1(name))) {
            QVERIFY2(button->isEnabled(), name);
            button->click();
        } else {
            QAction *action = child<QAction>(name);
            QVERIFY2(action->isEnabled(), name);
            action->trigger();
        }
    }
    QCOMPARE(child<SecondTimer>("Timer1")->isEnabled(), timerOn);
    for (const char *name : starts)
        QCOMPARE(form().findChild<QObject *>(QString::fromLatin1(name))->property("enabled").toBool(), startOn);
    for (const char *name : pauses)
        QCOMPARE(form().findChild<QObject *>(QString::fromLatin1(name))->property("enabled").toBool(), pauseOn);
    for (const char *name : stops)
        QCOMPARE(form().findChild<QObject *>(QString::fromLatin1(name))->property("enabled").toBool(), stopOn);
    QVERIFY(child<SecondTimer>("Timer2")->isEnabled());
}

void TestMainWindow::readsTheConfigurationAtStart_data()
{
    QTest::addColumn<QByteArray>("config"); // empty: no file
    QTest::addColumn<int>("crt");
    QTest::addColumn<int>("host");
    QTest::addColumn<bool>("chime");
    QTest::newRow("no file") << QByteArray() << 70 << 200 << true;
    QTest::newRow("values") << QByteArray("[other]\r\ncrt=100\r\nzhuji=0x10\r\nautospeek=0\r\n") << 100 << 16 << false;
    QTest::newRow("letters read as defaults") << QByteArray("[OTHER]\nCRT=abc\nautospeek=yes\n") << 70 << 200 << true;
    QTest::newRow("hex zero is off") << QByteArray("[other]\nautospeek=0x0\n") << 70 << 200 << false;
    QTest::newRow("ratings below zero") << QByteArray("[other]\ncrt=-5\nzhuji=-1\n") << 0 << 0 << true;
    QTest::newRow("ratings above 1000") << QByteArray("[other]\ncrt=1001\nzhuji=99999\n") << 1000 << 1000 << true;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[other]\r\ncrt=100\r\n") << 100 << 200 << true;
}

void TestMainWindow::readsTheConfigurationAtStart()
{
    QFETCH(QByteArray, config);
    QFETCH(int, crt);
    QFETCH(int, host);
    QFETCH(bool, chime);
    if (!config.isEmpty())
        writeConfig(config);
    QCOMPARE(form().crtWatts(), crt);
    QCOMPARE(form().hostWatts(), host);
    QCOMPARE(form().chimeOn(), chime);
    QCOMPARE(form().startTime(), m_main->platform.clock.now());
    QCOMPARE(form().missions()->count(), 0);
    QVERIFY(!child<SecondTimer>("Timer1")->isEnabled());
}

void TestMainWindow::statusBarFollowsTheTicks()
{
    m_main->platform.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3)));
    form().show();
    for (int i = 0; i < 60; ++i)
        form().updateRunMeter();
    QCOMPARE(child<QLabel>("StatusBar1Panel0")->text(), QStringLiteral("当前时间:2026-12-10 9:05:03"));
    QCOMPARE(child<QLabel>("StatusBar1Panel1")->text(), QStringLiteral("运行时间: 0:01:00"));
    QCOMPARE(child<QLabel>("StatusBar1Panel2")->text(), QStringLiteral("耗电量:0.004500度"));
    QCOMPARE(form().meter().energyKwh, 270.0 * 60 / 3600000.0);

    // Hidden, the meter goes on but the status bar waits and its timer
    // sleeps; shown again, it is up to date at once.
    auto *timer2 = child<SecondTimer>("Timer2");
    QVERIFY(!timer2->isAsleep());
    form().hide();
    QVERIFY(timer2->isAsleep());
    QVERIFY(timer2->isEnabled());
    m_main->platform.clock.advance(1);
    form().updateRunMeter();
    QCOMPARE(child<QLabel>("StatusBar1Panel1")->text(), QStringLiteral("运行时间: 0:01:00"));
    form().show();
    QVERIFY(!timer2->isAsleep());
    QCOMPARE(child<QLabel>("StatusBar1Panel0")->text(), QStringLiteral("当前时间:2026-12-10 9:05:04"));
    QCOMPARE(child<QLabel>("StatusBar1Panel1")->text(), QStringLiteral("运行时间: 0:01:01"));

    // The tool tip is not remade by the ticks; it follows the list at once
    // and is made again when the pointer rests on the icon.
    auto *tray = child<QObject>("CoolTrayIcon1");
    tray->setProperty("visible", true);
    form().missions()->append({QStringLiteral("执行程序"), QStringLiteral("/bin/true"), QStringLiteral("2026-12-10"),
                               QStringLiteral("12:00:00"), 1});
    const QString oneRow = QStringLiteral("当前任务数:1\n当前耗电量:耗电量:0.004575度");
    QCOMPARE(tray->property("toolTip").toString(), oneRow);
    form().updateRunMeter();
    QCOMPARE(tray->property("toolTip").toString(), oneRow);
    QHelpEvent hover(QEvent::ToolTip, {}, {});
    QCoreApplication::sendEvent(tray, &hover);
    QCOMPARE(tray->property("toolTip").toString(), QStringLiteral("当前任务数:1\n当前耗电量:耗电量:0.004650度"));
}

void TestMainWindow::listShowsIconsAndTints()
{
    m_main->platform.clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    MissionModel *missions = form().missions();
    missions->append({QStringLiteral("执行程序"), QStringLiteral("/bin/a"), QStringLiteral("2026-12-9"),
                      QStringLiteral("13:00:00"), 1});
    missions->append({QStringLiteral("打开文件"), QStringLiteral("/tmp/b"), QStringLiteral("2026-12-10"),
                      QStringLiteral("13:00:00"), 2});
    missions->append({QStringLiteral("打开文件"), QStringLiteral("/tmp/b"), QStringLiteral("2026-12-10"),
                      QStringLiteral("13:00"), 2});
    QAbstractItemModel *shown = child<QTableView>("ListView1")->model();
    QCOMPARE(shown->index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(214, 239, 255));
    QCOMPARE(shown->index(1, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 255, 255));
    QVERIFY(!shown->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(shown->index(0, 1).data(Qt::DecorationRole).isNull());
    // A row whose time cannot be read is marked, with the reason.
    QCOMPARE(shown->index(2, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(200, 0, 0));
    QVERIFY(shown->index(2, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral("13:00")));
    QVERIFY(shown->index(1, 0).data(Qt::ToolTipRole).isNull());
}

void TestMainWindow::tintFollowsTheClockRowByRow()
{
    m_main->platform.clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 59, 58)));
    MissionModel *missions = form().missions();
    for (const char *time : {"12:59:59", "13:00:00", "14:00:00", "13:00:00"})
        missions->append({QStringLiteral("提示消息"), QStringLiteral("x"), QStringLiteral("2026-12-10"),
                          QString::fromLatin1(time), 3});
    QAbstractItemModel *shown = child<QTableView>("ListView1")->model();
    form().show();
    form().updateRunMeter();
    QSignalSpy changed(shown, &QAbstractItemModel::dataChanged);

    // A second with nothing passing repaints nothing.
    form().updateRunMeter();
    QCOMPARE(changed.count(), 0);
    // Three seconds later rows 0, 1 and 3 have passed, row 2 has not.
    m_main->platform.clock.advance(3);
    form().updateRunMeter();
    QList<int> rows;
    for (const QList<QVariant> &signal : std::as_const(changed)) {
        const auto first = signal.at(0).toModelIndex();
        const auto last = signal.at(1).toModelIndex();
        QCOMPARE(first.row(), last.row());
        QCOMPARE(last.column(), shown->columnCount() - 1);
        rows << first.row();
    }
    QCOMPARE(rows, (QList<int> {0, 1, 3}));
    for (int row : rows)
        QCOMPARE(shown->index(row, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(214, 239, 255));
    QCOMPARE(shown->index(2, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 255, 255));
}

void TestMainWindow::closingWithoutNotificationAreaMinimises()
{
    // The offscreen platform has no notification area.
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    form().show();
    form().startList();
    QVERIFY(!form().close());
    QVERIFY(form().isVisible());
    QVERIFY(form().isMinimized());
    QVERIFY(child<SecondTimer>("Timer1")->isEnabled());
    QCOMPARE(m_main->platform.notifier.notices.size(), 1);
    QCOMPARE(m_main->platform.notifier.notices[0].title, QStringLiteral("翎鹊时间管理器友情提示"));
    QCOMPARE(m_main->platform.notifier.notices[0].text, QStringLiteral("翎鹊时间管理器并未关闭,点击这里关闭或恢复"));
    QCOMPARE(m_main->platform.notifier.notices[0].timeoutMs, 10000);

    // A click on the notice brings the window back.
    QVERIFY(m_main->platform.notifier.notices[0].onClicked);
    m_main->platform.notifier.notices[0].onClicked();
    QVERIFY(!form().isMinimized());
    QVERIFY(!form().close());
    QCOMPARE(m_main->platform.notifier.notices.size(), 2);
}

void TestMainWindow::trayActivationRestores_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("restores");
    QTest::newRow("click") << int(QSystemTrayIcon::Trigger) << true;
    QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << true;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false;
    QTest::newRow("context menu") << int(QSystemTrayIcon::Context) << false;
    QTest::newRow("click on the balloon") << -1 << true;
}

void TestMainWindow::trayActivationRestores()
{
    QFETCH(int, reason);
    QFETCH(bool, restores);
    form().show();
    form().showMinimized();
    auto *tray = child<QSystemTrayIcon>("CoolTrayIcon1");
    if (reason < 0)
        emit tray->messageClicked();
    else
        emit tray->activated(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(!form().isMinimized(), restores);
}

void TestMainWindow::errorReportEndsInAFullStop_data()
{
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no stop") << "Cannot open file"
                             << "Cannot open file.";
    QTest::newRow("has stop") << "Cannot open file."
                              << "Cannot open file.";
    QTest::newRow("Chinese stop") << "无法打开文件。"
                                  << "无法打开文件。";
    QTest::newRow("exclamation") << "设置系统时间错误!"
                                 << "设置系统时间错误!";
    QTest::newRow("empty") << ""
                           << ".";
}

void TestMainWindow::errorReportEndsInAFullStop()
{
    QFETCH(QString, error);
    QFETCH(QString, shown);
    QCOMPARE(errorReportText(error), shown);
    QCOMPARE(applicationTitle(), QStringLiteral("翎鹊时间管理器"));
}

void TestMainWindow::errorReportStandsOverTheAskerAsTyped_data()
{
    // On this test's 800 x 800 screen. "Clamped" boxes would stick out of
    // the screen centred over their window, and are kept on it.
    QTest::addColumn<QRect>("asker");
    QTest::addColumn<bool>("clamped");
    QTest::newRow("middle") << QRect(200, 250, 400, 300) << false;
    QTest::newRow("lower right") << QRect(420, 380, 360, 400) << false;
    QTest::newRow("near the right edge") << QRect(580, 300, 200, 200) << true;
    QTest::newRow("top left") << QRect(0, 0, 300, 200) << true;
}

void TestMainWindow::errorReportStandsOverTheAskerAsTyped()
{
    QFETCH(QRect, asker);
    QFETCH(bool, clamped);
    QWidget window;
    window.setGeometry(asker);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // A time text holding tags, as a faulty row may.
    const QString error = QStringLiteral("时间\"<b>9:00</b> &amp;\"无法识别。");
    QMessageBox *box = showErrorReport(&window, error);
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), error);
    auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    QCOMPARE(label->textFormat(), Qt::PlainText);

    // Over the window that asked, not in the screen's corner, and whole on
    // the screen.
    const QRect area = window.screen()->availableGeometry();
    const QRect over = window.frameGeometry();
    const QRect placed = box->frameGeometry();
    const QString where =
        QStringLiteral("box at %1,%2 %3x%4").arg(placed.x()).arg(placed.y()).arg(placed.width()).arg(placed.height());
    QVERIFY2(area.contains(placed), qPrintable(where));
    QVERIFY2(over.contains(placed.center()), qPrintable(where));
    if (clamped) {
        QVERIFY2(placed.left() == area.left() || placed.right() == area.right() || placed.top() == area.top(),
                 qPrintable(where));
    } else {
        QVERIFY2(qAbs(placed.center().x() - over.center().x()) <= 1, qPrintable(where));
        QVERIFY2(qAbs(placed.center().y() - over.center().y()) <= 1, qPrintable(where));
    }
    box->close();
}

void TestMainWindow::displayModelKeepsTheModelRules()
{
    // The list's display over every change the list can see.
    m_main->platform.clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    QAbstractItemModelTester tester(child<QTableView>("ListView1")->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    MissionModel *missions = form().missions();
    const Mission row {QStringLiteral("提示消息"), QStringLiteral("x"), QStringLiteral("2026-12-10"),
                       QStringLiteral("12:00:01"), 3};
    missions->append(row);
    missions->appendAll({row, row, row});
    missions->overwrite(1, {QStringLiteral("执行程序"), QStringLiteral("/bin/a"), QStringLiteral("2026-12-9"),
                            QStringLiteral("8:00:00"), 1});
    missions->setDateTime(2, QStringLiteral("2026-12-11"), QStringLiteral("9:00:00"));
    form().show();
    m_main->platform.clock.advance(5);
    form().updateRunMeter();
    missions->remove(0);
    missions->remove(missions->count() - 1);
    missions->clear();
    missions->append(row);
}

void TestMainWindow::tabLeavesTheListAndNamesIt()
{
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    MissionModel *missions = form().missions();
    for (int i = 0; i < 3; ++i)
        missions->append({QStringLiteral("提示消息"), QStringLiteral("x"), QStringLiteral("2026-12-10"),
                          QStringLiteral("12:00:01"), 3});
    auto *list = child<QTableView>("ListView1");
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Tab);
    QVERIFY(!list->hasFocus());
    QCOMPARE(list->currentIndex().row(), 0);
    QCOMPARE(QAccessible::queryAccessibleInterface(list)->text(QAccessible::Name), QStringLiteral("任务列表"));
}

void TestMainWindow::statusPanelsGiveWayWhenNarrowed_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("as made") << 696;
    QTest::newRow("narrowed") << 420;
    QTest::newRow("very narrow") << 200;
}

void TestMainWindow::statusPanelsGiveWayWhenNarrowed()
{
    QFETCH(int, width);
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    form().updateRunMeter();
    form().resize(width, form().height());
    auto *bar = child<QStatusBar>("StatusBar1");
    QTRY_VERIFY(bar->width() <= std::max(width, form().minimumSizeHint().width()));
    QList<QRect> panels;
    for (int i = 0; i < 3; ++i) {
        auto *panel = child<QLabel>(qPrintable(QStringLiteral("StatusBar1Panel%1").arg(i)));
        QVERIFY2(bar->rect().contains(panel->geometry()), qPrintable(panel->objectName()));
        for (const QRect &before : std::as_const(panels))
            QVERIFY2(!before.intersects(panel->geometry()), qPrintable(panel->objectName()));
        panels << panel->geometry();
    }
    if (width == 696) {
        const int widths[] = {200, 150, 150};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(panels.at(i).width(), widths[i]);
    }
}

void TestMainWindow::opensInsideTheAvailableScreen()
{
    // The test screen is 800 × 600, too small for the window's own place.
    const QRect available = form().screen()->availableGeometry();
    QVERIFY(available.width() < 196 + 696);
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    QVERIFY2(available.contains(form().frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3×%4")
                                                                        .arg(form().frameGeometry().x())
                                                                        .arg(form().frameGeometry().y())
                                                                        .arg(form().frameGeometry().width())
                                                                        .arg(form().frameGeometry().height())));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
