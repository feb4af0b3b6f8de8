#include "support/TestDatabase.h"

#include "core/DbQuery.h"

#include <QLocale>
#include <QStandardPaths>
#include <QtTest>

TTestDatabase::TTestDatabase()
    : FDb(std::make_unique<TdmMain>())
{
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
}
