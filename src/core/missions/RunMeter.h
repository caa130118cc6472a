#pragma once

#include <QDateTime>
#include <QString>

// The highest power rating, in watts, that the program takes for the
// monitor or the computer; the lowest is 0.
constexpr int maxRatingWatts = 1000;

// The running-time counter and the energy estimate of the run, advanced once
// a second in every run state, with the texts the status bar and the tray
// icon show of them.
struct RunMeter
{
    int runSeconds = 0; // 0..59
    int runMinutes = 0; // 0..59
    int runHours = 0; // not bounded
    double energyKwh = 0.0;

    // `seconds` more (one tick, or the ticks slept through), and the
    // estimate recomputed from the ratings in watts.
    void advance(int crtWatts, int hostWatts, qint64 seconds = 1);

    static QString clockPanelText(const QDateTime &now);
    QString runTimePanelText() const;
    QString energyPanelText() const;
    QString trayToolTip(int missionCount) const;
};
