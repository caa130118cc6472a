#include "MissionCommands.h"

#include "MissionModel.h"
#include "TfrmMis.h"

#include <QMessageBox>
#include <QPushButton>

MissionCommands::MissionCommands(const MissionListAccess &list, const Clock *clock, QWidget *window)
    : QObject(window)
    , m_list(list)
    , m_window(window)
    , m_frmMis(new TfrmMis(list, clock, window))
{
}

void MissionCommands::actAddExecute()
{
    m_frmMis->editMode = TfrmMis::AddMode;
    m_frmMis->btnAddOn()->setVisible(true);
    m_frmMis->btnAddOn()->setText(QStringLiteral("添加并继续"));
    m_frmMis->btnAdd()->setText(QStringLiteral("添加并关闭"));
    m_frmMis->btnClose()->setText(QStringLiteral("不添加关闭"));
    m_frmMis->open();
}

void MissionCommands::tbModifyClick()
{
    m_frmMis->editMode = TfrmMis::ModifyMode;
    m_frmMis->btnAddOn()->setVisible(false);
    m_frmMis->btnAdd()->setText(QStringLiteral("修改并保存"));
    m_frmMis->btnClose()->setText(QStringLiteral("不修改关闭"));
    if (m_list.selectedIndex() >= 0)
        m_frmMis->open();
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

void MissionCommands::actDelMisExecute()
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
