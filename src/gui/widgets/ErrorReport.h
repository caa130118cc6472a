#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// The program's name as message boxes and the task bar show it.
QString applicationTitle();

// The text of an error report: the error's own text, with a full stop added
// when it does not end in one.
QString errorReportText(const QString &error);

// Reports an error that ended a command: a message box with the program's
// name as caption, an error icon and OK. It does not wait for the answer,
// so the once-a-second timers go on while it shows; the box is returned for
// those who go on when it is closed.
QMessageBox *showErrorReport(QWidget *parent, const QString &error);
