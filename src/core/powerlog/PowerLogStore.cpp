#include "core/powerlog/PowerLogStore.h"

#include "core/powerlog/PowerLogDataSource.h"
#include "core/powerlog/PowerLogQuery.h"

PowerLogStore::PowerLogStore(QObject *parent)
    : QObject(parent)
    , m_query(new PowerLogQuery(this))
    , m_dataSource(new PowerLogDataSource(this))
{
    setObjectName(QStringLiteral("dm1"));
    m_dataSource->setSourceModel(m_query);
}

bool PowerLogStore::recordRun(const QDateTime &start, const QDateTime &end, double energyKwh, QString *error)
{
    m_query->close();
    m_query->setSql(QStringLiteral("select * from hd"));
    const bool written = m_query->appendRecord(start, end, energyKwh);
    if (!written)
        *error = m_query->errorText();
    m_query->close();
    return written;
}
