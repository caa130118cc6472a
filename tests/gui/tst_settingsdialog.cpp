#include "doubles/RecordingLive.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/settings/LiveSettings.h"
#include "gui/settings/SettingsDialog.h"
#include "gui/settings/SkinEngine.h"
#include "support/ChildLookup.h"
#include "support/MainWindowFixture.h"
#include "support/ModalDialogHandler.h"
#include "support/RegionalFormatReset.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

// The sheet of a stored skin, or of the plain look for "".
QString skinSheet(const char *file)
{
    if (!*file)
        return SkinEngine::plainStyleSheet();
    QFile sheet(QStringLiteral(":/skins/%1.qss").arg(QLatin1String(file)));
    if (!sheet.open(QIODevice::ReadOnly))
        qFatal("no skin %s", file);
    return QString::fromUtf8(sheet.readAll());
}

} // namespace

class TestSetup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingShowsTheStoredSettings_data();
    void openingShowsTheStoredSettings();
    void okWritesEveryKeyAndKeepsOtherLines();
    void okWithNothingSelectedWritesMinusOne();
    void okFollowsTheAutostartBox_data();
    void okFollowsTheAutostartBox();
    void okStopsAtTheFailedStep_data();
    void okStopsAtTheFailedStep();
    void cancelWritesNothing();

    void themeAtStart_data();
    void themeAtStart();
    void applyThemeSwitchesSkins_data();
    void applyThemeSwitchesSkins();
    void everySkinIsComplete_data();
    void everySkinIsComplete();
    void settingsCommandOpensTheDialog();

private:
    QString configPath() const { return m_main->filePath(QStringLiteral("config.ini")); }
    void writeConfig(const QByteArray &contents);
    QByteArray readConfig() const;
    SettingsDialog &dialog();
    MainWindow &form() { return m_main->form(); }

    std::unique_ptr<MainWindowFixture> m_main;
    RecordingLive m_live;
    std::unique_ptr<SettingsDialog> m_dialog;
};

void TestSetup::init()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
    m_live = RecordingLive();
}

void TestSetup::cleanup()
{
    m_dialog.reset();
    m_main.reset();
}

void TestSetup::writeConfig(const QByteArray &contents)
{
    QFile file(configPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray TestSetup::readConfig() const
{
    QFile file(configPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SettingsDialog &TestSetup::dialog()
{
    if (!m_dialog)
        m_dialog = std::make_unique<SettingsDialog>(m_live, m_main->platform.autostart, configPath(), 70, 200);
    return *m_dialog;
}

void TestSetup::openingShowsTheStoredSettings_data()
{
    QTest::addColumn<QByteArray>("config"); // null: no file
    QTest::addColumn<bool>("autostartOn");
    QTest::addColumn<int>("theme");
    QTest::addColumn<bool>("chime");
    QTest::newRow("no file") << QByteArray() << false << 0 << true;
    QTest::newRow("stored values") << QByteArray("[THEME]\r\nSelect=3\r\n[other]\r\nautospeek=0\r\n") << false << 3
                                   << false;
    QTest::newRow("theme out of range") << QByteArray("[theme]\nselect=7\n") << false << -1 << true;
    QTest::newRow("letters read as on") << QByteArray("[other]\nautospeek=abc\n") << false << 0 << true;
    QTest::newRow("hex zero reads as off") << QByteArray("[other]\nautospeek=0x0\n") << false << 0 << false;
    QTest::newRow("entry of another program") << QByteArray() << true << 0 << true;
}

void TestSetup::openingShowsTheStoredSettings()
{
    QFETCH(QByteArray, config);
    QFETCH(bool, autostartOn);
    QFETCH(int, theme);
    QFETCH(bool, chime);
    if (!config.isNull())
        writeConfig(config + "[other]\ncrt=150\nzhuji=300\n");
    m_main->platform.autostart.on = autostartOn;

    QCOMPARE(dialog().windowTitle(), QStringLiteral("系统设置"));
    QCOMPARE(dialog().size(), QSize(321, 317));
    QCOMPARE(child<QCheckBox>(&dialog(), "ckAutoRun")->isChecked(), autostartOn);
    QCOMPARE(child<QCheckBox>(&dialog(), "ckAutoRun")->text(), QStringLiteral("程序随系统一起启动"));
    QCOMPARE(child<QComboBox>(&dialog(), "ComboBox1")->currentIndex(), theme);
    QCOMPARE(child<QCheckBox>(&dialog(), "ckAutospeek")->isChecked(), chime);
    QCOMPARE(m_live.chimes, QList<bool> {chime});
    QCOMPARE(child<QCheckBox>(&dialog(), "ckRestore")->text(), QStringLiteral("启动时恢复上次的任务"));
    QVERIFY(child<QCheckBox>(&dialog(), "ckRestore")->isChecked());
    // The ratings in use, not those in the file.
    QCOMPARE(child<QSpinBox>(&dialog(), "editCrt")->value(), 70);
    QCOMPARE(child<QSpinBox>(&dialog(), "editZhuji")->value(), 200);
    QVERIFY(m_live.themes.isEmpty());
    QVERIFY(m_main->platform.autostart.calls.isEmpty());
}

void TestSetup::okWritesEveryKeyAndKeepsOtherLines()
{
    writeConfig("; ratings measured at the wall\r\n[other]\r\nautospeek=1\r\n");
    child<QComboBox>(&dialog(), "ComboBox1")->setCurrentIndex(2);
    child<QCheckBox>(&dialog(), "ckAutospeek")->setChecked(false);
    child<QCheckBox>(&dialog(), "ckAutoRun")->setChecked(false);
    child<QSpinBox>(&dialog(), "editCrt")->setValue(100);
    child<QSpinBox>(&dialog(), "editZhuji")->setValue(1000);
    child<QCheckBox>(&dialog(), "ckRestore")->setChecked(false);
    dialog().show();
    child<QPushButton>(&dialog(), "BitBtn1")->click();

    // The restore switch is kept with the list, never in config.ini.
    QVERIFY(!m_live.restores);
    QCOMPARE(readConfig(), QByteArray("; ratings measured at the wall\r\n[other]\r\nautospeek=0\r\ncrt=100\r\n"
                                      "zhuji=1000\r\n[theme]\r\nselect=2\r\n"));
    QCOMPARE(m_live.themes, QList<int> {2});
    QCOMPARE(m_live.chimes, (QList<bool> {true, false}));
    QCOMPARE(dialog().result(), int(QDialog::Accepted));
    QVERIFY(!dialog().isVisible());
}

void TestSetup::okWithNothingSelectedWritesMinusOne()
{
    writeConfig("[theme]\r\nselect=7\r\n");
    child<QPushButton>(&dialog(), "BitBtn1")->click();
    QVERIFY(readConfig().startsWith("[theme]\r\nselect=-1\r\n"));
    QCOMPARE(m_live.themes, QList<int> {-1});
}

void TestSetup::okFollowsTheAutostartBox_data()
{
    QTest::addColumn<bool>("onBefore");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("turned on") << false << true
                               << QStringList {QStringLiteral("enable ") + QCoreApplication::applicationFilePath()};
    QTest::newRow("existing entry kept") << true << true << QStringList {};
    QTest::newRow("turned off") << true << false << QStringList {QStringLiteral("disable")};
    QTest::newRow("stays off") << false << false << QStringList {};
}

void TestSetup::okFollowsTheAutostartBox()
{
    QFETCH(bool, onBefore);
    QFETCH(bool, checked);
    QFETCH(QStringList, calls);
    m_main->platform.autostart.on = onBefore;
    child<QCheckBox>(&dialog(), "ckAutoRun")->setChecked(checked);
    child<QPushButton>(&dialog(), "BitBtn1")->click();
    QCOMPARE(m_main->platform.autostart.calls, calls);
    QCOMPARE(m_main->platform.autostart.on, checked);
    QCOMPARE(dialog().result(), int(QDialog::Accepted));
}

void TestSetup::okStopsAtTheFailedStep_data()
{
    QTest::addColumn<bool>("configWritable");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QList<int>>("themes");
    QTest::addColumn<QString>("error");
    QTest::newRow("config.ini cannot be written")
        << false << QByteArray() << QList<int> {} << QStringLiteral("无法创建文件“%1”：文件或文件夹不存在");
    QTest::newRow("autostart entry cannot be written")
        << true << QByteArray("[theme]\r\nselect=1\r\n") << QList<int> {1}
        << QStringLiteral("无法写入文件“/autostart/ChronoDesk.desktop”：没有访问权限。");
}

void TestSetup::okStopsAtTheFailedStep()
{
    QFETCH(bool, configWritable);
    QFETCH(QByteArray, written);
    QFETCH(QList<int>, themes);
    QFETCH(QString, error);
    const QString path = configWritable ? configPath() : m_main->filePath(QStringLiteral("gone/config.ini"));
    m_main->platform.autostart.failEnable = true;
    SettingsDialog setup(m_live, m_main->platform.autostart, path, 70, 200);
    child<QComboBox>(&setup, "ComboBox1")->setCurrentIndex(1);
    child<QCheckBox>(&setup, "ckAutoRun")->setChecked(true);
    child<QCheckBox>(&setup, "ckAutospeek")->setChecked(false);
    setup.show();
    child<QPushButton>(&setup, "BitBtn1")->click();

    QCOMPARE(readConfig(), written);
    QCOMPARE(m_live.themes, themes);
    QCOMPARE(m_live.chimes, QList<bool> {true}); // only the opening's
    QVERIFY(setup.isVisible());
    QCOMPARE(setup.result(), 0);
    auto *report = setup.findChild<QMessageBox *>(QStringLiteral("ErrorReport"));
    QVERIFY(report);
    // The report names the file that could not be written.
    QVERIFY2(report->text().contains(QString(error).replace(QStringLiteral("%1"), path)), qPrintable(report->text()));
}

void TestSetup::cancelWritesNothing()
{
    writeConfig("[other]\r\nautospeek=0\r\n");
    child<QComboBox>(&dialog(), "ComboBox1")->setCurrentIndex(4);
    child<QCheckBox>(&dialog(), "ckAutospeek")->setChecked(true);
    child<QPushButton>(&dialog(), "BitBtn2")->click();
    QCOMPARE(readConfig(), QByteArray("[other]\r\nautospeek=0\r\n"));
    QCOMPARE(dialog().result(), int(QDialog::Rejected));
    QVERIFY(m_live.themes.isEmpty());
    QCOMPARE(m_live.chimes, QList<bool> {false}); // the stored switch, taken at opening
    QVERIFY(m_main->platform.autostart.calls.isEmpty());
}

void TestSetup::themeAtStart_data()
{
    QTest::addColumn<QByteArray>("config"); // null: no file
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("skin");
    QTest::newRow("no file: MSN") << QByteArray() << skinSheet("msn") << "skinMsn";
    QTest::newRow("1 Vista") << QByteArray("[theme]\nselect=1\n") << skinSheet("vista") << "skinVista";
    QTest::newRow("2 Cool") << QByteArray("[theme]\nselect=2\n") << skinSheet("cool") << "skinCool";
    QTest::newRow("3 plain") << QByteArray("[theme]\nselect=3\n") << skinSheet("") << "SkinCoolXuan";
    QTest::newRow("4 CoolXuan") << QByteArray("[theme]\nselect=4\n") << skinSheet("coolxuan") << "SkinCoolXuan";
    QTest::newRow("7 keeps the built-in skin")
        << QByteArray("[theme]\nselect=7\n") << skinSheet("coolxuan") << "SkinCoolXuan";
}

void TestSetup::themeAtStart()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, sheet);
    QFETCH(QString, skin);
    qApp->setStyleSheet(QStringLiteral("QWidget { color: red; }")); // whatever a previous window left
    if (!config.isNull())
        writeConfig(config);
    auto *engine = form().findChild<SkinEngine *>(QStringLiteral("SkinData1"));
    QVERIFY(engine);
    QVERIFY(form().findChild<QObject *>(QStringLiteral("SkinStore1")));
    QCOMPARE(qApp->styleSheet(), sheet);
    QCOMPARE(engine->skinName(), skin);
    QCOMPARE(engine->isActive(), sheet != skinSheet(""));
    QVERIFY(!skinSheet("").contains(QLatin1Char('{')));
}

void TestSetup::applyThemeSwitchesSkins_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("sheet");
    QTest::newRow("3 switches off") << 0 << 3 << skinSheet("");
    QTest::newRow("7 keeps Vista") << 1 << 7 << skinSheet("vista");
    QTest::newRow("-1 keeps Cool") << 2 << -1 << skinSheet("cool");
    QTest::newRow("7 keeps the plain look") << 3 << 7 << skinSheet("");
    QTest::newRow("0 from plain") << 3 << 0 << skinSheet("msn");
    QTest::newRow("1") << 0 << 1 << skinSheet("vista");
    QTest::newRow("2") << 4 << 2 << skinSheet("cool");
    QTest::newRow("4") << 0 << 4 << skinSheet("coolxuan");
}

void TestSetup::applyThemeSwitchesSkins()
{
    QFETCH(int, start);
    QFETCH(int, index);
    QFETCH(QString, sheet);
    writeConfig("[theme]\nselect=" + QByteArray::number(start) + "\n");
    form().applyTheme(index);
    QCOMPARE(qApp->styleSheet(), sheet);
}

void TestSetup::everySkinIsComplete_data()
{
    QTest::addColumn<int>("theme");
    QTest::newRow("MSN") << 0;
    QTest::newRow("Vista") << 1;
    QTest::newRow("Cool") << 2;
    QTest::newRow("CoolXuan") << 4;
}

void TestSetup::everySkinIsComplete()
{
    QFETCH(int, theme);
    // A sheet Qt cannot read is dropped whole, with a warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("style ?sheet"), QRegularExpression::CaseInsensitiveOption));
    form().applyTheme(theme);
    QVERIFY(!qApp->styleSheet().isEmpty());
    form().show();
    dialog().show();
    for (QWidget *widget : QApplication::allWidgets())
        widget->ensurePolished();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog()));
    // The tool band and the navigation bar wear the skin, not the plain look.
    auto *band = child<QWidget>(&form(), "CoolBar1");
    QVERIFY(band->testAttribute(Qt::WA_StyleSheet));
    QVERIFY(child<QWidget>(&form(), "bAdd")->testAttribute(Qt::WA_StyleSheet));
}

void TestSetup::settingsCommandOpensTheDialog()
{
    form();
    writeConfig("[theme]\r\nselect=0\r\n[other]\r\nautospeek=0\r\n");
    QString title;
    QSize size;
    ModalDialogHandler<SettingsDialog> settings([&](SettingsDialog *open) {
        title = open->windowTitle();
        size = open->size();
        child<QComboBox>(open, "ComboBox1")->setCurrentIndex(1);
        child<QSpinBox>(open, "editCrt")->setValue(100);
        child<QPushButton>(open, "BitBtn1")->click();
    });
    QVERIFY(form().chimeOn());
    child<QAction>(&form(), "mnSetup")->trigger();
    QVERIFY(settings.waitHandled());
    QVERIFY(!settings.closedForIt());
    QCOMPARE(title, QStringLiteral("系统设置"));
    QCOMPARE(size, QSize(321, 317));
    QVERIFY(!form().chimeOn()); // the stored switch, taken at opening
    QCOMPARE(qApp->styleSheet(), skinSheet("vista"));
    QVERIFY(readConfig().contains("crt=100\r\n"));
    QCOMPARE(form().crtWatts(), 70); // used from the next start
    QVERIFY(!form().findChild<SettingsDialog *>());
}

QTEST_MAIN(TestSetup)
#include "tst_settingsdialog.moc"
