#include "ErrorReport.h"
#include "MainWindow.h"
#include "MissionModel.h"
#include "RegionalFormat.h"
#include "SecondTimer.h"
#include "TestPlatform.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTemporaryDir>
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
    void closingWithoutNotificationAreaMinimises();
    void errorReportEndsInAFullStop_data();
    void errorReportEndsInAFullStop();

private:
    MainWindow &form();
    template <typename T> T *child(const char *name)
    {
        T *found = form().findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no component named %s", name);
        return found;
    }
    void writeConfig(const QByteArray &contents);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<MainWindow> m_form;
};

void TestMainWindow::init()
{
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("yyyy-M-d"), QStringLiteral("H:mm:ss"), '.'));
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<TestPlatform>();
}

void TestMainWindow::cleanup()
{
    m_form.reset();
}

MainWindow &TestMainWindow::form()
{
    if (!m_form)
        m_form = std::make_unique<MainWindow>(m_platform->services(), m_dir->path() + QLatin1Char('/'));
    return *m_form;
}

void TestMainWindow::writeConfig(const QByteArray &contents)
{
    QFile file(m_dir->filePath(QStringLiteral("config.ini")));
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
    QCOMPARE(form().startTime(), m_platform->clock.now());
    QCOMPARE(form().missions()->count(), 0);
    QVERIFY(!child<SecondTimer>("Timer1")->isEnabled());
}

void TestMainWindow::statusBarFollowsTheTicks()
{
    m_platform->clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3)));
    form().show();
    for (int i = 0; i < 60; ++i)
        form().updateRunMeter();
    QCOMPARE(child<QLabel>("StatusBar1Panel0")->text(), QStringLiteral("当前时间:2026-12-10 9:05:03"));
    QCOMPARE(child<QLabel>("StatusBar1Panel1")->text(), QStringLiteral("运行时间: 0:01:00"));
    QCOMPARE(child<QLabel>("StatusBar1Panel2")->text(), QStringLiteral("耗电量:0.004500度"));
    QCOMPARE(form().meter().energyKwh, 270.0 * 60 / 3600000.0);

    // Hidden, the meter goes on but the status bar waits; shown again, it
    // is up to date at once.
    form().hide();
    m_platform->clock.advance(1);
    form().updateRunMeter();
    QCOMPARE(child<QLabel>("StatusBar1Panel1")->text(), QStringLiteral("运行时间: 0:01:00"));
    form().show();
    QCOMPARE(child<QLabel>("StatusBar1Panel0")->text(), QStringLiteral("当前时间:2026-12-10 9:05:04"));
    QCOMPARE(child<QLabel>("StatusBar1Panel1")->text(), QStringLiteral("运行时间: 0:01:01"));

    // The tool tip follows the list at the next tick.
    auto *tray = child<QObject>("CoolTrayIcon1");
    tray->setProperty("visible", true);
    form().missions()->append({QStringLiteral("执行程序"), QStringLiteral("/bin/true"), QStringLiteral("2026-12-10"),
                               QStringLiteral("12:00:00"), 1});
    form().updateRunMeter();
    QVERIFY(tray->property("toolTip").toString().startsWith(QStringLiteral("当前任务数:1\n当前耗电量:耗电量:")));
}

void TestMainWindow::listShowsIconsAndTints()
{
    m_platform->clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
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
    QCOMPARE(m_platform->notifier.notices.size(), 1);
    QCOMPARE(m_platform->notifier.notices[0].title, QStringLiteral("翎鹊时间管理器友情提示"));
    QCOMPARE(m_platform->notifier.notices[0].text, QStringLiteral("翎鹊时间管理器并未关闭,点击这里关闭或恢复"));
    QCOMPARE(m_platform->notifier.notices[0].timeoutMs, 10000);

    form().restoreFromTray();
    QVERIFY(!form().isMinimized());
    QVERIFY(!form().close());
    QCOMPARE(m_platform->notifier.notices.size(), 2);
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
