#pragma once

#include "LiveSettings.h"
#include "MissionActions.h"
#include "PlatformServices.h"
#include "RunMeter.h"
#include "Scheduler.h"
#include "TfrmTishi.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMainWindow>

#include <memory>

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
class Tdm1;
class SkinEngine;

// The main window: owns the mission list, the two one-second timers, the
// notification-area icon and the run-wide fields, for the whole run.
// Closing it hides it to the notification area; only quitting ends the run.
class TForm1 : public QMainWindow, public MissionActions, public LiveSettings
{
    Q_OBJECT

public:
    // `folder` is the program folder (config.ini, everyday.mis, db.mdb),
    // with its trailing separator.
    TForm1(const PlatformServices &platform, const QString &folder, QWidget *parent = nullptr);

    MissionModel *missions() const { return m_missions; }
    const RunMeter &meter() const { return m_meter; }
    QDateTime startTime() const { return m_startTime; }
    bool chimeOn() const override { return m_chimeOn; }
    int crtWatts() const { return m_crtWatts; }
    int hostWatts() const { return m_hostWatts; }
    Tdm1 *dm1() const { return m_dm1; }
    void setChimeOn(bool on) override { m_chimeOn = on; }
    void applyTheme(int index) override;
    TfrmTishi *frmTishi() const { return m_frmTishi.get(); }

    // The one selected row, or -1.
    int selectedIndex() const;

    // Run control.
    void mStart();
    void mPause();
    void mStop();

    // The actions of the nine kinds, each handed the row's description.
    void mShutdown() override;
    void mRestart() override;
    void mLogoff() override;
    void mRunProgram(const QString &description) override;
    void mOpenFile(const QString &description) override;
    void mShowMessage(const QString &description) override;
    void mRing() override;
    void mOpenUrl(const QString &description) override;
    void mSendMail(const QString &description) override;

    // The once-a-second check of the running list.
    void Timer1Timer();
    void CheckMis();
    void showPreWarning(int row, const QString &message, const QDateTime &moment) override;
    void playHourlySignal(const QString &soundName) override;
    void reportFaultyRow(int row) override;

    void Timer2Timer();
    void mnRestoreClick();
    void mnSetupClick();
    void actQuitExecute();
    void mnHaodianClick();

    // Mission files and daily missions.
    void actSaveMisExecute();
    void actLoadMisExecute();
    void mnLoadMisConvertClick();
    void loadMis(const QString &path);
    void mnpEverydayMissionClick();
    void mnEverydayClick();
    // What the save and load commands do with the name the dialog returned.
    void saveMisAs(const QString &chosenName);
    void loadMisFile(const QString &path, bool toToday);

    // Utility dialogs and information commands.
    void mnSystemTimeClick();
    void actAboutExecute();
    void actHelpContentExecute();
    void mnShengjiClick();
    void mnVisitWebClick();
    void mnQuestionClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

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
    QFileDialog *fileDialog(QFileDialog::AcceptMode mode);
    // Today as a mission's date text, for the loaders that date rows today.
    QString todayText() const;
    bool chooseMisToLoad(QString *path);
    void FormShow();
    void endRun();
    void openOwnedDialog(QDialog *dialog);

    PlatformServices m_platform;
    QString m_folder;

    RunMeter m_meter;
    QDateTime m_startTime;
    bool m_chimeOn = false;
    int m_crtWatts = 0;
    int m_hostWatts = 0;

    MissionModel *m_missions;
    Scheduler m_scheduler;
    SkinEngine *m_skins;
    MissionDisplayModel *m_display = nullptr;
    SecondTimer *m_timer1;
    SecondTimer *m_timer2;
    Tdm1 *m_dm1 = nullptr;
    // A window of its own, not a child: it shows while the main window is hidden.
    std::unique_ptr<TfrmTishi> m_frmTishi;

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

    QToolButton *m_tbStart = nullptr;
    QToolButton *m_tbPause = nullptr;
    QToolButton *m_tbStop = nullptr;
    QToolButton *m_bStart = nullptr;
    QToolButton *m_bPause = nullptr;
    QToolButton *m_bStop = nullptr;
};
