#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/ProductInfo.h"
#include "gui/dialogs/SystemTimeDialog.h"
#include "gui/dialogs/VersionHistoryDialog.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/MainWindowFixture.h"
#include "support/RegionalFormatReset.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Records beeps like RecordingSound and lets the test look at the windows
// at the moment of the beep.
class WatchedSound : public RecordingSound
{
public:
    void beep() override
    {
        RecordingSound::beep();
        if (onBeep)
            onBeep();
    }

    std::function<void()> onBeep;
};

} // namespace

class TestInfoCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aboutBeepsBeforeTheBox_data();
    void aboutBeepsBeforeTheBox();
    void commandsOpenAFreshOwnedDialog_data();
    void commandsOpenAFreshOwnedDialog();
    void aboutBoxLaysOut();
    void versionHistoryListsEveryRelease();
    void helpNoticeStandsAlone();
    void makerCommandsGoToTheShell_data();
    void makerCommandsGoToTheShell();

private:
    MainWindow &form();
    QAction *menuItem(const QString &menuName, const QString &text);
    QAction *action(const QString &name) { return form().findChild<QAction *>(name); }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::unique_ptr<MainWindowFixture> m_main;
    WatchedSound m_sound;
};

void TestInfoCommands::init()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
    m_sound.played.clear();
    m_sound.onBeep = nullptr;
}

void TestInfoCommands::cleanup()
{
    m_main.reset();
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("HelpNotice"))
            delete window;
}

MainWindow &TestInfoCommands::form()
{
    m_main->services.sound = &m_sound;
    return m_main->form();
}

QAction *TestInfoCommands::menuItem(const QString &menuName, const QString &text)
{
    QList<QAction *> items;
    if (auto *menu = form().findChild<QMenu *>(menuName)) {
        items = menu->actions();
    } else {
        for (QAction *top : form().menuBar()->actions())
            if (top->text() == menuName)
                items = top->menu()->actions();
    }
    for (QAction *item : items)
        if (item->text() == text)
            return item;
    qFatal("no item %s in %s", qPrintable(text), qPrintable(menuName));
}

void TestInfoCommands::aboutBeepsBeforeTheBox_data()
{
    QTest::addColumn<QString>("place");
    QTest::newRow("help menu") << "帮助(&H)";
    QTest::newRow("tool button") << "tbAbout";
    QTest::newRow("tray menu") << "PopupMenu1";
}

void TestInfoCommands::aboutBeepsBeforeTheBox()
{
    QFETCH(QString, place);
    int boxesAtBeep = -1;
    m_sound.onBeep = [&] { boxesAtBeep = int(form().findChildren<AboutDialog *>().size()); };

    if (place == QLatin1String("tbAbout"))
        form().findChild<QToolButton *>(place)->click();
    else
        menuItem(place, QStringLiteral("关于程序"))->trigger();

    QCOMPARE(m_sound.played, QStringList {QStringLiteral("beep")});
    QCOMPARE(boxesAtBeep, 0);
    const QList<AboutDialog *> boxes = form().findChildren<AboutDialog *>();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0]->isVisible());
}

void TestInfoCommands::commandsOpenAFreshOwnedDialog_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialogClass");
    QTest::newRow("system time") << "mnSystemTime"
                                 << "SystemTimeDialog";
    QTest::newRow("about box") << "actAbout"
                               << "AboutDialog";
    QTest::newRow("version history") << "mnShengji"
                                     << "VersionHistoryDialog";
}

void TestInfoCommands::commandsOpenAFreshOwnedDialog()
{
    QFETCH(QString, command);
    QFETCH(QString, dialogClass);
    auto openOne = [&]() -> QDialog * {
        action(command)->trigger();
        for (QDialog *dialog : form().findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
            if (dialog->isVisible() && QLatin1String(dialog->metaObject()->className()) == dialogClass)
                return dialog;
        return nullptr;
    };

    QPointer<QDialog> first = openOne();
    QVERIFY(first);
    QCOMPARE(first->parentWidget(), &form());
    QVERIFY(first->isModal() || first->windowModality() != Qt::NonModal);
    first->close();
    flushDeletes();
    QVERIFY(!first);

    QPointer<QDialog> second = openOne();
    QVERIFY(second);
    second->close();
    flushDeletes();
    QVERIFY(!second);
}

void TestInfoCommands::aboutBoxLaysOut()
{
    AboutDialog about;
    QCOMPARE(about.size(), QSize(371, 210));
    QVERIFY(about.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(about.windowTitle(), QStringLiteral("关于程序"));
    QCOMPARE(about.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("翎鹊时间管理器"));
    QCOMPARE(about.findChild<QLabel *>(QStringLiteral("Label5"))->text(), homepageAddress());
    QVERIFY(about.findChild<QLabel *>(QStringLiteral("RzLabel1"))->text().startsWith(QStringLiteral("感谢:\n")));
    QVERIFY(!about.findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull());
    QVERIFY(!about.findChild<QLabel *>(QStringLiteral("Image2"))->pixmap().isNull());
    QVERIFY(about.findChild<QWidget *>(QStringLiteral("Shape1")));

    about.show();
    auto *ok = about.findChild<QPushButton *>(QStringLiteral("btnOK"));
    QCOMPARE(ok->text(), QStringLiteral("确定(&O)"));
    ok->click();
    QVERIFY(!about.isVisible());
}

void TestInfoCommands::versionHistoryListsEveryRelease()
{
    VersionHistoryDialog history;
    QCOMPARE(history.windowTitle(), QStringLiteral("升级历史"));
    QCOMPARE(history.size(), QSize(356, 282));
    auto *notes = history.findChild<QPlainTextEdit *>(QStringLiteral("RichEdit1"));
    QVERIFY(notes->isReadOnly());
    QCOMPARE(notes->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(notes->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(notes->toPlainText(), VersionHistoryDialog::releaseNotes());

    // Versions newest first from 2.1 to 0.5, each with at least one change;
    // every line starts with an asterisk except the second line of a change.
    static const QRegularExpression versionLine(QStringLiteral("^\\*版本 (\\d+\\.\\d+)$"));
    static const QRegularExpression dateLine(QStringLiteral("^\\*发布日期: \\d{4}-\\d{2}-\\d{2}$"));
    QList<double> versions;
    int changes = -1;
    enum { Version, Date, Change, Continuation } previous = Continuation;
    const QStringList lines = VersionHistoryDialog::releaseNotes().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QRegularExpressionMatch version = versionLine.match(line);
        if (version.hasMatch()) {
            QVERIFY2(changes != 0, qPrintable(line));
            versions.append(version.captured(1).toDouble());
            changes = 0;
            previous = Version;
        } else if (dateLine.match(line).hasMatch()) {
            QCOMPARE(previous, Version);
            previous = Date;
        } else if (line.startsWith(QLatin1Char('*'))) {
            QVERIFY2(!versions.isEmpty(), qPrintable(line));
            ++changes;
            previous = Change;
        } else {
            QVERIFY2(previous == Change, qPrintable(line));
            previous = Continuation;
        }
    }
    QVERIFY(changes > 0);
    QCOMPARE(versions.first(), 2.1);
    QCOMPARE(versions.last(), 0.5);
    for (int i = 1; i < versions.size(); ++i)
        QVERIFY(versions[i] < versions[i - 1]);

    history.show();
    history.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    QVERIFY(!history.isVisible());
}

void TestInfoCommands::helpNoticeStandsAlone()
{
    action(QStringLiteral("actHelpContent"))->trigger();
    QMessageBox *notice = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("HelpNotice") && window->isVisible())
            notice = qobject_cast<QMessageBox *>(window);
    QVERIFY(notice);
    QCOMPARE(notice->windowTitle(), QStringLiteral("提示:"));
    QCOMPARE(notice->icon(), QMessageBox::Information);
    QCOMPARE(notice->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!notice->parentWidget());
    QCOMPARE(notice->windowModality(), Qt::NonModal);
    QVERIFY(!notice->text().isEmpty());
}

void TestInfoCommands::makerCommandsGoToTheShell_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("call");
    QTest::newRow("homepage") << "访问主页" << QStringLiteral("url ") + homepageAddress();
    QTest::newRow("feedback") << "问题反馈" << QStringLiteral("mail ") + feedbackAddress();
}

void TestInfoCommands::makerCommandsGoToTheShell()
{
    QFETCH(QString, item);
    QFETCH(QString, call);
    menuItem(QStringLiteral("帮助(&H)"), item)->trigger();
    QCOMPARE(m_main->platform.shell.calls, QStringList {call});
}

QTEST_MAIN(TestInfoCommands)
#include "tst_infocommands.moc"
