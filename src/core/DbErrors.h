#pragma once

#include <QSqlError>
#include <QString>

// The text of a driver's error as the program shows it.
namespace DbErrors {
// A statement's error: the database's own text, else the driver's summary.
QString StatementText(const QSqlError& error);
// A connection's error (opening it, its transactions): the database's own text, else the
// driver's, else the summary.
QString ConnectionText(const QSqlError& error);
} // namespace DbErrors
