#include "core/missions/MissionComposer.h"
#include "core/missions/MissionList.h"
#include "doubles/TestPlatform.h"
#include "gui/editor/FileNameField.h"
#include "gui/editor/MissionEditor.h"
#include "gui/editor/RepeatField.h"
#include "gui/widgets/NavBar.h"
#include "support/ChildLookup.h"
#include "support/RegionalFormatReset.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QDate today(2026, 12, 10);

Mission row(const QString &kind, const QString &description, int imageIndex)
{
    return {kind, description, QStringLiteral("2026-12-9"), QStringLiteral("8:00:00"), imageIndex};
}

} // namespace

// The editor on its own, writing into a list of the test's own.
class TestMissionEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void laysOutItsWindow();
    void navItemsShowTheirPages_data();
    void navItemsShowTheirPages();
    void composesTheRowOfEachPage_data();
    void composesTheRowOfEachPage();
    void opensOnTheNextHourOfToday_data();
    void opensOnTheNextHourOfToday();
    void addAndContinueKeepsEveryField();
    void eachAddTellsWhetherTheEditorCloses_data();
    void eachAddTellsWhetherTheEditorCloses();
    void modifyOverwritesTheSelectedRowInPlace();
    void modifyOpensThePageOfTheRowsKind_data();
    void modifyOpensThePageOfTheRowsKind();
    void modifyOfAMissionGoneMeanwhileWritesNothing();
    void inputsKeepTheirContentsBetweenShowings();
    void closingWritesNothing_data();
    void closingWritesNothing();
    void browseStartsAtTheNamedFile();
    void programBrowseListsWhatEachFilterNames_data();
    void programBrowseListsWhatEachFilterNames();
    void tabWalksNavigationInputScheduleButtons_data();
    void tabWalksNavigationInputScheduleButtons();
    void tellsWhichKindIsChosen();
    void everyGroupHeaderStaysInSight_data();
    void everyGroupHeaderStaysInSight();
    void repeatControlWritesTheRule_data();
    void repeatControlWritesTheRule();
    void modifyShowsAndEditsTheRowsRule();
    void keepsARuleItHasNoControlsFor();
    void refusesARepeatThatNeverComes();
    void quickTimesSetDateAndTime_data();
    void quickTimesSetDateAndTime();
    void timeFieldTakesATimeWithoutSeconds();

private:
    template <typename T> T *child(const char *name) { return ::child<T>(m_frm.get(), name); }
    void showIn(int mode);
    void fill(const QString &input, const QString &text);
    void press(const QString &button);

    MissionModel &missions() { return m_list->model(); }

    TestPlatform m_platform;
    QTemporaryDir m_folder;
    std::unique_ptr<MissionList> m_list;
    int m_selected = -1;
    QStringList m_added;
    std::unique_ptr<MissionEditor> m_frm;
};

void TestMissionEditor::init()
{
    resetRegionalFormat();
    m_list = std::make_unique<MissionList>(m_platform.services(), m_folder.path() + QLatin1Char('/'));
    m_selected = -1;
    m_added.clear();
    m_platform.clock.set(QDateTime(today, QTime(12, 0, 0)));
    m_frm = std::make_unique<MissionEditor>(m_list.get(), &m_platform.clock);
    connect(m_frm.get(), &MissionEditor::missionAdded, this,
            [this](bool editorClosing) { m_added << (editorClosing ? "closing" : "staying"); });
}

void TestMissionEditor::cleanup()
{
    m_frm.reset();
    m_list.reset();
}

void TestMissionEditor::showIn(int mode)
{
    if (mode == MissionEditor::AddMode)
        m_frm->openForAdd();
    else
        m_frm->openForModify(m_selected);
}

void TestMissionEditor::fill(const QString &input, const QString &text)
{
    QObject *target = m_frm->findChild<QObject *>(input);
    QVERIFY2(target, qPrintable(input));
    if (auto *list = qobject_cast<QListWidget *>(target)) {
        list->setCurrentItem(list->findItems(text, Qt::MatchExactly).value(0));
    } else if (auto *field = qobject_cast<FileNameField *>(target)) {
        field->setText(text);
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(target)) {
        memo->setPlainText(text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(target)) {
        edit->setText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(target)) {
        // A preset picked from the list replaces whatever the memo held.
        child<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("旧的提示"));
        combo->setCurrentIndex(combo->findText(text));
    }
}

void TestMissionEditor::press(const QString &button)
{
    QPushButton *found = m_frm->findChild<QPushButton *>(button);
    QVERIFY2(found, qPrintable(button));
    QTest::mouseClick(found, Qt::LeftButton);
}

void TestMissionEditor::laysOutItsWindow()
{
    QCOMPARE(m_frm->windowTitle(), QStringLiteral("添加任务"));
    // The plain editor's 354 pixels and the rows of the repeat control.
    QCOMPARE(m_frm->size(), QSize(498, 438));
    QCOMPARE(child<QWidget>("headerStrip")->height(), 65);
    QCOMPARE(child<QLabel>("Image1")->size(), QSize(36, 36));
    QVERIFY(!child<QLabel>("Image1")->pixmap().isNull());
    QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("任务管理,用户可以在此处添加多项任务."));

    auto *navBar = child<NavBar>("dxNavBar1");
    QCOMPARE(child<QScrollArea>("navScroll")->width(), 145);
    QVERIFY(navBar->isGroupExpanded(QStringLiteral("nbgMission")));
    QVERIFY(!navBar->isGroupExpanded(QStringLiteral("nbgTishi")));
    QVERIFY(!navBar->isGroupExpanded(QStringLiteral("nbgInternet")));
    const char *items[] = {"nbShutdown", "nbExePro", "nbOpenFile", "nbMessage", "nbRing", "nbOpenUrl", "nbEmail"};
    for (const char *item : items) {
        auto *button = child<QToolButton>(item);
        QCOMPARE(button->iconSize(), QSize(32, 32));
        QVERIFY2(!button->icon().isNull(), item);
    }

    auto *pages = child<QTabWidget>("PageControl1");
    QVERIFY(pages->tabBar()->isHidden());
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i)
        captions << pages->tabText(i);
    QCOMPARE(captions,
             (QStringList {"关闭重启", "执行程序", "打开文件", "提示消息", "系统响铃", "打开网页", "发送邮件"}));

    auto *listBox = child<QListWidget>("ListBox1");
    QStringList entries;
    for (int i = 0; i < listBox->count(); ++i)
        entries << listBox->item(i)->text();
    QCOMPARE(entries, (QStringList {"关闭计算机", "重启计算机", "注销计算机"}));
    QCOMPARE(listBox->selectionMode(), QAbstractItemView::SingleSelection);

    auto *cbMsg = child<QComboBox>("cbMsg");
    QStringList presets;
    for (int i = 0; i < cbMsg->count(); ++i)
        presets << cbMsg->itemText(i);
    QCOMPARE(presets, (QStringList {"该起床了!", "是到吃饭的时间了,休息一下吧.", "眼晴困了,休息一下,看看远处对眼晴好!",
                                    "又到了下班的时间了,oh,my God!"}));
    QVERIFY(cbMsg->isEditable());
    QCOMPARE(cbMsg->currentText(), QString());
    QCOMPARE(child<QPlainTextEdit>("Memo1")->toPlainText(), QString());
    QCOMPARE(child<QPlainTextEdit>("Memo1")->toolTip(), QStringLiteral("在这里输入要提示消息的内容"));
    QCOMPARE(child<QPlainTextEdit>("Memo1")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    QCOMPARE(child<FileNameField>("fnPro")->text(), QString());
    QCOMPARE(child<FileNameField>("fnFile")->text(), QString());
    QCOMPARE(child<FileNameField>("fnRing")->text(), QStringLiteral("内置铃声"));
    QCOMPARE(child<FileNameField>("fnRing")->browseButton()->width(), 5);
    QVERIFY(!child<QLineEdit>("editUrl")->text().isEmpty());
    QVERIFY(child<QLineEdit>("editEmail")->text().contains(QLatin1Char('@')));
    QVERIFY(child<QDateEdit>("dpDate")->calendarPopup());

    for (const char *name : {"btnAddOn", "btnAdd", "btnClose"}) {
        auto *button = child<QPushButton>(name);
        QVERIFY2(!button->isDefault() && !button->autoDefault(), name);
    }
}

void TestMissionEditor::navItemsShowTheirPages_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("page");
    QTest::newRow("关闭电脑") << "nbShutdown" << 0;
    QTest::newRow("执行程序") << "nbExePro" << 1;
    QTest::newRow("打开文件") << "nbOpenFile" << 2;
    QTest::newRow("提示消息") << "nbMessage" << 3;
    QTest::newRow("系统响铃") << "nbRing" << 4;
    QTest::newRow("打开网址") << "nbOpenUrl" << 5;
    QTest::newRow("发送邮件") << "nbEmail" << 6;
}

void TestMissionEditor::navItemsShowTheirPages()
{
    QFETCH(QString, item);
    QFETCH(int, page);
    showIn(MissionEditor::AddMode);
    // Start from a page no item of the table leads to by chance.
    child<QTabWidget>("PageControl1")->setCurrentIndex(page == 3 ? 4 : 3);
    auto *navBar = child<NavBar>("dxNavBar1");
    for (const char *group : {"nbgMission", "nbgTishi", "nbgInternet"})
        navBar->setGroupExpanded(QLatin1String(group), true);
    QTest::mouseClick(m_frm->findChild<QToolButton *>(item), Qt::LeftButton);
    QCOMPARE(m_frm->activePage(), page);
    QCOMPARE(missions().count(), 0);
}

void TestMissionEditor::composesTheRowOfEachPage_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("imageIndex");
    QTest::newRow("shut down") << "nbShutdown"
                               << "ListBox1"
                               << "关闭计算机"
                               << "关闭计算机"
                               << "关闭计算机" << 0;
    QTest::newRow("restart") << "nbShutdown"
                             << "ListBox1"
                             << "重启计算机"
                             << "重启计算机"
                             << "重启计算机" << 0;
    QTest::newRow("log off") << "nbShutdown"
                             << "ListBox1"
                             << "注销计算机"
                             << "注销计算机"
                             << "注销计算机" << 0;
    QTest::newRow("program") << "nbExePro"
                             << "fnPro"
                             << "/usr/bin/gedit --new-window"
                             << "执行程序"
                             << "/usr/bin/gedit" << 1;
    QTest::newRow("file") << "nbOpenFile"
                          << "fnFile"
                          << "\"/home/li/My Docs/plan.txt\""
                          << "打开文件"
                          << "/home/li/My Docs/plan.txt" << 2;
    QTest::newRow("message") << "nbMessage"
                             << "Memo1"
                             << "第一行\n第二行"
                             << "提示消息"
                             << "第一行 第二行" << 3;
    QTest::newRow("message preset") << "nbMessage"
                                    << "cbMsg"
                                    << "该起床了!"
                                    << "提示消息"
                                    << "该起床了!" << 3;
    QTest::newRow("ring") << "nbRing"
                          << "fnRing"
                          << "内置铃声"
                          << "系统响铃"
                          << "内置铃声" << 4;
    QTest::newRow("ring file quoted") << "nbRing"
                                      << "fnRing"
                                      << "\"/home/li/My Sounds/bell.wav\""
                                      << "系统响铃"
                                      << "/home/li/My Sounds/bell.wav" << 4;
    QTest::newRow("web page") << "nbOpenUrl"
                              << "editUrl"
                              << "www.example.org"
                              << "打开网页"
                              << "www.example.org" << 5;
    QTest::newRow("mail") << "nbEmail"
                          << "editEmail"
                          << "li@example.org"
                          << "发送邮件"
                          << "li@example.org" << 6;
    QTest::newRow("empty address") << "nbOpenUrl"
                                   << "editUrl"
                                   << ""
                                   << "打开网页"
                                   << "" << 5;
}

void TestMissionEditor::composesTheRowOfEachPage()
{
    QFETCH(QString, item);
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, kind);
    QFETCH(QString, description);
    QFETCH(int, imageIndex);
    showIn(MissionEditor::AddMode);
    m_frm->findChild<QToolButton *>(item)->click();
    fill(input, text);
    press(QStringLiteral("btnAddOn"));
    QCOMPARE(missions().count(), 1);
    const Mission expected {kind, description, QStringLiteral("2026-12-10"), QStringLiteral("13:00:00"), imageIndex};
    QCOMPARE(missions().mission(0), expected);
}

void TestMissionEditor::opensOnTheNextHourOfToday_data()
{
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("timeText");
    QTest::newRow("23:40:05 wraps, same day") << QTime(23, 40, 5) << "0:40:05";
    QTest::newRow("10:00:00") << QTime(10, 0, 0) << "11:00:00";
    QTest::newRow("just after midnight") << QTime(0, 0, 1) << "1:00:01";
    QTest::newRow("fraction of a second dropped") << QTime(9, 15, 30, 999) << "10:15:30";
}

void TestMissionEditor::opensOnTheNextHourOfToday()
{
    QFETCH(QTime, now);
    QFETCH(QString, timeText);
    // The last showing ended elsewhere: another page, another entry, another day.
    showIn(MissionEditor::AddMode);
    child<QToolButton>("nbRing")->click();
    child<QListWidget>("ListBox1")->setCurrentRow(2);
    child<QDateEdit>("dpDate")->setDate(today.addDays(40));
    m_frm->hide();

    m_platform.clock.set(QDateTime(today, now));
    showIn(MissionEditor::AddMode);
    QCOMPARE(m_frm->activePage(), int(PowerPage));
    QCOMPARE(child<QListWidget>("ListBox1")->currentRow(), 0);
    QCOMPARE(child<QDateEdit>("dpDate")->date(), today);
    QCOMPARE(TimeToStr(child<QTimeEdit>("dpTime")->time()), timeText);
    QCOMPARE(child<QTimeEdit>("dpTime")->displayFormat(), QStringLiteral("H:mm:ss"));
    const Mission composed = m_frm->composedMission();
    QCOMPARE(composed.dateText, QStringLiteral("2026-12-10"));
    QCOMPARE(composed.timeText, timeText);
}

void TestMissionEditor::addAndContinueKeepsEveryField()
{
    showIn(MissionEditor::AddMode);
    child<QToolButton>("nbMessage")->click();
    child<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("喝水"));
    child<FileNameField>("fnPro")->setText(QStringLiteral("/usr/bin/true"));
    child<QTimeEdit>("dpTime")->setTime(QTime(18, 30, 0));
    for (int i = 0; i < 3; ++i)
        press(QStringLiteral("btnAddOn"));

    QVERIFY(m_frm->isVisible());
    QCOMPARE(missions().count(), 3);
    const Mission expected {QStringLiteral("提示消息"), QStringLiteral("喝水"), QStringLiteral("2026-12-10"),
                            QStringLiteral("18:30:00"), 3};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(missions().mission(i), expected);
    QCOMPARE(m_frm->activePage(), int(MessagePage));
    QCOMPARE(child<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("喝水"));
    QCOMPARE(child<FileNameField>("fnPro")->text(), QStringLiteral("/usr/bin/true"));
    QCOMPARE(child<QTimeEdit>("dpTime")->time(), QTime(18, 30, 0));
    QCOMPARE(child<QDateEdit>("dpDate")->date(), today);
    QCOMPARE(m_added, (QStringList {"staying", "staying", "staying"}));
}

void TestMissionEditor::eachAddTellsWhetherTheEditorCloses_data()
{
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("rowsAfter");
    QTest::addColumn<QStringList>("added");
    QTest::newRow("first with 添加并关闭") << 0 << QStringList {"btnAdd"} << 1 << QStringList {"closing"};
    QTest::newRow("添加并继续, 不添加关闭")
        << 0 << QStringList {"btnAddOn", "btnClose"} << 1 << QStringList {"staying"};
    QTest::newRow("添加并继续, 添加并关闭")
        << 0 << QStringList {"btnAddOn", "btnAdd"} << 2 << QStringList {"staying", "closing"};
    QTest::newRow("second with 添加并关闭") << 1 << QStringList {"btnAdd"} << 2 << QStringList {"closing"};
}

void TestMissionEditor::eachAddTellsWhetherTheEditorCloses()
{
    QFETCH(int, rowsBefore);
    QFETCH(QStringList, buttons);
    QFETCH(int, rowsAfter);
    QFETCH(QStringList, added);
    for (int i = 0; i < rowsBefore; ++i)
        missions().append(row(QStringLiteral("系统响铃"), QStringLiteral("内置铃声"), 4));
    showIn(MissionEditor::AddMode);
    for (const QString &button : buttons)
        press(button);
    QVERIFY(!m_frm->isVisible());
    QCOMPARE(missions().count(), rowsAfter);
    QCOMPARE(m_added, added);
}

void TestMissionEditor::modifyOverwritesTheSelectedRowInPlace()
{
    QVector<Mission> before;
    for (int i = 0; i < 5; ++i)
        before << row(QStringLiteral("打开网页"), QStringLiteral("www.example.org/%1").arg(i), 5);
    missions().appendAll(before);
    m_selected = 2;
    showIn(MissionEditor::ModifyMode);
    child<QToolButton>("nbMessage")->click();
    child<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("开会"));
    press(QStringLiteral("btnAdd"));

    QVERIFY(!m_frm->isVisible());
    QCOMPARE(missions().count(), 5);
    QVector<Mission> after = before;
    // The date and time shown were the row's own.
    after[2] = {QStringLiteral("提示消息"), QStringLiteral("开会"), QStringLiteral("2026-12-9"),
                QStringLiteral("8:00:00"), 3};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(missions().mission(i), after[i]);
    QVERIFY(m_added.isEmpty());
}

void TestMissionEditor::modifyOpensThePageOfTheRowsKind_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("input");
    const int modify = MissionEditor::ModifyMode;
    QTest::newRow("关闭计算机") << modify << "关闭计算机" << 0 << 0 << "";
    QTest::newRow("重启计算机") << modify << "重启计算机" << 0 << 1 << "";
    QTest::newRow("注销计算机") << modify << "注销计算机" << 0 << 2 << "";
    QTest::newRow("执行程序") << modify << "执行程序" << 1 << 0 << "fnPro";
    QTest::newRow("打开文件") << modify << "打开文件" << 2 << 0 << "fnFile";
    QTest::newRow("提示消息") << modify << "提示消息" << 3 << 0 << "Memo1";
    QTest::newRow("系统响铃") << modify << "系统响铃" << 4 << 0 << "fnRing";
    QTest::newRow("打开网页") << modify << "打开网页" << 5 << 0 << "editUrl";
    QTest::newRow("发送邮件") << modify << "发送邮件" << 6 << 0 << "editEmail";
    QTest::newRow("the item's caption is no kind") << modify << "打开网址" << 0 << 0 << "";
    QTest::newRow("unknown kind") << modify << "闹钟" << 0 << 0 << "";
    QTest::newRow("add mode ignores the row") << int(MissionEditor::AddMode) << "发送邮件" << 0 << 0 << "";
}

void TestMissionEditor::modifyOpensThePageOfTheRowsKind()
{
    QFETCH(int, mode);
    QFETCH(QString, kind);
    QFETCH(int, page);
    QFETCH(int, entry);
    QFETCH(QString, input);
    missions().append(row(QStringLiteral("执行程序"), QStringLiteral("/bin/true"), 1));
    missions().append(row(kind, QStringLiteral("/tmp/my file"), 0));
    m_selected = 1;
    child<QListWidget>("ListBox1")->setCurrentRow(1);
    showIn(mode);
    QCOMPARE(m_frm->activePage(), page);
    QCOMPARE(child<QListWidget>("ListBox1")->currentRow(), entry);
    // Modify shows the row's own date and time (and text); add proposes the next hour.
    const bool modifying = mode == MissionEditor::ModifyMode;
    QCOMPARE(child<QDateEdit>("dpDate")->date(), modifying ? QDate(2026, 12, 9) : today);
    QCOMPARE(child<QTimeEdit>("dpTime")->time(), modifying ? QTime(8, 0, 0) : QTime(13, 0, 0));
    if (!input.isEmpty())
        QCOMPARE(m_frm->composedMission().description, QStringLiteral("/tmp/my file"));
}

void TestMissionEditor::modifyOfAMissionGoneMeanwhileWritesNothing()
{
    missions().append(row(QStringLiteral("打开网页"), QStringLiteral("www.a.org"), 5));
    missions().append(row(QStringLiteral("打开网页"), QStringLiteral("www.b.org"), 5));
    m_selected = 0;
    showIn(MissionEditor::ModifyMode);
    // A script replaces the list while the editor is open.
    QVERIFY(m_list->remove(missions().id(0)));
    child<QLineEdit>("editUrl")->setText(QStringLiteral("www.c.org"));
    press(QStringLiteral("btnAdd"));
    QCOMPARE(missions().count(), 1);
    QCOMPARE(missions().mission(0).description, QStringLiteral("www.b.org"));
    QVERIFY(!m_frm->isVisible());
    auto *report = m_frm->findChild<QMessageBox *>(QStringLiteral("ErrorReport"));
    QVERIFY(report);
    QVERIFY(report->text().contains(QStringLiteral("没有修改任何任务")));
}

void TestMissionEditor::inputsKeepTheirContentsBetweenShowings()
{
    const QList<QPair<QString, QString>> inputs = {
        {"fnPro", "/usr/bin/xterm"}, {"fnFile", "/tmp/a.txt"},       {"Memo1", "一\n二"},
        {"fnRing", "/tmp/bell.wav"}, {"editUrl", "www.example.net"}, {"editEmail", "wang@example.net"},
    };
    showIn(MissionEditor::AddMode);
    for (const auto &input : inputs)
        fill(input.first, input.second);
    child<QComboBox>("cbMsg")->setEditText(QStringLiteral("自己的话"));
    child<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("一\n二"));
    press(QStringLiteral("btnClose"));
    missions().append(row(QStringLiteral("提示消息"), QStringLiteral("x"), 3));
    m_selected = 0;
    showIn(MissionEditor::ModifyMode);

    QCOMPARE(child<FileNameField>("fnPro")->text(), QStringLiteral("/usr/bin/xterm"));
    QCOMPARE(child<FileNameField>("fnFile")->text(), QStringLiteral("/tmp/a.txt"));
    // The modified row's own page shows the row's text; the others keep theirs.
    QCOMPARE(child<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("x"));
    QCOMPARE(child<QComboBox>("cbMsg")->currentText(), QStringLiteral("自己的话"));
    QCOMPARE(child<FileNameField>("fnRing")->text(), QStringLiteral("/tmp/bell.wav"));
    QCOMPARE(child<QLineEdit>("editUrl")->text(), QStringLiteral("www.example.net"));
    QCOMPARE(child<QLineEdit>("editEmail")->text(), QStringLiteral("wang@example.net"));
    QCOMPARE(missions().count(), 1);
}

void TestMissionEditor::closingWritesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stillOpen");
    QTest::newRow("不添加关闭") << "btnClose" << false;
    QTest::newRow("close box") << "close" << false;
    QTest::newRow("Esc") << "escape" << false;
    QTest::newRow("Enter is no default button") << "enter" << true;
}

void TestMissionEditor::closingWritesNothing()
{
    QFETCH(QString, how);
    QFETCH(bool, stillOpen);
    showIn(MissionEditor::AddMode);
    child<QToolButton>("nbOpenUrl")->click();
    auto *editUrl = child<QLineEdit>("editUrl");
    editUrl->setFocus();
    if (how == QLatin1String("btnClose"))
        press(how);
    else if (how == QLatin1String("close"))
        m_frm->close();
    else
        QTest::keyClick(editUrl, how == QLatin1String("escape") ? Qt::Key_Escape : Qt::Key_Return);
    QCOMPARE(m_frm->isVisible(), stillOpen);
    QCOMPARE(missions().count(), 0);
}

void TestMissionEditor::browseStartsAtTheNamedFile()
{
    QTemporaryDir dir;
    const QString tool = dir.filePath(QStringLiteral("my tool.sh"));
    QFile file(tool);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    auto *fnPro = child<FileNameField>("fnPro");
    fnPro->setText(QLatin1Char('"') + tool + QStringLiteral("\" --now"));
    std::unique_ptr<QFileDialog> dialog(fnPro->makeBrowseDialog());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Browse"));
    QCOMPARE(dialog->nameFilters(), programFilters());
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(dialog->directory().absolutePath(), dir.path());
    QCOMPARE(dialog->selectedFiles().value(0), tool);

    auto *fnFile = child<FileNameField>("fnFile");
    fnFile->setText(dir.filePath(QStringLiteral("gone.txt")));
    dialog.reset(fnFile->makeBrowseDialog());
    QCOMPARE(dialog->nameFilters(), fileFilters());
    QCOMPARE(dialog->directory().absolutePath(), dir.path());

    fnFile->takePickedFile(tool);
    QCOMPARE(fnFile->text(), QLatin1Char('"') + tool + QLatin1Char('"'));
    QCOMPARE(fnFile->fileName(), tool);
}

void TestMissionEditor::programBrowseListsWhatEachFilterNames_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("executables") << 0 << QStringList {"sub", "tool"};
    QTest::newRow("scripts") << 1 << QStringList {"run.sh", "sub"};
    QTest::newRow("all files") << 2 << QStringList {"notes.txt", "run.sh", "sub", "tool"};
}

void TestMissionEditor::programBrowseListsWhatEachFilterNames()
{
    QFETCH(int, filter);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    for (const char *name : {"tool", "run.sh", "notes.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("tool")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));

    auto *fnPro = child<FileNameField>("fnPro");
    fnPro->setText(dir.filePath(QStringLiteral("notes.txt")));
    std::unique_ptr<QFileDialog> dialog(fnPro->makeBrowseDialog());
    QCOMPARE(dialog->selectedNameFilter(), programFilters().constFirst());
    // Chosen as the user does, in the dialog's list of file types.
    auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    for (int step = 0; step < filter; ++step)
        QTest::keyClick(types, Qt::Key_Down);
    QCOMPARE(dialog->selectedNameFilter(), programFilters().at(filter));
    auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
    QVERIFY(view);
    auto listedNames = [view] {
        QStringList names;
        const QModelIndex folder = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(folder); ++row)
            names << view->model()->index(row, 0, folder).data().toString();
        names.sort();
        return names;
    };
    QTRY_COMPARE(listedNames(), listed);
}

void TestMissionEditor::tabWalksNavigationInputScheduleButtons_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("inputs");
    QTest::newRow("power") << "nbShutdown" << QStringList {"ListBox1"};
    QTest::newRow("program") << "nbExePro" << QStringList {"fnProEdit", "fnProBrowse"};
    QTest::newRow("message") << "nbMessage" << QStringList {"Memo1", "cbMsg"};
    QTest::newRow("mail") << "nbEmail" << QStringList {"editEmail"};
}

void TestMissionEditor::tabWalksNavigationInputScheduleButtons()
{
    // Forward from the kind just chosen: never the hidden tabs, the page's
    // inputs, date, time, the three buttons; Shift+Tab walks back.
    QFETCH(QString, item);
    QFETCH(QStringList, inputs);
    showIn(MissionEditor::AddMode);
    QVERIFY(QTest::qWaitForWindowActive(m_frm.get()));
    auto *chosen = ::child<QToolButton>(m_frm.get(), item);
    const QString group = chosen->parentWidget()->objectName().chopped(int(qstrlen("Items")));
    child<NavBar>("dxNavBar1")->setGroupExpanded(group, true);
    chosen->click();
    chosen->setFocus(Qt::TabFocusReason);
    auto nameOf = [](QWidget *widget) {
        // A field's inner line edit or button goes by the field's name.
        if (auto *field = qobject_cast<FileNameField *>(widget->parentWidget()))
            return field->objectName() + (qobject_cast<QLineEdit *>(widget) ? "Edit" : "Browse");
        if (qobject_cast<QAbstractSpinBox *>(widget->parentWidget())
            || qobject_cast<QComboBox *>(widget->parentWidget()))
            return widget->parentWidget()->objectName();
        return widget->objectName();
    };
    // Past the navigation items that follow the chosen one.
    int steps = 0;
    while (m_frm->focusWidget()->property("navItem").toBool()
           || m_frm->focusWidget()->property("navGroupHeader").toBool()) {
        QTest::keyClick(m_frm->focusWidget(), Qt::Key_Tab);
        QVERIFY2(++steps < 12, qPrintable(nameOf(m_frm->focusWidget())));
    }
    const QStringList expected = inputs + QStringList {"dpDate", "dpTime", "btnAddOn", "btnAdd", "btnClose"};
    QStringList walked {nameOf(m_frm->focusWidget())};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(m_frm->focusWidget(), Qt::Key_Tab);
        walked << nameOf(m_frm->focusWidget());
    }
    QCOMPARE(walked, expected);
    QStringList back;
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(m_frm->focusWidget(), Qt::Key_Backtab);
        back.prepend(nameOf(m_frm->focusWidget()));
    }
    QCOMPARE(back, expected.mid(0, expected.size() - 1));
    QCOMPARE(m_frm->activePage(), child<QTabWidget>("PageControl1")->currentIndex());
}

void TestMissionEditor::tellsWhichKindIsChosen()
{
    showIn(MissionEditor::AddMode);
    auto spoken = [this](const char *name) {
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(child<QToolButton>(name));
        return item->state().checked;
    };
    QVERIFY(spoken("nbShutdown"));
    child<QToolButton>("nbRing")->click();
    QVERIFY(spoken("nbRing"));
    QVERIFY(!spoken("nbShutdown"));
    QCOMPARE(QAccessible::queryAccessibleInterface(child<QTabWidget>("PageControl1"))->text(QAccessible::Name),
             QStringLiteral("任务类型:系统响铃"));

    // The group headers are heard as groups that open and close.
    QAccessibleInterface *header = QAccessible::queryAccessibleInterface(child<QToolButton>("nbgInternet"));
    QVERIFY(header->state().expandable);
    QVERIFY(!header->state().checkable);
    QVERIFY(header->state().collapsed);
    QVERIFY(header->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    header->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(header->state().expanded);
    QVERIFY(child<NavBar>("dxNavBar1")->isGroupExpanded(QStringLiteral("nbgInternet")));
}

void TestMissionEditor::everyGroupHeaderStaysInSight_data()
{
    QTest::addColumn<QString>("opened");
    QTest::newRow("first") << "nbgMission";
    QTest::newRow("second") << "nbgTishi";
    QTest::newRow("third") << "nbgInternet";
}

void TestMissionEditor::everyGroupHeaderStaysInSight()
{
    QFETCH(QString, opened);
    showIn(MissionEditor::AddMode);
    QVERIFY(QTest::qWaitForWindowExposed(m_frm.get()));
    auto *scroll = child<QScrollArea>("navScroll");
    // Opened by a click, as the user does; the other groups fold away.
    auto *navBar = child<NavBar>("dxNavBar1");
    if (!navBar->isGroupExpanded(opened))
        QTest::mouseClick(::child<QToolButton>(m_frm.get(), opened), Qt::LeftButton);
    QVERIFY(navBar->isGroupExpanded(opened));
    for (const char *name : {"nbgMission", "nbgTishi", "nbgInternet"}) {
        auto *header = child<QToolButton>(name);
        const QRect inView(header->mapTo(scroll->viewport(), QPoint()), header->size());
        QVERIFY2(scroll->viewport()->rect().contains(inView), name);
    }
    // The items of the open group are in sight too.
    const QWidget *openedItems = ::child<QWidget>(m_frm.get(), opened + QStringLiteral("Items"));
    for (QToolButton *item : openedItems->findChildren<QToolButton *>()) {
        const QRect inView(item->mapTo(scroll->viewport(), QPoint()), item->size());
        QVERIFY2(scroll->viewport()->rect().contains(inView), qPrintable(item->objectName()));
    }
}

void TestMissionEditor::repeatControlWritesTheRule_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("days"); // ticked weekdays, 1 = Monday
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("end"); // 0 never, 1 after a count, 2 on a date
    QTest::addColumn<QDateTime>("first");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("shown"); // the row's date and time

    const QDateTime thirteen(today, QTime(13, 0));
    QTest::newRow("once") << int(RepeatField::Once) << "" << 1 << 0 << thirteen << ""
                          << "2026-12-10 13:00:00";
    QTest::newRow("daily") << int(RepeatField::Daily) << "" << 1 << 0 << thirteen << "FREQ=DAILY"
                           << "2026-12-10 13:00:00";
    QTest::newRow("daily, first moment past")
        << int(RepeatField::Daily) << "" << 1 << 0 << QDateTime(today, QTime(9, 0)) << "FREQ=DAILY"
        << "2026-12-11 9:00:00";
    QTest::newRow("weekdays from a Saturday")
        << int(RepeatField::Weekdays) << "" << 1 << 0 << QDateTime(QDate(2026, 12, 12), QTime(9, 0))
        << "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"
        << "2026-12-14 9:00:00";
    QTest::newRow("Mon Wed Fri from a Thursday")
        << int(RepeatField::Weekly) << "135" << 1 << 0 << thirteen << "FREQ=WEEKLY;BYDAY=MO,WE,FR"
        << "2026-12-11 13:00:00";
    QTest::newRow("weekly, no day ticked")
        << int(RepeatField::Weekly) << "" << 1 << 0 << thirteen << "FREQ=WEEKLY;BYDAY=TH"
        << "2026-12-10 13:00:00";
    QTest::newRow("monthly") << int(RepeatField::Monthly) << "" << 1 << 0 << QDateTime(QDate(2027, 1, 31), QTime(9, 0))
                             << "FREQ=MONTHLY"
                             << "2027-1-31 9:00:00";
    QTest::newRow("every 90 minutes from the morning") << int(RepeatField::EveryMinutes) << "" << 90 << 0
                                                       << QDateTime(today, QTime(8, 0)) << "FREQ=MINUTELY;INTERVAL=90"
                                                       << "2026-12-10 12:30:00";
    QTest::newRow("every 2 hours, 5 times")
        << int(RepeatField::EveryHours) << "" << 2 << 1 << thirteen << "FREQ=HOURLY;COUNT=5;INTERVAL=2"
        << "2026-12-10 13:00:00";
    QTest::newRow("daily until a date") << int(RepeatField::Daily) << "" << 1 << 2 << thirteen
                                        << "FREQ=DAILY;UNTIL=20261231T235959"
                                        << "2026-12-10 13:00:00";
}

void TestMissionEditor::repeatControlWritesTheRule()
{
    QFETCH(int, choice);
    QFETCH(QString, days);
    QFETCH(int, interval);
    QFETCH(int, end);
    QFETCH(QDateTime, first);
    QFETCH(QString, rule);
    QFETCH(QString, shown);

    showIn(MissionEditor::AddMode);
    RepeatField *repeat = m_frm->repeatField();
    repeat->setChoice(RepeatField::Choice(choice));
    for (const QChar day : days)
        repeat->weekdayBox(day.digitValue())->setChecked(true);
    repeat->intervalBox()->setValue(interval);
    repeat->endChoice()->setCurrentIndex(end);
    repeat->countBox()->setValue(5);
    repeat->untilBox()->setDate(QDate(2026, 12, 31));
    child<QDateEdit>("dpDate")->setDate(first.date());
    child<QTimeEdit>("dpTime")->setTime(first.time());
    press("btnAdd");

    QCOMPARE(missions().count(), 1);
    const Mission &added = missions().mission(0);
    QCOMPARE(added.repeatRule, rule);
    QCOMPARE(added.dateText + ' ' + added.timeText, shown);
    if (!rule.isEmpty())
        QVERIFY(added.repeatStart.isValid() && added.repeatStart >= first);
}

void TestMissionEditor::modifyShowsAndEditsTheRowsRule()
{
    Mission repeating = row("提示消息", "喝水", 3);
    repeating.dateText = QStringLiteral("2026-12-11");
    repeating.timeText = QStringLiteral("9:00:00");
    repeating.repeatRule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE,FR;COUNT=8");
    repeating.repeatStart = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    missions().append(row("执行程序", "/bin/a", 1));
    missions().append(repeating);
    m_selected = 1;
    showIn(MissionEditor::ModifyMode);

    RepeatField *repeat = m_frm->repeatField();
    QCOMPARE(repeat->choice(), RepeatField::Weekly);
    QVERIFY(repeat->weekdayBox(1)->isChecked() && repeat->weekdayBox(3)->isChecked());
    QVERIFY(repeat->weekdayBox(5)->isChecked() && !repeat->weekdayBox(2)->isChecked());
    QCOMPARE(repeat->endChoice()->currentIndex(), 1);
    QCOMPARE(repeat->countBox()->value(), 8);
    // The row's coming occurrence, not the next hour, stands in the fields.
    QCOMPARE(child<QDateEdit>("dpDate")->date(), QDate(2026, 12, 11));
    QCOMPARE(child<QTimeEdit>("dpTime")->time(), QTime(9, 0));

    repeat->weekdayBox(3)->setChecked(false);
    press("btnAdd");
    QCOMPARE(missions().mission(1).repeatRule, QStringLiteral("FREQ=WEEKLY;COUNT=8;BYDAY=MO,FR"));
    QCOMPARE(missions().mission(1).dateText, QStringLiteral("2026-12-11"));
    QCOMPARE(missions().mission(0).repeatRule, QString());

    // Modifying a row carried out once shows 不重复.
    m_selected = 0;
    showIn(MissionEditor::ModifyMode);
    QCOMPARE(repeat->choice(), RepeatField::Once);
}

void TestMissionEditor::keepsARuleItHasNoControlsFor()
{
    Mission repeating = row("提示消息", "体检", 3);
    repeating.dateText = QStringLiteral("2027-5-17");
    repeating.repeatRule = QStringLiteral("FREQ=YEARLY;BYWEEKNO=20");
    repeating.repeatStart = QDateTime(QDate(2027, 5, 17), QTime(8, 0));
    missions().append(repeating);
    m_selected = 0;
    showIn(MissionEditor::ModifyMode);
    QCOMPARE(m_frm->repeatField()->choice(), RepeatField::OtherRule);
    QVERIFY(child<QLabel>("lbOtherRule")->text().contains(QStringLiteral("BYWEEKNO=20")));
    press("btnAdd");
    QCOMPARE(missions().mission(0).repeatRule, QStringLiteral("FREQ=YEARLY;BYWEEKNO=20"));
}

void TestMissionEditor::refusesARepeatThatNeverComes()
{
    showIn(MissionEditor::AddMode);
    RepeatField *repeat = m_frm->repeatField();
    repeat->setChoice(RepeatField::Daily);
    repeat->endChoice()->setCurrentIndex(2);
    repeat->untilBox()->setDate(QDate(2026, 12, 1));
    press("btnAdd");
    QCOMPARE(missions().count(), 0);
    QVERIFY(m_frm->isVisible());
    auto *report = m_frm->findChild<QMessageBox *>();
    QVERIFY(report);
    QVERIFY2(report->text().contains(QStringLiteral("不再有执行的时间")), qPrintable(report->text()));
}

void TestMissionEditor::quickTimesSetDateAndTime_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDateTime>("moment");
    m_platform.clock.set(QDateTime(today, QTime(23, 40, 5, 600)));
    QTest::newRow("5 minutes") << "5 分钟后" << QDateTime(today, QTime(23, 45, 5));
    QTest::newRow("30 minutes, past midnight") << "30 分钟后" << QDateTime(today.addDays(1), QTime(0, 10, 5));
    QTest::newRow("1 hour") << "1 小时后" << QDateTime(today.addDays(1), QTime(0, 40, 5));
    QTest::newRow("tomorrow") << "明天 8:00" << QDateTime(today.addDays(1), QTime(8, 0));
}

void TestMissionEditor::quickTimesSetDateAndTime()
{
    QFETCH(QString, entry);
    QFETCH(QDateTime, moment);
    showIn(MissionEditor::AddMode);
    m_platform.clock.set(QDateTime(today, QTime(23, 40, 5, 600)));
    auto *button = child<QToolButton>("btnQuickTime");
    QCOMPARE(button->accessibleName(), QStringLiteral("快捷时间"));
    QVERIFY(button->focusPolicy() & Qt::TabFocus);
    QAction *action = nullptr;
    for (QAction *candidate : button->menu()->actions()) {
        if (candidate->text() == entry)
            action = candidate;
    }
    QVERIFY(action);
    action->trigger();
    QCOMPARE(child<QDateEdit>("dpDate")->date(), moment.date());
    QCOMPARE(child<QTimeEdit>("dpTime")->time(), moment.time());
}

void TestMissionEditor::timeFieldTakesATimeWithoutSeconds()
{
    m_platform.clock.set(QDateTime(today, QTime(12, 0, 37)));
    showIn(MissionEditor::AddMode);
    QVERIFY(QTest::qWaitForWindowExposed(m_frm.get()));
    auto *time = child<QTimeEdit>("dpTime");
    time->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(time->hasFocus());
    QTest::keyClicks(time, QStringLiteral("14:30"));
    QTest::keyClick(time, Qt::Key_Tab);
    QCOMPARE(time->time(), QTime(14, 30, 0));
    // Typed with its seconds, the time is taken whole.
    time->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(time->hasFocus());
    QTest::keyClicks(time, QStringLiteral("15:45:12"));
    QTest::keyClick(time, Qt::Key_Enter);
    QCOMPARE(time->time(), QTime(15, 45, 12));
}

QTEST_MAIN(TestMissionEditor)
#include "tst_missioneditor.moc"
