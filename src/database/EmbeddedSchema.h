#pragma once

#include <QString>
#include <QStringList>

// The tables that must exist before the program runs (organisation, users, catalogue, sales,
// shifts), their indexes, and the shift summary view. The statements are the ones of the SQL
// Server set-up script, word for word; on SQLite they run through the dialect like every other
// statement of the program, so both engines are built from one text.
namespace EmbeddedSchema {
// Guarded statements for the required tables, their later columns and their indexes, in the
// order they must run.
QStringList RequiredStatements();
// The SELECT that vw_VardiyaOzet is made of, as SQL Server runs it.
QString ShiftSummaryViewBody();

// Creates whatever is missing of the required tables, the program-owned tables and the view,
// in one transaction. Does not write when the schema is complete.
void Create();
// True when every table, column, index and the current view are present.
bool IsComplete();
} // namespace EmbeddedSchema
