// Prints how long the power statistics window takes over a power log of
// 100 000 records: to open and show, and for each of its commands; and the
// longest time any of them held the window without returning to the event
// loop. Runs offscreen. A figure to read, not a test: it never fails.
#include "core/powerlog/PowerLogQuery.h"
#include "core/powerlog/PowerLogStore.h"
#include "core/text/RegionalFormat.h"
#include "gui/powerstats/PowerStatsWindow.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QVariant>

#include <cstdio>
#include <functional>

namespace {

constexpr int records = 100000;

// One record a run of an hour, one run a day and a bit, back from today.
void seed(const QString &path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral("CREATE TABLE hd (id INTEGER PRIMARY KEY, 开始时间 DATETIME, 结束时间 DATETIME, "
                                  "耗电 DOUBLE)"));
        db.transaction();
        query.prepare(QStringLiteral("INSERT INTO hd (开始时间, 结束时间, 耗电) VALUES (?, ?, ?)"));
        const QDateTime last(QDate::currentDate(), QTime(8, 0));
        for (int i = 0; i < records; ++i) {
            const QDateTime start = last.addSecs(-qint64(i) * 3 * 3600);
            query.addBindValue(PowerLogQuery::storedText(start));
            query.addBindValue(PowerLogQuery::storedText(start.addSecs(3600)));
            query.addBindValue(0.27);
            query.exec();
        }
        db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
}

double timedMs(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("yyyy-M-d"), QStringLiteral("H:mm:ss"), '.'));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.mdb"));
    seed(path);

    SystemClock clock;
    PowerLogStore dm1;
    dm1.query()->setDatabaseFile(path);
    std::unique_ptr<PowerStatsWindow> window;
    double longest = 0;
    const auto report = [&](const char *what, double ms) {
        longest = std::max(longest, ms);
        std::printf("%s\t%.1f\n", what, ms);
    };
    report("open and show", timedMs([&] {
               window = std::make_unique<PowerStatsWindow>(&dm1, &clock, 70, 200);
               window->show();
               QCoreApplication::processEvents();
           }));
    const auto click = [&](const char *name) {
        window->findChild<QPushButton *>(QString::fromLatin1(name))->click();
        QCoreApplication::processEvents();
    };
    auto *grid = window->findChild<QTableView *>(QStringLiteral("RxDBGrid1"));
    report("scroll to the end", timedMs([&] {
               grid->scrollToBottom();
               QCoreApplication::processEvents();
           }));
    report("统计", timedMs([&] { click("btnTongji"); }));
    report("查看全部", timedMs([&] { click("btnLookAll"); }));
    window->findChild<QDateEdit *>(QStringLiteral("RzDateTimePicker1"))->setDate(QDate::currentDate().addYears(-20));
    report("按日期查看 (20 years)", timedMs([&] { click("btnLook"); }));
    grid->setCurrentIndex(grid->model()->index(100, 0));
    report("删除", timedMs([&] { click("btnDel"); }));
    report("查看全部 again", timedMs([&] { click("btnLookAll"); }));
    const int left = dm1.query()->viewSize();
    report("删除全部", timedMs([&] { click("btnDelAll"); }));
    std::printf("records deleted by 删除全部\t%d\n", left - dm1.query()->viewSize());
    std::printf("longest\t%.1f\n", longest);
    return 0;
}
