// Feeds arbitrary bytes to the daily mission file reader, through the file
// itself as the program reads it, and checks that a rewrite keeps both the
// missions and the bytes that reading did not reach, and that rewriting
// unchanged missions changes no byte.
#include "core/files/DailyMissionFile.h"
#include "LineRoundTrip.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const MissionLines lines = MissionLines::dailyFile();
    checkLineRoundTrip(lines, bytes);

    const DailyMissionFile daily(DailyMissionFile::pathIn(dir.path() + QLatin1Char('/')));
    QFile file(daily.path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    QString error;
    const std::optional<MissionLines::Reading> reading = daily.read(QStringLiteral("2026-12-10"), &error);
    if (!reading)
        std::abort();
    if (!daily.rewrite(reading->missions, *reading, &error))
        return 0; // a field holds the separator: refused with a message
    const std::optional<MissionLines::Reading> again = daily.read(QStringLiteral("2026-12-10"), &error);
    if (!again || again->missions.size() != reading->missions.size() || again->unread != reading->unread) {
        std::fprintf(stderr, "rewriting the daily file changed what it reads as\n");
        std::abort();
    }
    // Unchanged missions keep their bytes: a second rewrite changes nothing.
    QFile first(daily.path());
    if (!first.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray rewritten = first.readAll();
    first.close();
    if (!daily.rewrite(again->missions, *again, &error))
        std::abort();
    QFile second(daily.path());
    if (!second.open(QIODevice::ReadOnly) || second.readAll() != rewritten) {
        std::fprintf(stderr, "rewriting unchanged daily missions changed bytes\n");
        std::abort();
    }
    return 0;
}
