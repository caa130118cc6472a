#include "core/files/MissionFile.h"
#include "core/missions/MissionList.h"
#include "doubles/TestPlatform.h"
#include "support/RegionalFormatReset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <unistd.h>

// A program killed with SIGKILL at random instants while it adds, deletes,
// modifies and loads missions and switches the run state: every start after
// a kill finds the list as it stood before or after the change under way,
// never anything else. The test runs itself as the child with `child FOLDER
// SEED`.

namespace {

const QDateTime presentMoment(QDate(2026, 12, 10), QTime(12, 0, 0));

struct Snapshot
{
    QVector<MissionStore::Row> rows;
    MissionList::RunState state = MissionList::RunState::Stopped;

    bool operator==(const Snapshot &other) const
    {
        if (state != other.state || rows.size() != other.rows.size())
            return false;
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].id != other.rows[i].id || !(rows[i].mission == other.rows[i].mission))
                return false;
        }
        return true;
    }
};

QString describe(const Snapshot &snapshot)
{
    QStringList lines {MissionList::runStateName(snapshot.state)};
    for (const MissionStore::Row &row : snapshot.rows)
        lines << QStringLiteral("%1 %2 %3").arg(row.id).arg(row.mission.description, row.mission.timeText);
    return lines.join(QLatin1Char('\n'));
}

Snapshot snapshotOf(const MissionList &list)
{
    return {list.rows(), list.runState()};
}

// The files a load picks from: written once into the folder.
QString loadFile(const QString &folder, int which)
{
    return folder + QStringLiteral("load%1.mis").arg(which);
}

void writeLoadFiles(const QString &folder)
{
    for (int which = 0; which < 2; ++which) {
        QVector<Mission> missions;
        for (int i = 0; i < 3 + which * 20; ++i)
            missions.append({kindText(MissionKind::mkShowMessage), QStringLiteral("载入%1-%2").arg(which).arg(i),
                             QStringLiteral("2099-1-1"), QStringLiteral("8:%1:00").arg(i, 2, 10, QLatin1Char('0')),
                             kindImageIndex(MissionKind::mkShowMessage)});
        QString error;
        QVERIFY2(MissionFile::save(loadFile(folder, which), missions, &error), qPrintable(error));
    }
}

// Change `step` of the sequence that `random` draws: the same list and the
// same draws give the same change.
void applyChange(MissionList &list, QRandomGenerator &random, const QString &folder)
{
    const int count = list.model().count();
    const int pick = int(random.bounded(100));
    const int row = count > 0 ? int(random.bounded(count)) : -1;
    const int minute = int(random.bounded(60));
    const Mission mission {kindText(MissionKind::mkShowMessage), QStringLiteral("任务%1").arg(random.generate()),
                           QStringLiteral("2099-6-1"), QStringLiteral("9:%1:00").arg(minute, 2, 10, QLatin1Char('0')),
                           kindImageIndex(MissionKind::mkShowMessage)};
    if (pick < 40 || row < 0) {
        list.add(mission);
    } else if (pick < 60) {
        list.remove(list.model().id(row));
    } else if (pick < 75) {
        list.modify(list.model().id(row), mission);
    } else if (pick < 82) {
        QString error;
        if (!list.load(loadFile(folder, minute % 2), false, &error))
            qFatal("%s", qPrintable(error));
    } else if (pick < 88) {
        list.start();
    } else if (pick < 94) {
        list.pause();
    } else {
        list.stop();
    }
}

void writeLine(const QByteArray &line)
{
    // Straight to the pipe, no buffer the kill could lose.
    const QByteArray text = line + '\n';
    if (::write(STDOUT_FILENO, text.constData(), size_t(text.size())) != text.size())
        _exit(3);
}

int runChild(const QString &folder, quint32 seed)
{
    resetRegionalFormat();
    TestPlatform platform;
    platform.clock.set(presentMoment);
    MissionList list(platform.services(), folder);
    list.startUp(true);
    QRandomGenerator random(seed);
    for (int step = 0;; ++step) {
        writeLine("B " + QByteArray::number(step));
        applyChange(list, random, folder);
        writeLine("A " + QByteArray::number(step));
    }
}

} // namespace

class TestMissionKill : public QObject
{
    Q_OBJECT

private slots:
    void everyRestartFindsTheListBeforeOrAfterTheChange();
};

void TestMissionKill::everyRestartFindsTheListBeforeOrAfterTheChange()
{
    resetRegionalFormat();
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString folder = work.path() + QStringLiteral("/live/");
    const QString replayFolder = work.path() + QStringLiteral("/replay/");
    QVERIFY(QDir().mkpath(folder));
    writeLoadFiles(folder);
    TestPlatform platform;
    platform.clock.set(presentMoment);

    constexpr int kills = 220;
    int killedMidChange = 0;
    QRandomGenerator timing(20261210);
    for (int round = 0; round < kills; ++round) {
        // The list as the child will find it, for the replay.
        QDir(replayFolder).removeRecursively();
        QVERIFY(QDir().mkpath(replayFolder));
        for (const QString &name : QDir(folder).entryList(QDir::Files))
            QVERIFY(QFile::copy(folder + name, replayFolder + name));

        const quint32 seed = timing.generate();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("child"), folder, QString::number(seed)});
        QVERIFY(child.waitForStarted(5000));
        // Into the stream of changes, a different distance each round.
        QVERIFY(child.waitForReadyRead(10000));
        QTest::qSleep(int(timing.bounded(25)));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(5000));
        const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
        int lastBegun = -1;
        bool lastDone = false;
        for (const QByteArray &line : lines) {
            if (line.startsWith("B ")) {
                lastBegun = line.mid(2).toInt();
                lastDone = false;
            } else if (line.startsWith("A ")) {
                lastDone = true;
            }
        }
        if (!lastDone && lastBegun >= 0)
            ++killedMidChange;

        // Before and after the change under way, by replaying the same draws.
        Snapshot before;
        Snapshot after;
        {
            MissionList replay(platform.services(), replayFolder);
            replay.startUp(true);
            QRandomGenerator random(seed);
            before = snapshotOf(replay);
            after = before;
            for (int step = 0; step <= lastBegun; ++step) {
                before = after;
                applyChange(replay, random, folder);
                after = snapshotOf(replay);
            }
            if (lastBegun < 0)
                before = after;
        }

        MissionList restarted(platform.services(), folder);
        restarted.startUp(true);
        const Snapshot found = snapshotOf(restarted);
        QVERIFY2(found == before || found == after,
                 qPrintable(QStringLiteral("round %1, change %2:\nfound\n%3\nbefore\n%4\nafter\n%5")
                                .arg(round)
                                .arg(lastBegun)
                                .arg(describe(found), describe(before), describe(after))));
    }
    qInfo("%d kills, %d of them in the middle of a change", kills, killedMidChange);
    QVERIFY(killedMidChange > 0);
}

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "child") == 0) {
        QCoreApplication app(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toUInt());
    }
    QCoreApplication app(argc, argv);
    TestMissionKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_missionkill.moc"
