#include "core/text/CodePageText.h"

#include <QtTest>

Q_DECLARE_METATYPE(TextEncoding)

class TestCodePageText : public QObject
{
    Q_OBJECT

private slots:
    void encodesAndDecodes_data();
    void encodesAndDecodes();
    void readsBytesThatStartNoCharacter_data();
    void readsBytesThatStartNoCharacter();
    void detectsUtf8Files_data();
    void detectsUtf8Files();
    void findsSeparatorsBetweenCharacters_data();
    void findsSeparatorsBetweenCharacters();
    void everyBasicPlaneCharacterKeepsItsBytes();
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
    const auto escaped = [](unsigned char byte) { return CodePageText::escapedByte(byte); };
    QTest::newRow("lone 0x80") << QByteArray::fromHex("618062") << QLatin1Char('a') + escaped(0x80) + QLatin1Char('b');
    QTest::newRow("lone 0xFF") << QByteArray::fromHex("61FF62") << QLatin1Char('a') + escaped(0xFF) + QLatin1Char('b');
    QTest::newRow("lead byte cut off") << QByteArray::fromHex("B9D8B1") << QStringLiteral("关") + escaped(0xB1);
    QTest::newRow("lead byte before a blank")
        << QByteArray::fromHex("8120B9D8") << escaped(0x81) + QStringLiteral(" 关");
    QTest::newRow("four-byte character cut off")
        << QByteArray::fromHex("61813081") << QLatin1Char('a') + escaped(0x81) + QLatin1Char('0') + escaped(0x81);
}

void TestCodePageText::readsBytesThatStartNoCharacter()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    CodePageText codec;
    QCOMPARE(codec.decode(bytes), text);
    // Written back, the text gives the very same bytes.
    QCOMPARE(codec.encode(text).toHex(' '), bytes.toHex(' '));
}

void TestCodePageText::detectsUtf8Files_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::newRow("ascii") << QByteArray("a$b$c$8:00:00\r\n") << TextEncoding::CodePage;
    QTest::newRow("UTF-8") << QStringLiteral("提示消息$开会\r\n").toUtf8() << TextEncoding::Utf8;
    QTest::newRow("UTF-8 with its byte-order mark")
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("开会").toUtf8() << TextEncoding::Utf8WithBom;
    QTest::newRow("byte-order mark before code page text")
        << QByteArray::fromHex("EFBBBFB9D8B1D5") << TextEncoding::CodePage;
    QTest::newRow("UTF-8 with a lone 0x80") << QByteArray("\xE5\xBC\x80\x80") << TextEncoding::CodePage;
    // No kind text of the program reads as UTF-8, so no mission file in code
    // page 936 is taken for one.
    for (const char *kind : {"关闭计算机", "重启计算机", "注销计算机", "执行程序", "打开文件", "提示消息", "系统响铃",
                             "打开网页", "发送邮件"})
        QTest::newRow(kind) << CodePageText().encode(QString::fromUtf8(kind)) << TextEncoding::CodePage;
}

void TestCodePageText::detectsUtf8Files()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QCOMPARE(CodePageText::detect(bytes), encoding);
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

// Decoding skips the check that a character converts back to its own bytes
// for these: the whole table is walked here to keep that true.
void TestCodePageText::everyBasicPlaneCharacterKeepsItsBytes()
{
    CodePageText codec;
    int checked = 0;
    QStringList changed;
    auto check = [&](std::initializer_list<int> values) {
        QByteArray bytes;
        for (int value : values)
            bytes.append(char(value));
        const QString text = codec.decode(bytes);
        ++checked;
        if (codec.encode(text) != bytes)
            changed << QString::fromLatin1(bytes.toHex(' '));
    };
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F)
                check({lead, trail});
        }
    }
    for (int b1 = 0x81; b1 <= 0x84; ++b1)
        for (int b2 = 0x30; b2 <= 0x39; ++b2)
            for (int b3 = 0x81; b3 <= 0xFE; ++b3)
                for (int b4 = 0x30; b4 <= 0x39; ++b4)
                    check({b1, b2, b3, b4});
    QCOMPARE(checked, 126 * 190 + 4 * 10 * 126 * 10);
    QVERIFY2(changed.isEmpty(), qPrintable(changed.mid(0, 10).join(QStringLiteral(", "))));
}

QTEST_GUILESS_MAIN(TestCodePageText)
#include "tst_codepagetext.moc"
