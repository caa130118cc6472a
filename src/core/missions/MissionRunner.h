#pragma once

#include "MissionActions.h"

#include <QObject>

class SessionControl;
class Shell;
class Sound;

// Carries out what the once-a-second check hands over: each of the nine
// kinds through the platform services (session control, shell, sound), the
// hourly signal, and the beeps of a warning. What a window must show (the
// shutdown warning, the message popup, a faulty row) goes out as a signal.
class MissionRunner : public QObject, public MissionActions
{
    Q_OBJECT

public:
    MissionRunner(SessionControl &session, Shell &shell, Sound &sound, QObject *parent = nullptr);

    void carryOut(int row, const Mission &mission) override;
    void warn(int row, MissionKind kind, const QDateTime &moment) override;
    bool chimeOn() const override { return m_chimeOn; }
    void setChimeOn(bool on) { m_chimeOn = on; }
    void playHourlySignal(int hour) override;
    void reportFaultyRow(int row) override;

    // The recording that announces `hour` (0 to 23): "t1" … "t23", and
    // "t24" at midnight.
    static QString hourlySignalName(int hour);
    // The warning text of a power kind: two lines joined by character 13.
    static QString warningMessage(MissionKind kind);

signals:
    // Show the shutdown warning for the power mission of `row`, due at `moment`.
    void warningDue(int row, const QString &message, const QDateTime &moment);
    // Show the message popup with `text`.
    void messageDue(const QString &text);
    // Row `row` cannot be read; it is skipped until its texts change.
    void faultyRowFound(int row);
    // `mission` was just handed to the system (or to the message popup).
    void carriedOut(const Mission &mission);

private:
    SessionControl &m_session;
    Shell &m_shell;
    Sound &m_sound;
    bool m_chimeOn = true;
};
