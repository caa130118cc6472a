#pragma once

#include "core/missions/MissionList.h"
#include "core/missions/RunMeter.h"
#include "gui/mainwindow/MessagePopup.h"
#include "gui/settings/LiveSettings.h"
#include "platform/PlatformServices.h"
#include "platform/SleepWatcher.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMainWindow>

#include <memory>

class ProgramSettings;
class MissionDisplayModel;
class MissionModel;
class NavBar;
class QAction;
class QDialog;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QTableView;
class QToolBar;
class QToolButton;
class SecondTimer;
class PowerLogStore;
class SkinEngine;

// The main window: a view of the run's mission list (MissionList, which it
// makes and owns), with the run meter's timer, the notification-area icon
// and the run-wide fields, for the whole run.
// Closing it hides it to the notification area; only quitting ends the run.
class MainWindow : public QMainWindow, public LiveSettings
{
    Q_OBJECT

public:
    // `folder` is the program folder (config.ini, everyday.mis, db.mdb),
    // with its trailing separator.
    MainWindow(const PlatformServices &platform, const QString &folder, QWidget *parent = nullptr);

    MissionList &missionList() { return *m_list; }
    MissionModel *missions() const { return &m_list->model(); }
    MissionRunner &runner() { return m_list->runner(); }
    const RunMeter &meter() const { return m_meter; }
    QDateTime startTime() const { return m_startTime; }
    bool chimeOn() const { return m_list->runner().chimeOn(); }
    int crtWatts() const { return m_crtWatts; }
    int hostWatts() const { return m_hostWatts; }
    PowerLogStore *dm1() const { return m_dm1; }
    void setChimeOn(bool on) override { m_list->runner().setChimeOn(on); }
    bool restoresListAtStart() const override { return m_list->restoresAtStart(); }
    void setRestoresListAtStart(bool on) override { m_list->setRestoresAtStart(on); }
    void applyTheme(int index) override;
    // The one message popup, made when the first message comes.
    MessagePopup *messagePopup();

    // The one selected row, or -1.
    int selectedIndex() const;

    // Run control, through the list's commands.
    using RunState = MissionList::RunState;
    RunState runState() const { return m_list->runState(); }
    void startList() { m_list->start(); }
    void pauseList() { m_list->pause(); }
    void stopList() { m_list->stop(); }
    void startListIfOnlyRow() { m_list->startIfOnlyRow(); }
    // A due message: in the popup, or where no screen can show it, in a
    // desktop notice with the popup's "稍后提醒" choices.
    void showMessage(const QString &text);
    // "稍后提醒" on a message: the same text again as a message mission
    // `minutes` from now, carried out once.
    void addSnoozedMessage(const QString &text, int minutes);

    // The shutdown warning for the power mission `id`, due at `moment`;
    // shown without waiting, its postpone answer goes to the scheduler.
    void showShutdownWarning(MissionId id, const QString &message, const QDateTime &moment);
    // One report of the rows the check found unreadable.
    void reportFaultyRows(const QString &report);
    // Missions missed in a sleep or a jump of the clock, shown as a notice
    // when the window is up (the desktop notification is sent regardless).
    void showMissedNotice(const QString &title, const QString &text);

    // The run meter goes on by `seconds` (the status bar's timer ticks one).
    void updateRunMeter(qint64 seconds = 1);
    // The run meter in the status bar and the tint of passed rows, only
    // while someone can see them.
    void showRunMeter();
    // The icon's tool tip, made when it can be seen: the icon is shown, the
    // list changes, the pointer rests on the icon or its menu opens.
    void showTrayToolTip();
    void restoreFromTray();
    void openSettings();
    void quit();
    void openPowerStats();

    // Mission files and daily missions.
    void saveMissionFile();
    void loadMissionFile();
    void loadMissionFileDatedToday();
    void loadDailyMissionsFrom(const QString &path);
    void setAsDailyMission();
    void openDailyMissions();
    // What the save and load commands do with the name the dialog returned.
    void saveMissionsAs(const QString &chosenName);
    // False when the file could not be read: the error is put in `error`
    // when it is given (a script's caller reports it), else shown here.
    bool loadMissionsFrom(const QString &path, bool toToday, QString *error = nullptr);

    // Utility dialogs and information commands.
    void openSystemTime();
    void showAbout();
    void showHelp();
    void showVersionHistory();
    void visitHomepage();
    void sendFeedback();

signals:
    void runStateChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readStartupState(const ProgramSettings &settings);
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildNavBar();
    void buildList();
    void buildStatusBar();
    void buildTray();
    // The run commands' actions follow the list's run state.
    void showRunState(RunState state);
    // The status bar's timer sleeps while the status bar cannot be seen; the
    // seconds it slept through are added to the run meter.
    void followStatusBarVisibility();
    void catchUpRunMeter();
    void hideToTray(bool withBalloon);
    QFileDialog *fileDialog(QFileDialog::AcceptMode mode);
    // Today as a mission's date text, for the loaders that date rows today.
    QString todayText() const;
    bool chooseMissionFileToLoad(QString *path);
    void connectPowerLog();
    void endRun();
    void openOwnedDialog(QDialog *dialog);

    PlatformServices m_platform;
    QString m_folder;
    // Missed notices that came while the window was hidden, shown when it
    // next shows: without a notification service nobody has seen them.
    QStringList m_missedWhileHidden;

    RunMeter m_meter;
    QDateTime m_startTime;
    int m_crtWatts = 0;
    int m_hostWatts = 0;

    MissionList *m_list;
    SkinEngine *m_skins;
    MissionDisplayModel *m_display = nullptr;
    SecondTimer *m_timer2;
    PowerLogStore *m_dm1 = nullptr;
    // A window of its own, not a child: it shows while the main window is hidden.
    std::unique_ptr<MessagePopup> m_messagePopup;

    QTableView *m_listView = nullptr;
    NavBar *m_navBar = nullptr;
    QToolBar *m_toolBar = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    QMenu *m_trayMenu = nullptr;
    QMenu *m_listMenu = nullptr;
    QLabel *m_panels[3] = {};
    QFileDialog *m_openDialog1 = nullptr;
    QFileDialog *m_saveDialog1 = nullptr;

    QAction *m_actAdd = nullptr;
    QAction *m_actDelMis = nullptr;
    QAction *m_actSaveMis = nullptr;
    QAction *m_actLoadMis = nullptr;
    QAction *m_actQuit = nullptr;
    QAction *m_actAbout = nullptr;
    QAction *m_actHelpContent = nullptr;
    QAction *m_mnModify = nullptr;
    QAction *m_mnStart = nullptr;
    QAction *m_mnPause = nullptr;
    QAction *m_mnStop = nullptr;
};
