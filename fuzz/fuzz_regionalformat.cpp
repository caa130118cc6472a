// Feeds arbitrary texts to the date and time parsers under a few regional
// formats: a text that parses must write out and parse again to the same
// value.
#include "core/text/RegionalFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fault(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s: \"%s\"\n", what, qPrintable(text));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const RegionalFormat formats[] = {
        RegionalFormat(QStringLiteral("yyyy-M-d"), QStringLiteral("H:mm:ss"), '.'),
        RegionalFormat(QStringLiteral("yyyy/MM/dd"), QStringLiteral("H:mm:ss"), '.'),
        RegionalFormat(QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss"), ','),
        RegionalFormat(QStringLiteral("M/d/yyyy"), QStringLiteral("H:mm:ss"), '.'),
        RegionalFormat(QStringLiteral("yyyy年M月d日"), QStringLiteral("H时mm分ss秒"), '.'),
    };
    if (size == 0)
        return 0;
    const RegionalFormat &format = formats[data[0] % 5];
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    if (const std::optional<QDate> date = format.strToDate(text)) {
        if (format.strToDate(format.dateToStr(*date)) != date)
            fault("date does not read back", text);
    }
    if (const std::optional<QTime> time = format.strToTime(text)) {
        if (format.strToTime(format.timeToStr(*time)) != time)
            fault("time does not read back", text);
    }
    if (const std::optional<QDateTime> moment = format.strToDateTime(text)) {
        if (format.strToDateTime(format.dateTimeToStr(*moment)) != moment)
            fault("date and time do not read back", text);
    }
    return 0;
}
