// Prints the time to save and to load a mission file and the daily mission
// file of 10 000 and 100 000 missions; loading includes putting the rows
// into the mission list. A figure to read, not a test: it never fails.
#include "core/files/DailyMissionFile.h"
#include "core/files/MissionFile.h"
#include "core/missions/MissionModel.h"
#include "core/text/RegionalFormat.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVector>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QVector<Mission> makeMissions(int rows)
{
    QVector<Mission> list;
    list.reserve(rows);
    const QDateTime start(QDate(2026, 12, 10), QTime(0, 0));
    for (int i = 0; i < rows; ++i) {
        const MissionKind kind = missionKinds[size_t(i % 9)].kind;
        const QDateTime moment = start.addSecs(qint64(i) * 37 % (7 * 86400));
        list.append({kindText(kind), QStringLiteral("/usr/bin/true 任务说明 %1").arg(i), DateToStr(moment.date()),
                     TimeToStr(moment.time()), kindImageIndex(kind)});
    }
    return list;
}

// The median of a few runs, in milliseconds; the first run warms the caches.
double medianMs(const std::function<void()> &step)
{
    QVector<double> costs;
    for (int run = 0; run < 6; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        if (run > 0)
            costs.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(costs.begin(), costs.end());
    return costs[costs.size() / 2];
}

void fail(const QString &error)
{
    std::fprintf(stderr, "%s\n", qPrintable(error));
}

} // namespace

int main()
{
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("yyyy-M-d"), QStringLiteral("H:mm:ss"), '.'));
    QTemporaryDir dir;
    std::printf("%-14s %8s %10s %10s %10s\n", "file", "rows", "size KB", "save ms", "load ms");
    for (int rows : {10000, 100000}) {
        const QVector<Mission> missions = makeMissions(rows);

        const QString misPath = dir.filePath(QStringLiteral("bench.mis"));
        const double misSave = medianMs([&] {
            QString error;
            if (!MissionFile::save(misPath, missions, &error))
                fail(error);
        });
        const double misLoad = medianMs([&] {
            QString error;
            const std::optional<QVector<Mission>> loaded = MissionFile::load(misPath, &error);
            if (!loaded)
                return fail(error);
            MissionModel model;
            model.appendAll(*loaded);
        });
        std::printf("%-14s %8d %10.0f %10.1f %10.1f\n", "mission file", rows, QFileInfo(misPath).size() / 1024.0,
                    misSave, misLoad);

        const DailyMissionFile daily(DailyMissionFile::pathIn(dir.path() + QLatin1Char('/')));
        const double dailySave = medianMs([&] {
            QString error;
            if (!daily.rewrite(missions, MissionLines::Reading(), &error))
                fail(error);
        });
        const double dailyLoad = medianMs([&] {
            QString error;
            const std::optional<MissionLines::Reading> reading = daily.read(QStringLiteral("2026-12-10"), &error);
            if (!reading)
                return fail(error);
            MissionModel model;
            model.appendAll(reading->missions);
        });
        std::printf("%-14s %8d %10.0f %10.1f %10.1f\n", "daily file", rows, QFileInfo(daily.path()).size() / 1024.0,
                    dailySave, dailyLoad);
    }
    return 0;
}
