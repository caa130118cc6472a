#include "core/missions/RepeatRule.h"
#include "support/RegionalFormatReset.h"

#include <libical/ical.h>

#include <QtTest>

#include <time.h>

namespace {

const QString momentFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QDateTime at(const QString &text)
{
    return QDateTime::fromString(text, momentFormat);
}

// libical's own expansion, walked from the start without help: the first
// occurrence whose wall time lies after the wall time of `after`.
QString libicalNext(const QString &rule, const QDateTime &start, const QDateTime &after)
{
    const icalrecurrencetype recurrence = icalrecurrencetype_from_string(rule.toLatin1().constData());
    const QString startText = start.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    icalrecur_iterator *iterator = icalrecur_iterator_new(recurrence, icaltime_from_string(startText.toLatin1()));
    const QString afterText = after.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    QString found;
    for (icaltimetype next = icalrecur_iterator_next(iterator); !icaltime_is_null_time(next);
         next = icalrecur_iterator_next(iterator)) {
        const QString text = QString::fromLatin1(icaltime_as_ical_string(next));
        if (text > afterText) {
            found = QDateTime::fromString(text, QStringLiteral("yyyyMMdd'T'HHmmss")).toString(momentFormat);
            break;
        }
    }
    icalrecur_iterator_free(iterator);
    return found;
}

} // namespace

// Repeat rules under the zone of Berlin, whose clocks go forward on
// 28 March 2027 (02:00 → 03:00) and back on 31 October 2027 (03:00 → 02:00).
class TestRepeatRule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Berlin");
        tzset();
        resetRegionalFormat();
    }

    void nextOccurrence_data();
    void nextOccurrence();
    void firstOccurrenceIsTheFirstAllowedMoment_data();
    void firstOccurrenceIsTheFirstAllowedMoment();
    void refusesWhatLibicalCannotRead_data();
    void refusesWhatLibicalCannotRead();
    void readsShortNamesAndRules_data();
    void readsShortNamesAndRules();
    void describesInChineseWords_data();
    void describesInChineseWords();
};

void TestRepeatRule::nextOccurrence_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("expected"); // empty: the series has ended
    // Whether libical's plain expansion gives the same wall time (not for
    // a time the spring change skips).
    QTest::addColumn<bool>("asLibical");

    QTest::newRow("daily into summer time") << "FREQ=DAILY"
                                            << "2027-03-20 09:00:00"
                                            << "2027-03-27 09:00:00"
                                            << "2027-03-28 09:00:00" << true;
    QTest::newRow("daily out of summer time") << "daily"
                                              << "2027-10-01 09:00:00"
                                              << "2027-10-30 09:00:00"
                                              << "2027-10-31 09:00:00" << true;
    QTest::newRow("daily, in the skipped hour") << "FREQ=DAILY"
                                                << "2027-03-25 02:30:00"
                                                << "2027-03-27 02:30:00"
                                                << "2027-03-28 03:30:00" << false;
    QTest::newRow("daily, after the skipped hour") << "FREQ=DAILY"
                                                   << "2027-03-25 02:30:00"
                                                   << "2027-03-28 03:30:00"
                                                   << "2027-03-29 02:30:00" << true;
    QTest::newRow("daily, in the repeated hour") << "FREQ=DAILY"
                                                 << "2027-10-25 02:30:00"
                                                 << "2027-10-30 02:30:00"
                                                 << "2027-10-31 02:30:00" << true;
    QTest::newRow("weekdays, Friday to Monday") << "weekdays"
                                                << "2026-12-14 09:00:00"
                                                << "2026-12-18 09:00:00"
                                                << "2026-12-21 09:00:00" << true;
    QTest::newRow("weekdays, within the week") << "weekdays"
                                               << "2026-12-14 09:00:00"
                                               << "2026-12-15 08:59:59"
                                               << "2026-12-15 09:00:00" << true;
    QTest::newRow("Mon Wed Fri, Monday to Wednesday") << "FREQ=WEEKLY;BYDAY=MO,WE,FR"
                                                      << "2026-12-14 09:00:00"
                                                      << "2026-12-14 09:00:00"
                                                      << "2026-12-16 09:00:00" << true;
    QTest::newRow("Mon Wed Fri, Friday to Monday") << "FREQ=WEEKLY;BYDAY=MO,WE,FR"
                                                   << "2026-12-14 09:00:00"
                                                   << "2026-12-18 09:00:01"
                                                   << "2026-12-21 09:00:00" << true;
    QTest::newRow("Mon Wed Fri over the spring change") << "FREQ=WEEKLY;BYDAY=MO,WE,FR"
                                                        << "2027-03-01 07:15:00"
                                                        << "2027-03-26 08:00:00"
                                                        << "2027-03-29 07:15:00" << true;
    QTest::newRow("every other Tue Thu") << "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU,TH"
                                         << "2026-12-15 18:00:00"
                                         << "2026-12-17 18:00:00"
                                         << "2026-12-29 18:00:00" << true;
    QTest::newRow("on the 31st, past February") << "FREQ=MONTHLY;BYMONTHDAY=31"
                                                << "2027-01-31 09:00:00"
                                                << "2027-01-31 09:00:00"
                                                << "2027-03-31 09:00:00" << true;
    QTest::newRow("on the 31st, past April") << "FREQ=MONTHLY;BYMONTHDAY=31"
                                             << "2027-01-31 09:00:00"
                                             << "2027-03-31 09:00:00"
                                             << "2027-05-31 09:00:00" << true;
    QTest::newRow("monthly from the 31st") << "monthly"
                                           << "2027-01-31 09:00:00"
                                           << "2027-02-01 00:00:00"
                                           << "2027-03-31 09:00:00" << true;
    QTest::newRow("every 90 minutes over the skipped hour") << "FREQ=MINUTELY;INTERVAL=90"
                                                            << "2027-03-28 00:00:00"
                                                            << "2027-03-28 01:30:00"
                                                            << "2027-03-28 03:00:00" << true;
    QTest::newRow("every 90 minutes over the repeated hour") << "FREQ=MINUTELY;INTERVAL=90"
                                                             << "2027-10-31 00:00:00"
                                                             << "2027-10-31 01:30:00"
                                                             << "2027-10-31 03:00:00" << true;
    QTest::newRow("every 90 minutes, years in") << "FREQ=MINUTELY;INTERVAL=90"
                                                << "2020-01-01 00:00:00"
                                                << "2027-06-15 12:00:00"
                                                << "2027-06-15 13:30:00" << true;
    QTest::newRow("minutely, weeks in") << "FREQ=MINUTELY"
                                        << "2027-06-01 00:00:00"
                                        << "2027-06-15 12:00:30"
                                        << "2027-06-15 12:01:00" << true;
    QTest::newRow("count, the last one") << "FREQ=DAILY;COUNT=3"
                                         << "2027-01-01 08:00:00"
                                         << "2027-01-02 08:00:00"
                                         << "2027-01-03 08:00:00" << true;
    QTest::newRow("count, ended") << "FREQ=DAILY;COUNT=3"
                                  << "2027-01-01 08:00:00"
                                  << "2027-01-03 08:00:00"
                                  << "" << true;
    QTest::newRow("count over the spring change") << "FREQ=WEEKLY;COUNT=4"
                                                  << "2027-03-14 09:00:00"
                                                  << "2027-03-27 00:00:00"
                                                  << "2027-03-28 09:00:00" << true;
    QTest::newRow("until, the last one") << "FREQ=WEEKLY;UNTIL=20270115T235959"
                                         << "2027-01-01 08:00:00"
                                         << "2027-01-08 08:00:00"
                                         << "2027-01-15 08:00:00" << true;
    QTest::newRow("until, ended") << "FREQ=WEEKLY;UNTIL=20270115T235959"
                                  << "2027-01-01 08:00:00"
                                  << "2027-01-15 08:00:00"
                                  << "" << true;
    QTest::newRow("until over the autumn change") << "FREQ=DAILY;UNTIL=20271101T235959"
                                                  << "2027-10-20 21:00:00"
                                                  << "2027-10-30 22:00:00"
                                                  << "2027-10-31 21:00:00" << true;
}

void TestRepeatRule::nextOccurrence()
{
    QFETCH(QString, rule);
    QFETCH(QString, start);
    QFETCH(QString, after);
    QFETCH(QString, expected);
    QFETCH(bool, asLibical);

    QString error;
    const std::optional<RepeatRule> parsed = RepeatRule::parse(rule, &error);
    QVERIFY2(parsed, qPrintable(error));
    const std::optional<QDateTime> next = parsed->nextOccurrence(at(start), at(after));
    QCOMPARE(next ? next->toString(momentFormat) : QString(), expected);
    if (next)
        QVERIFY(next->isValid() && *next > at(after));
    if (asLibical)
        QCOMPARE(libicalNext(parsed->text(), at(start), at(after)), expected);
}

void TestRepeatRule::firstOccurrenceIsTheFirstAllowedMoment_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("expected");

    QTest::newRow("weekdays from a Saturday") << "weekdays"
                                              << "2026-12-12 09:00:00"
                                              << "2026-12-14 09:00:00";
    QTest::newRow("weekdays from a Monday") << "weekdays"
                                            << "2026-12-14 09:00:00"
                                            << "2026-12-14 09:00:00";
    QTest::newRow("Mon Wed Fri from a Tuesday") << "FREQ=WEEKLY;BYDAY=MO,WE,FR"
                                                << "2026-12-15 09:00:00"
                                                << "2026-12-16 09:00:00";
    QTest::newRow("the 31st from the 1st of April") << "FREQ=MONTHLY;BYMONTHDAY=31"
                                                    << "2027-04-01 09:00:00"
                                                    << "2027-05-31 09:00:00";
    QTest::newRow("never") << "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30"
                           << "2027-01-01 09:00:00"
                           << "";
}

void TestRepeatRule::firstOccurrenceIsTheFirstAllowedMoment()
{
    QFETCH(QString, rule);
    QFETCH(QString, from);
    QFETCH(QString, expected);

    const std::optional<RepeatRule> parsed = RepeatRule::parse(rule, nullptr);
    QVERIFY(parsed);
    const std::optional<QDateTime> first = parsed->firstOccurrence(at(from));
    QCOMPARE(first ? first->toString(momentFormat) : QString(), expected);
}

void TestRepeatRule::refusesWhatLibicalCannotRead_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty") << "  "
                           << "规则是空的";
    QTest::newRow("no frequency") << "BYDAY=MO"
                                  << "缺少重复的频率";
    QTest::newRow("unknown frequency") << "FREQ=FORTNIGHTLY"
                                       << "“FREQ=FORTNIGHTLY”一段不合 iCalendar 的写法";
    QTest::newRow("unknown weekday") << "FREQ=WEEKLY;BYDAY=MO,XX"
                                     << "“BYDAY=MO,XX”一段不合 iCalendar 的写法";
    QTest::newRow("count not a number") << "FREQ=DAILY;COUNT=three"
                                        << "“COUNT=three”";
    QTest::newRow("unknown part") << "FREQ=DAILY;EVERY=2"
                                  << "“EVERY=2”";
    QTest::newRow("count and until") << "FREQ=DAILY;COUNT=2;UNTIL=20270101T000000"
                                     << "COUNT 和截止时间 UNTIL";
    QTest::newRow("not ASCII") << "每天"
                               << "英文字母";
}

void TestRepeatRule::refusesWhatLibicalCannotRead()
{
    QFETCH(QString, rule);
    QFETCH(QString, reason);

    QString error;
    QVERIFY(!RepeatRule::parse(rule, &error));
    QVERIFY2(error.startsWith(QStringLiteral("无法识别重复规则“%1”：").arg(rule.trimmed())), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(error.endsWith(QStringLiteral("。")));
}

void TestRepeatRule::readsShortNamesAndRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rule");

    QTest::newRow("daily") << "daily"
                           << "FREQ=DAILY";
    QTest::newRow("Weekdays") << "Weekdays"
                              << "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR";
    QTest::newRow("weekly") << "weekly"
                            << "FREQ=WEEKLY";
    QTest::newRow("monthly") << "MONTHLY"
                             << "FREQ=MONTHLY";
    QTest::newRow("with prefix") << "RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR"
                                 << "FREQ=WEEKLY;BYDAY=MO,WE,FR";
    QTest::newRow("parts in any order") << "INTERVAL=90;FREQ=MINUTELY"
                                        << "FREQ=MINUTELY;INTERVAL=90";
}

void TestRepeatRule::readsShortNamesAndRules()
{
    QFETCH(QString, text);
    QFETCH(QString, rule);

    const std::optional<RepeatRule> parsed = RepeatRule::parse(text, nullptr);
    QVERIFY(parsed);
    QCOMPARE(parsed->text(), rule);
    // What the program writes, it reads back as the same rule.
    QCOMPARE(RepeatRule::parse(parsed->text(), nullptr)->text(), rule);
}

void TestRepeatRule::describesInChineseWords_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("words");

    QTest::newRow("Mon Wed Fri") << "FREQ=WEEKLY;BYDAY=MO,WE,FR"
                                 << "2026-12-14 09:00:00"
                                 << "每周一、三、五 09:00";
    QTest::newRow("daily") << "daily"
                           << "2026-12-14 09:00:00"
                           << "每天 09:00";
    QTest::newRow("every other day") << "FREQ=DAILY;INTERVAL=2"
                                     << "2026-12-14 21:30:15"
                                     << "每隔2天 21:30:15";
    QTest::newRow("weekdays") << "weekdays"
                              << "2026-12-14 08:30:00"
                              << "工作日 08:30";
    QTest::newRow("weekly on the start's day") << "weekly"
                                               << "2026-12-18 09:00:00"
                                               << "每周五 09:00";
    QTest::newRow("every other week") << "FREQ=WEEKLY;INTERVAL=2;BYDAY=SA,SU"
                                      << "2026-12-19 10:00:00"
                                      << "每隔2周的周六、日 10:00";
    QTest::newRow("on the 31st") << "FREQ=MONTHLY;BYMONTHDAY=31"
                                 << "2027-01-31 09:00:00"
                                 << "每月31日 09:00";
    QTest::newRow("monthly on the start's day") << "monthly"
                                                << "2027-01-31 09:00:00"
                                                << "每月31日 09:00";
    QTest::newRow("last day of the month") << "FREQ=MONTHLY;BYMONTHDAY=-1"
                                           << "2027-01-31 09:00:00"
                                           << "每月最后一天 09:00";
    QTest::newRow("first Monday") << "FREQ=MONTHLY;BYDAY=1MO"
                                  << "2027-01-04 09:00:00"
                                  << "每月第1个周一 09:00";
    QTest::newRow("every 90 minutes") << "FREQ=MINUTELY;INTERVAL=90"
                                      << "2027-01-04 09:00:00"
                                      << "每隔90分钟";
    QTest::newRow("hourly") << "FREQ=HOURLY"
                            << "2027-01-04 09:00:00"
                            << "每小时";
    QTest::newRow("yearly") << "FREQ=YEARLY"
                            << "2027-02-14 20:00:00"
                            << "每年2月14日 20:00";
    QTest::newRow("with a count") << "FREQ=DAILY;COUNT=5"
                                  << "2027-01-04 09:00:00"
                                  << "每天 09:00，共5次";
    QTest::newRow("until") << "FREQ=DAILY;UNTIL=20270131T235959"
                           << "2027-01-04 09:00:00"
                           << "每天 09:00，至2027-1-31";
    QTest::newRow("parts without words") << "FREQ=YEARLY;BYWEEKNO=20"
                                         << "2027-05-17 09:00:00"
                                         << "每年5月17日 09:00（FREQ=YEARLY;BYWEEKNO=20）";
}

void TestRepeatRule::describesInChineseWords()
{
    QFETCH(QString, rule);
    QFETCH(QString, start);
    QFETCH(QString, words);

    QCOMPARE(RepeatRule::parse(rule, nullptr)->description(at(start)), words);
}

QTEST_GUILESS_MAIN(TestRepeatRule)
#include "tst_repeatrule.moc"
