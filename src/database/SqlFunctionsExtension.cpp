#include "database/SqlFunctionsExtension.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

namespace {
TSqlClock Workstation()
{
    return &QDateTime::currentDateTime;
}

// Read by GETDATE() at every call; set from the program's thread before its first statement.
TSqlClock hostClock = Workstation();
} // namespace

int sqlite3_kirvelosqlfunctions_init(sqlite3* db, char** errorMessage,
                                     const sqlite3_api_routines* api)
{
    SQLITE_EXTENSION_INIT2(api);
    if (RegisterSqlServerFunctions(db, &hostClock))
        return SQLITE_OK;
    *errorMessage = sqlite3_mprintf("%s", "SQL Server işlevleri kaydedilemedi.");
    return SQLITE_ERROR;
}

void kirvelo_sqlfunctions_use_clock(TSqlClock clock)
{
    hostClock = clock ? clock : Workstation();
}
