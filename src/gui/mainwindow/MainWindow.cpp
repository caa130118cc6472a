#include "gui/mainwindow/MainWindow.h"

#include "core/files/DailyMissionFile.h"
#include "core/files/MissionFile.h"
#include "core/missions/MissionComposer.h"
#include "core/missions/MissionModel.h"
#include "core/missions/SecondTimer.h"
#include "core/powerlog/PowerLogQuery.h"
#include "core/powerlog/PowerLogStore.h"
#include "core/settings/ProgramSettings.h"
#include "core/text/RegionalFormat.h"
#include "gui/daily/DailyMissionsDialog.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/ProductInfo.h"
#include "gui/dialogs/SystemTimeDialog.h"
#include "gui/dialogs/VersionHistoryDialog.h"
#include "gui/editor/MissionCommands.h"
#include "gui/editor/MissionEditor.h"
#include "gui/mainwindow/MissionDisplayModel.h"
#include "gui/mainwindow/ShutdownWarning.h"
#include "gui/powerstats/PowerStatsWindow.h"
#include "gui/powerstats/QuitWithoutRecord.h"
#include "gui/settings/SettingsDialog.h"
#include "gui/settings/SkinEngine.h"
#include "gui/widgets/ErrorReport.h"
#include "gui/widgets/Icons.h"
#include "gui/widgets/NavBar.h"
#include "gui/widgets/ScreenCorner.h"
#include "platform/Clock.h"
#include "platform/ClockChangeWatcher.h"
#include "platform/Notifier.h"
#include "platform/SessionControl.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString balloonTitle = QStringLiteral("翎鹊时间管理器友情提示");
const QString balloonText = QStringLiteral("翎鹊时间管理器并未关闭,点击这里关闭或恢复");
constexpr int balloonTimeoutMs = 10000;

QAction *makeAction(QObject *owner, const QString &objectName, const QString &caption,
                    const QList<QKeySequence> &shortcuts = {})
{
    auto *action = new QAction(caption, owner);
    action->setObjectName(objectName);
    action->setShortcuts(shortcuts);
    return action;
}

QToolButton *makeToolButton(QToolBar *bar, const QString &objectName, const QString &caption, const QString &toolTip,
                            CommandIcon icon)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setToolTip(toolTip);
    button->setAccessibleName(caption);
    button->setIcon(commandIcon(icon));
    button->setIconSize(QSize(48, 48));
    button->setFixedSize(55, 68);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

// A button that stands for `action` under a caption of its own: it triggers
// the action and is enabled with it.
void bindToAction(QToolButton *button, QAction *action)
{
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QToolButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
}

} // namespace

MainWindow::MainWindow(const PlatformServices &platform, const QString &folder, QWidget *parent)
    : QMainWindow(parent)
    , m_platform(platform)
    , m_folder(folder)
    , m_list(new MissionList(platform, folder, this))
    , m_skins(new SkinEngine(this))
    , m_timer2(new SecondTimer(SecondTimer::JustAfter, this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("翎鹊时间管理器 2007 -2(内部版本:2.1)"));
    setWindowIcon(applicationIcon());
    QFont windowFont(QStringLiteral("MS Sans Serif"), 9);
    windowFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Noto Sans CJK SC")});
    setFont(windowFont);
    resize(696, 480);
    move(196, 110);
    keepInsideAvailableArea(this);

    // The look goes on before the first widget is made, so that no widget
    // is polished in one look and then again in another.
    const ProgramSettings settings(m_folder + QStringLiteral("config.ini"));
    applyTheme(settings.theme());

    m_timer2->setObjectName(QStringLiteral("Timer2"));
    connect(m_timer2, &SecondTimer::timeout, this, [this] { updateRunMeter(); });
    // Not shown yet: nothing to keep current.
    m_timer2->setAsleep(true);

    buildActions();
    buildMenus();

    auto *central = new QWidget(this);
    auto *centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    buildToolBar();
    centralLayout->addWidget(m_toolBar->parentWidget());
    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    buildNavBar();
    buildList();
    body->addWidget(m_navBar);
    body->addWidget(m_listView, 1);
    centralLayout->addLayout(body, 1);
    setCentralWidget(central);

    buildStatusBar();
    buildTray();
    MissionRunner &runner = m_list->runner();
    connect(&runner, &MissionRunner::messageDue, this, &MainWindow::showMessage);
    connect(&runner, &MissionRunner::warningDue, this, &MainWindow::showShutdownWarning);
    connect(&runner, &MissionRunner::faultyRowsFound, this, &MainWindow::reportFaultyRows);
    connect(&runner, &MissionRunner::missedNoticeDue, this, &MainWindow::showMissedNotice);
    connect(m_list, &MissionList::runStateChanged, this, &MainWindow::showRunState);
    connect(m_list, &MissionList::problemFound, this, [this](const QString &report) { showErrorReport(this, report); });
    connect(m_list, &MissionList::dailyRowsUnreadable, this, [this](const QString &notice) {
        makeNotice(QMessageBox::Warning, QStringLiteral("DailyRowsUnreadable"), applicationTitle(), notice, this)
            ->show();
    });
    connect(m_list, &MissionList::loadedRowsRepaired, this, [this](const QString &notice) {
        makeNotice(QMessageBox::Warning, QStringLiteral("LoadedRowsRepaired"), applicationTitle(), notice, this)
            ->show();
    });
    if (m_platform.clockChanges) {
        // The status bar's timer measured its sleep on the old clock.
        connect(m_platform.clockChanges, &ClockChangeWatcher::clockChanged, this, [this] {
            m_timer2->realign();
            showRunMeter();
        });
    }
    const MissionModel *missions = &m_list->model();
    for (const auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(missions, changed, this, &MainWindow::showTrayToolTip);
    connect(missions, &QAbstractItemModel::modelReset, this, &MainWindow::showTrayToolTip);

    auto *missionCommands = new MissionCommands({m_list, [this] { return selectedIndex(); }}, m_platform.clock, this);
    connect(missionCommands, &MissionCommands::missionAdded, this, [this](bool editorClosing) {
        if (editorClosing)
            startListIfOnlyRow();
    });
    connect(m_actAdd, &QAction::triggered, missionCommands, &MissionCommands::addMission);
    connect(m_mnModify, &QAction::triggered, missionCommands, &MissionCommands::modifyMission);
    connect(m_actDelMis, &QAction::triggered, missionCommands, &MissionCommands::deleteMission);
    connect(m_listView, &QAbstractItemView::doubleClicked, missionCommands, &MissionCommands::modifyMission);

    readStartupState(settings);

    m_dm1 = new PowerLogStore(this);
}

void MainWindow::readStartupState(const ProgramSettings &settings)
{
    m_meter = RunMeter();
    m_startTime = m_platform.clock->now();

    m_crtWatts = settings.monitorWatts();
    m_hostWatts = settings.hostWatts();
    m_list->runner().setChimeOn(settings.hourlyChime());

    m_list->startUp(m_list->restoresAtStart());
    showRunState(m_list->runState());
    m_timer2->setEnabled(true);
}

void MainWindow::buildActions()
{
    auto *manager = new QObject(this);
    manager->setObjectName(QStringLiteral("ActionManager1"));
    m_actAdd = makeAction(manager, QStringLiteral("actAdd"), QStringLiteral("添加任务"),
                          {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    m_actAdd->setIcon(commandIcon(CommandIcon::Add));
    m_actDelMis = makeAction(manager, QStringLiteral("actDelMis"), QStringLiteral("删除任务"),
                             {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_Delete)});
    m_actDelMis->setIcon(commandIcon(CommandIcon::Delete));
    m_actSaveMis = makeAction(manager, QStringLiteral("actSaveMis"), QStringLiteral("保存任务"),
                              {QKeySequence(Qt::CTRL | Qt::Key_S)});
    m_actLoadMis = makeAction(manager, QStringLiteral("actLoadMis"), QStringLiteral("加载任务"),
                              {QKeySequence(Qt::CTRL | Qt::Key_O)});
    m_actQuit = makeAction(manager, QStringLiteral("actQuit"), QStringLiteral("退出程序"));
    m_actAbout = makeAction(manager, QStringLiteral("actAbout"), QStringLiteral("关于程序"));
    m_actHelpContent = makeAction(manager, QStringLiteral("actHelpContent"), QStringLiteral("帮助主题"));
    connect(m_actQuit, &QAction::triggered, this, &MainWindow::quit);
    connect(m_actAbout, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_actHelpContent, &QAction::triggered, this, &MainWindow::showHelp);
    connect(m_actSaveMis, &QAction::triggered, this, &MainWindow::saveMissionFile);
    connect(m_actLoadMis, &QAction::triggered, this, &MainWindow::loadMissionFile);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    // A menu item of its own, with its handler.
    auto addItem = [this](QMenu *menu, const QString &name, const QString &caption, void (MainWindow::*handler)(),
                          const QList<QKeySequence> &shortcuts = {}) {
        QAction *action = makeAction(this, name, caption, shortcuts);
        menu->addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu *system = bar->addMenu(QStringLiteral("系统(&S)"));
    system->setObjectName(QStringLiteral("mnSystem"));
    addItem(system, QStringLiteral("mnSetup"), QStringLiteral("系统设置"), &MainWindow::openSettings);
    addItem(system, QStringLiteral("mnSystemTime"), QStringLiteral("设置系统时间"), &MainWindow::openSystemTime);
    addItem(system, QStringLiteral("mnEveryday"), QStringLiteral("每日任务维护"), &MainWindow::openDailyMissions);
    addItem(system, QStringLiteral("mnHaodian"), QStringLiteral("电脑耗电统计"), &MainWindow::openPowerStats);
    system->addSeparator();
    system->addAction(m_actSaveMis);
    system->addAction(m_actLoadMis);
    addItem(system, QStringLiteral("mnLoadMisConvert"), QStringLiteral("加载至今日"),
            &MainWindow::loadMissionFileDatedToday, {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O)});
    system->addSeparator();
    system->addAction(m_actQuit);

    QMenu *mission = bar->addMenu(QStringLiteral("任务(&M)"));
    mission->setObjectName(QStringLiteral("mnMission"));
    mission->addAction(m_actAdd);
    m_mnModify = makeAction(this, QStringLiteral("mnModify"), QStringLiteral("修改任务"), {QKeySequence(Qt::Key_F2)});
    m_mnModify->setIcon(commandIcon(CommandIcon::Modify));
    mission->addAction(m_mnModify);
    mission->addAction(m_actDelMis);

    QMenu *control = bar->addMenu(QStringLiteral("控制(&C)"));
    control->setObjectName(QStringLiteral("mnControl"));
    m_mnStart = addItem(control, QStringLiteral("mnStart"), QStringLiteral("开始执行"), &MainWindow::startList,
                        {QKeySequence(Qt::Key_F5)});
    m_mnPause = addItem(control, QStringLiteral("mnPause"), QStringLiteral("暂停执行"), &MainWindow::pauseList,
                        {QKeySequence(Qt::Key_F6)});
    m_mnStop = addItem(control, QStringLiteral("mnStop"), QStringLiteral("停止执行"), &MainWindow::stopList,
                       {QKeySequence(Qt::Key_F7)});
    m_mnStart->setIcon(commandIcon(CommandIcon::Start));
    m_mnPause->setIcon(commandIcon(CommandIcon::Pause));
    m_mnStop->setIcon(commandIcon(CommandIcon::Stop));

    QMenu *help = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("mnHelp"));
    help->addAction(m_actHelpContent);
    help->addAction(m_actAbout);
    addItem(help, QStringLiteral("mnShengji"), QStringLiteral("升级历史"), &MainWindow::showVersionHistory);
    help->addSeparator();
    addItem(help, QStringLiteral("mnVisitWeb"), QStringLiteral("访问主页"), &MainWindow::visitHomepage);
    addItem(help, QStringLiteral("mnQuestion"), QStringLiteral("问题反馈"), &MainWindow::sendFeedback);
}

void MainWindow::buildToolBar()
{
    auto *band = new QFrame(this);
    band->setObjectName(QStringLiteral("CoolBar1"));
    band->setFrameShape(QFrame::StyledPanel);
    auto *bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(2, 2, 2, 2);

    m_toolBar = new QToolBar(band);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(48, 48));
    bandLayout->addWidget(m_toolBar);
    bandLayout->addStretch(1);

    QToolButton *tbAdd =
        makeToolButton(m_toolBar, QStringLiteral("tbAdd"), m_actAdd->text(), QStringLiteral("Ins"), CommandIcon::Add);
    QToolButton *tbModify = makeToolButton(m_toolBar, QStringLiteral("tbModify"), QStringLiteral("修改任务"),
                                           QStringLiteral("F2"), CommandIcon::Modify);
    QToolButton *tbDel = makeToolButton(m_toolBar, QStringLiteral("tbDel"), QStringLiteral("删除任务"),
                                        QStringLiteral("Del"), CommandIcon::Delete);
    m_toolBar->addSeparator();
    QToolButton *tbStart = makeToolButton(m_toolBar, QStringLiteral("tbStart"), QStringLiteral("开始"),
                                          QStringLiteral("F5"), CommandIcon::Start);
    QToolButton *tbPause = makeToolButton(m_toolBar, QStringLiteral("tbPause"), QStringLiteral("暂停"),
                                          QStringLiteral("F6"), CommandIcon::Pause);
    QToolButton *tbStop = makeToolButton(m_toolBar, QStringLiteral("tbStop"), QStringLiteral("停止"),
                                         QStringLiteral("F7"), CommandIcon::Stop);
    m_toolBar->addSeparator();
    QToolButton *tbAbout =
        makeToolButton(m_toolBar, QStringLiteral("tbAbout"), QStringLiteral("关于"), QString(), CommandIcon::About);

    bindToAction(tbAdd, m_actAdd);
    bindToAction(tbModify, m_mnModify);
    bindToAction(tbDel, m_actDelMis);
    bindToAction(tbStart, m_mnStart);
    bindToAction(tbPause, m_mnPause);
    bindToAction(tbStop, m_mnStop);
    bindToAction(tbAbout, m_actAbout);
}

void MainWindow::buildNavBar()
{
    m_navBar = new NavBar(QSize(16, 16), this);
    m_navBar->setObjectName(QStringLiteral("dxNavBar1"));
    m_navBar->setFixedWidth(153);

    m_navBar->addGroup(QStringLiteral("nbgMission"), QStringLiteral("任务"));
    QToolButton *bAdd = m_navBar->addItem(QStringLiteral("bAdd"), m_actAdd->text(), commandIcon(CommandIcon::Add));
    QToolButton *bModify =
        m_navBar->addItem(QStringLiteral("bModify"), QStringLiteral("修改任务"), commandIcon(CommandIcon::Modify));
    QToolButton *bDel =
        m_navBar->addItem(QStringLiteral("bDel"), QStringLiteral("删除任务"), commandIcon(CommandIcon::Delete));
    m_navBar->addGroup(QStringLiteral("nbgControl"), QStringLiteral("控制"));
    QToolButton *bStart =
        m_navBar->addItem(QStringLiteral("bStart"), QStringLiteral("开始执行"), commandIcon(CommandIcon::Start));
    QToolButton *bPause =
        m_navBar->addItem(QStringLiteral("bPause"), QStringLiteral("暂停执行"), commandIcon(CommandIcon::Pause));
    QToolButton *bStop =
        m_navBar->addItem(QStringLiteral("bStop"), QStringLiteral("停止执行"), commandIcon(CommandIcon::Stop));

    bindToAction(bAdd, m_actAdd);
    bindToAction(bModify, m_mnModify);
    bindToAction(bDel, m_actDelMis);
    bindToAction(bStart, m_mnStart);
    bindToAction(bPause, m_mnPause);
    bindToAction(bStop, m_mnStop);
}

void MainWindow::buildList()
{
    m_display = new MissionDisplayModel(&m_list->model(), m_platform.clock, this);
    m_listView = new QTableView(this);
    m_listView->setObjectName(QStringLiteral("ListView1"));
    m_listView->setAccessibleName(QStringLiteral("任务列表"));
    // Tab leaves the list; the arrows move inside it.
    m_listView->setTabKeyNavigation(false);
    m_listView->setModel(m_display);
    m_listView->setShowGrid(true);
    m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView->setSortingEnabled(false);
    m_listView->setWordWrap(false);
    m_listView->setIconSize(QSize(16, 16));
    m_listView->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    m_listView->verticalHeader()->hide();
    m_listView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_listView->verticalHeader()->setDefaultSectionSize(20);
    QHeaderView *header = m_listView->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    // The repeat column takes what the four columns leave; its rule stands
    // whole in its tool tip.
    header->setStretchLastSection(true);
    const int widths[] = {100, 120, 100, 100};
    for (int column = 0; column < MissionModel::RepeatColumn; ++column)
        m_listView->setColumnWidth(column, widths[column]);

    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("PopupMenu2"));
    // The keys are shown here but served by the main menu's commands.
    QAction *mnpAdd = makeAction(m_listMenu, QStringLiteral("mnpAdd"), QStringLiteral("添加任务(&A)"),
                                 {QKeySequence(Qt::Key_Insert)});
    QAction *mnpModify =
        makeAction(m_listMenu, QStringLiteral("mnpModify"), QStringLiteral("修改任务(&M)"), {QKeySequence(Qt::Key_F2)});
    QAction *mnpDel = makeAction(m_listMenu, QStringLiteral("mnpDel"), QStringLiteral("删除任务(&D)"),
                                 {QKeySequence(Qt::Key_Delete)});
    for (QAction *action : {mnpAdd, mnpModify, mnpDel})
        action->setShortcutContext(Qt::WidgetShortcut);
    mnpAdd->setIcon(commandIcon(CommandIcon::Add));
    mnpModify->setIcon(commandIcon(CommandIcon::Modify));
    mnpDel->setIcon(commandIcon(CommandIcon::Delete));
    m_listMenu->addActions({mnpAdd, mnpModify, mnpDel});
    m_listMenu->addSeparator();
    QAction *mnpEverydayMission =
        makeAction(m_listMenu, QStringLiteral("mnpEverydayMission"), QStringLiteral("设为每日执行任务"));
    m_listMenu->addAction(mnpEverydayMission);
    connect(mnpEverydayMission, &QAction::triggered, this, &MainWindow::setAsDailyMission);
    connect(mnpAdd, &QAction::triggered, m_actAdd, &QAction::trigger);
    connect(mnpModify, &QAction::triggered, m_mnModify, &QAction::trigger);
    connect(mnpDel, &QAction::triggered, m_actDelMis, &QAction::trigger);

    m_listView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_listView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_listMenu->popup(m_listView->viewport()->mapToGlobal(pos)); });
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    // Each panel has its width while there is room and gives way when the
    // window is narrowed, cutting its own text rather than covering the next.
    const int widths[] = {200, 150, 150};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        m_panels[i]->setMinimumWidth(1);
        m_panels[i]->setMaximumWidth(widths[i]);
        m_panels[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        bar->addWidget(m_panels[i], widths[i]);
    }
}

void MainWindow::buildTray()
{
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *restore = makeAction(m_trayMenu, QStringLiteral("mnRestore"), QStringLiteral("恢复"));
    m_trayMenu->addAction(restore);
    m_trayMenu->addAction(m_actAbout);
    m_trayMenu->addSeparator();
    QAction *trayQuit = makeAction(m_trayMenu, QStringLiteral("mnTrayClose"), QStringLiteral("关闭程序"));
    m_trayMenu->addAction(trayQuit);
    connect(restore, &QAction::triggered, this, &MainWindow::restoreFromTray);
    connect(trayQuit, &QAction::triggered, this, &MainWindow::quit);

    m_tray = new QSystemTrayIcon(applicationIcon(), this);
    m_tray->setObjectName(QStringLiteral("CoolTrayIcon1"));
    m_tray->setContextMenu(m_trayMenu);
    // The tool tip is made when it is about to be seen, not every second.
    m_tray->installEventFilter(this);
    connect(m_trayMenu, &QMenu::aboutToShow, this, &MainWindow::showTrayToolTip);
    // Most panels deliver a single activation only: a click brings the
    // window back as a double click does; so does a click on the balloon.
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            restoreFromTray();
    });
    connect(m_tray, &QSystemTrayIcon::messageClicked, this, &MainWindow::restoreFromTray);
}

int MainWindow::selectedIndex() const
{
    const QModelIndexList rows = m_listView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MainWindow::showRunState(RunState state)
{
    m_mnStart->setEnabled(state != RunState::Running);
    m_mnPause->setEnabled(state == RunState::Running);
    m_mnStop->setEnabled(state != RunState::Stopped);
    emit runStateChanged();
}

MessagePopup *MainWindow::messagePopup()
{
    // Not made with the window: the start need not wait for its picture.
    if (!m_messagePopup) {
        m_messagePopup = std::make_unique<MessagePopup>();
        connect(m_messagePopup.get(), &MessagePopup::snoozed, this, &MainWindow::addSnoozedMessage);
    }
    return m_messagePopup.get();
}

void MainWindow::showMessage(const QString &text)
{
    if (QGuiApplication::primaryScreen()) {
        messagePopup()->showMessage(text);
        return;
    }
    // No screen for the popup: the desktop's notice carries the message and
    // the same "稍后提醒" choice.
    QList<Notifier::Choice> choices;
    for (int minutes : MessagePopup::snoozeMinutes())
        choices.append({QString::number(minutes), QStringLiteral("%1 分钟后再提醒").arg(minutes)});
    m_platform.notifier->notifyWithChoices(QStringLiteral("友情提示"), text, 0, choices,
                                           [this, text](const QString &minutes) {
                                               if (MessagePopup::snoozeMinutes().contains(minutes.toInt()))
                                                   addSnoozedMessage(text, minutes.toInt());
                                           });
}

void MainWindow::addSnoozedMessage(const QString &text, int minutes)
{
    m_list->add(snoozedMessage(text, m_platform.clock->now(), minutes));
}

void MainWindow::showShutdownWarning(MissionId id, const QString &message, const QDateTime &moment)
{
    auto *hint = new ShutdownWarning(this);
    hint->setAttribute(Qt::WA_DeleteOnClose);
    // The main window cannot be used while the warning shows, but the
    // ticks go on: the mission is carried out once the warning has been up
    // for ten seconds, whether or not it is still up.
    hint->setWindowModality(Qt::ApplicationModal);
    hint->placeAtScreenCorner();
    hint->setMission(id);
    hint->setMessage(message);
    hint->startCountdown();
    connect(&m_list->runner(), &MissionRunner::powerRequestSent, hint, &ShutdownWarning::noteRequestSent);
    connect(hint, &QDialog::finished, this, [this, hint, id, moment] {
        if (hint->userChoice == ShutdownWarning::Postpone
            && m_list->postpone(id, moment) == Scheduler::PostponeResult::Gone) {
            makeNotice(QMessageBox::Information, QStringLiteral("PostponeGone"), applicationTitle(),
                       QStringLiteral("要推迟的任务已被删除或修改,没有推迟任何任务。"), this)
                ->show();
        }
    });
    hint->show();
}

void MainWindow::reportFaultyRows(const QString &report)
{
    showErrorReport(this, report);
}

void MainWindow::showMissedNotice(const QString &title, const QString &text)
{
    // The desktop notification has been sent already; the window adds a
    // notice of its own where the user looks at it, now or when it next
    // shows.
    if (!isVisible()) {
        m_missedWhileHidden.append(text);
        return;
    }
    makeNotice(QMessageBox::Information, QStringLiteral("MissedNotice"), title, text, this)->show();
}

void MainWindow::updateRunMeter(qint64 seconds)
{
    m_meter.advance(m_crtWatts, m_hostWatts, seconds);
    showRunMeter();
}

void MainWindow::catchUpRunMeter()
{
    if (const qint64 slept = m_timer2->takeSecondsSlept())
        m_meter.advance(m_crtWatts, m_hostWatts, slept);
}

void MainWindow::followStatusBarVisibility()
{
    const bool seen = isVisible() && !isMinimized();
    if (seen != m_timer2->isAsleep())
        return;
    catchUpRunMeter();
    m_timer2->setAsleep(!seen);
    if (seen)
        showRunMeter();
}

void MainWindow::showTrayToolTip()
{
    if (!m_tray->isVisible())
        return;
    catchUpRunMeter();
    m_tray->setToolTip(m_meter.trayToolTip(m_list->model().count()));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The pointer rests on the icon: the tool tip is made just before it shows.
    if (watched == m_tray && event->type() == QEvent::ToolTip)
        showTrayToolTip();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showRunMeter()
{
    // Made only while seen: the status bar and the tint while the window
    // shows; they catch up when shown.
    if (isVisible() && !isMinimized()) {
        m_panels[0]->setText(RunMeter::clockPanelText(m_platform.clock->now()));
        m_panels[1]->setText(m_meter.runTimePanelText());
        m_panels[2]->setText(m_meter.energyPanelText());
        m_display->refreshTints();
    }
}

void MainWindow::hideToTray(bool withBalloon)
{
    const bool inTray = QSystemTrayIcon::isSystemTrayAvailable();
    if (inTray) {
        hide();
        m_tray->show();
        showTrayToolTip();
    } else if (!isMinimized()) {
        // Without a notification area a hidden window could not be reached
        // again: keep it on the task bar, minimised.
        showMinimized();
    }
    if (!withBalloon)
        return;
    // The desktop's notice declares the click that brings the window back
    // (the tray's own balloon declares none on most desktops); the tray's
    // balloon serves only where no notification service runs.
    if (inTray && !m_platform.notifier->canNotify())
        m_tray->showMessage(balloonTitle, balloonText, QSystemTrayIcon::Information, balloonTimeoutMs);
    else
        m_platform.notifier->notify(balloonTitle, balloonText, balloonTimeoutMs, [this] { restoreFromTray(); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hideToTray(true);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    followStatusBarVisibility();
    if (isMinimized() && QSystemTrayIcon::isSystemTrayAvailable())
        QTimer::singleShot(0, this, [this] { hideToTray(false); });
}

void MainWindow::restoreFromTray()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::applyTheme(int index)
{
    // Theme 4 wears stored skin 3; theme 3 is the plain look.
    switch (index) {
    case 0:
    case 1:
    case 2:
    case 4:
        m_skins->loadSkin(index == 4 ? 3 : index);
        m_skins->setActive(true);
        break;
    case 3: m_skins->setActive(false); break;
    default: break;
    }
}

void MainWindow::openSettings()
{
    SettingsDialog dialog(*this, *m_platform.autostart, m_folder + QStringLiteral("config.ini"), m_crtWatts,
                          m_hostWatts, this);
    dialog.exec();
}

void MainWindow::quit()
{
    QString error;
    catchUpRunMeter();
    if (!m_dm1->recordRun(m_startTime, m_platform.clock->now(), m_meter.energyKwh, &error)) {
        // The program can always be ended, with the user's word.
        askQuitWithoutRecord(this, error, [this] { endRun(); });
        return;
    }
    endRun();
}

void MainWindow::endRun()
{
    m_list->endTicks();
    m_timer2->setEnabled(false);
    // exit, not quit: quit first asks every window to close, and the main
    // window refuses a close (it hides to the notification area).
    QCoreApplication::exit(0);
}

QFileDialog *MainWindow::fileDialog(QFileDialog::AcceptMode mode)
{
    // Made on first use: a file dialog starts its folder watchers when it
    // is made, which the start of the program need not wait for.
    QFileDialog *&dialog = mode == QFileDialog::AcceptSave ? m_saveDialog1 : m_openDialog1;
    if (dialog)
        return dialog;
    dialog = new QFileDialog(this);
    const bool save = mode == QFileDialog::AcceptSave;
    dialog->setObjectName(save ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
    dialog->setNameFilter(QStringLiteral("任务文件(*.mis)"));
    dialog->setAcceptMode(mode);
    // A typed name that does not exist is taken; the load reports it.
    dialog->setFileMode(QFileDialog::AnyFile);
    // The saved file is always the chosen name plus ".mis", never the chosen
    // file itself, so there is nothing to confirm.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

void MainWindow::saveMissionFile()
{
    if (m_list->model().count() == 0)
        return;
    QFileDialog *dialog = fileDialog(QFileDialog::AcceptSave);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    const QString chosen = dialog->selectedFiles().first();
    dialog->selectFile(chosen);
    saveMissionsAs(chosen);
}

void MainWindow::saveMissionsAs(const QString &chosenName)
{
    QVector<Mission> missions;
    const MissionModel &model = m_list->model();
    missions.reserve(model.count());
    for (int row = 0; row < model.count(); ++row)
        missions.append(model.mission(row));
    QString error;
    if (!MissionFile::save(chosenName + QStringLiteral(".mis"), missions, &error))
        showErrorReport(this, error);
}

bool MainWindow::chooseMissionFileToLoad(QString *path)
{
    QFileDialog *dialog = fileDialog(QFileDialog::AcceptOpen);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return false;
    *path = dialog->selectedFiles().first();
    dialog->selectFile(*path);
    return true;
}

void MainWindow::loadMissionFile()
{
    QString path;
    if (chooseMissionFileToLoad(&path))
        loadMissionsFrom(path, false);
}

void MainWindow::loadMissionFileDatedToday()
{
    QString path;
    if (chooseMissionFileToLoad(&path))
        loadMissionsFrom(path, true);
}

QString MainWindow::todayText() const
{
    return m_list->todayText();
}

bool MainWindow::loadMissionsFrom(const QString &path, bool toToday, QString *error)
{
    QString problem;
    if (!m_list->load(path, toToday, &problem)) {
        if (error)
            *error = problem;
        else
            showErrorReport(this, problem);
        return false;
    }
    return true;
}

void MainWindow::loadDailyMissionsFrom(const QString &path)
{
    QString error;
    if (!m_list->loadDaily(path, &error))
        showErrorReport(this, error);
}

void MainWindow::setAsDailyMission()
{
    const int row = selectedIndex();
    if (row < 0)
        return;
    const Mission mission = m_list->model().mission(row);
    QString error;
    if (!DailyMissionFile(DailyMissionFile::pathIn(m_folder)).append(mission, &error)) {
        showErrorReport(this, error);
        return;
    }
    makeNotice(QMessageBox::NoIcon, QStringLiteral("EverydayConfirmation"), applicationTitle(),
               QStringLiteral("已经将[") + mission.kindText + QStringLiteral("]设为每日任务!"), this)
        ->open();
}

void MainWindow::openDailyMissions()
{
    DailyMissionsDialog dialog(m_folder, todayText(), this);
    dialog.exec();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    followStatusBarVisibility();
    // Now that the frame is known: wholly inside the screen.
    if (!event->spontaneous())
        keepInsideAvailableArea(this);
    showRunMeter();
    connectPowerLog();
    if (!m_missedWhileHidden.isEmpty()) {
        const QString text = m_missedWhileHidden.join(QStringLiteral("\n\n"));
        m_missedWhileHidden.clear();
        // After the window has come up, so that the notice stands over it.
        QTimer::singleShot(0, this, [this, text] { showMissedNotice(MissionRunner::missedNoticeTitle(), text); });
    }
}

void MainWindow::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    followStatusBarVisibility();
}

void MainWindow::connectPowerLog()
{
    m_dm1->query()->setDatabaseFile(m_folder + QStringLiteral("db.mdb"));
}

void MainWindow::openPowerStats()
{
    auto *window = new PowerStatsWindow(m_dm1, m_platform.clock, m_crtWatts, m_hostWatts, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

void MainWindow::openOwnedDialog(QDialog *dialog)
{
    // Modal to the main window only, so the once-a-second timers and the
    // message popups go on while it is open; it is destroyed when it closes.
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void MainWindow::openSystemTime()
{
    openOwnedDialog(new SystemTimeDialog(m_platform, this));
}

void MainWindow::showAbout()
{
    m_platform.sound->beep();
    openOwnedDialog(new AboutDialog(this));
}

void MainWindow::showHelp()
{
    // No owner: the notice stands on its own and blocks no window.
    auto *notice = new QMessageBox(QMessageBox::Information, QStringLiteral("提示:"),
                                   QStringLiteral("帮助功能暂未提供,敬请期待。"), QMessageBox::Ok);
    notice->setObjectName(QStringLiteral("HelpNotice"));
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setWindowModality(Qt::NonModal);
    notice->show();
}

void MainWindow::showVersionHistory()
{
    openOwnedDialog(new VersionHistoryDialog(this));
}

void MainWindow::visitHomepage()
{
    m_platform.shell->openUrl(homepageAddress());
}

void MainWindow::sendFeedback()
{
    m_platform.shell->sendMail(feedbackAddress());
}
