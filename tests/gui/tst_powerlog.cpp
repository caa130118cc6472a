#include "core/missions/SecondTimer.h"
#include "core/powerlog/PowerLogDataSource.h"
#include "core/powerlog/PowerLogQuery.h"
#include "core/powerlog/PowerLogStore.h"
#include "core/text/NumberText.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/powerstats/PowerStatsWindow.h"
#include "support/ChildLookup.h"
#include "support/MainWindowFixture.h"
#include "support/RegionalFormatReset.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

// One record of table hd as the file holds it.
struct Run
{
    QString start;
    QString end;
    double energy = 0;
    bool operator==(const Run &other) const
    {
        return start == other.start && end == other.end && energy == other.energy;
    }
};

const QDate today(2026, 12, 10);
const QDate yesterday = today.addDays(-1);

QString at(const QDate &date, const char *time)
{
    return date.toString(QStringLiteral("yyyy-MM-dd ")) + QLatin1String(time);
}

} // namespace

namespace QTest {
template <> char *toString(const Run &run)
{
    return qstrdup(QStringLiteral("(%1, %2, %3)").arg(run.start, run.end).arg(run.energy, 0, 'g', 17).toUtf8());
}
} // namespace QTest

class TestPowerLog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void quitRecordsTheRun_data();
    void quitRecordsTheRun();
    void quitAfterARangeViewAppendsToTheWholeTable();
    void unusableStoreAsksBeforeQuitting_data();
    void unusableStoreAsksBeforeQuitting();
    void repeatedQuitsRaiseTheOpenAnswer();

    void laysOutTheWindow();
    void gridShowsRecordsInTheirTypesTexts();
    void idColumnFitsTheHighestId();
    void marksTheCurrentAndEvenRecords();
    void dateRangeListsRunsWhollyInside_data();
    void dateRangeListsRunsWhollyInside();
    void totals_data();
    void totals();
    void deletesTheCurrentRecord_data();
    void deletesTheCurrentRecord();
    void deleteAllRemovesOnlyTheListedRecords();
    void errorsReachTheReport_data();
    void errorsReachTheReport();
    void deletesFromATableWithoutKey();
    void tableLackingAColumnIsNamed_data();
    void tableLackingAColumnIsNamed();
    void longLogIsReadAsItScrolls();
    void tabLeavesTheGridAndNamesIt();
    void recordsKeepTheModelRules();
    void energyColumnFitsALongLog();

private:
    QString storePath() const { return m_main->filePath(QStringLiteral("db.mdb")); }
    // `table` is the definition of table hd, a key column first by default.
    void seed(const QList<Run> &runs, const QString &table = QString());
    QList<Run> stored();
    PowerStatsWindow &window();
    QList<double> listedEnergies();
    void click(const char *button) { child<QPushButton>(&window(), button)->click(); }
    // The text of the one error report shown by `owner`, which is closed.
    QString takeErrorReport(QWidget *owner);

    std::unique_ptr<MainWindowFixture> m_main;
    std::unique_ptr<PowerLogStore> m_dm1;
    std::unique_ptr<PowerStatsWindow> m_window;
};

void TestPowerLog::init()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
    m_main->platform.clock.set(QDateTime(today, QTime(12, 0, 0)));
}

void TestPowerLog::cleanup()
{
    m_window.reset();
    m_dm1.reset();
}

void TestPowerLog::seed(const QList<Run> &runs, const QString &table)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(storePath());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS hd ")
                           + (table.isEmpty() ? QStringLiteral("(id INTEGER PRIMARY KEY, 开始时间 DATETIME, "
                                                               "结束时间 DATETIME, 耗电 DOUBLE)")
                                              : table)));
        QVERIFY(db.transaction());
        for (const Run &run : runs) {
            query.prepare(QStringLiteral("INSERT INTO hd (开始时间, 结束时间, 耗电) VALUES (?, ?, ?)"));
            query.addBindValue(run.start);
            query.addBindValue(run.end);
            query.addBindValue(run.energy);
            QVERIFY(query.exec());
        }
        QVERIFY(db.commit());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
}

QList<Run> TestPowerLog::stored()
{
    QList<Run> runs;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(storePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT 开始时间, 结束时间, 耗电 FROM hd ORDER BY rowid"), db);
            while (query.next())
                runs.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toDouble()});
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return runs;
}

PowerStatsWindow &TestPowerLog::window()
{
    if (!m_window) {
        m_dm1 = std::make_unique<PowerLogStore>();
        m_dm1->query()->setDatabaseFile(storePath());
        m_window = std::make_unique<PowerStatsWindow>(m_dm1.get(), &m_main->platform.clock, 70, 200);
    }
    return *m_window;
}

QList<double> TestPowerLog::listedEnergies()
{
    QAbstractItemModel *model = child<QTableView>(&window(), "RxDBGrid1")->model();
    QList<double> energies;
    for (int row = 0; row < model->rowCount(); ++row)
        energies.append(model->index(row, 3).data(Qt::EditRole).toDouble());
    return energies;
}

QString TestPowerLog::takeErrorReport(QWidget *owner)
{
    const QList<QMessageBox *> reports = owner->findChildren<QMessageBox *>(QStringLiteral("ErrorReport"));
    if (reports.size() != 1)
        return QStringLiteral("%1 error reports").arg(reports.size());
    const QString text = reports.first()->text();
    reports.first()->button(QMessageBox::Ok)->click();
    delete reports.first();
    return text;
}

void TestPowerLog::quitRecordsTheRun_data()
{
    QTest::addColumn<QByteArray>("existing"); // the store before the quit
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("msAfterLastTick");
    QTest::addColumn<double>("energy");
    QTest::newRow("right after start, no file") << QByteArray() << 0 << 250 << 0.0;
    QTest::newRow("one hour at 70 W + 200 W") << QByteArray() << 3600 << 999 << 0.27;
    QTest::newRow("file without the table") << QByteArray("other") << 1 << 0 << 270.0 / 3600000;
}

void TestPowerLog::quitRecordsTheRun()
{
    QFETCH(QByteArray, existing);
    QFETCH(int, ticks);
    QFETCH(int, msAfterLastTick);
    QFETCH(double, energy);
    m_main->platform.clock.set(QDateTime(today, QTime(9, 5, 3, 125)));
    if (!existing.isEmpty()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(storePath());
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE other (x INTEGER)")));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    MainWindow &form = m_main->form();
    form.show();
    for (int i = 0; i < ticks; ++i) {
        m_main->platform.clock.advance(1);
        form.updateRunMeter();
    }
    m_main->platform.clock.set(m_main->platform.clock.now().addMSecs(msAfterLastTick));
    form.quit();

    const QString start = QStringLiteral("2026-12-10 09:05:03.125");
    const QString end = PowerLogQuery::storedText(m_main->platform.clock.now());
    QCOMPARE(stored(), QList<Run>({{start, end, energy}}));
    QVERIFY(!child<SecondTimer>(&form, "Timer1")->isEnabled());
    QVERIFY(!child<SecondTimer>(&form, "Timer2")->isEnabled());
    QVERIFY(!form.dm1()->query()->isOpen());
    QVERIFY(form.findChildren<QMessageBox *>().isEmpty());
}

void TestPowerLog::quitAfterARangeViewAppendsToTheWholeTable()
{
    seed({{at(yesterday, "08:00:00.000"), at(yesterday, "09:00:00.000"), 0.1}});
    MainWindow &form = m_main->form();
    form.show();
    child<QAction>(&form, "mnHaodian")->trigger();
    QPointer<PowerStatsWindow> statistics = form.findChild<PowerStatsWindow *>();
    QVERIFY(statistics);
    QVERIFY(statistics->isVisible());
    QVERIFY(statistics->isModal());
    QCOMPARE(statistics->parentWidget(), &form);
    // Today's range lists nothing of yesterday's run.
    child<QPushButton>(statistics, "btnLook")->click();
    QCOMPARE(form.dm1()->query()->rowCount(), 0);
    child<QPushButton>(statistics, "btnClose")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!statistics);

    m_main->platform.clock.advance(60);
    form.quit();
    const QList<Run> runs = stored();
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.last().start, PowerLogQuery::storedText(form.startTime()));
    QCOMPARE(form.dm1()->query()->sql(), QStringLiteral("select * from hd"));
}

void TestPowerLog::unusableStoreAsksBeforeQuitting_data()
{
    QTest::addColumn<bool>("folderInItsPlace"); // else a damaged file
    QTest::addColumn<bool>("quitAnyway");
    QTest::newRow("damaged file, stay") << false << false;
    QTest::newRow("damaged file, quit") << false << true;
    QTest::newRow("folder in its place, stay") << true << false;
    QTest::newRow("folder in its place, quit") << true << true;
}

void TestPowerLog::unusableStoreAsksBeforeQuitting()
{
    QFETCH(bool, folderInItsPlace);
    QFETCH(bool, quitAnyway);
    if (folderInItsPlace) {
        QVERIFY(QDir(m_main->folder()).mkdir(QStringLiteral("db.mdb")));
    } else {
        QFile damaged(storePath());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
    }
    MainWindow &form = m_main->form();
    form.show();
    form.startList();
    form.quit();

    const QString report = takeErrorReport(&form);
    QVERIFY2(report.contains(QDir::toNativeSeparators(storePath())), qPrintable(report));
    QVERIFY2(report.startsWith(QStringLiteral("数据库“")), qPrintable(report));
    QVERIFY(report.endsWith(QStringLiteral("。")));
    auto *question = form.findChild<QMessageBox *>(QStringLiteral("QuitWithoutRecordQuestion"));
    QVERIFY(question);
    QVERIFY(question->isVisible());
    // Nothing ends while the user has not answered.
    QVERIFY(child<SecondTimer>(&form, "Timer2")->isEnabled());
    question->button(quitAnyway ? QMessageBox::Yes : QMessageBox::No)->click();

    QCOMPARE(child<SecondTimer>(&form, "Timer1")->isEnabled(), !quitAnyway);
    QCOMPARE(child<SecondTimer>(&form, "Timer2")->isEnabled(), !quitAnyway);
    QVERIFY(form.isVisible());
}

void TestPowerLog::repeatedQuitsRaiseTheOpenAnswer()
{
    QVERIFY(QDir(m_main->folder()).mkdir(QStringLiteral("db.mdb")));
    MainWindow &form = m_main->form();
    form.show();
    const auto open = [&form](const QString &name) {
        return int(form.findChildren<QMessageBox *>(name, Qt::FindDirectChildrenOnly).size());
    };
    form.quit();
    form.quit();
    form.quit();
    QCOMPARE(open(QStringLiteral("ErrorReport")), 1);
    QCOMPARE(open(QStringLiteral("QuitWithoutRecordQuestion")), 0);

    form.findChild<QMessageBox *>(QStringLiteral("ErrorReport"))->button(QMessageBox::Ok)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(open(QStringLiteral("ErrorReport")), 0);
    QCOMPARE(open(QStringLiteral("QuitWithoutRecordQuestion")), 1);
    form.quit();
    form.quit();
    QCOMPARE(open(QStringLiteral("ErrorReport")), 0);
    QCOMPARE(open(QStringLiteral("QuitWithoutRecordQuestion")), 1);

    form.findChild<QMessageBox *>(QStringLiteral("QuitWithoutRecordQuestion"))->button(QMessageBox::No)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(open(QStringLiteral("QuitWithoutRecordQuestion")), 0);
    // Answered: the next quit asks afresh.
    form.quit();
    QCOMPARE(open(QStringLiteral("ErrorReport")), 1);
    QVERIFY(child<SecondTimer>(&form, "Timer2")->isEnabled());
}

void TestPowerLog::laysOutTheWindow()
{
    PowerStatsWindow &form = window();
    QCOMPARE(form.windowTitle(), QStringLiteral("电脑耗电量统计"));
    QCOMPARE(form.size(), QSize(575, 441));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(child<QTableView>(&form, "RxDBGrid1")->geometry(), QRect(16, 56, 417, 241));
    // The pickers stand where they belong, 89 wide or as wide as the whole
    // date needs in the program's font.
    for (const char *picker : {"RzDateTimePicker1", "RzDateTimePicker2"}) {
        const QRect place = child<QDateEdit>(&form, picker)->geometry();
        QCOMPARE(place.topLeft(), QPoint(qstrcmp(picker, "RzDateTimePicker1") == 0 ? 80 : 344, 21));
        QCOMPARE(place.height(), 20);
        QVERIFY(place.width() >= 89);
    }
    QCOMPARE(child<QDateEdit>(&form, "RzDateTimePicker2")->date(), today);
    const char *buttons[][2] = {{"btnLook", "按日期查看"}, {"btnLookAll", "查看全部"}, {"btnDel", "删除"},
                                {"btnDelAll", "删除全部"}, {"btnTongji", "统计"},      {"btnClose", "关闭"}};
    for (const auto &button : buttons)
        QCOMPARE(child<QPushButton>(&form, button[0])->text(), QString::fromUtf8(button[1]));
    const char *boxes[][2] = {{"RzLineEdit1", "70W"},
                              {"RzLineEdit2", "200W"},
                              {"editHaodian", "0度"},
                              {"editDanweidianfei", "1"},
                              {"editDianfei", "0"}};
    for (const auto &box : boxes)
        QCOMPARE(child<QLineEdit>(&form, box[0])->text(), QString::fromUtf8(box[1]));

    // The rating boxes show the ratings in use.
    PowerStatsWindow other(m_dm1.get(), &m_main->platform.clock, 100, 16);
    QCOMPARE(child<QLineEdit>(&other, "RzLineEdit1")->text(), QStringLiteral("100W"));
    QCOMPARE(child<QLineEdit>(&other, "RzLineEdit2")->text(), QStringLiteral("16W"));
}

void TestPowerLog::gridShowsRecordsInTheirTypesTexts()
{
    seed({{at(today, "09:05:03.125"), at(today, "10:05:03.999"), 0.27},
          {at(today, "00:00:00.000"), at(today, "00:00:00.500"), 0.000075}});
    QAbstractItemModel *model = child<QTableView>(&window(), "RxDBGrid1")->model();
    QCOMPARE(model->columnCount(), 4);
    QStringList titles;
    for (int column = 0; column < 4; ++column)
        titles << model->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(titles, QStringList({"id", "开始时间", "结束时间", "耗电"}));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("2026-12-10 9:05:03"));
    QCOMPARE(model->index(0, 3).data().toString(), QStringLiteral("0.27"));
    QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("2026-12-10"));
    QCOMPARE(model->index(1, 3).data().toString(), QStringLiteral("7.5E-5"));
    QVERIFY(!(model->flags(model->index(0, 3)) & Qt::ItemIsEditable));
}

void TestPowerLog::idColumnFitsTheHighestId()
{
    // More records than the grid reads at first, the highest id last.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("many"));
        db.setDatabaseName(storePath());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE hd (id INTEGER PRIMARY KEY, 开始时间 DATETIME, "
                                          "结束时间 DATETIME, 耗电 DOUBLE)")));
        QVERIFY(db.transaction());
        query.prepare(QStringLiteral("INSERT INTO hd (id, 开始时间, 结束时间, 耗电) VALUES (?, ?, ?, 0.27)"));
        for (int id = 1; id <= 1200; ++id) {
            query.addBindValue(id == 1200 ? 1000000 : id);
            query.addBindValue(at(today, "08:00:00.000"));
            query.addBindValue(at(today, "09:00:00.000"));
            QVERIFY(query.exec());
        }
        QVERIFY(db.commit());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("many"));
    auto *grid = child<QTableView>(&window(), "RxDBGrid1");
    // Not all read yet: the grid reads records as they scroll into view.
    QVERIFY(grid->model()->rowCount() < 1200);
    QVERIFY2(grid->columnWidth(0) > grid->fontMetrics().horizontalAdvance(QStringLiteral("1000000")) + 4,
             qPrintable(QString::number(grid->columnWidth(0))));
}

void TestPowerLog::marksTheCurrentAndEvenRecords()
{
    QList<Run> runs;
    for (int i = 0; i < 4; ++i)
        runs.append({at(today, "08:00:00.000"), at(today, "09:00:00.000"), 0.27});
    seed(runs);
    window().show();
    auto *grid = child<QTableView>(&window(), "RxDBGrid1");
    // The selected record is an even one: still light cyan.
    grid->setCurrentIndex(grid->model()->index(1, 0));
    const QImage shot = grid->viewport()->grab().toImage();
    const QColor expected[] = {Qt::white, QColor(128, 255, 255), Qt::white, QColor(128, 255, 255)};
    for (int row = 0; row < 4; ++row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QCOMPARE(QColor(shot.pixel(cell.topLeft() + QPoint(2, 1))), expected[row]);
    }
    // The indicator column marks the current record only.
    QHeaderView *indicator = grid->verticalHeader();
    const QImage marks = indicator->viewport()->grab().toImage();
    for (int row = 0; row < 4; ++row) {
        const QPoint centre(indicator->width() / 2 - 2, indicator->sectionViewportPosition(row) + 8);
        QCOMPARE(QColor(marks.pixel(centre)).lightness() < 100, row == 1);
    }
}

void TestPowerLog::dateRangeListsRunsWhollyInside_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QList<double>>("listed");
    QTest::newRow("both today") << today << today << QList<double> {0.3};
    QTest::newRow("both yesterday") << yesterday << yesterday << QList<double> {};
    QTest::newRow("yesterday to today") << yesterday << today << QList<double> {0.1, 0.3};
    QTest::newRow("start after end") << today << yesterday << QList<double> {};
}

void TestPowerLog::dateRangeListsRunsWhollyInside()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QList<double>, listed);
    seed({{at(yesterday, "23:50:00.000"), at(today, "00:10:00.000"), 0.1},
          {at(today, "08:00:00.000"), at(today, "23:59:59.500"), 0.2},
          {at(today, "10:00:00.000"), at(today, "11:00:00.000"), 0.3}});
    QCOMPARE(listedEnergies(), QList<double>({0.1, 0.2, 0.3}));
    child<QDateEdit>(&window(), "RzDateTimePicker1")->setDate(from);
    child<QDateEdit>(&window(), "RzDateTimePicker2")->setDate(to);
    click("btnLook");
    QCOMPARE(listedEnergies(), listed);
    // 统计 sums the listed runs only.
    double sum = 0;
    for (double energy : listed)
        sum += energy;
    click("btnTongji");
    QCOMPARE(child<QLineEdit>(&window(), "editHaodian")->text(), FloatToStr(sum) + QStringLiteral("度"));
    click("btnLookAll");
    QCOMPARE(listedEnergies().size(), 3);
}

void TestPowerLog::totals_data()
{
    QTest::addColumn<QList<double>>("energies");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("energyText");
    QTest::addColumn<QString>("costText");
    QTest::addColumn<QString>("error");
    QTest::newRow("two of 0.135 at 0.5") << QList<double> {0.135, 0.135} << "0.5"
                                         << "0.27度"
                                         << "0.135"
                                         << "";
    QTest::newRow("no records") << QList<double> {} << "1"
                                << "0度"
                                << "0"
                                << "";
    QTest::newRow("tiny, price 1") << QList<double> {0.000075} << "1"
                                   << "7.5E-5度"
                                   << "7.5E-5"
                                   << "";
    QTest::newRow("long figures") << QList<double> {123456.924} << "1"
                                  << "123456.924度"
                                  << "123456.924"
                                  << "";
    QTest::newRow("fifteen digits, price 0.37") << QList<double> {12345.678901234} << "0.37"
                                                << "12345.678901234度"
                                                << "4567.90119345658"
                                                << "";
    QTest::newRow("price not a number") << QList<double> {0.135, 0.135} << "abc"
                                        << "0.27度"
                                        << "0"
                                        << "'abc' is not a valid floating point value.";
}

void TestPowerLog::totals()
{
    QFETCH(QList<double>, energies);
    QFETCH(QString, price);
    QFETCH(QString, energyText);
    QFETCH(QString, costText);
    QFETCH(QString, error);
    QList<Run> runs;
    for (double energy : energies)
        runs.append({at(today, "08:00:00.000"), at(today, "09:00:00.000"), energy});
    seed(runs);
    child<QLineEdit>(&window(), "editDanweidianfei")->setText(price);
    click("btnTongji");
    // A figure that fits its box is shown whole; a longer one rounded to
    // what fits, never cut inside a digit or before its unit. The whole
    // figure is in the tool tip.
    const std::pair<const char *, QString> totals[] = {{"editHaodian", energyText}, {"editDianfei", costText}};
    for (const auto &[name, whole] : totals) {
        auto *box = child<QLineEdit>(&window(), name);
        const bool energy = qstrcmp(name, "editHaodian") == 0;
        if (!energy && !error.isEmpty()) {
            QCOMPARE(box->text(), whole);
            continue;
        }
        QCOMPARE(box->toolTip(), whole);
        const QString shown = box->text();
        QVERIFY2(box->fontMetrics().horizontalAdvance(shown) <= box->width() - 4, qPrintable(shown));
        QCOMPARE(shown.endsWith(QStringLiteral("度")), energy);
        const double wholeValue = *StrToFloat(QString(whole).remove(QStringLiteral("度")));
        const std::optional<double> shownValue = StrToFloat(QString(shown).remove(QStringLiteral("度")));
        QVERIFY2(shownValue, qPrintable(shown));
        QVERIFY2(qAbs(*shownValue - wholeValue) <= qAbs(wholeValue) * 1e-4, qPrintable(shown));
        if (box->fontMetrics().horizontalAdvance(whole) <= box->width() - 4)
            QCOMPARE(shown, whole);
        QCOMPARE(box->cursorPosition(), 0);
    }
    if (error.isEmpty())
        QVERIFY(window().findChildren<QMessageBox *>().isEmpty());
    else
        QCOMPARE(takeErrorReport(&window()), error);
}

void TestPowerLog::deletesTheCurrentRecord_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QList<double>>("left");
    QTest::newRow("删除") << "button" << QList<double> {0.1, 0.3};
    QTest::newRow("Ctrl+Delete, OK") << "ok" << QList<double> {0.1, 0.3};
    QTest::newRow("Ctrl+Delete, Cancel") << "cancel" << QList<double> {0.1, 0.2, 0.3};
}

void TestPowerLog::deletesTheCurrentRecord()
{
    QFETCH(QString, way);
    QFETCH(QList<double>, left);
    seed({{at(today, "08:00:00.000"), at(today, "09:00:00.000"), 0.1},
          {at(today, "10:00:00.000"), at(today, "11:00:00.000"), 0.2},
          {at(today, "12:00:00.000"), at(today, "13:00:00.000"), 0.3}});
    auto *grid = child<QTableView>(&window(), "RxDBGrid1");
    window().show();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 0));
    if (way == QLatin1String("button")) {
        click("btnDel");
    } else {
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        auto *question = window().findChild<QMessageBox *>(QStringLiteral("DeleteRecordQuestion"));
        QVERIFY(question);
        QCOMPARE(question->text(), QStringLiteral("Delete record?"));
        QCOMPARE(question->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        question->button(way == QLatin1String("ok") ? QMessageBox::Ok : QMessageBox::Cancel)->click();
    }
    QCOMPARE(listedEnergies(), left);
    QCOMPARE(stored().size(), left.size());
    QCOMPARE(grid->currentIndex().row(), 1);
    QVERIFY(window().findChildren<QMessageBox *>(QStringLiteral("ErrorReport")).isEmpty());
}

void TestPowerLog::deleteAllRemovesOnlyTheListedRecords()
{
    seed({{at(yesterday, "08:00:00.000"), at(yesterday, "09:00:00.000"), 0.1},
          {at(today, "08:00:00.000"), at(today, "09:00:00.000"), 0.2},
          {at(today, "10:00:00.000"), at(today, "11:00:00.000"), 0.3}});
    click("btnLook");
    QCOMPARE(listedEnergies(), QList<double>({0.2, 0.3}));
    click("btnDelAll");
    QCOMPARE(listedEnergies(), QList<double>());
    QCOMPARE(stored(), QList<Run>({{at(yesterday, "08:00:00.000"), at(yesterday, "09:00:00.000"), 0.1}}));
    click("btnLookAll");
    QCOMPARE(listedEnergies(), QList<double>({0.1}));
    // Nothing listed: nothing happens.
    click("btnLook");
    click("btnDelAll");
    QCOMPARE(stored().size(), 1);
    QVERIFY(window().findChildren<QMessageBox *>().isEmpty());
}

void TestPowerLog::errorsReachTheReport_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("error"); // empty: the store's own error
    const QString closed = QStringLiteral("ADOQuery1: Cannot perform this operation on a closed dataset.");
    QTest::newRow("删除 on no record") << false << "btnDel"
                                       << "ADOQuery1: Cannot perform this operation on an empty dataset.";
    QTest::newRow("damaged: 统计") << true << "btnTongji" << closed;
    QTest::newRow("damaged: 删除") << true << "btnDel" << closed;
    QTest::newRow("damaged: 删除全部") << true << "btnDelAll" << closed;
    QTest::newRow("damaged: 查看全部") << true << "btnLookAll"
                                       << "";
    QTest::newRow("damaged: 按日期查看") << true << "btnLook"
                                         << "";
}

void TestPowerLog::errorsReachTheReport()
{
    QFETCH(bool, damaged);
    QFETCH(QString, button);
    QFETCH(QString, error);
    if (damaged) {
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        const QString atCreation = takeErrorReport(&window());
        QVERIFY2(atCreation.contains(QDir::toNativeSeparators(storePath())), qPrintable(atCreation));
        QCOMPARE(child<QDateEdit>(&window(), "RzDateTimePicker1")->date(), today);
        if (error.isEmpty())
            error = atCreation;
    }
    click(button.toLatin1().constData());
    QCOMPARE(takeErrorReport(&window()), error);
    QCOMPARE(child<QLineEdit>(&window(), "editHaodian")->text(), QStringLiteral("0度"));
}

void TestPowerLog::deletesFromATableWithoutKey()
{
    const Run first {at(today, "08:00:00.000"), at(today, "09:00:00.000"), 0.1};
    const Run third {at(today, "12:00:00.000"), at(today, "13:00:00.000"), 0.3};
    seed({first, {at(today, "10:00:00.000"), at(today, "11:00:00.000"), 0.2}, third, {first}},
         QStringLiteral("(开始时间 DATETIME, 结束时间 DATETIME, 耗电 DOUBLE)"));
    auto *grid = child<QTableView>(&window(), "RxDBGrid1");
    QCOMPARE(grid->model()->columnCount(), 3);
    // The second of two equal records goes, not the first.
    grid->setCurrentIndex(grid->model()->index(3, 0));
    click("btnDel");
    grid->setCurrentIndex(grid->model()->index(1, 0));
    click("btnDel");
    QVERIFY(window().findChildren<QMessageBox *>().isEmpty());
    QCOMPARE(stored(), QList<Run>({first, third}));
    click("btnDelAll");
    QVERIFY(window().findChildren<QMessageBox *>().isEmpty());
    QCOMPARE(stored(), QList<Run>());
}

void TestPowerLog::tableLackingAColumnIsNamed_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("missing");
    QTest::newRow("no 开始时间") << "(结束时间 DATETIME, 耗电 DOUBLE)"
                                 << "开始时间";
    QTest::newRow("no 结束时间") << "(id INTEGER PRIMARY KEY, 开始时间 DATETIME, 耗电 DOUBLE)"
                                 << "结束时间";
    QTest::newRow("no 耗电") << "(开始时间 DATETIME, 结束时间 DATETIME, 备注 TEXT)"
                             << "耗电";
}

void TestPowerLog::tableLackingAColumnIsNamed()
{
    QFETCH(QString, table);
    QFETCH(QString, missing);
    seed({}, table);
    const QString atOpening = takeErrorReport(&window());
    QVERIFY2(atOpening.contains(QStringLiteral("“%1”").arg(missing)), qPrintable(atOpening));
    QVERIFY2(atOpening.contains(QDir::toNativeSeparators(storePath())), qPrintable(atOpening));

    MainWindow &form = m_main->form();
    form.show();
    form.quit();
    const QString atQuit = takeErrorReport(&form);
    QVERIFY2(atQuit.contains(QStringLiteral("“%1”").arg(missing)), qPrintable(atQuit));
    auto *question = form.findChild<QMessageBox *>(QStringLiteral("QuitWithoutRecordQuestion"));
    QVERIFY(question);
    question->button(QMessageBox::No)->click();
}

void TestPowerLog::longLogIsReadAsItScrolls()
{
    QList<Run> runs;
    for (int i = 0; i < 3000; ++i)
        runs.append({at(today, "08:00:00.000"), at(today, "09:00:00.000"), 0.5});
    seed(runs);
    auto *grid = child<QTableView>(&window(), "RxDBGrid1");
    // Opening reads only a first batch of the records.
    QVERIFY(grid->model()->rowCount() < 1000);
    click("btnTongji");
    QCOMPARE(child<QLineEdit>(&window(), "editHaodian")->text(), QStringLiteral("1500度"));
    QCOMPARE(grid->currentIndex().row(), 2999);
    grid->setCurrentIndex(grid->model()->index(2500, 0));
    click("btnDel");
    QCOMPARE(grid->currentIndex().row(), 2500);
    QCOMPARE(stored().size(), 2999);
    click("btnDelAll");
    QCOMPARE(stored().size(), 0);
    QVERIFY(window().findChildren<QMessageBox *>().isEmpty());
}

void TestPowerLog::tabLeavesTheGridAndNamesIt()
{
    seed({{at(today, "08:00:00.000"), at(today, "09:00:00.000"), 0.27},
          {at(today, "10:00:00.000"), at(today, "11:00:00.000"), 0.27}});
    window().show();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    auto *grid = child<QTableView>(&window(), "RxDBGrid1");
    QCOMPARE(QAccessible::queryAccessibleInterface(grid)->text(QAccessible::Name), QStringLiteral("耗电明细"));
    grid->setFocus(Qt::TabFocusReason);
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->currentIndex().row(), 1);
    QTest::keyClick(grid, Qt::Key_Tab);
    QVERIFY(!grid->hasFocus());
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, 0));
}

void TestPowerLog::recordsKeepTheModelRules()
{
    // The grid's records over every command that changes them. A log that
    // one batch reads whole: the tester itself asks for more rows while it
    // checks an insertion, which a log read in batches cannot take.
    seed({{at(yesterday, "23:50:00.000"), at(today, "00:10:00.000"), 0.1},
          {at(today, "08:00:00.000"), at(today, "09:00:00.000"), 0.2},
          {at(today, "10:00:00.000"), at(today, "11:00:00.000"), 0.3}});
    m_dm1 = std::make_unique<PowerLogStore>();
    QAbstractItemModelTester tester(m_dm1->dataSource(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_dm1->query()->setDatabaseFile(storePath());
    m_window = std::make_unique<PowerStatsWindow>(m_dm1.get(), &m_main->platform.clock, 70, 200);
    m_window->show();
    QCOMPARE(listedEnergies(), QList<double>({0.1, 0.2, 0.3}));
    click("btnLook");
    QCOMPARE(listedEnergies(), QList<double>({0.2, 0.3}));
    click("btnLookAll");
    auto *grid = child<QTableView>(&window(), "RxDBGrid1");
    grid->setCurrentIndex(grid->model()->index(1, 0));
    click("btnDel");
    QCOMPARE(listedEnergies(), QList<double>({0.1, 0.3}));
    click("btnTongji");
    click("btnDelAll");
    click("btnLookAll");
    QCOMPARE(listedEnergies(), QList<double>());
    m_window.reset();
}

void TestPowerLog::energyColumnFitsALongLog()
{
    // After 统计 the grid stands at the last of a hundred thousand records:
    // the 耗电 column still shows each figure whole.
    QList<Run> runs;
    for (int i = 0; i < 100000; ++i)
        runs.append({at(today, "08:00:00.000"), at(today, "09:00:00.000"), 0.27});
    seed(runs);
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    click("btnTongji");
    auto *grid = child<QTableView>(&window(), "RxDBGrid1");
    QCOMPARE(grid->currentIndex().row(), 99999);
    const int energyColumn = 3;
    const QModelIndex last = grid->model()->index(99999, energyColumn);
    const int needed = grid->fontMetrics().horizontalAdvance(last.data().toString());
    QVERIFY2(grid->columnWidth(energyColumn) > needed + 4,
             qPrintable(QStringLiteral("%1 for %2").arg(grid->columnWidth(energyColumn)).arg(needed)));
}

QTEST_MAIN(TestPowerLog)
#include "tst_powerlog.moc"
