#include "gui/editor/MissionCommands.h"

#include "core/missions/MissionList.h"
#include "gui/editor/MissionEditor.h"
#include "gui/widgets/ErrorReport.h"

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
    // The question holds the mission itself: a script may delete it or
    // load another list while the question is open.
    const MissionId id = m_list.missions->model().id(row);
    connect(question, &QMessageBox::finished, this, [this, question, id] {
        if (question->clickedButton() != question->button(QMessageBox::Yes))
            return;
        if (!m_list.missions->remove(id))
            showErrorReport(m_window, QStringLiteral("要删除的任务已经不在任务列表中(它已被删除或列表已被重新加载),"
                                                     "没有删除任何任务。"));
    });
    question->open();
}
