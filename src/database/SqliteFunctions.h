#pragma once

#include <QDateTime>

struct sqlite3;

// Where GETDATE() reads the time: the program's clock (TClock::Now) on its own connections.
using TSqlClock = QDateTime (*)();

// Registers on an open SQLite connection the SQL Server functions that our statements share
// with the server: GETDATE(), DB_NAME() (the database file's name), SCOPE_IDENTITY(),
// OBJECT_ID(name [, type]), COL_LENGTH(table, column) and LEN(text). GETDATE() calls the clock
// `*clock` holds at the time of the call. Returns false when SQLite refused one of them.
bool RegisterSqlServerFunctions(sqlite3* db, const TSqlClock* clock);
