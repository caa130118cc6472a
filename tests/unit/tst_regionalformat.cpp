#include "support/RegionalFormatReset.h"

#include <QtTest>

class TestRegionalFormat : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetRegionalFormat(); }

    void formatsTexts_data();
    void formatsTexts();
    void parsesDates_data();
    void parsesDates();
    void parsesTimes_data();
    void parsesTimes();
    void parsesDateTimes_data();
    void parsesDateTimes();
    void followsOtherNumericPatterns();
    void replacesPatternsWithNamesOrTwoDigitYears_data();
    void replacesPatternsWithNamesOrTwoDigitYears();
    void countsFormatChanges();
};

void TestRegionalFormat::formatsTexts_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("dateTime");
    QTest::newRow("no padding") << QDateTime(QDate(2026, 3, 7), QTime(8, 5, 9)) << "2026-3-7"
                                << "8:05:09"
                                << "2026-3-7 8:05:09";
    QTest::newRow("two digits") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << "2026-12-31"
                                << "23:59:59"
                                << "2026-12-31 23:59:59";
    QTest::newRow("midnight leaves the time out") << QDateTime(QDate(2026, 1, 1), QTime(0, 0, 0)) << "2026-1-1"
                                                  << "0:00:00"
                                                  << "2026-1-1";
    QTest::newRow("a second past midnight") << QDateTime(QDate(2026, 1, 1), QTime(0, 0, 1)) << "2026-1-1"
                                            << "0:00:01"
                                            << "2026-1-1 0:00:01";
    QTest::newRow("fraction not shown") << QDateTime(QDate(2026, 1, 1), QTime(10, 0, 0, 999)) << "2026-1-1"
                                        << "10:00:00"
                                        << "2026-1-1 10:00:00";
}

void TestRegionalFormat::formatsTexts()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, dateTime);
    QCOMPARE(DateToStr(moment.date()), date);
    QCOMPARE(TimeToStr(moment.time()), time);
    QCOMPARE(DateTimeToStr(moment), dateTime);
}

void TestRegionalFormat::parsesDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected"); // invalid: a conversion error
    QTest::newRow("as written") << "2026-3-7" << QDate(2026, 3, 7);
    QTest::newRow("leading zeros") << "2026-03-07" << QDate(2026, 3, 7);
    QTest::newRow("blanks around") << " 2026-3-7 " << QDate(2026, 3, 7);
    QTest::newRow("leap day") << "2028-2-29" << QDate(2028, 2, 29);
    QTest::newRow("no leap day") << "2026-2-29" << QDate();
    QTest::newRow("month 13") << "2026-13-1" << QDate();
    QTest::newRow("other separator") << "2026/3/7" << QDate();
    QTest::newRow("two-digit year") << "26-3-7" << QDate();
    QTest::newRow("three digits") << "2026-003-7" << QDate();
    QTest::newRow("trailing text") << "2026-3-7x" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("letters") << "abc" << QDate();
}

void TestRegionalFormat::parsesDates()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const auto parsed = StrToDate(text);
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed)
        QCOMPARE(*parsed, expected);
}

void TestRegionalFormat::parsesTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("expected");
    QTest::newRow("as written") << "8:05:09" << QTime(8, 5, 9);
    QTest::newRow("leading zero hour") << "08:05:09" << QTime(8, 5, 9);
    QTest::newRow("single digit minute") << "8:5:9" << QTime(8, 5, 9);
    QTest::newRow("last second") << "23:59:59" << QTime(23, 59, 59);
    QTest::newRow("hour 24") << "24:00:00" << QTime();
    QTest::newRow("minute 60") << "12:60:00" << QTime();
    QTest::newRow("no seconds") << "12:00" << QTime();
    QTest::newRow("am/pm") << "12:00:00 PM" << QTime();
    QTest::newRow("dot separator") << "12.00.00" << QTime();
    QTest::newRow("empty") << "" << QTime();
}

void TestRegionalFormat::parsesTimes()
{
    QFETCH(QString, text);
    QFETCH(QTime, expected);
    const auto parsed = StrToTime(text);
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed)
        QCOMPARE(*parsed, expected);
}

void TestRegionalFormat::parsesDateTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    QTest::newRow("date and time") << "2026-12-10 12:00:00" << QDateTime(QDate(2026, 12, 10), QTime(12, 0));
    QTest::newRow("date alone is midnight") << "2026-12-10" << QDateTime(QDate(2026, 12, 10), QTime(0, 0));
    QTest::newRow("leading zeros") << "2026-01-02 03:04:05" << QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    QTest::newRow("bad time") << "2026-12-10 12:00" << QDateTime();
    QTest::newRow("bad date") << "2026-12-32 12:00:00" << QDateTime();
    QTest::newRow("time alone") << "12:00:00" << QDateTime();
}

void TestRegionalFormat::parsesDateTimes()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    const auto parsed = StrToDateTime(text);
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed)
        QCOMPARE(*parsed, expected);
}

void TestRegionalFormat::followsOtherNumericPatterns()
{
    const RegionalFormat german(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"), ',');
    QCOMPARE(german.dateToStr(QDate(2026, 3, 7)), QStringLiteral("07.03.2026"));
    QCOMPARE(german.timeToStr(QTime(8, 5, 9)), QStringLiteral("08:05:09"));
    QCOMPARE(german.strToDate(QStringLiteral("7.3.2026")), std::optional<QDate>(QDate(2026, 3, 7)));
    QCOMPARE(german.decimalSeparator(), QChar(','));

    const RegionalFormat us(QStringLiteral("M/d/yyyy"), QStringLiteral("H:mm:ss"), '.');
    QCOMPARE(us.dateToStr(QDate(2026, 12, 10)), QStringLiteral("12/10/2026"));
    QCOMPARE(us.strToDate(QStringLiteral("12/10/2026")), std::optional<QDate>(QDate(2026, 12, 10)));
}

void TestRegionalFormat::replacesPatternsWithNamesOrTwoDigitYears_data()
{
    QTest::addColumn<QString>("datePattern");
    QTest::addColumn<QString>("timePattern");
    QTest::newRow("month name") << "d MMM yyyy"
                                << "H:mm:ss";
    QTest::newRow("two-digit year") << "M/d/yy"
                                    << "H:mm:ss";
    QTest::newRow("am/pm time") << "yyyy-M-d"
                                << "h:mm:ss AP";
    QTest::newRow("no seconds") << "yyyy-M-d"
                                << "H:mm";
}

void TestRegionalFormat::replacesPatternsWithNamesOrTwoDigitYears()
{
    QFETCH(QString, datePattern);
    QFETCH(QString, timePattern);
    const RegionalFormat format(datePattern, timePattern, '.');
    const QString date = format.dateToStr(QDate(2026, 12, 10));
    const QString time = format.timeToStr(QTime(14, 5, 9));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}\\D+\\d{1,2}\\D+\\d{1,2}$|^\\d{1,2}\\D+\\d{1,2}\\D+\\d{4}$"))
                 .match(date)
                 .hasMatch(),
             qPrintable(date));
    QCOMPARE(time, QStringLiteral("14:05:09"));
    QCOMPARE(format.strToDate(date), std::optional<QDate>(QDate(2026, 12, 10)));
}

void TestRegionalFormat::countsFormatChanges()
{
    const int before = RegionalFormat::generation();
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("d/M/yyyy"), QStringLiteral("H:mm:ss"), '.'));
    QCOMPARE(RegionalFormat::generation(), before + 1);
    QCOMPARE(DateToStr(QDate(2026, 12, 10)), QStringLiteral("10/12/2026"));
}

QTEST_APPLESS_MAIN(TestRegionalFormat)
#include "tst_regionalformat.moc"
