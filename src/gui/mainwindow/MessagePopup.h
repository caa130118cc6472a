#pragma once

#include <QWidget>

class QLabel;
class QTimer;
class QToolButton;

// The message popup: a picture of a girl holding a board with the message
// on it, in the bottom-right corner of the screen, counting down ten seconds
// before it hides itself. Created once, hidden, and reused for every message.
// Showing never blocks: a message that comes while it is up replaces the text
// and starts the countdown again.
class MessagePopup : public QWidget
{
    Q_OBJECT

public:
    explicit MessagePopup(QWidget *parent = nullptr);

    // Puts `text` on the board and shows the popup, or restarts the countdown
    // when it is already showing.
    void showMessage(const QString &text);

    int tickCount() const { return m_tickCount; }

    void countDown();
    void closeOnDoubleClick();

    // "稍后提醒": the minutes it offers, and its button.
    static QList<int> snoozeMinutes() { return {5, 10, 30}; }
    QToolButton *snoozeButton() const { return m_snooze; }

signals:
    // The user asked to be reminded of `text` again `minutes` from now; the
    // popup has closed.
    void snoozed(const QString &text, int minutes);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startCountdown();
    void buildSnoozeButton();

    QLabel *m_image1;
    QLabel *m_label1;
    QLabel *m_label2;
    QLabel *m_lbNum;
    QTimer *m_timer1;
    QToolButton *m_snooze = nullptr;
    int m_tickCount = 0;
};
