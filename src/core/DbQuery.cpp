#include "core/DbQuery.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/SqlTextLog.h"

namespace {
TdmMain& Module()
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    return *dmMain;
}

// A query is made for the engine it will run on: a broken link is made again first.
TdmMain& LinkedModule()
{
    TdmMain& module = Module();
    module.EnsureLink();
    return module;
}
} // namespace

TDbQuery::TDbQuery(const QString& sql, std::source_location origin)
    : FSteps(LinkedModule().Dialect().Steps(sql))
{
    SqlTextLog::Record(sql, {}, origin);
}

TDbQuery::TDbQuery(const SqlText& sql, std::source_location origin)
    : FSteps(LinkedModule().Dialect().Steps(sql))
{
    SqlTextLog::Record(sql.MsSql, sql.Sqlite, origin);
}

TDbQuery& TDbQuery::Param(const QString& name, const QVariant& value)
{
    for (auto& param : FParams) {
        if (param.first.compare(name, Qt::CaseInsensitive) == 0) {
            param.second = value;
            return *this;
        }
    }
    FParams.append({name, value});
    return *this;
}

TDbQuery& TDbQuery::Exec()
{
    TdmMain& module = Module();
    for (const TSqlStep& step : FSteps) {
        // Released first, so that running the same text again reuses its prepared statement.
        ReleaseStatement();
        FStatement = module.ExecStep(step, FParams);
        if (FStatement)
            FRecord = FStatement->Query.record();
    }
    return *this;
}

void TDbQuery::ReleaseStatement()
{
    if (FStatement)
        TStatementCache::Release(*FStatement);
    FStatement.reset();
    FRecord = QSqlRecord();
}

TDbQuery::~TDbQuery()
{
    ReleaseStatement();
}

bool TDbQuery::Next()
{
    return FStatement && FStatement->Query.isActive() && FStatement->Query.isSelect() &&
           FStatement->Query.next();
}

QVariant TDbQuery::Value(const QString& field) const
{
    const int index = FRecord.indexOf(field);
    return index < 0 || !FStatement ? QVariant() : FStatement->Query.value(index);
}

QVariant TDbQuery::Value(int index) const
{
    return FStatement ? FStatement->Query.value(index) : QVariant();
}

int TDbQuery::RowsAffected() const
{
    return FStatement ? FStatement->RowsAffected : 0;
}

bool TDbQuery::HasField(const QString& field) const
{
    return FRecord.indexOf(field) >= 0;
}

QVariant TDbQuery::NullInt()
{
    return QVariant(QMetaType::fromType<int>());
}

QVariant TDbQuery::NullDouble()
{
    return QVariant(QMetaType::fromType<double>());
}

QVariant TDbQuery::NullText()
{
    return QVariant(QMetaType::fromType<QString>());
}
