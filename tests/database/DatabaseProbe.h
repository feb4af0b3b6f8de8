#pragma once

#include <QString>
#include <QStringList>

// Read-only views of the test database (dmMain) for comparing states.
namespace DatabaseProbe {
// Tables of the file, sqlite_sequence included, in name order.
QStringList Tables();
// Column names of a table or view, in declaration order.
QStringList Columns(const QString& table);
// Every row of every table as text, table by table: two equal dumps mean nothing was written.
QString Contents();
// Every schema object with its definition and every table's columns with their types.
QString Schema();
} // namespace DatabaseProbe
