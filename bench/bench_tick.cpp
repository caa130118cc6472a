// Prints the cost of one once-a-second check over lists of 100, 10 000 and
// 100 000 missions, readable ones and ones whose date cannot be read. A
// figure to read, not a test: it never fails.
#include "core/missions/MissionActions.h"
#include "core/missions/MissionModel.h"
#include "core/missions/Scheduler.h"
#include "core/text/RegionalFormat.h"
#include "platform/Clock.h"

#include <QElapsedTimer>
#include <QVector>

#include <algorithm>
#include <cstdio>

namespace {

class SteppingClock : public Clock
{
public:
    QDateTime now() const override { return moment; }
    qint64 steadyMs() const override { return moment.toMSecsSinceEpoch(); }
    QDateTime moment;
};

class CountingActions : public MissionActions
{
public:
    void carryOut(MissionId, const Mission &) override { ++calls; }
    void warn(MissionId, MissionKind, const QDateTime &) override { ++calls; }
    bool chimeOn() const override { return true; }
    void playHourlySignal(int) override { ++calls; }
    void reportFaultyRows(const QVector<ListedMission> &) override { ++calls; }
    void reportMissed(const QVector<ListedMission> &, bool) override { ++calls; }
    long calls = 0;
};

} // namespace

int main()
{
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("yyyy-M-d"), QStringLiteral("H:mm:ss"), '.'));
    std::printf("%-10s %-10s %14s %14s %14s\n", "rows", "dates", "median us", "mean us", "worst us");
    for (const bool unreadable : {false, true})
        for (int rows : {100, 10000, 100000}) {
            MissionModel missions;
            QVector<Mission> list;
            list.reserve(rows);
            const QDate day(2026, 12, 10);
            for (int i = 0; i < rows; ++i) {
                const MissionKind kind = missionKinds[size_t(i % 9)].kind;
                const QDateTime moment = QDateTime(day, QTime(0, 0)).addSecs(qint64(i) * 37 % (7 * 86400));
                list.append(
                    {kindText(kind), QStringLiteral("/usr/bin/true"),
                     unreadable ? moment.date().toString(QStringLiteral("dd/MM/yyyy")) : DateToStr(moment.date()),
                     TimeToStr(moment.time()), kindImageIndex(kind)});
            }
            missions.appendAll(list);

            SteppingClock clock;
            clock.moment = QDateTime(day, QTime(8, 0, 0));
            CountingActions actions;
            Scheduler scheduler(missions, clock, actions);
            scheduler.start();

            const int ticks = rows >= 100000 ? 200 : 2000;
            QVector<double> costs;
            costs.reserve(ticks);
            for (int t = 0; t < ticks; ++t) {
                clock.moment = clock.moment.addSecs(1);
                QElapsedTimer timer;
                timer.start();
                scheduler.checkDueMissions();
                costs.append(timer.nsecsElapsed() / 1000.0);
            }
            std::sort(costs.begin(), costs.end());
            double sum = 0;
            for (double c : costs)
                sum += c;
            std::printf("%-10d %-10s %14.1f %14.1f %14.1f\n", rows, unreadable ? "unreadable" : "readable",
                        costs[costs.size() / 2], sum / costs.size(), costs.last());
        }
    return 0;
}
