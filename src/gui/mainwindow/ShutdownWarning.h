#pragma once

#include "core/missions/Mission.h"

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTimer;

// The small notice ten seconds before a shutdown, restart or log-off: it
// tells what is about to happen, counts down and records the user's answer
// (`userChoice`: 0 none, 1 confirm, 2 postpone), which is read when it has
// closed. It decides nothing itself.
class ShutdownWarning : public QDialog
{
    Q_OBJECT

public:
    enum Choice { NoAnswer = 0, Confirm = 1, Postpone = 2 };

    explicit ShutdownWarning(QWidget *owner);

    int tickCount = 0;
    int userChoice = NoAnswer;

    // The power mission warned about, held by its id.
    void setMission(MissionId id) { m_missionId = id; }
    MissionId missionId() const { return m_missionId; }
    // The request of mission `id` has gone to the system: if it is this
    // warning's, nothing is left to answer and the warning closes.
    void noteRequestSent(MissionId id);

    // The warning text; its two lines are joined by character 13.
    void setMessage(const QString &message);
    QString message() const { return m_message; }
    // Bottom right of the screen, 30 pixels above its bottom edge.
    void placeAtScreenCorner();
    // Starts the countdown.
    void startCountdown();

    void countDown();
    void confirm();
    void postponeFiveMinutes();

protected:
    // Esc answers nothing: the warning is answered with the mouse only.
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    MissionId m_missionId = 0;
    QString m_message;
    QLabel *m_lbTishi;
    QLabel *m_lbShengyu;
    QTimer *m_timer1;
};
