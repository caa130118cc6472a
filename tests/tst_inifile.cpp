#include "IniFile.h"

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
    const IniFile file(writeFile("; comment\n[Theme]\nSELECT=3\n[OTHER]\r\nCrt = 90\r\nzhuji=0x10\n[more]\ncrt=5\n"));
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

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
