#pragma once

#include <QDateTime>
#include <QObject>

class PowerLogDataSource;
class PowerLogQuery;

// The data module: the program's one power log query and the data source
// that views show it through. Created once at start, alive to the end.
class PowerLogStore : public QObject
{
    Q_OBJECT

public:
    explicit PowerLogStore(QObject *parent = nullptr);

    PowerLogQuery *query() const { return m_query; }
    PowerLogDataSource *dataSource() const { return m_dataSource; }

    // The record of a run that ends through a quit command. Whatever view
    // the query held is dropped first; the query is left closed on the
    // whole table. False, with the reason in `error`, when it could not be
    // written.
    bool recordRun(const QDateTime &start, const QDateTime &end, double energyKwh, QString *error);

private:
    PowerLogQuery *m_query;
    PowerLogDataSource *m_dataSource;
};
