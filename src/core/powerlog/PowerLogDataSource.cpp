#include "core/powerlog/PowerLogDataSource.h"

#include "core/text/NumberText.h"
#include "core/text/RegionalFormat.h"

#include <QDateTime>

PowerLogDataSource::PowerLogDataSource(QObject *parent)
    : QIdentityProxyModel(parent)
{
    setObjectName(QStringLiteral("DataSource1"));
}

QVariant PowerLogDataSource::data(const QModelIndex &item, int role) const
{
    const QVariant value = QIdentityProxyModel::data(item, Qt::DisplayRole);
    const bool isNumber = value.typeId() == QMetaType::Double;
    if (role == Qt::DisplayRole) {
        if (value.typeId() == QMetaType::QDateTime)
            return DateTimeToStr(value.toDateTime());
        if (isNumber)
            return FloatToStr(value.toDouble());
        return value;
    }
    const bool isInteger = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int;
    if (role == Qt::TextAlignmentRole && (isNumber || isInteger))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return QIdentityProxyModel::data(item, role);
}

QVariant PowerLogDataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The rows carry no numbers; the grid's indicator marks the current one.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return QVariant();
    return QIdentityProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags PowerLogDataSource::flags(const QModelIndex &item) const
{
    return QIdentityProxyModel::flags(item) & ~Qt::ItemIsEditable;
}
