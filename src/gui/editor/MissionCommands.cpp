#include "gui/editor/MissionCommands.h"

#include "core/missions/MissionModel.h"
#include "gui/editor/MissionEditor.h"

#include <QMessageBox>

MissionCommands::MissionCommands(const MissionListAccess &list, const Clock *clock, QWidget *window)
    : QObject(window)
    , m_list(list)
    , m_window(window)
    , m_clock(clock)
{
}

MissionEditor *MissionCommands::editor()
{
    if (!m_editor) {
        m_editor = new MissionEditor(m_list.missions, m_clock, m_window);
        connect(m_editor, &MissionEditor::missionAdded, this, &MissionCommands::missionAdded);
    }
    return m_editor;
}

void MissionCommands::addMission()
{
    editor()->openForAdd();
}

void MissionCommands::modifyMission()
{
    editor()->openForModify(m_list.selectedIndex());
}

QMessageBox *MissionCommands::makeDeleteQuestion()
{
    auto *question =
        new QMessageBox(QMessageBox::NoIcon, QStringLiteral("提示:"), QStringLiteral("确定要删除该任务吗?"),
                        QMessageBox::Yes | QMessageBox::No, m_window);
    question->setObjectName(QStringLiteral("deleteQuestion"));
    question->setAttribute(Qt::WA_DeleteOnClose);
    return question;
}

void MissionCommands::deleteMission()
{
    const int row = m_list.selectedIndex();
    if (row < 0)
        return;
    QMessageBox *question = makeDeleteQuestion();
    // The question is modal to the main window, so the selection cannot
    // move while it is open.
    connect(question, &QMessageBox::finished, this, [this, question, row] {
        if (question->clickedButton() == question->button(QMessageBox::Yes))
            m_list.missions->remove(row);
    });
    question->open();
}
