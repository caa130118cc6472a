#pragma once

#include <QDateTime>
#include <QString>

// What the once-a-second check hands its work to: the actions of the nine
// kinds, the pre-warning, the hourly signal and the report of a row that
// cannot be read. The main window implements it; tests record it.
class MissionActions
{
public:
    virtual ~MissionActions() = default;

    virtual void shutDown() = 0;
    virtual void restart() = 0;
    virtual void logOff() = 0;
    virtual void runProgram(const QString &description) = 0;
    virtual void openFile(const QString &description) = 0;
    virtual void showMessage(const QString &description) = 0;
    virtual void ring() = 0;
    virtual void openWebPage(const QString &description) = 0;
    virtual void sendMail(const QString &description) = 0;

    // Shows the warning ten seconds ahead of a power mission and returns at
    // once; a postpone answer comes back through Scheduler::postpone with
    // `row` and `moment`.
    virtual void showPreWarning(int row, const QString &message, const QDateTime &moment) = 0;
    virtual bool chimeOn() const = 0;
    virtual void playHourlySignal(const QString &soundName) = 0;
    virtual void reportFaultyRow(int row) = 0;
};
