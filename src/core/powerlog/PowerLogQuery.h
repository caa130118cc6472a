#pragma once

#include <QDateTime>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QVector>

#include <optional>

class QSqlError;
class QSqlQuery;
class QSqlRecord;

// The one query on the power log: table hd of the SQLite file db.mdb, one
// record per finished run (开始时间, 结束时间, 耗电, and any further column
// the table has, such as a key). It
// holds a SQL text with named parameters and the file it connects to when
// opened; open, it lists every record of its result set. The file and the
// table are created when missing. Date-times are stored as text with
// milliseconds ("yyyy-MM-dd HH:mm:ss.zzz"), so that comparing texts compares
// moments; they come out of the query as QDateTime.
class PowerLogQuery : public QSqlQueryModel
{
    Q_OBJECT

public:
    explicit PowerLogQuery(QObject *parent = nullptr);
    ~PowerLogQuery() override;

    static QString storedText(const QDateTime &moment);

    // Kept for the next open; setting the file it already has changes
    // nothing, also while the query is open.
    void setDatabaseFile(const QString &path);
    QString databaseFile() const { return m_file; }

    // Replaces the SQL text and drops the parameters of the old one.
    void setSql(const QString &sql);
    QString sql() const { return m_sql; }
    // Bound as the stored text of the moment.
    void setParameter(const QString &name, const QDateTime &value);

    // Every operation that can fail returns false and leaves its reason,
    // a complete sentence, in errorText().
    bool open();
    void close();
    bool isOpen() const { return m_open; }
    QString errorText() const { return m_error; }

    // Writes one record to the table; the query's view is not touched.
    bool appendRecord(const QDateTime &start, const QDateTime &end, double energyKwh);
    // Removes the record of `row` of the view, or every record of the view,
    // from the table at once, and lists the view again. Records are told
    // apart by SQLite's rowid, so the table needs no key column.
    bool deleteRecord(int row);
    bool deleteAll();
    // The sum of 耗电 over the whole view; an empty value counts as 0.
    bool energySum(double *sum);

    // The view is read in batches as views scroll; these read it up to
    // `row` (true when the view has that row) and count all its records.
    bool fetchTo(int row);
    int viewSize();
    // The largest value of `column` over the whole view, read or not; null
    // when the view is empty or has no such column.
    QVariant largestInView(const QString &column);

    QVariant data(const QModelIndex &item, int role = Qt::DisplayRole) const override;

private:
    bool connectStore();
    bool fail(const QString &what, const QSqlError &error);
    bool failClosed();
    bool runQuery();
    bool prepareWithParameters(QSqlQuery *query, const QString &sql) const;
    // What follows "select * from hd" in the view's SQL text.
    std::optional<QString> viewFilter();
    static bool sameRecord(const QSqlRecord &keyed, const QVariantList &listed);
    bool abandonDelete(const QSqlError &error);
    bool commitDelete();

    QString m_connectionName;
    QString m_file;
    QString m_sql;
    QMap<QString, QString> m_parameters;
    bool m_open = false;
    QString m_error;
    QVector<int> m_dateTimeColumns;
};
