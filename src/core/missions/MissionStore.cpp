#include "core/missions/MissionStore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const QString runStateKey = QStringLiteral("runState");
const QString nextIdKey = QStringLiteral("nextId");

QVariant lastRunValue(const std::optional<qint64> &lastRun)
{
    return lastRun ? QVariant(*lastRun) : QVariant(QMetaType(QMetaType::LongLong));
}

// A repeating row's rule and the first occurrence of its series; null for
// a row carried out once.
QVariant repeatRuleValue(const Mission &mission)
{
    return mission.repeats() ? QVariant(mission.repeatRule) : QVariant(QMetaType(QMetaType::QString));
}

QVariant repeatStartValue(const Mission &mission)
{
    return mission.repeats() ? QVariant(mission.repeatStart.toString(Qt::ISODate))
                             : QVariant(QMetaType(QMetaType::QString));
}

// Prepared once for any number of rows: at start a whole list is written.
bool prepareInsert(QSqlQuery &query)
{
    return query.prepare(QStringLiteral("INSERT INTO missions (id, position, kind, description, date, time, lastRun, "
                                        "repeat, repeatStart) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
}

bool insertRow(QSqlQuery &query, const MissionStore::Row &row, qint64 position)
{
    query.bindValue(0, qint64(row.id));
    query.bindValue(1, position);
    query.bindValue(2, row.mission.kindText);
    query.bindValue(3, row.mission.description);
    query.bindValue(4, row.mission.dateText);
    query.bindValue(5, row.mission.timeText);
    query.bindValue(6, lastRunValue(row.lastRun));
    query.bindValue(7, repeatRuleValue(row.mission));
    query.bindValue(8, repeatStartValue(row.mission));
    return query.exec();
}

bool putState(QSqlQuery &query, const QString &key, const QString &value)
{
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO state (key, value) VALUES (?, ?)"));
    query.addBindValue(key);
    query.addBindValue(value);
    return query.exec();
}

} // namespace

QString MissionStore::pathIn(const QString &folder)
{
    return folder + QStringLiteral("missions.db");
}

MissionStore::MissionStore(const QString &path)
    : m_path(path)
    , m_connectionName(QStringLiteral("missionstore-%1").arg(quintptr(this)))
{
}

MissionStore::~MissionStore()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool MissionStore::fail(const QString &what, QString *error) const
{
    const QString reason = QSqlDatabase::database(m_connectionName, false).lastError().text();
    if (error)
        *error = QStringLiteral("任务列表无法保存到文件\"%1\"(%2):%3。").arg(m_path, what, reason);
    return false;
}

bool MissionStore::open(QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    if (!db.open())
        return fail(QStringLiteral("无法打开"), error);
    QSqlQuery query(db);
    // WAL: a change is written to the log and committed whole; FULL: the
    // commit is on the disk before the call returns, power cut included.
    const char *setup[] = {
        "PRAGMA journal_mode=WAL",
        "PRAGMA synchronous=FULL",
        "CREATE TABLE IF NOT EXISTS missions (id INTEGER PRIMARY KEY, position INTEGER NOT NULL, "
        "kind TEXT NOT NULL, description TEXT NOT NULL, date TEXT NOT NULL, time TEXT NOT NULL, "
        "lastRun INTEGER, repeat TEXT, repeatStart TEXT)",
        "CREATE INDEX IF NOT EXISTS missionOrder ON missions (position)",
        "CREATE TABLE IF NOT EXISTS state (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    };
    for (const char *statement : setup) {
        if (!query.exec(QString::fromLatin1(statement)))
            return fail(QStringLiteral("无法建立数据表"), error);
    }
    m_open = true;
    return true;
}

std::optional<MissionStore::Contents> MissionStore::read(QString *error) const
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    Contents contents;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id, kind, description, date, time, lastRun, repeat, repeatStart FROM missions "
                                   "ORDER BY position"))) {
        fail(QStringLiteral("无法读取"), error);
        return std::nullopt;
    }
    while (query.next()) {
        Row row;
        row.id = MissionId(query.value(0).toLongLong());
        row.mission.kindText = query.value(1).toString();
        row.mission.description = query.value(2).toString();
        row.mission.dateText = query.value(3).toString();
        row.mission.timeText = query.value(4).toString();
        row.mission.imageIndex = kindImageIndex(row.mission.kindText);
        if (!query.value(5).isNull())
            row.lastRun = query.value(5).toLongLong();
        if (!query.value(6).isNull()) {
            row.mission.repeatRule = query.value(6).toString();
            row.mission.repeatStart = QDateTime::fromString(query.value(7).toString(), Qt::ISODate);
        }
        contents.rows.append(row);
    }
    contents.runState = setting(runStateKey).value_or(QString());
    contents.nextId = MissionId(setting(nextIdKey).value_or(QStringLiteral("1")).toULongLong());
    for (const Row &row : std::as_const(contents.rows))
        contents.nextId = std::max(contents.nextId, row.id + 1);
    return contents;
}

template <typename Change> bool MissionStore::inTransaction(Change change, QString *error)
{
    if (!m_open) {
        if (error)
            *error = QStringLiteral("任务列表文件\"%1\"没有打开,改动没有保存。").arg(m_path);
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.transaction())
        return fail(QStringLiteral("无法开始写入"), error);
    QSqlQuery query(db);
    if (!change(query)) {
        fail(QStringLiteral("写入失败"), error);
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        fail(QStringLiteral("写入失败"), error);
        db.rollback();
        return false;
    }
    return true;
}

bool MissionStore::add(const Row &row, MissionId nextId, QString *error)
{
    return inTransaction(
        [&](QSqlQuery &query) {
            if (!query.exec(QStringLiteral("SELECT COALESCE(MAX(position), -1) + 1 FROM missions")) || !query.next())
                return false;
            const qint64 position = query.value(0).toLongLong();
            return prepareInsert(query) && insertRow(query, row, position)
                   && putState(query, nextIdKey, QString::number(nextId));
        },
        error);
}

bool MissionStore::remove(MissionId id, QString *error)
{
    return inTransaction(
        [&](QSqlQuery &query) {
            query.prepare(QStringLiteral("DELETE FROM missions WHERE id = ?"));
            query.addBindValue(qint64(id));
            return query.exec();
        },
        error);
}

bool MissionStore::update(MissionId id, const Mission &mission, QString *error)
{
    return inTransaction(
        [&](QSqlQuery &query) {
            query.prepare(QStringLiteral("UPDATE missions SET kind = ?, description = ?, date = ?, time = ?, "
                                         "repeat = ?, repeatStart = ? WHERE id = ?"));
            query.addBindValue(mission.kindText);
            query.addBindValue(mission.description);
            query.addBindValue(mission.dateText);
            query.addBindValue(mission.timeText);
            query.addBindValue(repeatRuleValue(mission));
            query.addBindValue(repeatStartValue(mission));
            query.addBindValue(qint64(id));
            return query.exec();
        },
        error);
}

bool MissionStore::setLastRuns(const QHash<MissionId, qint64> &moments, QString *error)
{
    return inTransaction(
        [&](QSqlQuery &query) {
            if (!query.prepare(QStringLiteral("UPDATE missions SET lastRun = ? WHERE id = ?")))
                return false;
            for (auto it = moments.cbegin(); it != moments.cend(); ++it) {
                query.bindValue(0, it.value());
                query.bindValue(1, qint64(it.key()));
                if (!query.exec())
                    return false;
            }
            return true;
        },
        error);
}

bool MissionStore::replaceAll(const QVector<Row> &rows, MissionId nextId, const QString &runState, QString *error)
{
    return inTransaction(
        [&](QSqlQuery &query) {
            if (!query.exec(QStringLiteral("DELETE FROM missions")) || !prepareInsert(query))
                return false;
            for (int i = 0; i < rows.size(); ++i) {
                if (!insertRow(query, rows[i], i))
                    return false;
            }
            return putState(query, nextIdKey, QString::number(nextId)) && putState(query, runStateKey, runState);
        },
        error);
}

bool MissionStore::setRunState(const QString &runState, QString *error)
{
    return inTransaction([&](QSqlQuery &query) { return putState(query, runStateKey, runState); }, error);
}

std::optional<QString> MissionStore::setting(const QString &key) const
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("SELECT value FROM state WHERE key = ?"));
    query.addBindValue(key);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return query.value(0).toString();
}

bool MissionStore::setSetting(const QString &key, const QString &value, QString *error)
{
    return inTransaction([&](QSqlQuery &query) { return putState(query, key, value); }, error);
}
