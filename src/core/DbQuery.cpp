#include "core/DbQuery.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"

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

// The ":Name" placeholders of a statement, outside quoted literals.
QStringList PlaceholdersOf(const QString& sql)
{
    QStringList names;
    bool quoted = false;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u':' || i + 1 >= sql.size())
            continue;
        int end = i + 1;
        while (end < sql.size() && (sql.at(end).isLetterOrNumber() || sql.at(end) == u'_'))
            ++end;
        if (end > i + 1 && !(i > 0 && sql.at(i - 1) == u':'))
            names << sql.mid(i + 1, end - i - 1);
        i = end - 1;
    }
    return names;
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
    FQuery = QSqlQuery(Module().Database());
    FQuery.setForwardOnly(true);
    if (!FQuery.prepare(step.Sql))
        throw EDatabaseError(ErrorText(FQuery.lastError()));
    for (const QString& name : PlaceholdersOf(step.Sql)) {
        for (const auto& param : FParams) {
            if (param.first.compare(name, Qt::CaseInsensitive) == 0)
                FQuery.bindValue(u':' + name, param.second);
        }
    }
    if (!FQuery.exec())
        throw EDatabaseError(ErrorText(FQuery.lastError()));
    // A SQL Server batch may report row counts before the result set it ends with.
    while (!FQuery.isSelect() && FQuery.nextResult()) {
    }
}

bool TDbQuery::Next()
{
    return FQuery.isActive() && FQuery.isSelect() && FQuery.next();
}

QVariant TDbQuery::Value(const QString& field) const
{
    const int index = FQuery.record().indexOf(field);
    return index < 0 ? QVariant() : FQuery.value(index);
}

QVariant TDbQuery::Value(int index) const
{
    return FQuery.value(index);
}

bool TDbQuery::HasField(const QString& field) const
{
    return FQuery.record().indexOf(field) >= 0;
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
