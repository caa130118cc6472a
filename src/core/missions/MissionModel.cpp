#include "core/missions/MissionModel.h"

#include "core/text/RegionalFormat.h"

MissionModel::MissionModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

MissionModel::Row MissionModel::makeRow(const Mission &mission)
{
    Row row;
    row.mission = mission;
    parse(row);
    return row;
}

void MissionModel::parse(Row &row)
{
    row.kind = kindFromText(row.mission.kindText);
    row.date = StrToDate(row.mission.dateText);
    row.time = StrToTime(row.mission.timeText);
    row.momentKey = row.date && row.time ? std::optional<qint64>(wallClockKey(*row.date, *row.time)) : std::nullopt;
    if (!row.repeat || row.repeat->text() != row.mission.repeatRule)
        row.repeat = row.mission.repeats() ? RepeatRule::parse(row.mission.repeatRule, nullptr) : std::nullopt;
    row.formatGeneration = RegionalFormat::generation();
}

const MissionModel::Row &MissionModel::parsedRow(int row) const
{
    Row &entry = m_rows[row];
    if (entry.formatGeneration != RegionalFormat::generation())
        parse(entry);
    return entry;
}

void MissionModel::rowChanged(int row, bool textsChanged)
{
    Row &entry = m_rows[row];
    if (textsChanged) {
        entry.faultReported = false;
        entry.settledFor.reset();
        entry.warnedFor.reset();
    }
    parse(entry);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int MissionModel::rowOf(MissionId id) const
{
    for (int row = 0; row < count(); ++row) {
        if (m_rows[row].id == id)
            return row;
    }
    return -1;
}

MissionId MissionModel::append(const Mission &mission, MissionId id)
{
    if (id == 0)
        id = m_nextId;
    m_nextId = std::max(m_nextId, id + 1);
    beginInsertRows({}, count(), count());
    m_rows.append(makeRow(mission));
    m_rows.last().id = id;
    endInsertRows();
    return id;
}

void MissionModel::appendAll(const QVector<Mission> &missions, const QVector<MissionId> &ids)
{
    if (missions.isEmpty())
        return;
    beginInsertRows({}, count(), count() + int(missions.size()) - 1);
    m_rows.reserve(m_rows.size() + missions.size());
    for (qsizetype i = 0; i < missions.size(); ++i) {
        m_rows.append(makeRow(missions[i]));
        const MissionId id = i < ids.size() ? ids[i] : m_nextId;
        m_rows.last().id = id;
        m_nextId = std::max(m_nextId, id + 1);
    }
    endInsertRows();
}

void MissionModel::overwrite(int row, const Mission &mission)
{
    Mission &old = m_rows[row].mission;
    const bool textsChanged = old.kindText != mission.kindText || old.description != mission.description
                              || old.dateText != mission.dateText || old.timeText != mission.timeText
                              || old.repeatRule != mission.repeatRule || old.repeatStart != mission.repeatStart;
    old = mission;
    rowChanged(row, textsChanged);
}

void MissionModel::setDateTime(int row, const QString &dateText, const QString &timeText)
{
    Mission &old = m_rows[row].mission;
    const bool textsChanged = old.dateText != dateText || old.timeText != timeText;
    old.dateText = dateText;
    old.timeText = timeText;
    rowChanged(row, textsChanged);
}

void MissionModel::remove(int row)
{
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void MissionModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

std::optional<MissionKind> MissionModel::kind(int row) const
{
    return m_rows[row].kind;
}

std::optional<QDate> MissionModel::date(int row) const
{
    return parsedRow(row).date;
}

std::optional<QTime> MissionModel::time(int row) const
{
    return parsedRow(row).time;
}

QString MissionModel::repeatDescription(int row) const
{
    const Row &entry = m_rows[row];
    if (!entry.mission.repeats())
        return {};
    // A rule that cannot be read (from a file edited by hand) is shown as
    // it stands; the row is then carried out once.
    return entry.repeat ? entry.repeat->description(entry.mission.repeatStart) : entry.mission.repeatRule;
}

bool MissionModel::advanceRepeat(int row, qint64 after)
{
    const Row &entry = m_rows[row];
    if (!entry.repeat)
        return false;
    const QDateTime wall = fromWallClockKey(after);
    const std::optional<QDateTime> next =
        entry.repeat->nextOccurrence(entry.mission.repeatStart, QDateTime(wall.date(), wall.time()));
    if (!next)
        return false;
    setDateTime(row, DateToStr(next->date()), TimeToStr(next->time()));
    emit repeatAdvanced(row);
    return true;
}

std::optional<QDateTime> MissionModel::moment(int row) const
{
    const Row &entry = parsedRow(row);
    if (!entry.date || !entry.time)
        return std::nullopt;
    return QDateTime(*entry.date, *entry.time);
}

std::optional<qint64> MissionModel::momentKey(int row) const
{
    return parsedRow(row).momentKey;
}

void MissionModel::setSettled(int row)
{
    Row &entry = m_rows[row];
    entry.settledFor = parsedRow(row).momentKey;
    if (entry.settledFor) {
        entry.lastRun = entry.settledFor;
        emit rowSettled(row);
    }
}

void MissionModel::restoreLastRun(int row, qint64 moment)
{
    Row &entry = m_rows[row];
    entry.lastRun = moment;
    entry.settledFor = moment;
}

void MissionModel::setWarnedAt(int row, qint64 second, qint64 shownMs)
{
    Row &entry = m_rows[row];
    entry.warnedFor = parsedRow(row).momentKey;
    entry.warnedAt = second;
    entry.warnedShownMs = shownMs;
}

MissionModel::TickView MissionModel::tickView(int row) const
{
    const Row &entry = parsedRow(row);
    TickView view;
    view.kind = entry.kind;
    view.moment = entry.momentKey;
    if (entry.momentKey) {
        view.settled = entry.settledFor == entry.momentKey;
        if (entry.warnedFor == entry.momentKey) {
            view.warnedAt = entry.warnedAt;
            view.warnedShownMs = entry.warnedShownMs;
        }
    }
    return view;
}

MissionModel::Tint MissionModel::tint(int row, const QDate &today, const QTime &timeOfDay) const
{
    const Row &entry = parsedRow(row);
    if (!entry.date || !entry.time)
        return Tint::Unparsed;
    // Past only when the whole moment is: a row dated tomorrow whose time of
    // day has passed today is still to come.
    if (today > *entry.date || (today == *entry.date && timeOfDay > *entry.time))
        return Tint::Past;
    return Tint::Normal;
}

int MissionModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int MissionModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MissionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Mission &row = m_rows[index.row()].mission;
    if (role == ImageIndexRole)
        return row.imageIndex;
    if (role == RepeatRole || (index.column() == RepeatColumn && role == Qt::DisplayRole))
        return repeatDescription(index.row());
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case KindColumn: return row.kindText;
    case DescriptionColumn: return row.description;
    case DateColumn: return row.dateText;
    case TimeColumn: return row.timeText;
    default: return {};
    }
}

bool MissionModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    // Only the kind text is edited in place.
    if (!index.isValid() || index.column() != KindColumn || role != Qt::EditRole)
        return false;
    QString &kindText = m_rows[index.row()].mission.kindText;
    const bool textsChanged = kindText != value.toString();
    kindText = value.toString();
    rowChanged(index.row(), textsChanged);
    return true;
}

QVariant MissionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case KindColumn: return QStringLiteral("任务");
    case DescriptionColumn: return QStringLiteral("描述");
    case DateColumn: return QStringLiteral("执行日期");
    case TimeColumn: return QStringLiteral("执行时间");
    case RepeatColumn: return QStringLiteral("重复");
    default: return {};
    }
}

Qt::ItemFlags MissionModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == KindColumn)
        result |= Qt::ItemIsEditable;
    return result;
}
