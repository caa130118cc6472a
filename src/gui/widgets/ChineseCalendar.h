#pragma once

class QCalendarWidget;

// The interface is Chinese, so the calendar's month and day names are too,
// whatever the system's language; the date texts of the fields keep the
// user's own pattern. Screen readers hear the calendar and its grid of days
// by a Chinese name as well.
void useChineseNames(QCalendarWidget *calendar);
