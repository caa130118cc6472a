#include "CodePageText.h"

#include <QtTest>

class TestCodePageText : public QObject
{
    Q_OBJECT

private slots:
    void encodesAndDecodes_data();
    void encodesAndDecodes();
    void readsBytesThatStartNoCharacter_data();
    void readsBytesThatStartNoCharacter();
    void findsSeparatorsBetweenCharacters_data();
    void findsSeparatorsBetweenCharacters();
};

void TestCodePageText::encodesAndDecodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("12:00:00") << QByteArray("12:00:00");
    QTest::newRow("关闭计算机") << QStringLiteral("关闭计算机") << QByteArray::fromHex("B9D8B1D5BCC6CBE3BBFA");
    QTest::newRow("重启计算机") << QStringLiteral("重启计算机") << QByteArray::fromHex("D6D8C6F4BCC6CBE3BBFA");
    QTest::newRow("注销计算机") << QStringLiteral("注销计算机") << QByteArray::fromHex("D7A2CFFABCC6CBE3BBFA");
    QTest::newRow("执行程序") << QStringLiteral("执行程序") << QByteArray::fromHex("D6B4D0D0B3CCD0F2");
    QTest::newRow("打开文件") << QStringLiteral("打开文件") << QByteArray::fromHex("B4F2BFAACEC4BCFE");
    QTest::newRow("提示消息") << QStringLiteral("提示消息") << QByteArray::fromHex("CCE1CABECFFBCFA2");
    QTest::newRow("系统响铃") << QStringLiteral("系统响铃") << QByteArray::fromHex("CFB5CDB3CFECC1E5");
    QTest::newRow("打开网页") << QStringLiteral("打开网页") << QByteArray::fromHex("B4F2BFAACDF8D2B3");
    QTest::newRow("发送邮件") << QStringLiteral("发送邮件") << QByteArray::fromHex("B7A2CBCDD3CABCFE");
    QTest::newRow("second byte 0x80") << QStringLiteral("亐a") << QByteArray::fromHex("818061");
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray::fromHex("A2E3");
    QTest::newRow("emoji") << QStringLiteral("好😀") << QByteArray::fromHex("BAC39439FC36");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestCodePageText::encodesAndDecodes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    CodePageText codec;
    QCOMPARE(codec.encode(text).toHex(' '), bytes.toHex(' '));
    QCOMPARE(codec.decode(bytes), text);
}

void TestCodePageText::readsBytesThatStartNoCharacter_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("lone 0x80 is the euro sign") << QByteArray::fromHex("618062") << QStringLiteral("a€b");
    QTest::newRow("lone 0xFF") << QByteArray::fromHex("61FF62") << QStringLiteral("a\uFFFDb");
    QTest::newRow("lead byte cut off") << QByteArray::fromHex("B9D8B1") << QStringLiteral("关\uFFFD");
}

void TestCodePageText::readsBytesThatStartNoCharacter()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(CodePageText().decode(bytes), text);
}

void TestCodePageText::findsSeparatorsBetweenCharacters_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<char>("separator");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("position");
    QTest::newRow("none") << QByteArray("abc") << char(0x80) << 0 << -1;
    QTest::newRow("lone 0x80") << QByteArray::fromHex("618062") << char(0x80) << 0 << 1;
    QTest::newRow("0x80 as second byte") << QByteArray::fromHex("81808062") << char(0x80) << 0 << 2;
    QTest::newRow("four-byte character") << QByteArray::fromHex("9439FC3680") << char(0x80) << 0 << 4;
    QTest::newRow("after from") << QByteArray::fromHex("248180248024") << char(0x24) << 1 << 3;
    // A "$" after a lead byte is no trail byte: the lead stands alone.
    QTest::newRow("dollar after a lead byte") << QByteArray::fromHex("B924") << char(0x24) << 0 << 1;
}

void TestCodePageText::findsSeparatorsBetweenCharacters()
{
    QFETCH(QByteArray, bytes);
    QFETCH(char, separator);
    QFETCH(int, from);
    QFETCH(int, position);
    QCOMPARE(CodePageText::findSeparator(bytes, separator, from), qsizetype(position));
}

QTEST_GUILESS_MAIN(TestCodePageText)
#include "tst_codepagetext.moc"
