#include "gui/widgets/ChineseCalendar.h"

#include <QCalendarWidget>
#include <QLocale>

void useChineseNames(QCalendarWidget *calendar)
{
    calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
}
