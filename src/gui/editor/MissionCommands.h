#pragma once

#include "gui/editor/MissionListAccess.h"

#include <QObject>

class Clock;
class QMessageBox;
class QWidget;
class MissionEditor;

// The add, modify and delete commands of the main window's mission list.
// Add and modify open the one mission editor; delete asks first and then
// removes the selected row.
class MissionCommands : public QObject
{
    Q_OBJECT

public:
    // `window` is the main window: it parents the editor and the question.
    MissionCommands(const MissionListAccess &list, const Clock *clock, QWidget *window);

    // The one editor, made on first use: the program's start does not wait for it.
    MissionEditor *editor();

    void addMission();
    void modifyMission();
    void deleteMission();

signals:
    // The editor appended a row; `editorClosing` when it came with 添加并关闭.
    void missionAdded(bool editorClosing);

private:
    QMessageBox *makeDeleteQuestion();

    MissionListAccess m_list;
    QWidget *m_window;
    const Clock *m_clock;
    MissionEditor *m_editor = nullptr;
};
