#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

// One row of the list as the session bus carries it: (ssss), the kind,
// description, date and time texts.
struct MissionRow
{
    QString kind;
    QString description;
    QString date;
    QString time;
};
Q_DECLARE_METATYPE(MissionRow)

inline QDBusArgument &operator<<(QDBusArgument &argument, const MissionRow &row)
{
    argument.beginStructure();
    argument << row.kind << row.description << row.date << row.time;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument &operator>>(const QDBusArgument &argument, MissionRow &row)
{
    argument.beginStructure();
    argument >> row.kind >> row.description >> row.date >> row.time;
    argument.endStructure();
    return argument;
}

// Makes a(ssss) known to the bus layer; once per process, before the first
// call or export.
void registerMissionRowType();
