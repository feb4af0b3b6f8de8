#include "core/StatementCache.h"

#include "core/Exceptions.h"

#include <QSqlError>

namespace {
QString ErrorText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("Bilinmeyen veritabanı hatası") : text;
}

std::shared_ptr<TPreparedStatement> Prepare(const QSqlDatabase& db, const QString& sql)
{
    auto statement = std::make_shared<TPreparedStatement>();
    statement->Query = QSqlQuery(db);
    statement->Query.setForwardOnly(true);
    if (!statement->Query.prepare(sql))
        throw EDatabaseError(ErrorText(statement->Query.lastError()));
    statement->Placeholders = TStatementCache::PlaceholdersOf(sql);
    return statement;
}
} // namespace

std::shared_ptr<TPreparedStatement> TStatementCache::Acquire(const QSqlDatabase& db,
                                                             const QString& sql)
{
    auto it = FStatements.find(sql);
    if (it != FStatements.end() && !(*it)->InUse) {
        (*it)->InUse = true;
        return *it;
    }
    auto statement = Prepare(db, sql);
    statement->InUse = true;
    if (it == FStatements.end()) {
        if (FStatements.size() >= MaxStatements)
            FStatements.clear();
        FStatements.insert(sql, statement);
    }
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
