#pragma once

#include <QDateTime>
#include <QIdentityProxyModel>

class Clock;
class MissionModel;

// What the list view shows of the mission list beyond its texts: the kind
// icons, the repeat mark with the rule in words, the tint of rows whose moment has passed, the mark of rows whose
// date or time cannot be read, and overlong texts cut short.
class MissionDisplayModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    MissionDisplayModel(MissionModel *missions, const Clock *clock, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;

    // Once a second: repaints the rows whose tint the passing time changed
    // since the last call, and no other.
    void refreshTints();

private:
    MissionModel *m_missions;
    const Clock *m_clock;
    QDateTime m_tintedAt;
};
