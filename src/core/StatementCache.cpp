#include "core/StatementCache.h"

#include "core/DbErrors.h"
#include "core/Exceptions.h"

namespace {
std::shared_ptr<TPreparedStatement> Prepare(const QSqlDatabase& db, const QString& sql)
{
    auto statement = std::make_shared<TPreparedStatement>();
    statement->Query = QSqlQuery(db);
    statement->Query.setForwardOnly(true);
    if (!statement->Query.prepare(sql))
        throw EDatabaseError(DbErrors::StatementText(statement->Query.lastError()));
    statement->Placeholders = TStatementCache::PlaceholdersOf(sql);
    return statement;
}
} // namespace

void TPreparedStatement::Bind(const TSqlParams& params)
{
    for (const QString& name : Placeholders) {
        for (const auto& param : params) {
            if (param.first.compare(name, Qt::CaseInsensitive) == 0)
                Query.bindValue(u':' + name, param.second);
        }
    }
}

std::shared_ptr<TPreparedStatement> TStatementCache::Acquire(const QSqlDatabase& db,
                                                             const QString& sql)
{
    const std::shared_ptr<TPreparedStatement>* cached = FStatements.object(sql);
    if (cached && !(*cached)->InUse) {
        (*cached)->InUse = true;
        return *cached;
    }
    auto statement = Prepare(db, sql);
    statement->InUse = true;
    // A statement evicted while in use lives on with its query until that query releases it.
    if (!cached)
        FStatements.insert(sql, new std::shared_ptr<TPreparedStatement>(statement));
    return statement;
}

void TStatementCache::Release(TPreparedStatement& statement)
{
    // A finished statement holds no read snapshot that would block the next write.
    statement.Query.finish();
    statement.InUse = false;
}

void TStatementCache::Clear()
{
    FStatements.clear();
}

QStringList TStatementCache::PlaceholdersOf(const QString& sql)
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
