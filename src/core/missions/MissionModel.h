#pragma once

#include "core/missions/Mission.h"
#include "core/missions/RepeatRule.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVector>

#include <optional>

// The mission list: the one store of missions while the program runs. Rows
// stay in the order in which they were appended. Each row keeps its texts
// parsed (kind, date, time), renewed whenever the texts or the regional
// format change, so the once-a-second tick and the painting parse nothing.
class MissionModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { KindColumn, DescriptionColumn, DateColumn, TimeColumn, RepeatColumn, ColumnCount };
    // RepeatRole: the rule of a repeating row in Chinese words, empty for
    // others.
    enum Role { ImageIndexRole = Qt::UserRole + 1, RepeatRole };

    // How a row is painted: past rows are tinted, rows whose date or time
    // does not parse are marked as faulty.
    enum class Tint { Normal, Past, Unparsed };

    explicit MissionModel(QObject *parent = nullptr);

    int count() const { return int(m_rows.size()); }
    const Mission &mission(int row) const { return m_rows[row].mission; }

    // Every row has an id of its own, never reused while the program runs,
    // so that a question, a warning or a script can hold the mission itself
    // while rows come and go around it. Ids count up from 1.
    MissionId id(int row) const { return m_rows[row].id; }
    // The row of the mission with `id` now, or -1 when it is gone.
    int rowOf(MissionId id) const;
    // The id the next appended row gets; a restored list sets it above every
    // id it holds.
    MissionId nextId() const { return m_nextId; }
    void setNextId(MissionId id) { m_nextId = id; }

    // Appends a row with a new id (or with `id`, when a stored list is
    // restored) and returns its id.
    MissionId append(const Mission &mission, MissionId id = 0);
    // Appends many rows in one step (the loaders), each with a new id, or
    // with the id at its index in `ids` (a stored list restored).
    void appendAll(const QVector<Mission> &missions, const QVector<MissionId> &ids = {});
    void overwrite(int row, const Mission &mission);
    void setDateTime(int row, const QString &dateText, const QString &timeText);
    void remove(int row);
    void clear();

    // The row's texts as parsed under the current regional format.
    std::optional<MissionKind> kind(int row) const;
    std::optional<QDate> date(int row) const;
    std::optional<QTime> time(int row) const;
    // The rule of a repeating row, if it has one that can be read.
    const std::optional<RepeatRule> &repeatRule(int row) const { return m_rows[row].repeat; }
    // The rule of a repeating row in Chinese words; empty for other rows.
    QString repeatDescription(int row) const;
    // A repeating row moves to the first occurrence of its series after the
    // second `after` (a wall-clock key). False, and the row unchanged, for a
    // row that does not repeat or whose series has ended.
    bool advanceRepeat(int row, qint64 after);

    // Date and time joined: the mission's moment.
    std::optional<QDateTime> moment(int row) const;

    // The moment as a wall-clock key (see wallClockKey), for the tick.
    std::optional<qint64> momentKey(int row) const;

    Tint tint(int row, const QDateTime &now) const { return tint(row, now.date(), now.time()); }
    // The same with the present read apart once, for a walk over many rows.
    Tint tint(int row, const QDate &today, const QTime &timeOfDay) const;

    // Whether the fault of a row whose texts cannot be read has been
    // reported; cleared whenever the row's texts change.
    bool faultReported(int row) const { return m_rows[row].faultReported; }
    void setFaultReported(int row) { m_rows[row].faultReported = true; }

    // What the tick has done with a row at its present moment, kept with
    // the row and forgotten when its texts change (a postpone gives it a new
    // moment). Settled: carried out, or reported as missed, so that no
    // later reading of the clock (set back, the repeated hour of autumn)
    // carries it out again.
    void setSettled(int row);
    // The moment (wall-clock key) the row was last carried out or reported
    // as missed, kept when its texts change; none when it never was.
    std::optional<qint64> lastRun(int row) const { return m_rows[row].lastRun; }
    // A restored row's last such moment: settled again when that is still
    // its moment, so a restart never carries it out a second time.
    void restoreLastRun(int row, qint64 moment);
    // Notes the second (wall-clock key) in which the warning about the
    // row's present moment opened, and the scheduler's count of warning
    // time shown (milliseconds) at that moment.
    void setWarnedAt(int row, qint64 second, qint64 shownMs);
    void forgetWarning(int row) { m_rows[row].warnedFor.reset(); }

    // All that the tick reads of a row, in one look.
    struct TickView
    {
        std::optional<MissionKind> kind;
        std::optional<qint64> moment;
        bool settled = false;
        std::optional<qint64> warnedAt;
        qint64 warnedShownMs = 0;
    };
    TickView tickView(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // The tick settled `row` (see setSettled): its lastRun has changed.
    void rowSettled(int row);
    // A repeating row moved on to its next occurrence (see advanceRepeat).
    void repeatAdvanced(int row);

private:
    struct Row
    {
        MissionId id = 0;
        Mission mission;
        std::optional<MissionKind> kind;
        std::optional<QDate> date;
        std::optional<QTime> time;
        std::optional<qint64> momentKey;
        std::optional<RepeatRule> repeat;
        int formatGeneration = -1;
        bool faultReported = false;
        // The moment that settledFor / warnedFor were noted for.
        std::optional<qint64> settledFor;
        std::optional<qint64> warnedFor;
        qint64 warnedAt = 0;
        qint64 warnedShownMs = 0;
        std::optional<qint64> lastRun;
    };

    static Row makeRow(const Mission &mission);
    static void parse(Row &row);
    const Row &parsedRow(int row) const;
    // Renews the parse; what was noted for the row is forgotten only when
    // its texts did change.
    void rowChanged(int row, bool textsChanged);

    // Mutable: a change of the regional format renews the parse on access.
    mutable QVector<Row> m_rows;
    MissionId m_nextId = 1;
};
