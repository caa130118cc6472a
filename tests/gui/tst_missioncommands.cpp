#include "core/files/MissionFile.h"
#include "core/missions/MissionModel.h"
#include "core/missions/SecondTimer.h"
#include "gui/editor/MissionCommands.h"
#include "gui/editor/MissionEditor.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/ChildLookup.h"
#include "support/MainWindowFixture.h"
#include "support/RegionalFormatReset.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

Mission ringRow(const QString &description)
{
    return {QStringLiteral("系统响铃"), description, QStringLiteral("2026-12-10"), QStringLiteral("20:00:00"), 4};
}

} // namespace

// The add, modify and delete commands, reached as the user reaches them in
// the main window.
class TestMissionCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyEntryOpensTheEditor_data();
    void everyEntryOpensTheEditor();
    void modifyWithoutSelectionOpensNothing_data();
    void modifyWithoutSelectionOpensNothing();
    void addAfterAModifyWithoutSelectionShowsTheAddButtons();
    void deleteWithoutSelectionAsksNothing_data();
    void deleteWithoutSelectionAsksNothing();
    void deleteRemovesTheRowOnlyOnYes_data();
    void deleteRemovesTheRowOnlyOnYes();
    void deleteOfAMissionGoneMeanwhileRemovesNothing_data();
    void deleteOfAMissionGoneMeanwhileRemovesNothing();
    void onlyAddingTheOnlyRowWithAddAndCloseStartsTheRun_data();
    void onlyAddingTheOnlyRowWithAddAndCloseStartsTheRun();

private:
    template <typename T> T *child(const char *name) { return ::child<T>(&m_main->form(), name); }
    void fillList(int rows);
    void select(int row);
    void reach(const QString &entry);
    QMessageBox *openQuestion() const;
    QList<bool> runState();

    std::unique_ptr<MainWindowFixture> m_main;
    MissionEditor *m_editor = nullptr;
};

void TestMissionCommands::init()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
    m_main->form().show();
    QApplication::setActiveWindow(&m_main->form());
    QVERIFY(QTest::qWaitForWindowActive(&m_main->form()));
    // The editor is made on first use, not with the window.
    QVERIFY(!m_main->form().findChild<MissionEditor *>());
    auto *commands = m_main->form().findChild<MissionCommands *>();
    QVERIFY(commands);
    m_editor = commands->editor();
    QCOMPARE(m_editor, child<MissionEditor>("frmMis"));
}

void TestMissionCommands::cleanup()
{
    m_main.reset();
}

void TestMissionCommands::fillList(int rows)
{
    for (int i = 0; i < rows; ++i)
        m_main->form().missions()->append(ringRow(QStringLiteral("row %1").arg(i)));
}

void TestMissionCommands::select(int row)
{
    auto *list = child<QTableView>("ListView1");
    list->selectRow(row);
    list->setFocus();
}

void TestMissionCommands::reach(const QString &entry)
{
    auto *list = child<QTableView>("ListView1");
    if (entry.startsWith(QLatin1String("key "))) {
        const QKeySequence key(entry.mid(4));
        QTest::keyClick(list, Qt::Key(key[0].key()), key[0].keyboardModifiers());
    } else if (entry.startsWith(QLatin1String("double-click"))) {
        const QPoint at =
            entry.endsWith(QLatin1String("below the rows"))
                ? QPoint(20, list->viewport()->height() - 5)
                : list->visualRect(list->model()->index(qMax(0, m_main->form().selectedIndex()), 1)).center();
        // A double click as the window system delivers it: a click, then
        // the second press as a double-click event, then its release.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    } else if (auto *button = m_main->form().findChild<QToolButton *>(entry)) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        QAction *action = m_main->form().findChild<QAction *>(entry);
        QVERIFY2(action, qPrintable(entry));
        action->trigger();
    }
}

QMessageBox *TestMissionCommands::openQuestion() const
{
    for (QMessageBox *box : m_main->form().findChildren<QMessageBox *>()) {
        if (box->isVisible())
            return box;
    }
    return nullptr;
}

QList<bool> TestMissionCommands::runState()
{
    return {child<SecondTimer>("Timer1")->isEnabled(), child<QAction>("mnStart")->isEnabled(),
            child<QAction>("mnPause")->isEnabled(), child<QAction>("mnStop")->isEnabled()};
}

void TestMissionCommands::everyEntryOpensTheEditor_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("mode");
    const int add = MissionEditor::AddMode;
    const int modify = MissionEditor::ModifyMode;
    QTest::newRow("tool bar add") << "tbAdd" << add;
    QTest::newRow("nav bar add") << "bAdd" << add;
    QTest::newRow("menu add") << "actAdd" << add;
    QTest::newRow("context menu add") << "mnpAdd" << add;
    QTest::newRow("Ins") << "key Ins" << add;
    QTest::newRow("Ctrl+Ins") << "key Ctrl+Ins" << add;
    QTest::newRow("tool bar modify") << "tbModify" << modify;
    QTest::newRow("nav bar modify") << "bModify" << modify;
    QTest::newRow("menu modify") << "mnModify" << modify;
    QTest::newRow("context menu modify") << "mnpModify" << modify;
    QTest::newRow("F2") << "key F2" << modify;
    QTest::newRow("double-click") << "double-click" << modify;
}

void TestMissionCommands::everyEntryOpensTheEditor()
{
    QFETCH(QString, entry);
    QFETCH(int, mode);
    fillList(3);
    m_main->form().missions()->overwrite(1, {QStringLiteral("发送邮件"), QStringLiteral("li@example.org"),
                                             QStringLiteral("2026-12-10"), QStringLiteral("20:00:00"), 6});
    select(1);
    reach(entry);

    QVERIFY(m_editor->isVisible());
    QVERIFY(m_editor->isModal());
    QCOMPARE(int(m_editor->mode()), mode);
    const bool adding = mode == MissionEditor::AddMode;
    QCOMPARE(m_editor->btnAddOn()->isVisible(), adding);
    QCOMPARE(m_editor->btnAdd()->text(), adding ? QStringLiteral("添加并关闭") : QStringLiteral("修改并保存"));
    QCOMPARE(m_editor->btnClose()->text(), adding ? QStringLiteral("不添加关闭") : QStringLiteral("不修改关闭"));
    if (adding)
        QCOMPARE(m_editor->btnAddOn()->text(), QStringLiteral("添加并继续"));
    QCOMPARE(m_editor->activePage(), adding ? 0 : 6);
    // Add leaves the selection where it was.
    QCOMPARE(m_main->form().selectedIndex(), 1);

    QTest::mouseClick(m_editor->btnClose(), Qt::LeftButton);
    QVERIFY(!m_editor->isVisible());
    QCOMPARE(m_main->form().missions()->count(), 3);
}

void TestMissionCommands::modifyWithoutSelectionOpensNothing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("F2") << "key F2";
    QTest::newRow("tool bar") << "tbModify";
    QTest::newRow("double-click below the rows") << "double-click below the rows";
}

void TestMissionCommands::modifyWithoutSelectionOpensNothing()
{
    QFETCH(QString, entry);
    fillList(2);
    child<QTableView>("ListView1")->setFocus();
    QCOMPARE(m_main->form().selectedIndex(), -1);
    reach(entry);
    QVERIFY(!m_editor->isVisible());
    QCOMPARE(m_main->form().selectedIndex(), -1);
}

void TestMissionCommands::addAfterAModifyWithoutSelectionShowsTheAddButtons()
{
    reach(QStringLiteral("mnModify"));
    QVERIFY(!m_editor->isVisible());
    reach(QStringLiteral("actAdd"));
    QVERIFY(m_editor->isVisible());
    QCOMPARE(m_editor->mode(), MissionEditor::AddMode);
    QVERIFY(m_editor->btnAddOn()->isVisible());
    QCOMPARE(m_editor->btnAddOn()->text(), QStringLiteral("添加并继续"));
    QCOMPARE(m_editor->btnAdd()->text(), QStringLiteral("添加并关闭"));
    QCOMPARE(m_editor->btnClose()->text(), QStringLiteral("不添加关闭"));
}

void TestMissionCommands::deleteWithoutSelectionAsksNothing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("Del") << "key Del";
    QTest::newRow("Ctrl+Del") << "key Ctrl+Del";
    QTest::newRow("tool bar") << "tbDel";
}

void TestMissionCommands::deleteWithoutSelectionAsksNothing()
{
    QFETCH(QString, entry);
    fillList(2);
    child<QTableView>("ListView1")->setFocus();
    reach(entry);
    QVERIFY(!openQuestion());
    QCOMPARE(m_main->form().missions()->count(), 2);
}

void TestMissionCommands::deleteRemovesTheRowOnlyOnYes_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("rowsLeft");
    const QStringList all {"row 0", "row 1", "row 2"};
    QTest::newRow("Del, Yes") << "key Del"
                              << "yes" << QStringList {"row 0", "row 2"};
    QTest::newRow("Ctrl+Del, Yes") << "key Ctrl+Del"
                                   << "yes" << QStringList {"row 0", "row 2"};
    QTest::newRow("nav bar, Yes") << "bDel"
                                  << "yes" << QStringList {"row 0", "row 2"};
    QTest::newRow("context menu, Yes") << "mnpDel"
                                       << "yes" << QStringList {"row 0", "row 2"};
    QTest::newRow("tool bar, No") << "tbDel"
                                  << "no" << all;
    QTest::newRow("Del, Esc") << "key Del"
                              << "escape" << all;
}

void TestMissionCommands::deleteRemovesTheRowOnlyOnYes()
{
    QFETCH(QString, entry);
    QFETCH(QString, answer);
    QFETCH(QStringList, rowsLeft);
    fillList(3);
    m_main->form().startList();
    const QList<bool> running = runState();
    select(1);
    reach(entry);

    QPointer<QMessageBox> question = openQuestion();
    QVERIFY(question);
    QVERIFY(question->isModal());
    QCOMPARE(question->windowTitle(), QStringLiteral("提示:"));
    QCOMPARE(question->text(), QStringLiteral("确定要删除该任务吗?"));
    QCOMPARE(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question->buttons().size(), 2);
    QCOMPARE(question->icon(), QMessageBox::NoIcon);
    QCOMPARE(m_main->form().missions()->count(), 3);

    if (answer == QLatin1String("escape"))
        QTest::keyClick(question, Qt::Key_Escape);
    else
        QTest::mouseClick(question->button(answer == QLatin1String("yes") ? QMessageBox::Yes : QMessageBox::No),
                          Qt::LeftButton);
    QStringList left;
    for (int i = 0; i < m_main->form().missions()->count(); ++i)
        left << m_main->form().missions()->mission(i).description;
    QCOMPARE(left, rowsLeft);
    QCOMPARE(runState(), running);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(question.isNull());
}

void TestMissionCommands::deleteOfAMissionGoneMeanwhileRemovesNothing_data()
{
    QTest::addColumn<int>("rowsLoaded");
    QTest::addColumn<QStringList>("rowsLeft");
    QTest::newRow("deleted by a script") << -1 << QStringList {"row 0", "row 2"};
    QTest::newRow("a shorter list loaded") << 1 << QStringList {"loaded 0"};
    QTest::newRow("a list as long loaded") << 3 << QStringList {"loaded 0", "loaded 1", "loaded 2"};
}

void TestMissionCommands::deleteOfAMissionGoneMeanwhileRemovesNothing()
{
    QFETCH(int, rowsLoaded);
    QFETCH(QStringList, rowsLeft);
    fillList(3);
    select(1);
    reach(QStringLiteral("actDelMis"));
    QPointer<QMessageBox> question = openQuestion();
    QVERIFY(question);

    // While the question is open, a script changes the list.
    MissionList &list = m_main->form().missionList();
    if (rowsLoaded < 0) {
        QVERIFY(list.remove(list.model().id(1)));
    } else {
        QVector<Mission> loaded;
        for (int i = 0; i < rowsLoaded; ++i)
            loaded << ringRow(QStringLiteral("loaded %1").arg(i));
        const QString path = m_main->filePath(QStringLiteral("other.mis"));
        QString error;
        QVERIFY(MissionFile::save(path, loaded, &error));
        QVERIFY(list.load(path, false, &error));
    }
    QTest::mouseClick(question->button(QMessageBox::Yes), Qt::LeftButton);

    QStringList left;
    for (int i = 0; i < list.model().count(); ++i)
        left << list.model().mission(i).description;
    QCOMPARE(left, rowsLeft);
    QMessageBox *report = m_main->form().findChild<QMessageBox *>(QStringLiteral("ErrorReport"));
    QVERIFY(report);
    QVERIFY(report->text().contains(QStringLiteral("没有删除任何任务")));
}

void TestMissionCommands::onlyAddingTheOnlyRowWithAddAndCloseStartsTheRun_data()
{
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("starts");
    QTest::newRow("first with 添加并关闭") << 0 << false << QStringList {"btnAdd"} << true;
    QTest::newRow("添加并继续, 不添加关闭") << 0 << false << QStringList {"btnAddOn", "btnClose"} << false;
    QTest::newRow("second with 添加并关闭") << 1 << false << QStringList {"btnAdd"} << false;
    QTest::newRow("second with 添加并关闭, paused") << 1 << true << QStringList {"btnAdd"} << false;
}

void TestMissionCommands::onlyAddingTheOnlyRowWithAddAndCloseStartsTheRun()
{
    QFETCH(int, rowsBefore);
    QFETCH(bool, paused);
    QFETCH(QStringList, buttons);
    QFETCH(bool, starts);
    fillList(rowsBefore);
    if (paused) {
        m_main->form().startList();
        m_main->form().pauseList();
    }
    const QList<bool> before = runState();
    reach(QStringLiteral("tbAdd"));
    for (const QString &button : buttons)
        QTest::mouseClick(m_editor->findChild<QPushButton *>(button), Qt::LeftButton);

    QVERIFY(!m_editor->isVisible());
    QCOMPARE(m_main->form().missions()->count(), rowsBefore + 1);
    const QList<bool> running {true, false, true, true};
    QCOMPARE(runState(), starts ? running : before);
}

QTEST_MAIN(TestMissionCommands)
#include "tst_missioncommands.moc"
