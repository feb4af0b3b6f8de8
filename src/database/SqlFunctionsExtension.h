#pragma once

#include "database/SqliteFunctions.h"

#include <QtGlobal>

struct sqlite3;
struct sqlite3_api_routines;

// The SQL Server functions of SqliteFunctions as an SQLite loadable extension, for connections
// the program does not open through Qt's SQLite driver: the SQLite ODBC driver loads it with
// "LoadExt=". Its GETDATE() reads the workstation's clock until the program that loaded it hands
// it the program's own, so a test that stands the clock still sees one time on both roads.
extern "C" {
// SQLite's entry point, named after the file kirvelo_sqlfunctions.so.
Q_DECL_EXPORT int sqlite3_kirvelosqlfunctions_init(sqlite3* db, char** errorMessage,
                                                   const sqlite3_api_routines* api);
// Makes GETDATE() read `clock`; null gives it the workstation's clock again.
Q_DECL_EXPORT void kirvelo_sqlfunctions_use_clock(TSqlClock clock);
}

// The name under which a program looks kirvelo_sqlfunctions_use_clock up in the loaded file.
inline constexpr char SqlFunctionsUseClockSymbol[] = "kirvelo_sqlfunctions_use_clock";
using TUseClock = void (*)(TSqlClock);
