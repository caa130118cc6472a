#include "core/settings/IniFile.h"

#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void parsesValues_data();
    void parsesValues();
    void readsKeysWithoutRegardToCase();
    void missingFileGivesDefaults();
    void writesKeyByKey_data();
    void writesKeyByKey();
    void writeFailureNamesTheFile();

private:
    QString writeFile(const QByteArray &contents);
    QTemporaryDir m_dir;
};

QString TestIniFile::writeFile(const QByteArray &contents)
{
    const QString path = m_dir.filePath(QStringLiteral("config.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(contents);
    return path;
}

void TestIniFile::parsesValues_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // with the default 7
    QTest::newRow("decimal") << "42" << 42;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("blanks") << "  100 " << 100;
    QTest::newRow("hex lower") << "0x1a" << 26;
    QTest::newRow("hex upper") << "0X1A" << 26;
    QTest::newRow("hex zero") << "0x0" << 0;
    QTest::newRow("hex 0x1F") << "0x1F" << 31;
    QTest::newRow("leading blank") << " 12" << 12;
    QTest::newRow("letters") << "abc" << 7;
    QTest::newRow("number then letters") << "12abc" << 7;
    QTest::newRow("bare 0x") << "0x" << 7;
    QTest::newRow("fraction") << "1.5" << 7;
    QTest::newRow("empty") << "" << 7;
}

void TestIniFile::parsesValues()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(IniFile::parseInteger(text, 7), expected);
    const IniFile file(writeFile("[other]\r\nvalue=" + text.toLatin1() + "\r\n"));
    QCOMPARE(file.readInteger(QStringLiteral("other"), QStringLiteral("value"), 7), expected);
}

void TestIniFile::readsKeysWithoutRegardToCase()
{
    // A key given twice in its section is read from its first line.
    const IniFile file(
        writeFile("; comment\n[Theme]\nSELECT=3\n[OTHER]\r\nCrt = 90\r\nzhuji=0x10\ncrt=40\n[more]\ncrt=5\n"));
    QCOMPARE(file.readInteger(QStringLiteral("theme"), QStringLiteral("select"), 0), 3);
    QCOMPARE(file.readInteger(QStringLiteral("other"), QStringLiteral("crt"), 70), 90);
    QCOMPARE(file.readInteger(QStringLiteral("other"), QStringLiteral("zhuji"), 200), 16);
    QCOMPARE(file.readInteger(QStringLiteral("other"), QStringLiteral("autospeek"), 1), 1);
    QCOMPARE(file.readInteger(QStringLiteral("missing"), QStringLiteral("crt"), 70), 70);
}

void TestIniFile::missingFileGivesDefaults()
{
    const IniFile file(m_dir.filePath(QStringLiteral("absent.ini")));
    QCOMPARE(file.readInteger(QStringLiteral("theme"), QStringLiteral("select"), 0), 0);
    QCOMPARE(file.readInteger(QStringLiteral("other"), QStringLiteral("crt"), 70), 70);
}

void TestIniFile::writesKeyByKey_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("no file") << QByteArray() << "theme"
                             << "select" << 2 << QByteArray("[theme]\r\nselect=2\r\n");
    QTest::newRow("in place, other case") << QByteArray("[Theme]\r\nSELECT = 0\r\nname=x\r\n") << "theme"
                                          << "select" << -1 << QByteArray("[Theme]\r\nselect=-1\r\nname=x\r\n");
    QTest::newRow("missing key at the end of its section")
        << QByteArray("[other]\ncrt=70\n\n[theme]\nselect=1\n") << "other"
        << "zhuji" << 200 << QByteArray("[other]\r\ncrt=70\r\nzhuji=200\r\n\r\n[theme]\r\nselect=1\r\n");
    QTest::newRow("missing section at the end of the file")
        << QByteArray("; kept\r\n[theme]\r\nselect=1") << "other"
        << "crt" << 100 << QByteArray("; kept\r\n[theme]\r\nselect=1\r\n[other]\r\ncrt=100\r\n");
    QTest::newRow("same key in another section untouched")
        << QByteArray("[more]\r\ncrt=5\r\n[other]\r\ncrt=70\r\n") << "other"
        << "crt" << 90 << QByteArray("[more]\r\ncrt=5\r\n[other]\r\ncrt=90\r\n");
    QTest::newRow("key given twice: the first is written")
        << QByteArray("[other]\r\ncrt=70\r\ncrt=80\r\n") << "other"
        << "crt" << 90 << QByteArray("[other]\r\ncrt=90\r\ncrt=80\r\n");
    QTest::newRow("unclosed bracket opens no section") << QByteArray("[other]\r\n[note\r\ncrt=1\r\n") << "other"
                                                       << "crt" << 90 << QByteArray("[other]\r\n[note\r\ncrt=90\r\n");
    QTest::newRow("empty section name") << QByteArray("[]\r\ncrt=1\r\n") << "other"
                                        << "crt" << 90 << QByteArray("[]\r\ncrt=1\r\n[other]\r\ncrt=90\r\n");
    QTest::newRow("other bytes kept") << QByteArray("[other]\r\nnote=\xb9\xd8\xb1\xd5\r\nautospeek=1\r\n") << "other"
                                      << "autospeek" << 0
                                      << QByteArray("[other]\r\nnote=\xb9\xd8\xb1\xd5\r\nautospeek=0\r\n");
    QTest::newRow("byte-order mark kept before the first section")
        << QByteArray("\xEF\xBB\xBF[theme]\r\nselect=1\r\n") << "theme"
        << "select" << 4 << QByteArray("\xEF\xBB\xBF[theme]\r\nselect=4\r\n");
}

void TestIniFile::writesKeyByKey()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(int, value);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    if (!before.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    IniFile ini(path);
    QString error;
    QVERIFY(ini.writeInteger(section, key, value, &error));
    QVERIFY(error.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
    QCOMPARE(ini.readInteger(section, key, 12345), value);
}

void TestIniFile::writeFailureNamesTheFile()
{
    const QString path = m_dir.filePath(QStringLiteral("no such folder/config.ini"));
    IniFile ini(path);
    QString error;
    QVERIFY(!ini.writeInteger(QStringLiteral("theme"), QStringLiteral("select"), 1, &error));
    QVERIFY2(error.startsWith(QStringLiteral("无法创建文件“%1”：文件或文件夹不存在").arg(path)), qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
