#pragma once

#include <QDateTime>
#include <QToolButton>

class Clock;

// The editor's quick times beside its date and time: a button whose menu
// offers "5 分钟后", "30 分钟后", "1 小时后" and "明天 8:00"; picking one
// tells the moment it stands for.
class QuickTimeButton : public QToolButton
{
    Q_OBJECT

public:
    QuickTimeButton(const Clock *clock, QWidget *parent = nullptr);

signals:
    void momentChosen(const QDateTime &moment);
};
