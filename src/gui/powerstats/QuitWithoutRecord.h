#pragma once

#include <functional>

class QString;
class QWidget;

// After the record of a run could not be written: reports the error, then
// asks whether to quit all the same. Yes calls `endRun`; No leaves the
// program running as it was. Asked again while the report or the question
// is still open, it brings that one forward and adds nothing. Nothing here
// waits in a nested event loop.
void askQuitWithoutRecord(QWidget *parent, const QString &error, const std::function<void()> &endRun);
