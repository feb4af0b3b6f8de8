#pragma once

#include "core/DataModule.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

// A connected SQLite database in a temporary folder, set up as the program sets up a new file.
// It becomes the program's dmMain while it lives. The file is "test.db" unless named.
class TTestDatabase {
public:
    explicit TTestDatabase(const QString& fileName = QStringLiteral("test.db"));
    ~TTestDatabase();

    TdmMain& Db() { return *FDb; }
    QString Path() const { return FDir.filePath(FFileName); }
    QString Folder() const { return FDir.path(); }

    void Exec(const QString& sql);
    QVariant Scalar(const QString& sql);
    int Count(const QString& table);

private:
    QTemporaryDir FDir;
    QString FFileName;
    std::unique_ptr<TdmMain> FDb;
};

// Pins the number format of the test to Turkish settings and keeps per-user files out of $HOME
// (and makes the embedded engine available, as the program does).
void UseTurkishLocale();
void UseTestPaths();
// Registers the embedded SQLite engine, as the program does before it connects.
void UseEmbeddedEngine();

// The Z report files of a shift in the reports folder, by name, and their removal.
QStringList ZReportFiles(int vardiyaId);
void RemoveZReportFiles(int vardiyaId);
