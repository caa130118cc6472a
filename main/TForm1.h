#pragma once

#include "PlatformServices.h"
#include "RunMeter.h"
#include "TfrmTishi.h"

#include <QDateTime>
#include <QMainWindow>

#include <memory>

class MissionDisplayModel;
class MissionModel;
class NavBar;
class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QTableView;
class QToolBar;
class QToolButton;
class SecondTimer;

// The main window: owns the mission list, the two one-second timers, the
// notification-area icon and the run-wide fields, for the whole run.
// Closing it hides it to the notification area; only quitting ends the run.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    // `folder` is the program folder (config.ini, everyday.mis, db.mdb),
    // with its trailing separator.
    TForm1(const PlatformServices &platform, const QString &folder, QWidget *parent = nullptr);

    MissionModel *missions() const { return m_missions; }
    const RunMeter &meter() const { return m_meter; }
    QDateTime startTime() const { return m_startTime; }
    bool chimeOn() const { return m_chimeOn; }
    int crtWatts() const { return m_crtWatts; }
    int hostWatts() const { return m_hostWatts; }
    QString programFolder() const { return m_folder; }
    TfrmTishi *frmTishi() const { return m_frmTishi.get(); }

    // The one selected row, or -1.
    int selectedIndex() const;

    // Run control.
    void mStart();
    void mPause();
    void mStop();

    // The actions of the nine kinds, each handed the row's description.
    void mShutdown();
    void mRestart();
    void mLogoff();
    void mRunProgram(const QString &description);
    void mOpenFile(const QString &description);
    void mShowMessage(const QString &description);
    void mRing();
    void mOpenUrl(const QString &description);
    void mSendMail(const QString &description);

    void Timer2Timer();
    void mnRestoreClick();
    void actQuitExecute();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void FormCreate();
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildNavBar();
    void buildList();
    void buildStatusBar();
    void buildTray();
    void setRunState(bool timerOn, bool startOn, bool pauseOn, bool stopOn);
    void hideToTray(bool withBalloon);

    PlatformServices m_platform;
    QString m_folder;

    RunMeter m_meter;
    QDateTime m_startTime;
    bool m_chimeOn = false;
    int m_crtWatts = 0;
    int m_hostWatts = 0;

    MissionModel *m_missions;
    MissionDisplayModel *m_display = nullptr;
    SecondTimer *m_timer1;
    SecondTimer *m_timer2;
    // A window of its own, not a child: it shows while the main window is hidden.
    std::unique_ptr<TfrmTishi> m_frmTishi;

    QTableView *m_listView = nullptr;
    NavBar *m_navBar = nullptr;
    QToolBar *m_toolBar = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    QMenu *m_trayMenu = nullptr;
    QMenu *m_listMenu = nullptr;
    QLabel *m_panels[3] = {};

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

    QToolButton *m_tbStart = nullptr;
    QToolButton *m_tbPause = nullptr;
    QToolButton *m_tbStop = nullptr;
    QToolButton *m_bStart = nullptr;
    QToolButton *m_bPause = nullptr;
    QToolButton *m_bStop = nullptr;
};
