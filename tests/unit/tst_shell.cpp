#include "doubles/RecordingNotifier.h"
#include "platform/linux/DesktopShell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A stand-in opener first on PATH writes what it was handed, one argument a
// line after the count, so the test sees exactly what each action passes on.
class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void handsOverOneArgument_data();
    void handsOverOneArgument();
    void startsAProgramWithNoArguments_data();
    void startsAProgramWithNoArguments();
    void refusesAWebAddressNamedLikeAnOption();

private:
    QStringList awaitRecord();
    void writeScript(const QString &path, const QByteArray &body);

    QTemporaryDir m_dir;
    QString m_record;
};

void TestShell::writeScript(const QString &path, const QByteArray &body)
{
    QFile script(path);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + body);
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void TestShell::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_record = m_dir.filePath(QStringLiteral("record"));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("my programs")));
    // Written aside and renamed, so that the test never reads half a record.
    const QByteArray record = "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '"
                              + m_record.toUtf8() + ".part'; mv '" + m_record.toUtf8() + ".part' '" + m_record.toUtf8()
                              + "'\n";
    writeScript(m_dir.filePath(QStringLiteral("bin/xdg-open")),
                "echo xdg-open > '" + m_record.toUtf8() + ".who'\n" + record);
    writeScript(m_dir.filePath(QStringLiteral("bin/standin-tool")),
                "echo standin-tool > '" + m_record.toUtf8() + ".who'\n" + record);
    writeScript(m_dir.filePath(QStringLiteral("my programs/run me.sh")),
                "echo 'run me.sh' > '" + m_record.toUtf8() + ".who'\npwd > '" + m_record.toUtf8() + ".cwd'\n" + record);
    QFile plain(m_dir.filePath(QStringLiteral("my programs/notes.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    qputenv("PATH", m_dir.filePath(QStringLiteral("bin")).toLocal8Bit() + ':' + qgetenv("PATH"));
}

void TestShell::init()
{
    QFile::remove(m_record);
    QFile::remove(m_record + QStringLiteral(".who"));
}

// Who was started, then its argument count and arguments.
QStringList TestShell::awaitRecord()
{
    [this] { QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_record), 20000); }();
    QFile who(m_record + QStringLiteral(".who"));
    QFile record(m_record);
    if (!who.open(QIODevice::ReadOnly) || !record.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(who.readAll() + record.readAll()).split(QLatin1Char('\n'));
    lines.removeLast();
    return lines;
}

void TestShell::handsOverOneArgument_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("handedOver");

    const QString notes = m_dir.filePath(QStringLiteral("my programs/notes.txt"));
    QTest::newRow("file with blanks") << "file"
                                      << "/home/user/my docs/plan 2.txt"
                                      << "/home/user/my docs/plan 2.txt";
    QTest::newRow("shell characters stay text") << "file"
                                                << "$(touch x); `id` | cat > y & *"
                                                << "$(touch x); `id` | cat > y & *";
    QTest::newRow("web address") << "url"
                                 << "https://example.org/a?b=1&c=2"
                                 << "https://example.org/a?b=1&c=2";
    QTest::newRow("web address without scheme") << "url"
                                                << "www.example.org"
                                                << "http://www.example.org";
    QTest::newRow("mail address") << "mail"
                                  << "user@example.org"
                                  << "mailto:user@example.org";
    QTest::newRow("mail address in Chinese") << "mail"
                                             << "张三@example.org"
                                             << "mailto:%E5%BC%A0%E4%B8%89@example.org";
    QTest::newRow("program path with arguments is one name") << "run"
                                                             << "/bin/echo hello world"
                                                             << "/bin/echo hello world";
    QTest::newRow("file that is no program opens") << "run" << notes << notes;
    QTest::newRow("folder opens") << "run" << m_dir.path() << m_dir.path();
    QTest::newRow("file named like an option") << "file"
                                               << "-rf notes.txt"
                                               << "./-rf notes.txt";
    QTest::newRow("web address that cannot be completed goes as typed") << "url"
                                                                        << "例子 网站"
                                                                        << "例子 网站";
}

void TestShell::handsOverOneArgument()
{
    QFETCH(QString, action);
    QFETCH(QString, description);
    QFETCH(QString, handedOver);

    DesktopShell shell;
    if (action == QLatin1String("file"))
        shell.openFile(description);
    else if (action == QLatin1String("url"))
        shell.openUrl(description);
    else if (action == QLatin1String("mail"))
        shell.sendMail(description);
    else
        shell.runProgram(description);
    QCOMPARE(awaitRecord(), (QStringList {"xdg-open", "1", handedOver}));
}

void TestShell::startsAProgramWithNoArguments_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("started");

    QTest::newRow("path with a blank") << m_dir.filePath(QStringLiteral("my programs/run me.sh")) << "run me.sh";
    QTest::newRow("bare name on PATH") << "standin-tool"
                                       << "standin-tool";
}

void TestShell::startsAProgramWithNoArguments()
{
    QFETCH(QString, description);
    QFETCH(QString, started);

    QFile::remove(m_record + QStringLiteral(".cwd"));
    DesktopShell().runProgram(description);
    QCOMPARE(awaitRecord(), (QStringList {started, "0"}));
    if (started == QLatin1String("run me.sh")) {
        QFile cwd(m_record + QStringLiteral(".cwd"));
        QVERIFY(cwd.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(cwd.readAll()).trimmed(), QDir::currentPath());
    }
}

void TestShell::refusesAWebAddressNamedLikeAnOption()
{
    RecordingNotifier reporter;
    DesktopShell shell(&reporter);
    shell.openUrl(QStringLiteral("--help"));
    QCOMPARE(reporter.notices.size(), 1);
    QVERIFY2(reporter.notices[0].text.contains(QStringLiteral("“--help”")), qPrintable(reporter.notices[0].text));
    // What is handed over next is the only thing xdg-open got.
    shell.openFile(QStringLiteral("/tmp/after"));
    QCOMPARE(awaitRecord(), (QStringList {"xdg-open", "1", "/tmp/after"}));
}

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
