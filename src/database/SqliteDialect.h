#pragma once

#include "core/SqlDialect.h"

#include <QCache>

// SQLite's dialect. It rewrites the SQL Server constructs that have one obvious equivalent: the
// "dbo." schema qualifier is dropped, ISNULL( becomes IFNULL(, table hints such as
// WITH (UPDLOCK, HOLDLOCK) are dropped, T-SQL session options (SET NOCOUNT/QUOTED_IDENTIFIER ...)
// are skipped, a batch is split into its statements, a leading "SELECT TOP n" becomes a trailing
// "LIMIT n", and the three guarded DDL shapes (IF OBJECT_ID ... CREATE TABLE, IF NOT EXISTS
// sys.indexes ... CREATE INDEX, IF COL_LENGTH ... ALTER TABLE ADD) become their SQLite forms.
// GETDATE(), SCOPE_IDENTITY(), OBJECT_ID(), COL_LENGTH() and LEN() exist on SQLite as user
// functions. Anything else gets its own SQLite text through SqlText.
class TSqliteDialect final : public SqlDialect {
public:
    using SqlDialect::Steps;

    TSqlDialectKind Kind() const override { return TSqlDialectKind::SQLite; }
    // The translation of `sql`, kept for the texts run most recently: the program runs the same
    // few hundred texts again and again.
    QList<TSqlStep> Steps(const QString& sql) const override;
    QString Today() const override;
    QString DateText104(const QString& expr) const override;
    QString Top(int n) const override;
    QString Limit(int n) const override;
    QVariant TimeValue(const QDateTime& time) const override;

    // How many translations are kept; never more than MaxCachedTranslations.
    qsizetype CachedTranslations() const;
    static constexpr qsizetype MaxCachedTranslations = 512;

    // Exposed for tests: the SQLite steps for one SQL Server batch.
    static QList<TSqlStep> TranslateForSqlite(const QString& tsql);

private:
    mutable QCache<QString, QList<TSqlStep>> FCache{MaxCachedTranslations};
};
