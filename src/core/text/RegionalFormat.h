#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVector>

#include <optional>

// The user's regional settings for date and time texts. Every date or time
// text that the program writes, compares or parses goes through the one
// current object, so that a mission's texts are spelled the same everywhere.
class RegionalFormat
{
public:
    // Short date pattern in Qt notation (yyyy, M, MM, d, dd and separators),
    // long time pattern (H:mm:ss), decimal separator.
    RegionalFormat(const QString &shortDatePattern, const QString &longTimePattern, QChar decimalSeparator);

    // The system locale's short date with the year widened to four digits;
    // the long time is always H:mm:ss so that mission time texts stay
    // hour:minute:second on a 24-hour clock.
    static RegionalFormat fromSystemLocale();

    static const RegionalFormat &current();
    // Replaces the current format (start-up, tests). Bumps generation().
    static void setCurrent(const RegionalFormat &format);
    // Grows by one each time the current format is replaced, so that
    // cached parses know when to renew themselves.
    static int generation();

    QString shortDatePattern() const { return m_datePattern; }
    QString longTimePattern() const { return m_timePattern; }
    QChar decimalSeparator() const { return m_decimalSeparator; }

    QString dateToStr(const QDate &date) const;
    QString timeToStr(const QTime &time) const;
    QString dateTimeToStr(const QDateTime &moment) const;
    // A running time in the long time pattern; the hours are not bounded.
    QString durationToStr(int hours, int minutes, int seconds) const;
    std::optional<QDate> strToDate(const QString &text) const;
    std::optional<QTime> strToTime(const QString &text) const;
    std::optional<QDateTime> strToDateTime(const QString &text) const;

    // One piece of a pattern: a numeric field or a literal text.
    struct PatternPiece
    {
        char field = 0; // 'y', 'M', 'd', 'H', 'm', 's', or 0 for a literal
        int width = 0; // letters in the pattern: 1 no padding, 2 two digits, 4 a four-digit year
        QString literal;
    };
    using Pattern = QVector<PatternPiece>;

private:
    QString m_datePattern;
    QString m_timePattern;
    QChar m_decimalSeparator;
    Pattern m_datePieces;
    Pattern m_timePieces;
};

// The helpers under their customary names, on the current format.
QString DateToStr(const QDate &date);
QString TimeToStr(const QTime &time);
QString DateTimeToStr(const QDateTime &moment);
std::optional<QDate> StrToDate(const QString &text);
std::optional<QTime> StrToTime(const QString &text);
std::optional<QDateTime> StrToDateTime(const QString &text);
