// The yardstick of the program's start-up: a bare Qt main window showing the
// same kind of content as the program's first window (a menu bar, a
// four-column list of six Chinese rows and a status bar, in the same CJK
// font), with nothing else. scripts/bench.sh starts it and the program in
// the same run and prints the ratio.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(9);
    app.setFont(font);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("翎鹊时间管理器 基准窗口"));
    window.resize(696, 480);
    for (const char *title : {"系统(&S)", "任务(&M)", "控制(&C)", "帮助(&H)"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("退出程序"));

    auto *list = new QTreeWidget(&window);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("任务类型"), QStringLiteral("任务说明"), QStringLiteral("执行日期"),
                           QStringLiteral("执行时间")});
    const char *kinds[] = {"关闭计算机", "执行程序", "提示消息", "系统响铃", "打开网页", "发送邮件"};
    for (int row = 0; row < 6; ++row) {
        new QTreeWidgetItem(list, {QString::fromUtf8(kinds[row]), QStringLiteral("每日提醒事项 %1").arg(row + 1),
                                   QStringLiteral("2026-12-10"), QStringLiteral("23:%1:00").arg(row + 10)});
    }
    window.setCentralWidget(list);

    for (const char *text : {"当前时间:2026-12-10 12:00:00", "运行时间: 0:00:01", "耗电量:0.000075度"})
        window.statusBar()->addWidget(new QLabel(QString::fromUtf8(text)));

    window.show();
    return app.exec();
}
