#pragma once

#include "core/missions/Mission.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <optional>

// The mission list kept on disk as it changes: an SQLite database in the
// per-user program folder (missions.db), in write-ahead-log mode with every
// change one transaction, so a kill or a power cut at any instant leaves the
// list as it stood before or after the change. Only one program uses it (one
// program per session).
class MissionStore
{
public:
    // A row as kept: its id, its texts, its position's order, and the moment
    // (wall-clock key) it was last carried out or reported as missed.
    struct Row
    {
        MissionId id = 0;
        Mission mission;
        std::optional<qint64> lastRun;
    };
    struct Contents
    {
        QVector<Row> rows; // in list order
        QString runState; // empty when no list was ever kept
        MissionId nextId = 1;
    };

    // The store file in the program folder `folder` (with its separator).
    static QString pathIn(const QString &folder);

    explicit MissionStore(const QString &path);
    ~MissionStore();
    MissionStore(const MissionStore &) = delete;
    MissionStore &operator=(const MissionStore &) = delete;

    // Opens (or creates) the file; false with a Chinese sentence in `error`.
    bool open(QString *error);
    bool isOpen() const { return m_open; }

    std::optional<Contents> read(QString *error) const;

    // Each change is one transaction; false (and nothing changed on disk)
    // when it could not be written.
    bool add(const Row &row, MissionId nextId, QString *error);
    bool remove(MissionId id, QString *error);
    bool update(MissionId id, const Mission &mission, QString *error);
    // The moments carried out or reported (wall-clock keys), by mission, in one transaction.
    bool setLastRuns(const QHash<MissionId, qint64> &moments, QString *error);
    bool replaceAll(const QVector<Row> &rows, MissionId nextId, const QString &runState, QString *error);
    bool setRunState(const QString &runState, QString *error);

    // A named setting kept with the list (not in config.ini, whose contents
    // stay as other programs know them).
    std::optional<QString> setting(const QString &key) const;
    bool setSetting(const QString &key, const QString &value, QString *error);

private:
    template <typename Change> bool inTransaction(Change change, QString *error);
    bool fail(const QString &what, QString *error) const;

    QString m_path;
    QString m_connectionName;
    bool m_open = false;
};
