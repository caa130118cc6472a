// Takes the firing path of a program mission apart, without the rest of the
// program: the scheduler's kind of timer (SecondTimer, landing on the
// second) runs the marker program through the program's own launcher
// (DesktopShell) once a second. Prints the medians, in milliseconds from
// the start of the second, of: the timer's handler starting, the launcher
// being called, the launcher returning (posix_spawn is back once the child
// has been replaced by the marker) and the marker's own reading of the clock.
// A figure to read, not a test: it never fails.
// Usage: bench_firing_parts path/to/bench_marker [seconds]
#include "core/missions/SecondTimer.h"
#include "platform/linux/DesktopShell.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <time.h>

namespace {

double realMs()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_sec % 100000) * 1e3 + now.tv_nsec / 1e6;
}

double median(QVector<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const int seconds = argc > 2 ? atoi(argv[2]) : 20;
    QTemporaryDir dir;
    DesktopShell shell;
    // Each run gets a copy of its own, made beforehand, as the missions do.
    for (int i = 0; i < seconds; ++i)
        QFile::copy(QString::fromLocal8Bit(argv[1]), dir.filePath(QStringLiteral("m%1").arg(i)));
    SecondTimer timer(SecondTimer::OnTheSecond);
    QVector<double> handler, called, returned;
    QVector<double> secondsOf;
    int fired = 0;
    QObject::connect(&timer, &SecondTimer::timeout, [&] {
        const double start = realMs();
        const double second = std::floor(start / 1000) * 1000;
        const double before = realMs();
        shell.runProgram(dir.filePath(QStringLiteral("m%1").arg(fired)));
        const double after = realMs();
        handler.append(start - second);
        called.append(before - second);
        returned.append(after - second);
        secondsOf.append(second);
        if (++fired == seconds) {
            timer.setEnabled(false);
            QTimer::singleShot(1500, &app, &QCoreApplication::quit);
        }
    });
    timer.setEnabled(true);
    app.exec();

    QVector<double> marker;
    for (int i = 0; i < fired; ++i) {
        QFile ran(dir.filePath(QStringLiteral("m%1.ran").arg(i)));
        if (!ran.open(QIODevice::ReadOnly))
            continue;
        const double at = ran.readAll().trimmed().toDouble();
        marker.append((std::fmod(at, 100000.0) * 1e3) - secondsOf[i]);
    }
    std::printf("handler starts\t%.3f\nlauncher called\t%.3f\nlauncher returns\t%.3f\nmarker reads the clock\t%.3f\n",
                median(handler), median(called), median(returned), median(marker));
    return 0;
}
