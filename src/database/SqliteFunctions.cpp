#include "database/SqliteFunctions.h"

// Built twice: into the embedded engine, which registers the functions on QSQLITE's handle, and
// into the loadable extension an ODBC connection loads, which reaches SQLite through the
// extension's table of routines.
#ifdef KIRVELO_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

#include <QDateTime>
#include <QFileInfo>
#include <QString>

namespace {
QString ArgText(sqlite3_value* v)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return text ? QString::fromUtf8(text) : QString();
}

// 'dbo.Stok' and 'Stok' name the same table.
QString BareName(QString name)
{
    name = name.trimmed();
    if (name.startsWith(QStringLiteral("dbo."), Qt::CaseInsensitive))
        name = name.mid(4);
    return name;
}

void GetDate(sqlite3_context* ctx, int, sqlite3_value**)
{
    const TSqlClock clock = *static_cast<const TSqlClock*>(sqlite3_user_data(ctx));
    const QByteArray now = clock().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    sqlite3_result_text(ctx, now.constData(), int(now.size()), SQLITE_TRANSIENT);
}

// SQL Server's database name: here the name of the main database file without its extension,
// "kirvelo" for the embedded kirvelo.db.
void DbName(sqlite3_context* ctx, int, sqlite3_value**)
{
    const char* file = sqlite3_db_filename(sqlite3_context_db_handle(ctx), "main");
    const QByteArray name =
        QFileInfo(QString::fromUtf8(file ? file : "")).completeBaseName().toUtf8();
    sqlite3_result_text(ctx, name.constData(), int(name.size()), SQLITE_TRANSIENT);
}

void ScopeIdentity(sqlite3_context* ctx, int, sqlite3_value**)
{
    sqlite3_result_int64(ctx, sqlite3_last_insert_rowid(sqlite3_context_db_handle(ctx)));
}

// The rowid of the schema entry stands in for SQL Server's object id.
void ObjectId(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    const QString kind = argc > 1 ? ArgText(argv[1]).trimmed().toUpper() : QString();
    const char* sql =
        kind == u'V'
            ? "SELECT rowid FROM sqlite_master WHERE type = 'view' AND name = ?1 COLLATE NOCASE"
        : kind == u'U'
            ? "SELECT rowid FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"
            : "SELECT rowid FROM sqlite_master WHERE name = ?1 COLLATE NOCASE";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(sqlite3_context_db_handle(ctx), sql, -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_result_error(ctx, "OBJECT_ID", -1);
        return;
    }
    const QByteArray name = BareName(ArgText(argv[0])).toUtf8();
    sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(stmt) == SQLITE_ROW)
        sqlite3_result_int64(ctx, sqlite3_column_int64(stmt, 0));
    else
        sqlite3_result_null(ctx);
    sqlite3_finalize(stmt);
}

void ColLength(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_stmt* stmt = nullptr;
    const char* sql = "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2 COLLATE NOCASE";
    if (sqlite3_prepare_v2(sqlite3_context_db_handle(ctx), sql, -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_result_error(ctx, "COL_LENGTH", -1);
        return;
    }
    const QByteArray table = BareName(ArgText(argv[0])).toUtf8();
    const QByteArray column = ArgText(argv[1]).trimmed().toUtf8();
    sqlite3_bind_text(stmt, 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, column.constData(), int(column.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(stmt) == SQLITE_ROW)
        sqlite3_result_int(ctx, 1);
    else
        sqlite3_result_null(ctx);
    sqlite3_finalize(stmt);
}

// SQL Server's LEN ignores trailing spaces.
void Len(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QString text = ArgText(argv[0]);
    while (text.endsWith(u' '))
        text.chop(1);
    sqlite3_result_int(ctx, int(text.size()));
}
} // namespace

bool RegisterSqlServerFunctions(sqlite3* db, const TSqlClock* clock)
{
    constexpr int utf8 = SQLITE_UTF8;
    constexpr int pure = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_function(db, "GETDATE", 0, utf8, const_cast<TSqlClock*>(clock), GetDate,
                                   nullptr, nullptr) == SQLITE_OK &&
           sqlite3_create_function(db, "DB_NAME", 0, utf8, nullptr, DbName, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(db, "SCOPE_IDENTITY", 0, utf8, nullptr, ScopeIdentity, nullptr,
                                   nullptr) == SQLITE_OK &&
           sqlite3_create_function(db, "OBJECT_ID", 1, utf8, nullptr, ObjectId, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(db, "OBJECT_ID", 2, utf8, nullptr, ObjectId, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(db, "COL_LENGTH", 2, utf8, nullptr, ColLength, nullptr,
                                   nullptr) == SQLITE_OK &&
           sqlite3_create_function(db, "LEN", 1, pure, nullptr, Len, nullptr, nullptr) == SQLITE_OK;
}
