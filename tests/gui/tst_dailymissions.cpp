#include "core/files/MissionLines.h"
#include "core/missions/MissionModel.h"
#include "core/missions/SecondTimer.h"
#include "gui/daily/DailyMissionsDialog.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/FileFixtures.h"
#include "support/MainWindowFixture.h"
#include "support/ModalDialogHandler.h"
#include "support/RegionalFormatReset.h"

#include <QAccessible>
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

const QString today = QStringLiteral("2026-12-10");

QByteArray gbk(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// 关闭计算机, 执行程序, 提示消息 as code page 936 bytes.
const QByteArray shutdownText = gbk("B9D8B1D5BCC6CBE3BBFA");
const QByteArray programText = gbk("D6B4D0D0B3CCD0F2");
const QByteArray messageText = gbk("CCE1CABECFFBCFA2");

QList<QStringList> rowsOf(const MissionModel &model)
{
    QList<QStringList> rows;
    for (int row = 0; row < model.count(); ++row) {
        const Mission &mission = model.mission(row);
        rows.append({mission.kindText, mission.description, mission.dateText, mission.timeText,
                     QString::number(mission.imageIndex)});
    }
    return rows;
}

} // namespace

class TestDailyMissions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void savedListLoadsBack_data();
    void savedListLoadsBack();
    void saveDialogAddsTheExtensionAndKeepsTheName();
    void failedLoadKeepsTheList();
    void failedScriptLoadGoesToTheCallerOnly();
    void startsWithTheDailyMissions_data();
    void startsWithTheDailyMissions();
    void setAsDailyAppendsAndConfirms();
    void maintenanceRewritesTheFileOnClose_data();
    void maintenanceRewritesTheFileOnClose();
    void maintenanceKeepsEditedKindsWithoutDollar();
    void maintenanceKeepsAnEditStillOpen_data();
    void maintenanceKeepsAnEditStillOpen();
    void maintenanceOpensFromTheMenu();
    void maintenanceByKeyboard();

private:
    MainWindow &form() { return m_main->form(); }
    QString dailyPath() const { return m_main->filePath(QStringLiteral("everyday.mis")); }
    QString folder() const { return m_main->folder(); }
    void fillThreeRows();
    bool running() { return form().findChild<SecondTimer *>(QStringLiteral("Timer1"))->isEnabled(); }
    QMessageBox *messageBox(const QString &name)
    {
        return form().findChild<QMessageBox *>(name, Qt::FindDirectChildrenOnly);
    }

    std::unique_ptr<MainWindowFixture> m_main;
};

void TestDailyMissions::init()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
}

void TestDailyMissions::cleanup()
{
    m_main.reset();
}

void TestDailyMissions::fillThreeRows()
{
    MissionModel *missions = form().missions();
    missions->append({QStringLiteral("关闭计算机"), QStringLiteral("关闭计算机"), QStringLiteral("2026-12-3"),
                      QStringLiteral("8:00:00"), 1});
    missions->append({QStringLiteral("执行程序"), QStringLiteral("/usr/bin/亐 😀"), QStringLiteral("2026-12-4"),
                      QStringLiteral("12:00:00"), 4});
    missions->append({QStringLiteral("提示消息"), QStringLiteral("开会"), QStringLiteral("不是日期"),
                      QStringLiteral("23:00:00"), 6});
}

void TestDailyMissions::savedListLoadsBack_data()
{
    QTest::addColumn<bool>("toToday");
    QTest::addColumn<bool>("runningBefore");
    QTest::newRow("load, stopped") << false << false;
    QTest::newRow("load, running") << false << true;
    QTest::newRow("load to today, stopped") << true << false;
    QTest::newRow("load to today, running") << true << true;
}

void TestDailyMissions::savedListLoadsBack()
{
    QFETCH(bool, toToday);
    QFETCH(bool, runningBefore);
    fillThreeRows();
    QList<QStringList> expected = rowsOf(*form().missions());
    // The file holds no icon: each row comes back with its kind's.
    const QStringList kindIcons = {"0", "1", "3"};
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QStringList &row = expected[i];
        row[4] = kindIcons.at(i);
        if (toToday)
            row[2] = today;
    }
    form().saveMissionsAs(m_main->filePath(QStringLiteral("week")));
    const QByteArray bytes = fileBytes(m_main->filePath(QStringLiteral("week.mis")));
    QCOMPARE(bytes.count("\r\n"), 3);
    // Nine separators, and the second byte of 亐 (81 80).
    QCOMPARE(bytes.count('\x80'), 10);
    QVERIFY(bytes.startsWith(shutdownText + '\x80' + shutdownText + '\x80'));

    form().missions()->clear();
    form().missions()->append({QStringLiteral("系统响铃"), QString(), today, QStringLiteral("9:00:00"), 7});
    runningBefore ? form().startList() : form().stopList();
    form().loadMissionsFrom(m_main->filePath(QStringLiteral("week.mis")), toToday);
    QCOMPARE(rowsOf(*form().missions()), expected);
    QCOMPARE(running(), runningBefore);
}

void TestDailyMissions::saveDialogAddsTheExtensionAndKeepsTheName()
{
    const QString picked = m_main->filePath(QStringLiteral("week.mis"));
    writeBytes(picked, "old");
    const auto dialog = [this] { return form().findChild<QFileDialog *>(QStringLiteral("SaveDialog1")); };

    form().saveMissionFile();
    QVERIFY2(!dialog(), "an empty list is not saved");

    fillThreeRows();
    ModalDialogHandler<QFileDialog> save([&](QFileDialog *open) {
        QCOMPARE(open, dialog());
        QCOMPARE(open->nameFilters(), QStringList {QStringLiteral("任务文件(*.mis)")});
        open->selectFile(picked);
        static_cast<QDialog *>(open)->accept();
    });
    form().findChild<QAction *>(QStringLiteral("actSaveMis"))->trigger();
    QVERIFY(save.waitHandled());
    QVERIFY(!save.closedForIt());
    QCOMPARE(fileBytes(picked), QByteArray("old"));
    QCOMPARE(fileBytes(picked + QStringLiteral(".mis")).count("\r\n"), 3);

    QString offered;
    ModalDialogHandler<QFileDialog> saveAgain([&](QFileDialog *open) {
        offered = open->selectedFiles().value(0);
        open->reject();
    });
    form().saveMissionFile();
    QVERIFY(saveAgain.waitHandled());
    QCOMPARE(offered, picked);
}

void TestDailyMissions::failedLoadKeepsTheList()
{
    fillThreeRows();
    const QList<QStringList> before = rowsOf(*form().missions());
    const QString missing = m_main->filePath(QStringLiteral("missing.mis"));
    form().loadMissionsFrom(missing, false);
    QCOMPARE(rowsOf(*form().missions()), before);
    QMessageBox *report = messageBox(QStringLiteral("ErrorReport"));
    QVERIFY(report);
    QVERIFY2(report->text().contains(QDir::toNativeSeparators(missing)), qPrintable(report->text()));
}

void TestDailyMissions::failedScriptLoadGoesToTheCallerOnly()
{
    fillThreeRows();
    const QList<QStringList> before = rowsOf(*form().missions());
    const QString missing = m_main->filePath(QStringLiteral("missing.mis"));
    for (int attempt = 0; attempt < 3; ++attempt) {
        QString error;
        QVERIFY(!form().loadMissionsFrom(missing, false, &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(missing)), qPrintable(error));
    }
    QCOMPARE(rowsOf(*form().missions()), before);
    QVERIFY(!messageBox(QStringLiteral("ErrorReport")));
}

void TestDailyMissions::startsWithTheDailyMissions_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("written days ago") << shutdownText + '$' + shutdownText + "$2026-12-1$23:00:00\r\n" + programText
                                             + "$/bin/true$2026-11-30$8:00:00\r\n"
                                      << QList<QStringList> {{"关闭计算机", "关闭计算机", today, "23:00:00", "0"},
                                                             {"执行程序", "/bin/true", today, "8:00:00", "1"}};
    QTest::newRow("empty file") << QByteArray() << QList<QStringList>();
    QTest::newRow("first line empty") << QByteArray("\r\n") + messageText + "$a$b$c\r\n" << QList<QStringList>();
}

void TestDailyMissions::startsWithTheDailyMissions()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    writeBytes(dailyPath(), bytes);
    QCOMPARE(rowsOf(*form().missions()), rows);
    QCOMPARE(running(), !rows.isEmpty());
    QCOMPARE(fileBytes(dailyPath()), bytes);
}

void TestDailyMissions::setAsDailyAppendsAndConfirms()
{
    fillThreeRows();
    QAction *setAsDaily = form().findChild<QAction *>(QStringLiteral("mnpEverydayMission"));
    setAsDaily->trigger();
    QVERIFY2(!QFile::exists(dailyPath()), "nothing selected, nothing written");
    QVERIFY(!messageBox(QStringLiteral("EverydayConfirmation")));

    form().findChild<QTableView *>(QStringLiteral("ListView1"))->selectRow(1);
    const QByteArray line =
        programText + "$/usr/bin/" + gbk("8180") + " " + gbk("9439FC36") + "$2026-12-4$12:00:00\r\n";
    setAsDaily->trigger();
    QCOMPARE(fileBytes(dailyPath()), line);
    QMessageBox *confirmation = messageBox(QStringLiteral("EverydayConfirmation"));
    QVERIFY(confirmation);
    QCOMPARE(confirmation->text(), QStringLiteral("已经将[执行程序]设为每日任务!"));
    QCOMPARE(confirmation->windowTitle(), QStringLiteral("翎鹊时间管理器"));
    QCOMPARE(confirmation->icon(), QMessageBox::NoIcon);
    confirmation->accept();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    setAsDaily->trigger();
    QCOMPARE(fileBytes(dailyPath()), line + line);
    QCOMPARE(form().missions()->count(), 3);
}

void TestDailyMissions::maintenanceRewritesTheFileOnClose_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("removed");
    QTest::addColumn<QByteArray>("written");
    const QByteArray first = shutdownText + '$' + shutdownText + "$2026-12-1$23:00:00\r\n";
    const QByteArray second = programText + "$/bin/true$2026-11-30$8:00:00\r\n";
    const QByteArray third = messageText + "$a b$2020-1-1$7:00:00\r\n";
    const auto dated = [](QByteArray line) {
        const QList<QByteArray> fields = line.split('$');
        return fields[0] + '$' + fields[1] + '$' + today.toLatin1() + '$' + fields[3];
    };
    QTest::newRow("unchanged: untouched") << first + second + third << QList<int> {} << first + second + third;
    QTest::newRow("second of three removed") << first + second + third << QList<int> {1} << dated(first) + dated(third);
    QTest::newRow("all removed") << first + second + third << QList<int> {0, 0, 0} << QByteArray();
    QTest::newRow("remove with nothing selected: untouched") << first << QList<int> {-1} << first;
    QTest::newRow("lines after an empty line kept")
        << first + second + "\r\n" + third << QList<int> {0} << dated(second) + "\r\n" + third;
    QTest::newRow("lines after the end mark kept")
        << first + second + "\x1A" + third << QList<int> {1} << dated(first) + "\x1A" + third;
    QTest::newRow("no file: none made") << QByteArray("<missing>") << QList<int> {} << QByteArray("<missing>");
    const QByteArray lone80 = "a\x80$b\xFF$" + today.toLatin1() + "$8:00:00\r\n";
    QTest::newRow("bytes that are no text kept") << first + lone80 << QList<int> {0} << lone80;
    const QByteArray utf8 = QStringLiteral("执行程序$/usr/bin/李$%1$8:00:00\r\n").arg(today).toUtf8();
    QTest::newRow("UTF-8 stays UTF-8") << "\xEF\xBB\xBF" + utf8 + utf8 << QList<int> {0} << "\xEF\xBB\xBF" + utf8;
}

void TestDailyMissions::maintenanceRewritesTheFileOnClose()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, removed);
    QFETCH(QByteArray, written);
    if (bytes != "<missing>")
        writeBytes(dailyPath(), bytes);
    DailyMissionsDialog dialog(folder(), today);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("每日执行任务维护"));
    auto *list = dialog.findChild<QTableWidget *>(QStringLiteral("ListView1"));
    QVERIFY(list);
    dialog.show();
    for (int row : removed) {
        if (row >= 0)
            list->selectRow(row);
        dialog.findChild<QPushButton *>(QStringLiteral("btnDel"))->click();
    }
    QVERIFY2(fileBytes(dailyPath()) == bytes, "the file is written only when the dialog closes");
    dialog.findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fileBytes(dailyPath()), written);
}

void TestDailyMissions::maintenanceKeepsEditedKindsWithoutDollar()
{
    writeBytes(dailyPath(), programText + "$/bin/true$2026-11-30$8:00:00\r\n");
    DailyMissionsDialog dialog(folder(), today);
    auto *list = dialog.findChild<QTableWidget *>(QStringLiteral("ListView1"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!(list->item(0, 1)->flags() & Qt::ItemIsEditable));
    list->setCurrentCell(0, 0);
    list->editItem(list->item(0, 0));
    auto *editor = list->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("run$it"));
    QCOMPARE(editor->text(), QStringLiteral("runit"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The view takes the edited text through a queued call.
    QCoreApplication::processEvents();
    QCOMPARE(list->item(0, 0)->text(), QStringLiteral("runit"));
    dialog.close();
    QCOMPARE(fileBytes(dailyPath()), QByteArray("runit$/bin/true$2026-12-10$8:00:00\r\n"));
}

void TestDailyMissions::maintenanceKeepsAnEditStillOpen_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("关闭") << false;
    QTest::newRow("title bar's close box") << true;
}

void TestDailyMissions::maintenanceKeepsAnEditStillOpen()
{
    QFETCH(bool, closeBox);
    writeBytes(dailyPath(), programText + "$/bin/true$2026-11-30$8:00:00\r\n");
    DailyMissionsDialog dialog(folder(), today);
    auto *list = dialog.findChild<QTableWidget *>(QStringLiteral("ListView1"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    list->setCurrentCell(0, 0);
    list->editItem(list->item(0, 0));
    auto *editor = list->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("runit"));
    if (closeBox)
        dialog.close();
    else
        dialog.findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fileBytes(dailyPath()), QByteArray("runit$/bin/true$2026-12-10$8:00:00\r\n"));
}

void TestDailyMissions::maintenanceOpensFromTheMenu()
{
    form();
    writeBytes(dailyPath(), "a$b$c$d\r\n");
    bool modal = false;
    ModalDialogHandler<DailyMissionsDialog> maintenance([&](DailyMissionsDialog *dialog) {
        modal = dialog->parentWidget() == &form();
        dialog->close();
    });
    form().findChild<QAction *>(QStringLiteral("mnEveryday"))->trigger();
    QVERIFY(maintenance.waitHandled());
    QVERIFY(!maintenance.closedForIt());
    QVERIFY(modal);
    QVERIFY(!form().findChild<DailyMissionsDialog *>());
    QCOMPARE(fileBytes(dailyPath()), QByteArray("a$b$c$d\r\n"));
    QCOMPARE(form().missions()->count(), 0);
}

void TestDailyMissions::maintenanceByKeyboard()
{
    // Tab leaves the list for 删除 and 关闭; Del deletes the selected row.
    writeBytes(dailyPath(),
               programText + "$/bin/true$2026-11-30$8:00:00\r\n" + programText + "$/bin/false$2026-11-30$9:00:00\r\n");
    DailyMissionsDialog dialog(folder(), today);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *list = dialog.findChild<QTableWidget *>(QStringLiteral("ListView1"));
    QCOMPARE(QAccessible::queryAccessibleInterface(list)->text(QAccessible::Name), QStringLiteral("每日执行任务"));
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentCell(0, 0);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("/bin/false"));
    QTest::keyClick(list, Qt::Key_Tab);
    QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("btnDel"));
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
    QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("btnClose"));
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Space);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fileBytes(dailyPath()), programText + "$/bin/false$" + today.toLatin1() + "$9:00:00\r\n");
}

QTEST_MAIN(TestDailyMissions)
#include "tst_dailymissions.moc"
