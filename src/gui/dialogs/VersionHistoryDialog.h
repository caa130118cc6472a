#pragma once

#include <QDialog>

// The version history: the program's release notes, newest first, read-only.
class VersionHistoryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit VersionHistoryDialog(QWidget *parent = nullptr);

    // One entry per version: "*版本 N", usually "*发布日期: …", then one
    // "*" line per change; a long change goes on over a second line
    // without an asterisk.
    static QString releaseNotes();
};
