#include "gui/powerstats/QuitWithoutRecord.h"

#include "gui/widgets/ErrorReport.h"

#include <QMessageBox>

namespace {

const char *const quitStepProperty = "quitWithoutRecordStep";

// The report or the question of an earlier quit that is still open.
QMessageBox *openStep(QWidget *parent)
{
    for (QMessageBox *box : parent->findChildren<QMessageBox *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (box->property(quitStepProperty).toBool() && box->isVisible())
            return box;
    }
    return nullptr;
}

} // namespace

void askQuitWithoutRecord(QWidget *parent, const QString &error, const std::function<void()> &endRun)
{
    // Another quit while one is being answered brings that one forward
    // instead of stacking a second report and question.
    if (QMessageBox *open = openStep(parent)) {
        open->raise();
        open->activateWindow();
        return;
    }
    QMessageBox *report = showErrorReport(parent, error);
    report->setProperty(quitStepProperty, true);
    QObject::connect(report, &QMessageBox::finished, parent, [parent, endRun] {
        auto *question = new QMessageBox(QMessageBox::Question, applicationTitle(),
                                         QStringLiteral("本次运行的耗电记录未能保存。是否不保存记录，直接退出程序?"),
                                         QMessageBox::Yes | QMessageBox::No, parent);
        question->setObjectName(QStringLiteral("QuitWithoutRecordQuestion"));
        question->setProperty(quitStepProperty, true);
        question->setDefaultButton(QMessageBox::No);
        question->setAttribute(Qt::WA_DeleteOnClose);
        question->setWindowModality(Qt::ApplicationModal);
        QObject::connect(question, &QMessageBox::finished, parent, [endRun](int answer) {
            if (answer == QMessageBox::Yes)
                endRun();
        });
        showOverAsker(question, parent);
    });
}
