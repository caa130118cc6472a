#include "ErrorReport.h"

#include <QMessageBox>

QString applicationTitle()
{
    return QStringLiteral("翎鹊时间管理器");
}

QString errorReportText(const QString &error)
{
    static const QString sentenceEnds = QStringLiteral(".。!！?？");
    if (!error.isEmpty() && sentenceEnds.contains(error.back()))
        return error;
    return error + QLatin1Char('.');
}

QMessageBox *showErrorReport(QWidget *parent, const QString &error)
{
    auto *box =
        new QMessageBox(QMessageBox::Critical, applicationTitle(), errorReportText(error), QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("ErrorReport"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    return box;
}
