#include "CustomerFixture.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"

namespace CustomerFixture {

int AddAccount(const TAccountRow& row)
{
    TDbQuery insert(
        QStringLiteral("INSERT INTO CariKart (CariKodu, CariAdi, CariTipi, Telefon, VKN, TCKN, "
                       "YetkiliKisi, IsActive, IsDeleted) VALUES (:Kodu, :Adi, :Tipi, :Tel, :VKN, "
                       ":TCKN, :Yetkili, :Aktif, :Silindi); SELECT SCOPE_IDENTITY()"));
    insert.Param(QStringLiteral("Kodu"), row.Kodu)
        .Param(QStringLiteral("Adi"), row.Adi)
        .Param(QStringLiteral("Tipi"), row.FTipi.isNull() ? TDbQuery::NullText() : row.FTipi)
        .Param(QStringLiteral("Tel"), row.FTelefon)
        .Param(QStringLiteral("VKN"), row.FVKN)
        .Param(QStringLiteral("TCKN"), row.FTCKN)
        .Param(QStringLiteral("Yetkili"), row.FYetkili)
        .Param(QStringLiteral("Aktif"),
               row.FIsActive.isNull() ? TDbQuery::NullInt() : row.FIsActive)
        .Param(QStringLiteral("Silindi"), row.FIsDeleted)
        .Exec();
    insert.Next();
    return insert.Value(0).toInt();
}

void UseLooseCariKart()
{
    dmMain->ExecSql(QStringLiteral("DROP TABLE CariKart"));
    dmMain->ExecSql(QStringLiteral(
        "CREATE TABLE CariKart (CariID INTEGER PRIMARY KEY AUTOINCREMENT, CariKodu TEXT, "
        "CariAdi TEXT, CariTipi TEXT, Telefon TEXT, VKN TEXT, TCKN TEXT, IsActive INTEGER, "
        "IsDeleted INTEGER)"));
}

} // namespace CustomerFixture
