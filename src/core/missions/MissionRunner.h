#pragma once

#include "core/missions/MissionActions.h"

#include <QObject>

class Notifier;
class SessionControl;
class Shell;
class Sound;

// Carries out what the once-a-second check hands over: each of the nine
// kinds through the platform services (session control, shell, sound), the
// hourly signal, the beeps of a warning, and the desktop notification of
// missed missions. What a window must show (the shutdown warning, the
// message popup, the report of unreadable rows, the missed missions) goes
// out as a signal.
class MissionRunner : public QObject, public MissionActions
{
    Q_OBJECT

public:
    MissionRunner(SessionControl &session, Shell &shell, Sound &sound, Notifier &notifier, QObject *parent = nullptr);

    void carryOut(MissionId id, const Mission &mission) override;
    void warn(MissionId id, MissionKind kind, const QDateTime &moment) override;
    bool chimeOn() const override { return m_chimeOn; }
    void setChimeOn(bool on) { m_chimeOn = on; }
    void playHourlySignal(int hour) override;
    void reportFaultyRows(const QVector<ListedMission> &rows) override;
    void reportMissed(const QVector<ListedMission> &missed, bool slept) override;
    // Missions whose moment passed while no program ran (found when the
    // list is restored at start): reported in the same notice, never run.
    void reportMissedWhileClosed(const QVector<ListedMission> &missed);

    // The recording that announces `hour` (0 to 23): "t1" … "t23", and
    // "t24" at midnight.
    static QString hourlySignalName(int hour);
    // The warning text of a power kind: two lines joined by character 13.
    static QString warningMessage(MissionKind kind);
    // One report for all `rows`: how many, and the first few, quoted short.
    static QString faultyRowsReport(const QVector<ListedMission> &rows);
    // The notice of missed missions: each with kind, date and time and its
    // description (a message mission's text in full), and why it was missed.
    static QString missedNoticeTitle();
    static QString missedNoticeText(const QVector<ListedMission> &missed, bool slept);
    // The same, missed "during" `when` (e.g. "程序未运行").
    static QString missedNoticeText(const QVector<ListedMission> &missed, const QString &when);

    // Rows quoted by name in a faulty-row report, and missions listed in a
    // missed notice; the rest are counted.
    static constexpr int faultyRowsQuoted = 5;
    static constexpr int missedListed = 20;
signals:
    // Show the shutdown warning for the power mission `id`, due at `moment`.
    void warningDue(MissionId id, const QString &message, const QDateTime &moment);
    // The request of the power mission `id` has gone to the system: its
    // warning has nothing left to answer.
    void powerRequestSent(MissionId id);
    // Show the message popup with `text`.
    void messageDue(const QString &text);
    // Rows of the list cannot be read; they are skipped until their texts
    // change. `report` says which.
    void faultyRowsFound(const QString &report);
    // Missions were missed; shown on the desktop already, and by a window
    // if one is up.
    void missedNoticeDue(const QString &title, const QString &text);
    // `mission` was just handed to the system (or to the message popup).
    void carriedOut(const Mission &mission);

private:
    void sendMissedNotice(const QString &text);

    SessionControl &m_session;
    Shell &m_shell;
    Sound &m_sound;
    Notifier &m_notifier;
    bool m_chimeOn = true;
};
