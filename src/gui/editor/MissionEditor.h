#pragma once

#include "Mission.h"
#include "MissionListAccess.h"

#include <QDialog>

class Clock;
class FileNameField;
class NavBar;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimeEdit;

// The mission editor: composes one mission from the active page, the date
// and the time, and writes it straight into the main window's list, as a
// new row (add mode) or over the selected row (modify mode). Created once
// and reused, so the page inputs keep their contents between showings.
class MissionEditor : public QDialog
{
    Q_OBJECT

public:
    enum Mode { AddMode = 1, ModifyMode = 2 };

    MissionEditor(const MissionListAccess &list, const Clock *clock, QWidget *parent = nullptr);

    // 1 add, 2 modify; any other value acts as modify. Set by the commands
    // that open the dialog.
    int editMode = AddMode;

    QPushButton *btnAddOn() const { return m_btnAddOn; }
    QPushButton *btnAdd() const { return m_btnAdd; }
    QPushButton *btnClose() const { return m_btnClose; }

    int activePage() const;
    // The row the dialog would write now.
    Mission composedMission() const;

    void resetFields();
    void appendComposedMission();
    void overwriteSelectedMission();
    void add();
    void addAndClose();
    void cancel();
    void useMessagePreset(const QString &text);

    void showPowerPage();
    void showProgramPage();
    void showFilePage();
    void showMessagePage();
    void showRingPage();
    void showWebPage();
    void showMailPage();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void hidePageTabs();
    QWidget *buildHeader();
    NavBar *buildNavBar();
    QWidget *buildPages();
    QWidget *buildSchedule();
    QWidget *buildButtons();
    QWidget *addPage(const QString &objectName, const QString &caption, const QString &title, QWidget *input);
    QString activeInput() const;

    MissionListAccess m_list;
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
    QPushButton *m_btnAddOn = nullptr;
    QPushButton *m_btnAdd = nullptr;
    QPushButton *m_btnClose = nullptr;
};
