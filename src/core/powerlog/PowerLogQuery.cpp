#include "core/powerlog/PowerLogQuery.h"
#include "core/text/FileErrorText.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString storedFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
const QString energyColumn = QStringLiteral("耗电");
// Views are texts of this form; what follows it picks the records.
const QString viewHead = QStringLiteral("select * from hd");
// The columns the program writes and reads; a table may have more.
const QStringList requiredColumns = {QStringLiteral("开始时间"), QStringLiteral("结束时间"), energyColumn};

// The moment of a stored text, read by position: views ask for every cell
// they draw or measure, and the general date parser is slow for that.
QDateTime storedMoment(const QString &text)
{
    if (text.size() != storedFormat.size())
        return QDateTime::fromString(text, storedFormat);
    const auto number = [&](int from, int digits) {
        int value = 0;
        for (int i = from; i < from + digits; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    for (int i = 0; i < storedFormat.size(); ++i) {
        if (!storedFormat.at(i).isLetter() && text.at(i) != storedFormat.at(i))
            return {};
    }
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2), number(20, 3));
    return date.isValid() && time.isValid() ? QDateTime(date, time) : QDateTime();
}

} // namespace

PowerLogQuery::PowerLogQuery(QObject *parent)
    : QSqlQueryModel(parent)
    , m_connectionName(QStringLiteral("powerlog-%1").arg(quintptr(this)))
{
    setObjectName(QStringLiteral("ADOQuery1"));
}

PowerLogQuery::~PowerLogQuery()
{
    close();
    if (QSqlDatabase::contains(m_connectionName))
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
    // The database driver is loaded when the log is first used, not at start.
    if (!QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
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
    const QSqlRecord columns = db.record(QStringLiteral("hd"));
    for (const QString &column : requiredColumns) {
        if (columns.indexOf(column) < 0) {
            db.close();
            m_error = QStringLiteral("耗电记录文件 %1 的表 hd 缺少列“%2”,无法使用。")
                          .arg(QDir::toNativeSeparators(m_file), column);
            return false;
        }
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
    if (!prepareWithParameters(&query, m_sql) || !query.exec())
        return fail(QStringLiteral("无法读取"), query.lastError());
    // Only the first rows are read now; views fetch more as they scroll to
    // them, so a log of a hundred thousand runs opens at once.
    setQuery(std::move(query));
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

bool PowerLogQuery::prepareWithParameters(QSqlQuery *query, const QString &sql) const
{
    if (!query->prepare(sql))
        return false;
    for (auto it = m_parameters.cbegin(); it != m_parameters.cend(); ++it) {
        const QString name = QLatin1Char(':') + it.key();
        if (sql.contains(name))
            query->bindValue(name, it.value());
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
    if (!insert.prepare(QStringLiteral("INSERT INTO hd (开始时间, 结束时间, 耗电) VALUES (:start, :end, :energy)")))
        return fail(QStringLiteral("无法写入"), insert.lastError());
    insert.bindValue(QStringLiteral(":start"), storedText(start));
    insert.bindValue(QStringLiteral(":end"), storedText(end));
    insert.bindValue(QStringLiteral(":energy"), energyKwh);
    if (!insert.exec())
        return fail(QStringLiteral("无法写入"), insert.lastError());
    return true;
}

bool PowerLogQuery::fetchTo(int row)
{
    while (rowCount() <= row && canFetchMore())
        fetchMore();
    return rowCount() > row;
}

int PowerLogQuery::viewSize()
{
    QSqlQuery count(QSqlDatabase::database(m_connectionName, false));
    if (!m_open || !prepareWithParameters(&count, QStringLiteral("select count(*) from (%1)").arg(m_sql))
        || !count.exec() || !count.next())
        return rowCount();
    return count.value(0).toInt();
}

QVariant PowerLogQuery::largestInView(const QString &column)
{
    QSqlQuery largest(QSqlDatabase::database(m_connectionName, false));
    if (!m_open || record().indexOf(column) < 0
        || !prepareWithParameters(&largest, QStringLiteral("select max(\"%1\") from (%2)").arg(column, m_sql))
        || !largest.exec() || !largest.next())
        return {};
    return largest.value(0);
}

std::optional<QString> PowerLogQuery::viewFilter()
{
    if (!m_sql.startsWith(viewHead, Qt::CaseInsensitive)) {
        m_error = QStringLiteral("耗电记录的这一查看方式(%1)不能用于删除记录。").arg(m_sql);
        return std::nullopt;
    }
    return m_sql.mid(viewHead.size());
}

bool PowerLogQuery::deleteRecord(int row)
{
    if (!m_open)
        return failClosed();
    if (!fetchTo(qMax(row, 0))) {
        m_error = objectName() + QStringLiteral(": Cannot perform this operation on an empty dataset");
        return false;
    }
    const std::optional<QString> filter = viewFilter();
    if (!filter)
        return false;
    // The values as the store gave them, not as data() shows them.
    QVariantList listed;
    for (int column = 0; column < columnCount(); ++column)
        listed.append(QSqlQueryModel::data(index(row, column), Qt::EditRole));
    // The listed statement is finished before the table changes under it.
    clear();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.transaction();
    // The table's own row number tells the record apart: the view's row is
    // found again by its place in the same selection, and checked.
    QSqlQuery key(db);
    if (!prepareWithParameters(&key,
                               QStringLiteral("select rowid, * from hd%1 limit 1 offset %2").arg(*filter).arg(row))
        || !key.exec())
        return abandonDelete(key.lastError());
    if (!key.next() || !sameRecord(key.record(), listed)) {
        db.rollback();
        runQuery();
        m_error = QStringLiteral("耗电记录文件 %1 已被其他程序改变,请重新查看后再删除。")
                      .arg(QDir::toNativeSeparators(m_file));
        return false;
    }
    QSqlQuery remove(db);
    remove.prepare(QStringLiteral("delete from hd where rowid = ?"));
    remove.addBindValue(key.value(0));
    key.finish();
    if (!remove.exec())
        return abandonDelete(remove.lastError());
    return commitDelete();
}

bool PowerLogQuery::deleteAll()
{
    if (!m_open)
        return failClosed();
    if (rowCount() == 0)
        return true;
    const std::optional<QString> filter = viewFilter();
    if (!filter)
        return false;
    clear();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.transaction();
    // The same selection as the view's, so every listed record goes, in one statement.
    QSqlQuery remove(db);
    if (!prepareWithParameters(&remove, QStringLiteral("delete from hd") + *filter) || !remove.exec())
        return abandonDelete(remove.lastError());
    return commitDelete();
}

bool PowerLogQuery::sameRecord(const QSqlRecord &keyed, const QVariantList &listed)
{
    if (keyed.count() != listed.size() + 1)
        return false;
    for (int column = 0; column < listed.size(); ++column) {
        if (keyed.value(column + 1) != listed.at(column))
            return false;
    }
    return true;
}

bool PowerLogQuery::abandonDelete(const QSqlError &error)
{
    QSqlDatabase::database(m_connectionName, false).rollback();
    runQuery();
    return fail(QStringLiteral("中的记录无法删除"), error);
}

bool PowerLogQuery::commitDelete()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.commit())
        return abandonDelete(db.lastError());
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
    // Summed by the store over the whole view, also the rows no view has fetched yet.
    QSqlQuery total(QSqlDatabase::database(m_connectionName, false));
    if (!prepareWithParameters(&total, QStringLiteral("select total(%1) from (%2)").arg(energyColumn, m_sql))
        || !total.exec() || !total.next())
        return fail(QStringLiteral("无法读取"), total.lastError());
    *sum = total.value(0).toDouble();
    return true;
}

QVariant PowerLogQuery::data(const QModelIndex &item, int role) const
{
    const QVariant value = QSqlQueryModel::data(item, role);
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && m_dateTimeColumns.contains(item.column())
        && !value.isNull()) {
        const QDateTime moment = storedMoment(value.toString());
        if (moment.isValid())
            return moment;
    }
    return value;
}
