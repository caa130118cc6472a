#pragma once

#include <QIdentityProxyModel>

// What data-aware views show of the power log query: each value in its
// type's default text (date-times as short date and long time, numbers in
// the general number format), numbers right-aligned, nothing editable.
class PowerLogDataSource : public QIdentityProxyModel
{
    Q_OBJECT

public:
    explicit PowerLogDataSource(QObject *parent = nullptr);

    QVariant data(const QModelIndex &item, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &item) const override;
};
