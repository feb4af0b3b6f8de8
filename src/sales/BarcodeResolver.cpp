#include "sales/BarcodeResolver.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/POSTextUtils.h"
#include "core/TypedNumber.h"
#include "sales/BranchStockManager.h"
#include "sales/CartManager.h"

#include <optional>

namespace {
const QString kPackBarcode = QStringLiteral(
    "SELECT TOP 1 S.Barkod AS BaseBarkod, D.CevrimKatsayi FROM StokBirimDonusum D INNER JOIN Stok "
    "S ON "
    "S.StokID = D.StokID WHERE D.KoliBarkod = :Barkod AND S.IsDeleted = 0 AND S.IsActive = 1");

// The expiry check of the product S as two columns. Today's date and the style-104 date text are
// spelled by the dialect, and so is the TOP of the sub-select, which the dialect's rewriting of a
// leading TOP does not reach.
QString ExpiryColumns(const SqlDialect& dialect)
{
    const QString today = dialect.Today();
    return QStringLiteral("CASE   WHEN ISNULL(S.IsSKTTakibi,0) = 1 AND "
                          "ISNULL(S.IsSatisEngelle,1) = 1 AND EXISTS (    SELECT 1 FROM "
                          "StokLotDetay L     WHERE L.StokID = S.StokID       AND "
                          "ISNULL(L.MevcutMiktar,0) > 0       AND L.SonKullanmaTarihi IS NOT NULL  "
                          "     AND L.SonKullanmaTarihi < ") +
           today + QStringLiteral("  ) THEN 1 ELSE 0 END AS IsBlocked, (SELECT ") + dialect.Top(1) +
           dialect.DateText104(QStringLiteral("L2.SonKullanmaTarihi")) +
           QStringLiteral("  FROM StokLotDetay L2  WHERE L2.StokID = S.StokID    AND "
                          "ISNULL(L2.MevcutMiktar,0) > 0    AND L2.SonKullanmaTarihi IS NOT NULL  "
                          "  AND L2.SonKullanmaTarihi < ") +
           today + QStringLiteral("  ORDER BY L2.SonKullanmaTarihi") + dialect.Limit(1) +
           QStringLiteral(") AS ExpiredDate");
}

QString ExpiryBlockSql(const SqlDialect& dialect)
{
    return QStringLiteral("SELECT ") + ExpiryColumns(dialect) +
           QStringLiteral(" FROM Stok S WHERE S.StokID = :Sid");
}

// The code a scan looks up: the case barcode's base barcode when :Barkod is a case barcode, else
// :Barkod itself.
QString ScannedCodeSql(const SqlDialect& dialect, bool packs)
{
    if (!packs)
        return QStringLiteral("SELECT 0 AS PackFound, NULL AS BaseBarkod, NULL AS CevrimKatsayi, "
                              ":Barkod AS Lookup");
    return QStringLiteral("SELECT CASE WHEN P.KoliBarkod IS NULL THEN 0 ELSE 1 END AS PackFound, "
                          "P.BaseBarkod, P.CevrimKatsayi, CASE WHEN P.KoliBarkod IS NULL THEN "
                          ":Barkod ELSE P.BaseBarkod END AS Lookup FROM (SELECT 1 AS One) O LEFT "
                          "JOIN (SELECT ") +
           dialect.Top(1) +
           QStringLiteral("D.KoliBarkod, S0.Barkod AS BaseBarkod, D.CevrimKatsayi FROM "
                          "StokBirimDonusum D INNER JOIN Stok S0 ON S0.StokID = D.StokID WHERE "
                          "D.KoliBarkod = :Barkod AND S0.IsDeleted = 0 AND S0.IsActive = 1") +
           dialect.Limit(1) + QStringLiteral(") P ON 1 = 1");
}

// A scan in one statement: the case barcode, the product of the code it comes to (deleted ones
// are never found), its branch stock and its expiry check. An optional table that is missing
// leaves its part out, as its own look-up would have been left out.
QString ScanSql(const SqlDialect& dialect, bool packs, bool lots)
{
    return QStringLiteral("SELECT C.PackFound, C.BaseBarkod, C.CevrimKatsayi, C.Lookup, S.StokID, "
                          "S.StokAdi, S.SatisFiyati, S.KDVOrani, S.Birim, S.TartimliMi, "
                          "ISNULL(K.KategoriAdi, '') AS KategoriAdi, ISNULL(SS.MevcutStok, 0) AS "
                          "MevcutStok, S.IsActive, ") +
           (lots ? ExpiryColumns(dialect) : QStringLiteral("0 AS IsBlocked, NULL AS ExpiredDate")) +
           QStringLiteral(" FROM (") + ScannedCodeSql(dialect, packs) +
           QStringLiteral(") C LEFT JOIN Stok S ON S.StokID = (SELECT ") + dialect.Top(1) +
           QStringLiteral("S1.StokID FROM Stok S1 WHERE S1.Barkod = C.Lookup AND "
                          "ISNULL(S1.IsDeleted, 0) = 0") +
           dialect.Limit(1) +
           QStringLiteral(") LEFT JOIN Kategori K ON S.KategoriID = K.KategoriID LEFT JOIN "
                          "SubeStok SS ON SS.StokID = S.StokID AND SS.SubeID = :SubeID");
}

// The flags are read too: a tile or search list may be older than the product's deletion.
const QString kProductByStokID =
    QStringLiteral("SELECT StokAdi, Barkod, Birim, CAST(SatisFiyati AS FLOAT) AS SatisFiyati, "
                   "CAST(KDVOrani AS FLOAT) AS "
                   "KDVOrani, TartimliMi, ISNULL(IsActive, 0) AS IsActive, ISNULL(IsDeleted, 0) AS "
                   "IsDeleted FROM Stok "
                   "WHERE StokID = :StokID");

// The grams of a scale label: five digits, or no weight.
double LabelGrams(const QString& digits)
{
    return ReadTypedNumber(digits, TNumberRules::Whole()).value_or(0);
}

// The product row a scan or a touch reads, copied out so that its statement is finished at
// once: a SQL Server connection without multiple active result sets refuses the checks' own
// queries while a result is still open, and the weight prompt may stay on screen for long.
struct TProductRow {
    int StokID = 0;
    QString StokAdi;
    QString Barkod;
    QString Birim;
    double SatisFiyati = 0;
    double KDVOrani = 0;
    bool TartimliMi = false;
    bool IsActive = false;
    bool IsDeleted = false;
};

TProductRow ReadProductRow(const TDbQuery& query)
{
    TProductRow row;
    row.StokID = query.Value(QStringLiteral("StokID")).toInt();
    row.StokAdi = query.Value(QStringLiteral("StokAdi")).toString();
    row.Barkod = query.Value(QStringLiteral("Barkod")).toString();
    row.Birim = query.Value(QStringLiteral("Birim")).toString();
    row.SatisFiyati = FieldToFloatDef(query, QStringLiteral("SatisFiyati"), 0);
    row.KDVOrani = FieldToFloatDef(query, QStringLiteral("KDVOrani"), 0);
    row.TartimliMi = query.Value(QStringLiteral("TartimliMi")).toBool();
    row.IsActive = query.Value(QStringLiteral("IsActive")).toBool();
    row.IsDeleted = query.Value(QStringLiteral("IsDeleted")).toBool();
    return row;
}

TExpiryBlock ReadExpiryBlock(const TDbQuery& query)
{
    if (query.Value(QStringLiteral("IsBlocked")).toInt() != 1)
        return {};
    return {true, QStringLiteral("Dikkat! Bu urunun son kullanma tarihi ") +
                      query.Value(QStringLiteral("ExpiredDate")).toString() +
                      QStringLiteral(" tarihinde gecmistir, islem yapilamaz!")};
}

// What one scan read, copied out of its statement.
struct TScanRow {
    TPackBarcode Pack;
    std::optional<TProductRow> Product;
    TExpiryBlock Expiry;
};

TScanRow ReadScan(int SubeID, const QString& Code)
{
    const bool packs = dmMain->TableExists(QStringLiteral("StokBirimDonusum"));
    const bool lots = dmMain->TableExists(QStringLiteral("StokLotDetay"));
    TDbQuery scan(dmMain->Composed(
        [packs, lots](const SqlDialect& dialect) { return ScanSql(dialect, packs, lots); }));
    scan.Param(QStringLiteral("Barkod"), Code).Param(QStringLiteral("SubeID"), SubeID).Exec();
    TScanRow row;
    row.Pack.BaseBarcode = Code;
    if (!scan.Next())
        return row;
    if (scan.Value(QStringLiteral("PackFound")).toInt() == 1) {
        const double factor = FieldToFloatDef(scan, QStringLiteral("CevrimKatsayi"), 0);
        row.Pack = {true, scan.Value(QStringLiteral("BaseBarkod")).toString(),
                    factor > 0 ? factor : 1};
    }
    if (!scan.Value(QStringLiteral("StokID")).isNull()) {
        row.Product = ReadProductRow(scan);
        row.Expiry = ReadExpiryBlock(scan);
    }
    return row;
}

std::optional<TProductRow> ProductByStokID(int StokID)
{
    TDbQuery product(kProductByStokID);
    product.Param(QStringLiteral("StokID"), StokID).Exec();
    if (!product.Next())
        return std::nullopt;
    return ReadProductRow(product);
}

TAddResult Result(TAddStatus status, const QString& message = {})
{
    return {status, message};
}

// The quantity rules on the line the product is about to enter: none when it may go in,
// otherwise what the road answers (the refusal, or nothing when the cashier declined).
std::optional<TAddResult> QuantityRefusal(const TCartManager& Cart, int StokID,
                                          const TProductRow& product, double quantity,
                                          const TQuantityConfirm& Confirm)
{
    const int line = product.TartimliMi ? -1 : Cart.FindByStokID(StokID);
    const double held = line < 0 ? 0 : Cart.Items(line).Miktar();
    const TQuantityCheck check = TQuantityRules::Check(
        quantity, held + quantity, product.TartimliMi, product.Birim, product.StokAdi);
    if (check.Verdict == TQuantityVerdict::Refused)
        return Result(TAddStatus::Refused, check.Message);
    if (!TQuantityRules::Confirmed(check, Confirm))
        return Result(TAddStatus::NothingAdded);
    return std::nullopt;
}
} // namespace

TScannedCode TBarcodeResolver::SplitScannedCode(const QString& Code)
{
    if (Code.size() == 13 &&
        (Code.startsWith(QStringLiteral("27")) || Code.startsWith(QStringLiteral("28"))))
        return {Code.mid(2, 5), LabelGrams(Code.mid(7, 5)) / 1000};
    const qsizetype star = Code.indexOf(u'*');
    if (star < 1)
        return {Code, 0};
    const std::optional<double> quantity = TQuantityRules::ReadQuantity(Code.left(star));
    return {Code.mid(star + 1), quantity.value_or(0), !quantity};
}

TAddResult TBarcodeResolver::ParseScannedCode(TCartManager& Cart, int SubeID, const QString& Code,
                                              const TQuantityPrompt& Ask,
                                              const TQuantityConfirm& Confirm)
{
    const TScannedCode parsed = SplitScannedCode(Code);
    if (parsed.InvalidQuantity)
        return Result(TAddStatus::Refused, TQuantityRules::MsgInvalidQuantity);
    return AddProductByBarcode(Cart, SubeID, parsed.LookupCode, parsed.PresetQty, Ask, Confirm);
}

TAddResult TBarcodeResolver::AddProductByBarcode(TCartManager& Cart, int SubeID,
                                                 const QString& Code, double PresetQty,
                                                 const TQuantityPrompt& Ask,
                                                 const TQuantityConfirm& Confirm)
{
    // The till readied its branch's stock rows when it opened; only a scan before that waits for
    // the pass over the catalogue.
    TBranchStockManager::EnsureBranchStockRowsOnce(SubeID);
    const TScanRow scan = ReadScan(SubeID, Code);
    const TPackBarcode& pack = scan.Pack;
    const QString barcode = pack.Found ? pack.BaseBarcode : Code;
    // "3*" leaves nothing to look up; a product stored with an empty barcode must not answer it.
    if (barcode.isEmpty())
        return Result(TAddStatus::NotFound, QStringLiteral("Barkod bulunamadı: "));
    const std::optional<TProductRow>& product = scan.Product;
    if (!product)
        return Result(TAddStatus::NotFound, QStringLiteral("Barkod bulunamadı: ") + barcode);
    if (!product->IsActive)
        return Result(TAddStatus::Refused,
                      QStringLiteral("Ürün satışa kapalı: ") + product->StokAdi);
    if (scan.Expiry.Blocked)
        return Result(TAddStatus::Refused, scan.Expiry.Message);

    std::optional<double> quantity = PresetQty > 0 ? PresetQty * pack.Factor : pack.Factor;
    if (product->TartimliMi && !(PresetQty > 0)) {
        QString entry;
        if (!Ask(QStringLiteral("Tartım"),
                 product->StokAdi + QStringLiteral(" Miktarı (") + product->Birim +
                     QStringLiteral("):"),
                 QStringLiteral("1"), entry))
            return Result(TAddStatus::NothingAdded);
        // A weight that cannot be read is refused, never taken as one unit.
        quantity = TQuantityRules::ReadQuantity(entry);
    }
    if (!quantity)
        return Result(TAddStatus::Refused, TQuantityRules::MsgInvalidQuantity);
    if (const std::optional<TAddResult> refused =
            QuantityRefusal(Cart, product->StokID, *product, *quantity, Confirm))
        return *refused;

    Cart.AddItem(product->StokID, product->StokAdi, Code, product->Birim, product->SatisFiyati,
                 *quantity, product->KDVOrani, product->TartimliMi);
    return Result(TAddStatus::Added);
}

TPackBarcode TBarcodeResolver::ResolvePackBarcode(const QString& Code)
{
    TPackBarcode result{false, Code, 1};
    if (!dmMain->TableExists(QStringLiteral("StokBirimDonusum")))
        return result;
    TDbQuery pack(kPackBarcode);
    pack.Param(QStringLiteral("Barkod"), Code).Exec();
    if (!pack.Next())
        return result;
    const double factor = FieldToFloatDef(pack, QStringLiteral("CevrimKatsayi"), 0);
    result.Found = true;
    result.BaseBarcode = pack.Value(QStringLiteral("BaseBarkod")).toString();
    result.Factor = factor > 0 ? factor : 1;
    return result;
}

TExpiryBlock TBarcodeResolver::CheckExpiryBlock(int StokID)
{
    if (!dmMain->TableExists(QStringLiteral("StokLotDetay")))
        return {};
    TDbQuery check(dmMain->Composed(ExpiryBlockSql));
    check.Param(QStringLiteral("Sid"), StokID).Exec();
    return check.Next() ? ReadExpiryBlock(check) : TExpiryBlock();
}

TAddResult TBarcodeResolver::AddProductByStokID(TCartManager& Cart, int VardiyaID, int StokID,
                                                const TQuantityPrompt& Ask,
                                                const TQuantityConfirm& Confirm)
{
    if (VardiyaID <= 0)
        return Result(TAddStatus::Refused, QStringLiteral("Lütfen önce vardiya açınız!"));
    const std::optional<TProductRow> product = ProductByStokID(StokID);
    if (!product)
        return Result(TAddStatus::NothingAdded);
    if (product->IsDeleted)
        return Result(TAddStatus::Refused,
                      QStringLiteral("Ürün satıştan kaldırılmış: ") + product->StokAdi);
    if (!product->IsActive)
        return Result(TAddStatus::Refused,
                      QStringLiteral("Ürün satışa kapalı: ") + product->StokAdi);
    const TExpiryBlock expiry = CheckExpiryBlock(StokID);
    if (expiry.Blocked)
        return Result(TAddStatus::Refused, expiry.Message);

    std::optional<double> quantity = 1.0;
    if (product->TartimliMi) {
        QString entry;
        if (!Ask(QStringLiteral("Miktar"),
                 QStringLiteral("Miktar giriniz (") + product->Birim + QStringLiteral("):"),
                 QStringLiteral("1"), entry))
            return Result(TAddStatus::NothingAdded);
        quantity = TQuantityRules::ReadQuantity(entry);
        if (!quantity)
            return Result(TAddStatus::Refused, TQuantityRules::MsgInvalidQuantity);
    }
    if (const std::optional<TAddResult> refused =
            QuantityRefusal(Cart, StokID, *product, *quantity, Confirm))
        return *refused;
    Cart.AddItem(StokID, product->StokAdi, product->Barkod, product->Birim, product->SatisFiyati,
                 *quantity, product->KDVOrani, product->TartimliMi);
    return Result(TAddStatus::Added);
}
