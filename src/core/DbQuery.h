#pragma once

#include "core/SqlDialect.h"
#include "core/StatementCache.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <memory>
#include <source_location>

// A short-lived statement on the program's connection (dmMain) with named ":Name" parameters.
// Failures raise EDatabaseError carrying the driver's text.
//
//   TDbQuery q("SELECT ParamValue FROM SistemParametre WHERE ParamKey = :K");
//   q.Param("K", key).Exec();
//   if (q.Next()) value = q.Value("ParamValue");
class TDbQuery {
public:
    // `origin` is where the text is sent from; the SQL text log notes it beside the text.
    explicit TDbQuery(const QString& sql,
                      std::source_location origin = std::source_location::current());
    explicit TDbQuery(const SqlText& sql,
                      std::source_location origin = std::source_location::current());
    ~TDbQuery();
    TDbQuery(const TDbQuery&) = delete;
    TDbQuery& operator=(const TDbQuery&) = delete;

    TDbQuery& Param(const QString& name, const QVariant& value);
    TDbQuery& Exec();

    // Moves to the next row of the result; false after the last one.
    bool Next();
    // A field of the current row by name (a null QVariant when the result has no such field) or
    // by position.
    QVariant Value(const QString& field) const;
    QVariant Value(int index) const;
    bool HasField(const QString& field) const;
    QSqlRecord Record() const { return FRecord; }
    int RowsAffected() const;

    // A typed null for parameters.
    static QVariant NullInt();
    static QVariant NullDouble();
    static QVariant NullText();

private:
    void ReleaseStatement();

    QList<TSqlStep> FSteps;
    TSqlParams FParams;
    std::shared_ptr<TPreparedStatement> FStatement;
    QSqlRecord FRecord;
};
