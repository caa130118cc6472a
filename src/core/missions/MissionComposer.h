#pragma once

#include "core/missions/Mission.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

// How the mission editor turns what the user entered into a mission row.
// Kept free of widgets so that every rule can be checked on its own.

// The editor's pages, in the order of its navigation bar.
enum EditorPage { PowerPage, ProgramPage, FilePage, MessagePage, RingPage, WebPage, MailPage, EditorPageCount };

// The three entries of the power page, in list order.
QStringList powerEntries();

// The row that `page` composes from the text of its one input (on the power
// page: the selected entry). File-name pages store the file-name value of
// the text, the other pages their text on one line (see messageDescription).
Mission composeMission(int page, const QString &input, const QDate &date, const QTime &time);

// Makes `mission` repeat by `rule` (an RRULE; empty: carried out once) from
// its date and time: the series starts at the first moment from there that
// the rule allows, and the row shows the first occurrence after `now`.
// False, the mission unchanged and `error` saying why, for a rule that
// cannot be read or that allows no moment from there.
bool applyRepeatRule(Mission &mission, const QString &rule, const QDateTime &now, QString *error);

// The quick times beside the editor's date and time.
enum class QuickTime { InFiveMinutes, InThirtyMinutes, InOneHour, TomorrowAtEight };
// The moment a quick time stands for, to the second.
QDateTime quickMoment(QuickTime quickTime, const QDateTime &now);

// The message mission that "稍后提醒" adds: `text` again, `minutes` after
// `now`, carried out once.
Mission snoozedMessage(const QString &text, const QDateTime &now, int minutes);

// The page on which a row of that kind text is edited; unknown texts give
// the power page.
int pageForKindText(const QString &kindText);

// The time the editor proposes at a showing: one hour after `now`, to the
// second, wrapping past midnight to the early hours without a date change.
QTime proposedTime(const QTime &now);

// What a file-name field yields: its text unchanged when a file of exactly
// that name exists; otherwise the first word of the text read as a command
// line (blanks inside double quotes kept, the quotes dropped); empty for a
// blank text.
QString fileNameValue(const QString &text);

// The text a picked file puts into a file-name field: quoted when the path
// holds a blank, so that the field's value gives the whole path back.
QString pickedPathText(const QString &path);

// A message as one line: each line break, whatever its form, and each tab
// becomes one blank, because a mission file keeps one mission per line and
// a listed row is four tab-separated fields.
QString messageDescription(const QString &memoText);

// The file-type filters of the browse dialogs, in Qt's notation.
QStringList programFilters();
QStringList fileFilters();
QStringList ringFilters();
// The program filter that stands for executables of any name: the browse
// dialog lists with it only the files that may be run, and the folders.
QString executablesFilter();
