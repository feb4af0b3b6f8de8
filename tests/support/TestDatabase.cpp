#include "support/TestDatabase.h"

#include "core/AppPaths.h"
#include "core/DbQuery.h"
#include "database/SqliteEngine.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <QtTest>

TTestDatabase::TTestDatabase(const QString& fileName)
    : FFileName(fileName)
{
    UseEmbeddedEngine();
    FDb = std::make_unique<TdmMain>();
    FDb->SetAttempts({{QStringLiteral("QSQLITE"), Path()}});
    FDb->Connect();
}

TTestDatabase::~TTestDatabase()
{
    FDb.reset();
}

void TTestDatabase::Exec(const QString& sql)
{
    FDb->ExecSql(sql);
}

QVariant TTestDatabase::Scalar(const QString& sql)
{
    return FDb->GetScalar(sql);
}

int TTestDatabase::Count(const QString& table)
{
    return Scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
}

void UseTurkishLocale()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

void UseTestPaths()
{
    QStandardPaths::setTestModeEnabled(true);
    UseEmbeddedEngine();
}

void UseEmbeddedEngine()
{
    TSqliteEngine::Register();
}

QStringList ZReportFiles(int vardiyaId)
{
    return QDir(AppPaths::ReportsFolder())
        .entryList({QStringLiteral("Z_Report_V%1_*.txt").arg(vardiyaId)}, QDir::Files);
}

void RemoveZReportFiles(int vardiyaId)
{
    for (const QString& name : ZReportFiles(vardiyaId))
        QFile::remove(AppPaths::ReportsFolder() + name);
}
