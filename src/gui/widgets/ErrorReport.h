#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Failures are passed back the same way everywhere: the call returns bool
// (or std::optional of its result) and, when it fails, writes a complete
// Chinese sentence naming the file or value at fault to its `QString *error`
// argument. That sentence reaches the user through showErrorReport().

// The program's name as message boxes and the task bar show it.
QString applicationTitle();

// The text of an error report: the error's own text, with a full stop added
// when it does not end in one.
QString errorReportText(const QString &error);

// Reports an error that ended a command: a message box with the program's
// name as caption, an error icon and OK, centred over the window that asked
// (`parent`), its text shown as typed (plain text, never markup). It does
// not wait for the answer, so the once-a-second timers go on while it
// shows; the box is returned for those who go on when it is closed.
QMessageBox *showErrorReport(QWidget *parent, const QString &error);

// A message box with OK that the program shows and forgets: its text shown
// as typed (plain text, never markup), deleted when closed, found by
// `objectName`. The caller shows it, waiting for nothing.
QMessageBox *makeNotice(QMessageBox::Icon icon, const QString &objectName, const QString &title, const QString &text,
                        QWidget *parent);

// Shows `box` centred over the window of `asker`, or over the screen
// `asker` is on when that window is hidden (in the notification area), and
// whole on that screen's work area either way.
void showOverAsker(QMessageBox *box, const QWidget *asker);
