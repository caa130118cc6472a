#include "QuitWithoutRecord.h"

#include "ErrorReport.h"

#include <QMessageBox>

void askQuitWithoutRecord(QWidget *parent, const QString &error, const std::function<void()> &endRun)
{
    QMessageBox *report = showErrorReport(parent, error);
    QObject::connect(report, &QMessageBox::finished, parent, [parent, endRun] {
        auto *question = new QMessageBox(QMessageBox::Question, applicationTitle(),
                                         QStringLiteral("本次运行的耗电记录未能保存。是否不保存记录，直接退出程序?"),
                                         QMessageBox::Yes | QMessageBox::No, parent);
        question->setObjectName(QStringLiteral("QuitWithoutRecordQuestion"));
        question->setDefaultButton(QMessageBox::No);
        question->setAttribute(Qt::WA_DeleteOnClose);
        question->setWindowModality(Qt::ApplicationModal);
        QObject::connect(question, &QMessageBox::finished, parent, [endRun](int answer) {
            if (answer == QMessageBox::Yes)
                endRun();
        });
        question->show();
    });
}
