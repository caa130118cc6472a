#include "MissionCommands.h"

#include "MissionEditor.h"
#include "MissionModel.h"

#include <QMessageBox>
#include <QPushButton>

MissionCommands::MissionCommands(const MissionListAccess &list, const Clock *clock, QWidget *window)
    : QObject(window)
    , m_list(list)
    , m_window(window)
    , m_clock(clock)
{
}

MissionEditor *MissionCommands::editor()
{
    if (!m_editor)
        m_editor = new MissionEditor(m_list, m_clock, m_window);
    return m_editor;
}

void MissionCommands::addMission()
{
    MissionEditor *dialog = editor();
    dialog->editMode = MissionEditor::AddMode;
    dialog->btnAddOn()->setVisible(true);
    dialog->btnAddOn()->setText(QStringLiteral("添加并继续"));
    dialog->btnAdd()->setText(QStringLiteral("添加并关闭"));
    dialog->btnClose()->setText(QStringLiteral("不添加关闭"));
    dialog->open();
}

void MissionCommands::modifyMission()
{
    MissionEditor *dialog = editor();
    dialog->editMode = MissionEditor::ModifyMode;
    dialog->btnAddOn()->setVisible(false);
    dialog->btnAdd()->setText(QStringLiteral("修改并保存"));
    dialog->btnClose()->setText(QStringLiteral("不修改关闭"));
    if (m_list.selectedIndex() >= 0)
        dialog->open();
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
