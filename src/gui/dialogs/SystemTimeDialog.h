#pragma once

#include "platform/PlatformServices.h"

#include <QDialog>

class QCalendarWidget;
class QDateEdit;
class QLabel;
class QPushButton;
class QTimeEdit;
class SecondTimer;

// Shows the computer's clock live and sets it to a chosen local date and
// time. The pickers hold the moment of opening and do not follow the clock.
class SystemTimeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SystemTimeDialog(const PlatformServices &platform, QWidget *parent = nullptr);

    void showClock();
    void setSystemTime();
    void closeDialog();

private:
    void showCurrentTime();
    void showAnswer(bool ok, const QString &reason);

    PlatformServices m_platform;
    QLabel *m_clockText;
    QCalendarWidget *m_calendar;
    QDateEdit *m_date;
    QTimeEdit *m_time;
    QPushButton *m_setTime;
    SecondTimer *m_timer;
};
