#include "core/OwnedSchema.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"

#include <array>

namespace OwnedSchema {
namespace {
struct TColumn {
    QLatin1String Name;
    QLatin1String Definition;
};

// Every CariKart column that a later path adds, as the full definition declares it. CariTipi
// has no default there, but a NOT NULL column needs one to join a table that has rows.
constexpr std::array<TColumn, 19> kCariKartColumns{{
    {QLatin1String("CariTipi"), QLatin1String("NVARCHAR(20) NOT NULL DEFAULT('MUSTERI')")},
    {QLatin1String("VKN"), QLatin1String("NVARCHAR(11) NULL")},
    {QLatin1String("TCKN"), QLatin1String("NVARCHAR(11) NULL")},
    {QLatin1String("VergiDairesi"), QLatin1String("NVARCHAR(100) NULL")},
    {QLatin1String("EFaturaMukellefi"), QLatin1String("BIT NOT NULL DEFAULT(0)")},
    {QLatin1String("EIrsaliyeMukellefi"), QLatin1String("BIT NOT NULL DEFAULT(0)")},
    {QLatin1String("Telefon"), QLatin1String("NVARCHAR(20) NULL")},
    {QLatin1String("Email"), QLatin1String("NVARCHAR(150) NULL")},
    {QLatin1String("Adres"), QLatin1String("NVARCHAR(400) NULL")},
    {QLatin1String("Il"), QLatin1String("NVARCHAR(50) NULL")},
    {QLatin1String("Ilce"), QLatin1String("NVARCHAR(50) NULL")},
    {QLatin1String("PostaKodu"), QLatin1String("NVARCHAR(10) NULL")},
    {QLatin1String("YetkiliKisi"), QLatin1String("NVARCHAR(100) NULL")},
    {QLatin1String("ParaBirimi"), QLatin1String("NVARCHAR(10) NULL DEFAULT('TRY')")},
    {QLatin1String("RiskLimiti"), QLatin1String("DECIMAL(18,2) NOT NULL DEFAULT(0)")},
    {QLatin1String("VadeGunu"), QLatin1String("INT NOT NULL DEFAULT(0)")},
    {QLatin1String("Notlar"), QLatin1String("NVARCHAR(1000) NULL")},
    {QLatin1String("IsActive"), QLatin1String("BIT NOT NULL DEFAULT(1)")},
    {QLatin1String("IsDeleted"), QLatin1String("BIT NOT NULL DEFAULT(0)")},
}};

QStringList ColumnStatements(const QStringList& columns)
{
    QStringList statements;
    for (const QString& column : columns)
        statements << CariKartColumn(column);
    return statements;
}
} // namespace

QString CariKartColumn(const QString& column)
{
    for (const TColumn& c : kCariKartColumns) {
        if (c.Name == column)
            return QStringLiteral("IF COL_LENGTH('dbo.CariKart', '") + c.Name +
                   QStringLiteral("') IS NULL ALTER TABLE dbo.CariKart ADD ") + c.Name + u' ' +
                   c.Definition;
    }
    return {};
}

QStringList CariKartListColumns()
{
    QStringList names;
    for (const TColumn& c : kCariKartColumns)
        names << c.Name;
    return names;
}

QStringList CariKartCardColumns()
{
    return {QStringLiteral("YetkiliKisi"), QStringLiteral("ParaBirimi"),
            QStringLiteral("RiskLimiti"), QStringLiteral("VadeGunu"), QStringLiteral("Notlar")};
}

QStringList SettingsStatements()
{
    return {SistemParametreTable};
}

QStringList BranchStockStatements()
{
    return {SubeStokTable, SubeStokUniqueIndex, SubeStokStokIndex};
}

QStringList SaleLotStatements()
{
    return {SatisFisLotTable};
}

QStringList CustomerListStatements()
{
    return QStringList{CariKartTable} + ColumnStatements(CariKartListColumns()) +
           QStringList{CariKartCodeIndex};
}

QStringList CustomerCardStatements()
{
    return QStringList{CariKartTable} + ColumnStatements(CariKartCardColumns()) +
           QStringList{CariKartCodeIndex};
}

QStringList InvoiceDocumentStatements()
{
    return {CariKartShortTable, CariKartCodeIndex, BelgeBaslikTable, BelgeBaslikNoIndex,
            BelgeSatirTable};
}

QStringList StokImageStatements()
{
    return {StokGorselYolColumn, StokResimColumn};
}

QStringList ReceiptStatements()
{
    return {FirmaAdresColumn, FirmaVergiDairesiColumn, FirmaVergiNoColumn, SatisOdemeVerilenColumn};
}

QStringList RefundStatements()
{
    return {SatisFisOrijinalFisIDColumn, SatisFisOrijinalFisIDIndex};
}

QStringList SearchKeyStatements()
{
    return {QStringList{AramaDurumTable, StokParcaTable, StokParcaAdetTable, SatisFisNoTable,
                        AramaDurumRows, StokParcaFunction, StokParcaTrigger, SatisFisNoTrigger}
                .join(u'\n')};
}

QStringList AllStatements()
{
    return SettingsStatements() + BranchStockStatements() + SaleLotStatements() +
           CustomerListStatements() + InvoiceDocumentStatements() + StokImageStatements() +
           ReceiptStatements() + RefundStatements();
}

void Run(const QStringList& statements)
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    dmMain->EnsureSchema(statements);
}

} // namespace OwnedSchema
