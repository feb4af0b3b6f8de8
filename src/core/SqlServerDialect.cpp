#include "core/SqlServerDialect.h"

QList<TSqlStep> TSqlServerDialect::Steps(const QString& sql) const
{
    return {{sql, {}, {}}};
}

QString TSqlServerDialect::Today() const
{
    return QStringLiteral("CAST(GETDATE() AS DATE)");
}

QString TSqlServerDialect::DateText104(const QString& expr) const
{
    return QStringLiteral("CONVERT(VARCHAR(10), ") + expr + QStringLiteral(", 104)");
}

QString TSqlServerDialect::Top(int n) const
{
    return QStringLiteral("TOP %1 ").arg(n);
}

QString TSqlServerDialect::Limit(int) const
{
    return {};
}

QVariant TSqlServerDialect::TimeValue(const QDateTime& time) const
{
    return time;
}
