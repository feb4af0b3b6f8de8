#include "core/SqlDialect.h"

QList<TSqlStep> SqlDialect::Steps(const SqlText& sql) const
{
    if (IsSqlite() && !sql.Sqlite.isEmpty())
        return Steps(sql.Sqlite);
    return Steps(sql.MsSql);
}
