#include "gui/mainwindow/MissionDisplayModel.h"

#include "core/missions/MissionModel.h"
#include "gui/widgets/Icons.h"
#include "platform/Clock.h"

#include <QBrush>
#include <QColor>

namespace {

const QColor tintPast(214, 239, 255);
const QColor tintNormal(255, 255, 255);
const QColor faultText(200, 0, 0);
// Longer texts are shown cut: the column holds far fewer characters, and a
// text of a megabyte would hold up every repaint of the list.
constexpr int shownChars = 256;

} // namespace

MissionDisplayModel::MissionDisplayModel(MissionModel *missions, const Clock *clock, QObject *parent)
    : QIdentityProxyModel(parent)
    , m_missions(missions)
    , m_clock(clock)
{
    setSourceModel(missions);
}

void MissionDisplayModel::refreshTints()
{
    const QDateTime now = m_clock->now();
    if (m_tintedAt.isValid() && now != m_tintedAt) {
        // Local dates and times are worked out once, not twice per row.
        const QDate thenDate = m_tintedAt.date();
        const QTime thenTime = m_tintedAt.time();
        const QDate nowDate = now.date();
        const QTime nowTime = now.time();
        for (int row = 0; row < m_missions->count(); ++row) {
            if (m_missions->tint(row, thenDate, thenTime) != m_missions->tint(row, nowDate, nowTime))
                emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::BackgroundRole});
        }
    }
    m_tintedAt = now;
}

QVariant MissionDisplayModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole: return abbreviated(QIdentityProxyModel::data(index, role).toString(), shownChars);
    case Qt::DecorationRole:
        if (index.column() == MissionModel::KindColumn)
            return missionRowIcon(m_missions->mission(row).imageIndex);
        if (index.column() == MissionModel::RepeatColumn && m_missions->mission(row).repeats())
            return namedIcon(QStringLiteral("repeat"));
        return {};
    case Qt::BackgroundRole:
        return QBrush(m_missions->tint(row, m_clock->now()) == MissionModel::Tint::Past ? tintPast : tintNormal);
    case Qt::ForegroundRole:
        if (m_missions->tint(row, m_clock->now()) == MissionModel::Tint::Unparsed)
            return QBrush(faultText);
        return {};
    case Qt::ToolTipRole:
        if (m_missions->tint(row, m_clock->now()) == MissionModel::Tint::Unparsed) {
            const Mission &mission = m_missions->mission(row);
            return QStringLiteral("无法识别该任务的执行日期或时间: \"%1 %2\"")
                .arg(abbreviated(mission.dateText, 30), abbreviated(mission.timeText, 30));
        }
        if (m_missions->mission(row).repeats())
            return QStringLiteral("重复: ") + m_missions->repeatDescription(row);
        return {};
    default: return QIdentityProxyModel::data(index, role);
    }
}
