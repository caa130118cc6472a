#include "platform/linux/XdgAutostart.h"

#include <QTemporaryDir>
#include <QtTest>

class TestAutostart : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void entryIsOnWhenItStartsSomething_data();
    void entryIsOnWhenItStartsSomething();
    void enableWritesTheEntryAndDisableRemovesIt();
    void enableFailureNamesTheFile();
    void execArgumentFollowsTheDesktopEntryRules_data();
    void execArgumentFollowsTheDesktopEntryRules();
    void entryLivesInTheUsersConfigurationFolder();

private:
    QString entryPath() const { return m_dir->filePath(QStringLiteral("autostart/ChronoDesk.desktop")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAutostart::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestAutostart::entryIsOnWhenItStartsSomething_data()
{
    QTest::addColumn<QByteArray>("entry"); // null: no file
    QTest::addColumn<bool>("on");
    QTest::newRow("no entry") << QByteArray() << false;
    QTest::newRow("another program") << QByteArray("[Desktop Entry]\nType=Application\nExec=/usr/bin/other\n") << true;
    QTest::newRow("empty Exec") << QByteArray("[Desktop Entry]\nType=Application\nExec=\n") << false;
    QTest::newRow("no Exec") << QByteArray("[Desktop Entry]\nType=Application\n") << false;
    QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=/usr/bin/chronodesk\nHidden=true\n") << false;
    QTest::newRow("switched off in the desktop's settings")
        << QByteArray("[Desktop Entry]\nExec=/usr/bin/chronodesk\nX-GNOME-Autostart-enabled=false\n") << false;
    QTest::newRow("Exec of an action only")
        << QByteArray("[Desktop Entry]\nType=Application\n[Desktop Action quit]\nExec=/bin/x\n") << false;
}

void TestAutostart::entryIsOnWhenItStartsSomething()
{
    QFETCH(QByteArray, entry);
    QFETCH(bool, on);
    if (!entry.isNull()) {
        QVERIFY(QDir().mkpath(QFileInfo(entryPath()).absolutePath()));
        QFile file(entryPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(entry);
    }
    QCOMPARE(XdgAutostart(entryPath()).isOn(), on);
}

void TestAutostart::enableWritesTheEntryAndDisableRemovesIt()
{
    XdgAutostart autostart(entryPath());
    QString error;
    QVERIFY(autostart.enable(QStringLiteral("/opt/chrono desk/chronodesk"), &error));
    QVERIFY(error.isEmpty());
    QVERIFY(autostart.isOn());
    QFile file(entryPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Desktop Entry]\nType=Application\nName=ChronoDesk\n"
                                        "Exec=\"/opt/chrono desk/chronodesk\"\nX-GNOME-Autostart-enabled=true\n"));
    file.close();

    autostart.disable();
    QVERIFY(!QFile::exists(entryPath()));
    QVERIFY(!autostart.isOn());
    autostart.disable(); // nothing to remove: no complaint
    QVERIFY(!autostart.isOn());
}

void TestAutostart::enableFailureNamesTheFile()
{
    // A plain file where the autostart folder should be.
    QFile blocker(m_dir->filePath(QStringLiteral("autostart")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    XdgAutostart autostart(entryPath());
    QString error;
    QVERIFY(!autostart.enable(QStringLiteral("/usr/bin/chronodesk"), &error));
    QVERIFY2(error.startsWith(QStringLiteral("无法创建文件“%1”：文件或文件夹不存在").arg(entryPath())),
             qPrintable(error));
    QVERIFY(!autostart.isOn());
}

void TestAutostart::execArgumentFollowsTheDesktopEntryRules_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/usr/bin/chronodesk"
                           << "/usr/bin/chronodesk";
    QTest::newRow("Chinese") << "/home/李/时间/chronodesk"
                             << "/home/李/时间/chronodesk";
    QTest::newRow("blank") << "/opt/my apps/chronodesk"
                           << "\"/opt/my apps/chronodesk\"";
    QTest::newRow("percent") << "/opt/100%/chronodesk"
                             << "/opt/100%%/chronodesk";
    QTest::newRow("dollar and quote") << "/opt/a$b\"c/x"
                                      << "\"/opt/a\\\\$b\\\\\"c/x\"";
    QTest::newRow("backslash") << "/opt/a\\b/x"
                               << "\"/opt/a\\\\\\\\b/x\"";
    QTest::newRow("line break") << "/opt/a\nb/x"
                                << "\"/opt/a\\nb/x\"";
    QTest::newRow("tab") << "/opt/a\tb/x"
                         << "\"/opt/a\\tb/x\"";
    QTest::newRow("control character refused") << "/opt/a\x01"
                                                  "b/x"
                                               << QString();
}

void TestAutostart::execArgumentFollowsTheDesktopEntryRules()
{
    QFETCH(QString, path);
    QFETCH(QString, exec);
    const std::optional<QString> argument = XdgAutostart::execArgument(path);
    QCOMPARE(argument.has_value(), !exec.isNull());
    if (argument)
        QCOMPARE(*argument, exec);
}

void TestAutostart::entryLivesInTheUsersConfigurationFolder()
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_dir->path().toUtf8());
    const QString path = XdgAutostart::defaultEntryPath();
    qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(path, entryPath());
}

QTEST_APPLESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
