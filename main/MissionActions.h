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

    virtual void mShutdown() = 0;
    virtual void mRestart() = 0;
    virtual void mLogoff() = 0;
    virtual void mRunProgram(const QString &description) = 0;
    virtual void mOpenFile(const QString &description) = 0;
    virtual void mShowMessage(const QString &description) = 0;
    virtual void mRing() = 0;
    virtual void mOpenUrl(const QString &description) = 0;
    virtual void mSendMail(const QString &description) = 0;

    // Shows the warning ten seconds ahead of a power mission and returns at
    // once; a postpone answer comes back through Scheduler::postpone with
    // `row` and `moment`.
    virtual void showPreWarning(int row, const QString &message, const QDateTime &moment) = 0;
    virtual bool chimeOn() const = 0;
    virtual void playHourlySignal(const QString &soundName) = 0;
    virtual void reportFaultyRow(int row) = 0;
};
