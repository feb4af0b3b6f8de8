#pragma once

#include "core/SqlDialect.h"

// SQL Server's dialect: every text runs as written, a batch as one step.
class TSqlServerDialect final : public SqlDialect {
public:
    using SqlDialect::Steps;

    TSqlDialectKind Kind() const override { return TSqlDialectKind::SqlServer; }
    QList<TSqlStep> Steps(const QString& sql) const override;
    QString Today() const override;
    QString DateText104(const QString& expr) const override;
    QString Top(int n) const override;
    QString Limit(int n) const override;
    QVariant TimeValue(const QDateTime& time) const override;
};
