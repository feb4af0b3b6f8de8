#pragma once

class TRoutineCall;

// The embedded (SQLite) database: its schema, its demo data and the server routines that SQL
// Server keeps as stored procedures.
namespace EmbeddedDatabase {
// Called each time an SQLite file is opened, on the program's connection: creates the schema
// and the search key when they are missing and, when `withDemoData` is set and the database
// holds no data yet, the demo shop. True when the search key's fill has work left
// (SqliteSearchKey::Prepare).
bool Prepare(bool withDemoData);
// Runs the embedded routine named like the stored procedure; raises EDatabaseError when no
// such routine exists.
void RunProcedure(TRoutineCall& call);
} // namespace EmbeddedDatabase
