#pragma once

#include "core/missions/Mission.h"

#include <QDialog>

class Clock;
class MissionList;
class FileNameField;
class NavBar;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class RepeatField;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimeEdit;

// The mission editor: composes one mission from the active page, the date
// and the time, and writes it into the run's mission list, as a new row
// (opened for adding) or over one mission (opened for modifying: the editor
// holds the mission's id, and shows the mission's own texts).
// Created once and reused, so the page inputs keep their contents between
// showings.
class MissionEditor : public QDialog
{
    Q_OBJECT

public:
    enum Mode { AddMode = 1, ModifyMode = 2 };

    MissionEditor(MissionList *missions, const Clock *clock, QWidget *parent = nullptr);

    // Opens the dialog, window-modal, to append new rows.
    void openForAdd();
    // Opens the dialog, window-modal, to overwrite the mission of `row`;
    // nothing happens for a row that does not exist.
    void openForModify(int row);
    Mode mode() const { return m_mode; }

    QPushButton *btnAddOn() const { return m_btnAddOn; }
    QPushButton *btnAdd() const { return m_btnAdd; }
    QPushButton *btnClose() const { return m_btnClose; }
    RepeatField *repeatField() const { return m_repeat; }

    int activePage() const;
    // The row the dialog would write now.
    Mission composedMission() const;

    void resetFields();
    // 添加并关闭 / 修改并保存: writes the row and closes.
    void addAndClose();
    // 添加并继续: writes the row; the dialog stays open as it is.
    void addAndContinue();
    void cancel();
    void useMessagePreset(const QString &text);

    void showPowerPage();
    void showProgramPage();
    void showFilePage();
    void showMessagePage();
    void showRingPage();
    void showWebPage();
    void showMailPage();

signals:
    // A row was appended; `editorClosing` when it came with 添加并关闭.
    void missionAdded(bool editorClosing);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hidePageTabs();
    QWidget *buildHeader();
    NavBar *buildNavBar();
    QWidget *buildPages();
    QWidget *buildSchedule();
    QWidget *buildButtons();
    // The quick times beside the time and the repeat control below it.
    void addRepeatControls(QWidget *group, QGridLayout *layout);
    void setDateAndTime(const QDateTime &moment);
    QWidget *addPage(const QString &objectName, const QString &caption, const QString &title, QWidget *input);
    QString activeInput() const;
    // False, with the reason shown, when the repeat allows no moment. A
    // mission modified that is gone meanwhile is not written; the user is told.
    bool writeComposedMission(bool editorClosing);
    // Puts the texts of `mission` into its page, the date and the time.
    void showMission(const Mission &mission);
    void orderFocusChain(NavBar *navBar);
    void markChosenKind(int page);

    MissionList *m_missions;
    Mode m_mode = AddMode;
    MissionId m_modifiedId = 0;
    const Clock *m_clock;

    QTabWidget *m_pages = nullptr;
    QListWidget *m_listBox = nullptr;
    FileNameField *m_fnPro = nullptr;
    FileNameField *m_fnFile = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QComboBox *m_cbMsg = nullptr;
    FileNameField *m_fnRing = nullptr;
    QLineEdit *m_editUrl = nullptr;
    QLineEdit *m_editEmail = nullptr;
    QDateEdit *m_dpDate = nullptr;
    QTimeEdit *m_dpTime = nullptr;
    RepeatField *m_repeat = nullptr;
    QPushButton *m_btnAddOn = nullptr;
    QPushButton *m_btnAdd = nullptr;
    QPushButton *m_btnClose = nullptr;
    // The navigation items, one per page; the one of the active page is checked.
    QButtonGroup *m_kindItems = nullptr;
};
