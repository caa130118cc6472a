#pragma once

#include "MissionListAccess.h"

#include <QObject>

class Clock;
class QMessageBox;
class QWidget;
class MissionEditor;

// The add, modify and delete commands of the main window's mission list.
// Add and modify prepare the one mission editor and open it; delete asks
// first and then removes the selected row.
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

private:
    QMessageBox *makeDeleteQuestion();

    MissionListAccess m_list;
    QWidget *m_window;
    const Clock *m_clock;
    MissionEditor *m_editor = nullptr;
};
