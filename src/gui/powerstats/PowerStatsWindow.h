#pragma once

#include <QDialog>

class Clock;
class QDateEdit;
class QLineEdit;
class QModelIndex;
class QPainter;
class QPushButton;
class QStyleOptionViewItem;
class QTableView;
class PowerLogStore;

// The power statistics window: lists the power log records, all of them or
// the runs lying wholly inside a range of dates, deletes them and sums their
// energy and its cost. Works on the data module's one query.
class PowerStatsWindow : public QDialog
{
    Q_OBJECT

public:
    // The ratings in watts are the ones in use, shown for reference.
    PowerStatsWindow(PowerLogStore *dm1, const Clock *clock, int crtWatts, int hostWatts, QWidget *parent = nullptr);

    void showDateRange();
    void showAll();
    void deleteSelectedRecord();
    void deleteAllRecords();
    void computeTotals();
    void closeWindow();

    // Draws one cell of the grid: every even record on light cyan.
    void drawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &cell) const;

protected:
    // Ctrl+Delete in the grid deletes the current record after a question.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFirstView();
    void buildRecordsBox();
    void buildTotalsBox();
    void buildButtons();
    // Lists the query's view afresh with the current record at `row`
    // (clamped to the records there are).
    void showView(int row);
    // Reads the view up to `row`, showing progress when that takes a while.
    void fetchTo(int row);
    void askDeleteRecord();

    PowerLogStore *m_dm1;
    const Clock *m_clock;
    int m_crtWatts;
    int m_hostWatts;

    QDateEdit *m_picker1 = nullptr;
    QDateEdit *m_picker2 = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_editHaodian = nullptr;
    QLineEdit *m_editDanweidianfei = nullptr;
    QLineEdit *m_editDianfei = nullptr;
};
