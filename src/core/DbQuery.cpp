#include "core/DbQuery.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/StatementCache.h"

#include <QRegularExpression>
#include <QSqlError>

namespace {
TdmMain& Module()
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    return *dmMain;
}

QString ErrorText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("Bilinmeyen veritabanı hatası") : text;
}

bool ColumnMissing(const QString& table, const QString& column)
{
    QSqlQuery probe(Module().Database());
    probe.prepare(QStringLiteral("SELECT COL_LENGTH(:T, :C)"));
    probe.bindValue(QStringLiteral(":T"), table);
    probe.bindValue(QStringLiteral(":C"), column);
    if (!probe.exec())
        throw EDatabaseError(ErrorText(probe.lastError()));
    return !probe.next() || probe.value(0).isNull();
}
} // namespace

TDbQuery::TDbQuery(const QString& sql)
    : FSteps(Module().Dialect().Steps(sql))
{
}

TDbQuery::TDbQuery(const SqlText& sql)
    : FSteps(Module().Dialect().Steps(sql))
{
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
    for (const TSqlStep& step : FSteps) {
        if (!step.GuardTable.isEmpty() && !ColumnMissing(step.GuardTable, step.GuardColumn))
            continue;
        ExecStep(step);
    }
    return *this;
}

void TDbQuery::ExecStep(const TSqlStep& step)
{
    ReleaseStatement();
    FStatement = Module().Statements().Acquire(Module().Database(), step.Sql);
    QSqlQuery& query = FStatement->Query;
    for (const QString& name : FStatement->Placeholders) {
        for (const auto& param : FParams) {
            if (param.first.compare(name, Qt::CaseInsensitive) == 0)
                query.bindValue(u':' + name, param.second);
        }
    }
    if (!query.exec())
        throw EDatabaseError(ErrorText(query.lastError()));
    // A SQL Server batch may report row counts before the result set it ends with.
    while (!query.isSelect() && query.nextResult()) {
    }
    FRecord = query.record();
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
    return FStatement ? FStatement->Query.numRowsAffected() : 0;
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
