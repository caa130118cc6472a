// Prints the time a start takes to restore a kept list of 10 000 missions,
// and the cost of one kept change (add, modify, delete) at 10 000 missions.
// A figure to read, not a test: it never fails.
#include "core/files/MissionFile.h"
#include "core/missions/MissionList.h"
#include "core/text/RegionalFormat.h"
#include "doubles/TestPlatform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int missionCount = 10000;

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Mission someMission(int i)
{
    return {kindText(MissionKind::mkShowMessage), QStringLiteral("提醒 %1").arg(i), QStringLiteral("2099-1-1"),
            QStringLiteral("8:%1:00").arg(i % 60, 2, 10, QLatin1Char('0')), kindImageIndex(MissionKind::mkShowMessage)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("yyyy-M-d"), QStringLiteral("H:mm:ss"), QLatin1Char('.')));
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    TestPlatform platform;
    platform.clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));

    QVector<Mission> missions;
    for (int i = 0; i < missionCount; ++i)
        missions.append(someMission(i));
    QString error;
    if (!MissionFile::save(folder + QStringLiteral("big.mis"), missions, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    {
        MissionList list(platform.services(), folder);
        list.startUp(true);
        list.load(folder + QStringLiteral("big.mis"), false, &error);
        list.start();
    }

    QVector<double> restores;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        MissionList list(platform.services(), folder);
        list.startUp(true);
        restores.append(timer.nsecsElapsed() / 1e6);
        if (list.model().count() != missionCount)
            return 1;
    }

    MissionList list(platform.services(), folder);
    list.startUp(true);
    QVector<double> adds;
    QVector<double> modifies;
    QVector<double> deletes;
    for (int run = 0; run < 25; ++run) {
        QElapsedTimer timer;
        timer.start();
        const MissionId id = list.add(someMission(run));
        adds.append(timer.nsecsElapsed() / 1e6);
        timer.restart();
        list.modify(list.model().id(run * 97), someMission(run + 1));
        modifies.append(timer.nsecsElapsed() / 1e6);
        timer.restart();
        list.remove(id);
        deletes.append(timer.nsecsElapsed() / 1e6);
    }
    std::printf("step\tms\n");
    std::printf("restore %d missions at start\t%.1f\n", missionCount, median(restores));
    std::printf("add\t%.2f\n", median(adds));
    std::printf("modify\t%.2f\n", median(modifies));
    std::printf("delete\t%.2f\n", median(deletes));
    return 0;
}
