#include "gui/dialogs/VersionHistoryDialog.h"

#include "gui/widgets/DialogLook.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/Icons.h"

#include <QPlainTextEdit>
#include <QPushButton>

QString VersionHistoryDialog::releaseNotes()
{
    return QStringLiteral("*版本 2.1\n"
                          "*发布日期: 2007-02-12\n"
                          "*新增设置系统时间对话框,可直接校准电脑时钟\n"
                          "*新增关于窗口与升级历史\n"
                          "*耗电统计可按日期范围汇总电费\n"
                          "*修正加载任务文件时含有中文路径\n"
                          " 会提示找不到文件的问题\n"
                          "*版本 2.0\n"
                          "*发布日期: 2006-11-20\n"
                          "*全新界面,提供五种外观主题\n"
                          "*新增每日任务,每次启动自动加载并开始执行\n"
                          "*新增电脑耗电估算与记录\n"
                          "*版本 1.8\n"
                          "*发布日期: 2006-08-03\n"
                          "*新增整点报时,可在系统设置中关闭\n"
                          "*关机、重启、注销前十秒弹出提醒,\n"
                          " 可推迟五分钟执行\n"
                          "*版本 1.6\n"
                          "*发布日期: 2006-05-16\n"
                          "*新增加载至今日,把保存的任务全部移到今天\n"
                          "*任务列表中已过期的任务以浅色显示\n"
                          "*版本 1.5\n"
                          "*新增打开网页与发送邮件两种任务\n"
                          "*最小化时隐藏到通知区域\n"
                          "*版本 1.2\n"
                          "*发布日期: 2005-12-01\n"
                          "*新增提醒消息与闹铃任务\n"
                          "*任务可以保存到文件并重新加载\n"
                          "*版本 1.0\n"
                          "*发布日期: 2005-09-10\n"
                          "*第一个正式版本\n"
                          "*支持定时运行程序与打开文件\n"
                          "*版本 0.8\n"
                          "*发布日期: 2005-06-25\n"
                          "*新增任务修改与删除\n"
                          "*修正到点时偶尔漏掉任务的问题\n"
                          "*版本 0.5\n"
                          "*发布日期: 2005-04-02\n"
                          "*首次发布,支持定时关机、重启与注销\n");
}

VersionHistoryDialog::VersionHistoryDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmShengji"));
    setWindowTitle(QStringLiteral("升级历史"));
    setFont(songTiPixelFont(12));
    setFixedSize(356, 282);

    auto *notes = new QPlainTextEdit(this);
    notes->setObjectName(QStringLiteral("RichEdit1"));
    notes->setGeometry(8, 8, 337, 233);
    notes->setReadOnly(true);
    notes->setLineWrapMode(QPlainTextEdit::NoWrap);
    notes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    notes->setPlainText(releaseNotes());
    notes->setAccessibleName(QStringLiteral("升级历史"));

    auto *ok = new QPushButton(buttonIcon(ButtonIcon::Ok), QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(264, 250, 81, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
