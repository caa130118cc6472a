#include "gui/widgets/ChineseCalendar.h"

#include <QCalendarWidget>
#include <QLocale>
#include <QTableView>

void useChineseNames(QCalendarWidget *calendar)
{
    calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    calendar->setAccessibleName(QStringLiteral("日历"));
    if (auto *days = calendar->findChild<QTableView *>(QStringLiteral("qt_calendar_calendarview")))
        days->setAccessibleName(QStringLiteral("日期"));
}
