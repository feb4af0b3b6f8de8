#pragma once

#include <QString>

#include <source_location>

// Writes down every SQL Server text the program hands its connection, when the environment
// variable KIRVELO_SQL_TEXT_LOG names a folder: each text once per process and place, as a JSON
// line {"origin": "file:line", "sql": SQL Server's text, "sqlite": SQLite's own text or ""} in
// "<program>-<pid>.jsonl" there. The tests run with it, and a test parses every text written
// with the T-SQL grammar. Whatever the engine, the text written is the one SQL Server would get.
namespace SqlTextLog {
// Off unless the variable is set; read once.
bool Enabled();
void Record(const QString& sqlServer, const QString& sqlite, const std::source_location& origin);
} // namespace SqlTextLog
