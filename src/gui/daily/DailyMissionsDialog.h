#pragma once

#include "core/files/MissionLines.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

// The maintenance dialog of the daily missions: lists everyday.mis, lets the
// user remove rows and rename a row's kind in place, and writes the list back
// when it closes with a change. Lines of the file its reading did not reach
// are kept after the listed ones.
class DailyMissionsDialog : public QDialog
{
    Q_OBJECT

public:
    // `folder` is the program folder with its trailing separator; rows are
    // dated `todayText`.
    DailyMissionsDialog(const QString &folder, const QString &todayText, QWidget *parent = nullptr);

    void loadList(const QString &path);
    void saveList(const QString &path);

    void deleteSelectedRow();
    void closeDialog();

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadFile();
    QVector<Mission> listedMissions() const;
    void commitOpenEdit();
    void saveIfChanged();

    QString m_folder;
    QString m_todayText;
    QTableWidget *m_listView;
    QPushButton *m_btnDel;
    QPushButton *m_btnClose;
    // What the file read as: the listed missions as they came, the lines
    // after where the reading stopped and the file's encoding.
    MissionLines::Reading m_read;
    // A file that could not be read is never rewritten from an empty list.
    bool m_readable = true;
};
