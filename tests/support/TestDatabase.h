#pragma once

#include "core/DataModule.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

// The road a test's database is reached by, chosen by the environment variable
// KIRVELO_TEST_DATABASE (ctest sets it for each test):
//   unset or empty  an SQLite file through Qt's SQLite driver (QSQLITE), as the program's
//                   embedded database;
//   "odbc"          the same kind of file through Qt's ODBC driver (QODBC) and the SQLite ODBC
//                   driver, so statements, placeholders, row counts, results, routine calls and
//                   transactions travel the road SQL Server's do; or, when the environment
//                   variable KIRVELO_TEST_SERVER holds an ODBC connection string, that SQL
//                   Server: every test database is a new database made there from
//                   database/kirvelo_sqlserver.sql and dropped at the end.
enum class TTestRoad { Sqlite, Odbc, SqlServer };
TTestRoad TestRoad();
// The road's name for messages: "sqlite", "odbc" or "mssql".
QString TestRoadName();

// A connected test database, set up as the program sets up a new one (on SQLite: a file in a
// temporary folder, "test.db" unless named). It becomes the program's dmMain while it lives.
class TTestDatabase {
public:
    explicit TTestDatabase(const QString& fileName = QStringLiteral("test.db"));
    ~TTestDatabase();

    TdmMain& Db() { return *FDb; }
    // The SQLite file of the two SQLite roads.
    QString Path() const { return FDir.filePath(FFileName); }
    QString Folder() const { return FDir.path(); }
    // How this database is reached; a second connection made with it is another till on it.
    TConnectionAttempt Attempt() const { return FAttempt; }

    void Exec(const QString& sql);
    QVariant Scalar(const QString& sql);
    int Count(const QString& table);

private:
    QTemporaryDir FDir;
    QString FServerDatabase;
    TConnectionAttempt FAttempt;
    QString FFileName;
    std::unique_ptr<TdmMain> FDb;
};

// The attempt that reaches the SQLite file `path` by this test's road: QSQLITE, or QODBC on the
// ODBC road.
TConnectionAttempt SqliteFileAttempt(const QString& path);

// The attempt that reaches the SQLite file `path` through QODBC and the SQLite ODBC driver, with
// the SQL Server functions loaded from the project's extension. The driver is named as the
// Debian package registers it in odbcinst.ini ("SQLite3"); where that name is not registered,
// by the path of the driver's library.
TConnectionAttempt SqliteOdbcAttempt(const QString& path);

// Pins the number format of the test to Turkish settings and keeps per-user files out of $HOME
// (and makes the embedded engine available, as the program does).
void UseTurkishLocale();
void UseTestPaths();
// Registers the embedded SQLite engine, as the program does before it connects, and its road
// through ODBC.
void UseEmbeddedEngine();

// A stored time as "yyyy-MM-dd HH:mm:ss" whichever road read it: SQLite through QSQLITE gives
// back the text it keeps, ODBC drivers a QDateTime.
QString StoredTimeText(const QVariant& value);

// The Z report files of a shift in the reports folder, by name, and their removal.
QStringList ZReportFiles(int vardiyaId);
void RemoveZReportFiles(int vardiyaId);
