#pragma once

struct sqlite3;

// Registers on an open SQLite connection the SQL Server functions that our statements share
// with the server: GETDATE(), DB_NAME() (the database file's name), SCOPE_IDENTITY(),
// OBJECT_ID(name [, type]), COL_LENGTH(table, column) and LEN(text). Returns false when SQLite
// refused one of them.
bool RegisterSqlServerFunctions(sqlite3* db);
