#include "core/text/RegionalFormat.h"

#include <QLocale>

#include <array>

namespace {

using Pattern = RegionalFormat::Pattern;
using PatternPiece = RegionalFormat::PatternPiece;
// Field values indexed by fieldSlot().
using FieldValues = std::array<int, 6>;

int fieldSlot(char field)
{
    switch (field) {
    case 'y':
    case 'H': return 0;
    case 'M':
    case 'm': return 1;
    default: return 2;
    }
}

Pattern splitPattern(const QString &pattern)
{
    Pattern pieces;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (QStringLiteral("yMdHms").contains(c)) {
            int j = i;
            while (j < pattern.size() && pattern.at(j) == c)
                ++j;
            pieces.append({char(c.toLatin1()), j - i, {}});
            i = j;
        } else {
            if (pieces.isEmpty() || pieces.last().field != 0)
                pieces.append({0, 0, {}});
            pieces.last().literal += c;
            ++i;
        }
    }
    return pieces;
}

// True when the pattern holds each of `fields` once, as numbers, and
// literals without letters or digits (no month names, no AM/PM).
bool isNumericPattern(const QString &pattern, const char *fields)
{
    QString seen;
    for (const PatternPiece &piece : splitPattern(pattern)) {
        if (piece.field == 0) {
            for (QChar c : piece.literal) {
                if (c.isLetterOrNumber() || c == QLatin1Char('\''))
                    return false;
            }
            continue;
        }
        const QChar field = QLatin1Char(piece.field);
        if (seen.contains(field) || !QLatin1String(fields).contains(field))
            return false;
        if (piece.field == 'y' ? piece.width != 4 : piece.width > 2)
            return false;
        seen += field;
    }
    return seen.size() == int(qstrlen(fields));
}

// Reads the numbers of `text` in the order of `pattern`. Literals must match
// exactly; a field takes one or two digits, so a leading zero is accepted
// where the pattern has none. The year takes exactly four digits.
bool parseNumbers(const Pattern &pattern, QStringView text, FieldValues &values)
{
    int pos = 0;
    for (const PatternPiece &piece : pattern) {
        if (piece.field == 0) {
            if (text.mid(pos, piece.literal.size()) != piece.literal)
                return false;
            pos += piece.literal.size();
            continue;
        }
        int value = 0;
        const int start = pos;
        while (pos < text.size() && text[pos] >= QLatin1Char('0') && text[pos] <= QLatin1Char('9')) {
            value = value * 10 + (text[pos].unicode() - '0');
            ++pos;
            if (pos - start > 4)
                return false;
        }
        const int digits = pos - start;
        if (digits == 0 || (piece.field == 'y' ? digits != 4 : digits > 2))
            return false;
        values[fieldSlot(piece.field)] = value;
    }
    return pos == text.size();
}

QString formatNumbers(const Pattern &pattern, const FieldValues &values)
{
    QString out;
    out.reserve(10);
    for (const PatternPiece &piece : pattern) {
        if (piece.field == 0)
            out += piece.literal;
        else
            out += QString::number(values[fieldSlot(piece.field)]).rightJustified(piece.width, QLatin1Char('0'));
    }
    return out;
}

const QString defaultDatePattern = QStringLiteral("yyyy-M-d");
const QString defaultTimePattern = QStringLiteral("H:mm:ss");

RegionalFormat &currentFormat()
{
    static RegionalFormat format = RegionalFormat::fromSystemLocale();
    return format;
}

int formatGeneration = 0;

} // namespace

RegionalFormat::RegionalFormat(const QString &shortDatePattern, const QString &longTimePattern, QChar decimalSeparator)
    : m_datePattern(isNumericPattern(shortDatePattern, "yMd") ? shortDatePattern : defaultDatePattern)
    , m_timePattern(isNumericPattern(longTimePattern, "Hms") ? longTimePattern : defaultTimePattern)
    , m_decimalSeparator(decimalSeparator)
    , m_datePieces(splitPattern(m_datePattern))
    , m_timePieces(splitPattern(m_timePattern))
{
}

RegionalFormat RegionalFormat::fromSystemLocale()
{
    const QLocale locale = QLocale::system();
    QString datePattern = locale.dateFormat(QLocale::ShortFormat);
    if (!datePattern.contains(QLatin1String("yyyy")))
        datePattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return RegionalFormat(datePattern, defaultTimePattern, locale.decimalPoint().at(0));
}

const RegionalFormat &RegionalFormat::current()
{
    return currentFormat();
}

void RegionalFormat::setCurrent(const RegionalFormat &format)
{
    currentFormat() = format;
    ++formatGeneration;
}

int RegionalFormat::generation()
{
    return formatGeneration;
}

QString RegionalFormat::dateToStr(const QDate &date) const
{
    return formatNumbers(m_datePieces, {date.year(), date.month(), date.day()});
}

QString RegionalFormat::timeToStr(const QTime &time) const
{
    return durationToStr(time.hour(), time.minute(), time.second());
}

QString RegionalFormat::durationToStr(int hours, int minutes, int seconds) const
{
    return formatNumbers(m_timePieces, {hours, minutes, seconds});
}

QString RegionalFormat::dateTimeToStr(const QDateTime &moment) const
{
    const QTime time = moment.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return dateToStr(moment.date());
    return dateToStr(moment.date()) + QLatin1Char(' ') + timeToStr(time);
}

std::optional<QDate> RegionalFormat::strToDate(const QString &text) const
{
    FieldValues values {};
    if (!parseNumbers(m_datePieces, QStringView(text).trimmed(), values))
        return std::nullopt;
    const QDate date(values[0], values[1], values[2]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> RegionalFormat::strToTime(const QString &text) const
{
    FieldValues values {};
    if (!parseNumbers(m_timePieces, QStringView(text).trimmed(), values))
        return std::nullopt;
    const QTime time(values[0], values[1], values[2]);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

std::optional<QDateTime> RegionalFormat::strToDateTime(const QString &text) const
{
    const QString trimmed = text.trimmed();
    const int space = trimmed.indexOf(QLatin1Char(' '));
    const auto date = strToDate(space < 0 ? trimmed : trimmed.left(space));
    if (!date)
        return std::nullopt;
    if (space < 0)
        return QDateTime(*date, QTime(0, 0));
    const auto time = strToTime(trimmed.mid(space + 1));
    if (!time)
        return std::nullopt;
    return QDateTime(*date, *time);
}

QString DateToStr(const QDate &date)
{
    return RegionalFormat::current().dateToStr(date);
}
QString TimeToStr(const QTime &time)
{
    return RegionalFormat::current().timeToStr(time);
}
QString DateTimeToStr(const QDateTime &moment)
{
    return RegionalFormat::current().dateTimeToStr(moment);
}
std::optional<QDate> StrToDate(const QString &text)
{
    return RegionalFormat::current().strToDate(text);
}
std::optional<QTime> StrToTime(const QString &text)
{
    return RegionalFormat::current().strToTime(text);
}
std::optional<QDateTime> StrToDateTime(const QString &text)
{
    return RegionalFormat::current().strToDateTime(text);
}
