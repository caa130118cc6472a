#include "core/text/NumberText.h"
#include "support/RegionalFormatReset.h"

#include <QtTest>

#include <limits>

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void floatToStr_data();
    void floatToStr();
    void strToFloat_data();
    void strToFloat();
};

void TestNumberText::floatToStr_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << QChar('.') << "0";
    QTest::newRow("0.27") << 0.27 << QChar('.') << "0.27";
    QTest::newRow("0.135") << 0.135 << QChar('.') << "0.135";
    QTest::newRow("sum of two 0.135") << 0.135 + 0.135 << QChar('.') << "0.27";
    QTest::newRow("below 0.0001") << 0.000075 << QChar('.') << "7.5E-5";
    QTest::newRow("0.0001 still plain") << 0.0001 << QChar('.') << "0.0001";
    QTest::newRow("rounds up to 0.0001") << 9.9999999999999999e-5 << QChar('.') << "0.0001";
    QTest::newRow("tiny") << 2.5e-10 << QChar('.') << "2.5E-10";
    QTest::newRow("10^15") << 1e15 << QChar('.') << "1E15";
    QTest::newRow("largest plain") << 999999999999999.0 << QChar('.') << "999999999999999";
    QTest::newRow("rounds up to 10^15") << 999999999999999.9 << QChar('.') << "1E15";
    QTest::newRow("18 digits") << 123456789012345678.0 << QChar('.') << "1.23456789012346E17";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << QChar('.') << "0.3";
    QTest::newRow("a third") << 1.0 / 3 << QChar('.') << "0.333333333333333";
    QTest::newRow("whole number") << 100.0 << QChar('.') << "100";
    QTest::newRow("negative") << -2.5 << QChar('.') << "-2.5";
    QTest::newRow("negative small") << -0.000075 << QChar('.') << "-7.5E-5";
    QTest::newRow("comma separator") << 0.27 << QChar(',') << "0,27";
    QTest::newRow("comma in scientific") << 0.000075 << QChar(',') << "7,5E-5";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << QChar('.') << "INF";
}

void TestNumberText::floatToStr()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    resetRegionalFormat(separator);
    QCOMPARE(FloatToStr(value), text);
}

void TestNumberText::strToFloat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal") << "0.5" << QChar('.') << true << 0.5;
    QTest::newRow("whole, blanks around") << " 1 " << QChar('.') << true << 1.0;
    QTest::newRow("signed") << "-2" << QChar('.') << true << -2.0;
    QTest::newRow("no leading digit") << ".5" << QChar('.') << true << 0.5;
    QTest::newRow("exponent") << "1.5E3" << QChar('.') << true << 1500.0;
    QTest::newRow("comma separator") << "1,5" << QChar(',') << true << 1.5;
    QTest::newRow("point under comma") << "1.5" << QChar(',') << false << 0.0;
    QTest::newRow("comma under point") << "1,5" << QChar('.') << false << 0.0;
    QTest::newRow("letters") << "abc" << QChar('.') << false << 0.0;
    QTest::newRow("unit after") << "1元" << QChar('.') << false << 0.0;
    QTest::newRow("empty") << "" << QChar('.') << false << 0.0;
    QTest::newRow("sign only") << "-" << QChar('.') << false << 0.0;
}

void TestNumberText::strToFloat()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(bool, valid);
    QFETCH(double, value);
    resetRegionalFormat(separator);
    const std::optional<double> parsed = StrToFloat(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
