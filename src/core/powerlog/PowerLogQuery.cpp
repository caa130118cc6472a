#include "PowerLogQuery.h"
#include "FileErrorText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString storedFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
const QString keyColumn = QStringLiteral("id");
const QString energyColumn = QStringLiteral("耗电");

} // namespace

PowerLogQuery::PowerLogQuery(QObject *parent)
    : QSqlQueryModel(parent)
    , m_connectionName(QStringLiteral("powerlog-%1").arg(quintptr(this)))
{
    setObjectName(QStringLiteral("ADOQuery1"));
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
}

PowerLogQuery::~PowerLogQuery()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString PowerLogQuery::storedText(const QDateTime &moment)
{
    return moment.toString(storedFormat);
}

void PowerLogQuery::setDatabaseFile(const QString &path)
{
    if (path == m_file)
        return;
    close();
    m_file = path;
}

void PowerLogQuery::setSql(const QString &sql)
{
    m_sql = sql;
    m_parameters.clear();
}

void PowerLogQuery::setParameter(const QString &name, const QDateTime &value)
{
    m_parameters.insert(name, storedText(value));
}

bool PowerLogQuery::connectStore()
{
    m_error.clear();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen()) {
        if (m_file.isEmpty()) {
            m_error = QStringLiteral("没有设定耗电记录的数据库文件。");
            return false;
        }
        db.setDatabaseName(m_file);
        // Another program holding the file locked gets a moment, not more.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
        if (!db.open())
            return fail(QStringLiteral("无法打开"), db.lastError());
    }
    QSqlQuery create(db);
    if (!create.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS hd (id INTEGER PRIMARY KEY, 开始时间 DATETIME, "
                                    "结束时间 DATETIME, 耗电 DOUBLE)"))) {
        const QSqlError error = create.lastError();
        db.close();
        return fail(QStringLiteral("无法读取"), error);
    }
    return true;
}

bool PowerLogQuery::fail(const QString &what, const QSqlError &error)
{
    const QString reason = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    m_error = databaseErrorText(what, m_file, reason);
    return false;
}

bool PowerLogQuery::failClosed()
{
    m_error = objectName() + QStringLiteral(": Cannot perform this operation on a closed dataset");
    return false;
}

bool PowerLogQuery::open()
{
    close();
    if (!connectStore())
        return false;
    if (!runQuery()) {
        close();
        return false;
    }
    m_open = true;
    return true;
}

bool PowerLogQuery::runQuery()
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(m_sql))
        return fail(QStringLiteral("无法读取"), query.lastError());
    for (auto it = m_parameters.cbegin(); it != m_parameters.cend(); ++it)
        query.bindValue(QLatin1Char(':') + it.key(), it.value());
    if (!query.exec())
        return fail(QStringLiteral("无法读取"), query.lastError());
    setQuery(std::move(query));
    // The view is small (one record per run) and is summed and deleted as a
    // whole, so it is read completely at once.
    while (canFetchMore())
        fetchMore();
    if (lastError().isValid())
        return fail(QStringLiteral("无法读取"), lastError());
    m_dateTimeColumns.clear();
    const QSqlRecord columns = record();
    for (const QString &name : {QStringLiteral("开始时间"), QStringLiteral("结束时间")}) {
        if (columns.indexOf(name) >= 0)
            m_dateTimeColumns.append(columns.indexOf(name));
    }
    return true;
}

void PowerLogQuery::close()
{
    m_open = false;
    clear();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.close();
}

bool PowerLogQuery::appendRecord(const QDateTime &start, const QDateTime &end, double energyKwh)
{
    if (!connectStore())
        return false;
    QSqlQuery insert(QSqlDatabase::database(m_connectionName, false));
    insert.prepare(QStringLiteral("INSERT INTO hd (开始时间, 结束时间, 耗电) VALUES (:start, :end, :energy)"));
    insert.bindValue(QStringLiteral(":start"), storedText(start));
    insert.bindValue(QStringLiteral(":end"), storedText(end));
    insert.bindValue(QStringLiteral(":energy"), energyKwh);
    if (!insert.exec())
        return fail(QStringLiteral("无法写入"), insert.lastError());
    return true;
}

bool PowerLogQuery::deleteRecord(int row)
{
    if (!m_open)
        return failClosed();
    if (rowCount() == 0) {
        m_error = objectName() + QStringLiteral(": Cannot perform this operation on an empty dataset");
        return false;
    }
    return deleteIds({record(row).value(keyColumn).toLongLong()});
}

bool PowerLogQuery::deleteAll()
{
    if (!m_open)
        return failClosed();
    if (rowCount() == 0)
        return true;
    QVector<qint64> ids;
    ids.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        ids.append(record(row).value(keyColumn).toLongLong());
    return deleteIds(ids);
}

bool PowerLogQuery::deleteIds(const QVector<qint64> &ids)
{
    if (record().indexOf(keyColumn) < 0) {
        m_error = databaseErrorText(QStringLiteral("的表中没有区分记录的列“%1”，无法删除记录").arg(keyColumn), m_file,
                                    QStringLiteral("no column %1").arg(keyColumn));
        return false;
    }
    // The listed statement is finished before the table changes under it.
    clear();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.transaction();
    QSqlQuery remove(db);
    remove.prepare(QStringLiteral("DELETE FROM hd WHERE id = :id"));
    for (qint64 id : ids) {
        remove.bindValue(QStringLiteral(":id"), id);
        if (!remove.exec()) {
            const QSqlError error = remove.lastError();
            db.rollback();
            runQuery();
            return fail(QStringLiteral("中的记录无法删除"), error);
        }
    }
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        runQuery();
        return fail(QStringLiteral("中的记录无法删除"), error);
    }
    if (!runQuery()) {
        close();
        return false;
    }
    return true;
}

bool PowerLogQuery::energySum(double *sum)
{
    if (!m_open)
        return failClosed();
    const int column = record().indexOf(energyColumn);
    double total = 0;
    for (int row = 0; row < rowCount(); ++row)
        total += QSqlQueryModel::data(index(row, column)).toDouble();
    *sum = total;
    return true;
}

QVariant PowerLogQuery::data(const QModelIndex &item, int role) const
{
    const QVariant value = QSqlQueryModel::data(item, role);
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && m_dateTimeColumns.contains(item.column())
        && !value.isNull()) {
        const QDateTime moment = QDateTime::fromString(value.toString(), storedFormat);
        if (moment.isValid())
            return moment;
    }
    return value;
}
