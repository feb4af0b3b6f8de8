#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/StoredProc.h"
#include "sales/BranchStockManager.h"
#include "sales/CartManager.h"
#include "sales/PaymentCalculator.h"
#include "sales/SaleManager.h"
#include "support/FixedClock.h"
#include "support/ShopFixture.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <functional>
#include <memory>

// sp_CreateSale on the embedded engine: a sale written through the routine holds the very rows
// the statement-by-statement road wrote before the routine existed, and a refused sale writes
// nothing.
class TestEmbeddedSale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void routineWritesWhatTheStatementRoadWrote_data();
    void routineWritesWhatTheStatementRoadWrote();
    void refusals_data();
    void refusals();
    void databaseErrorIsRaisedAfterTheRollback();
    void linesAsTheDocumentGivesThem();
};

namespace {
// The sale as it was written before the routine: one statement at a time from the program,
// texts and order as they were, each figure as the server's decimal column keeps it (money to
// the kuruş, the total as the cashier was asked for it, line amounts to four places, rates to
// two, quantities to three).
namespace StatementRoad {
const QString kInsertHeader =
    "SET NOCOUNT ON; INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, "
    "Tarih, AraToplam, ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID) VALUES (:FisNo, "
    ":Sube, :Kul, :Term, :Var, GETDATE(), :Ara, :KDV, :Ind, :Gen, :Ode, :Mus); SELECT "
    "SCOPE_IDENTITY();";
const QString kInsertLine =
    "INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, Birim, "
    "BirimFiyat, KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, AraToplam, SatirToplam) VALUES "
    "(:Fis, :Sira, :Stok, :Ad, :Bar, :Mik, :Bir, :Fiyat, :KDV, :KDVT, :IndO, :IndT, :Ara, :Top)";
const QString kOpenShift =
    "SELECT VardiyaID FROM Vardiya WITH (UPDLOCK, HOLDLOCK) WHERE VardiyaID = :Var AND "
    "KapanisZamani IS NULL AND ISNULL(VardiyaDurumu, 'ACIK') = 'ACIK'";

// The cash payment keeps the cash handed over, here exactly the cash paid.
void InsertPayment(int fisID, const QString& type, double amount)
{
    if (TMoney::RoundKurus(amount) <= 0.001)
        return;
    TDbQuery("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar, VerilenTutar) VALUES (:Fis, :Tip, "
             ":Tut, :Ver)")
        .Param("Fis", fisID)
        .Param("Tip", type)
        .Param("Tut", TMoney::RoundKurus(amount))
        .Param("Ver",
               type == "NAKIT" ? QVariant(TMoney::RoundKurus(amount)) : TDbQuery::NullDouble())
        .Exec();
}

TSaleResult CreateSale(int SubeID, int KullaniciID, int TerminalID, int VardiyaID,
                       const QString& PaymentType, const TCartManager& Cart, double NakitTutar,
                       double KartTutar)
{
    TSaleResult result;
    try {
        dmMain->ExecSql("SET QUOTED_IDENTIFIER ON");
        TBranchStockManager::EnsureSaleLotSchema();
        TBranchStockManager::EnsureBranchStockRows(SubeID);
        TDbTransaction transaction;
        TDbQuery shift(kOpenShift);
        shift.Param("Var", VardiyaID).Exec();
        if (!shift.Next())
            throw Exception("Vardiya kapalı veya bulunamadı.");
        TDbQuery header(kInsertHeader);
        header.Param("FisNo", "FIS-250305120000")
            .Param("Sube", SubeID)
            .Param("Kul", KullaniciID)
            .Param("Term", TerminalID)
            .Param("Var", VardiyaID)
            .Param("Ara", TMoney::RoundKurus(Cart.AraToplam()))
            .Param("KDV", TMoney::RoundKurus(Cart.ToplamKDV()))
            .Param("Ind", TMoney::RoundKurus(Cart.ToplamIndirim()))
            .Param("Gen", TPaymentCalculator::AmountDue(Cart.GenelToplam()))
            .Param("Ode", PaymentType)
            .Param("Mus", Cart.MusteriNo() < 1 ? TDbQuery::NullInt() : QVariant(Cart.MusteriNo()))
            .Exec();
        header.Next();
        const int fisID = header.Value(0).toInt();
        const QString fisNo = "FIS-" + QString::number(fisID);
        dmMain->ExecSql("UPDATE SatisFis SET FisNo = :FisNo WHERE FisID = :FisID",
                        {{"FisNo", fisNo}, {"FisID", fisID}});
        for (int i = 0; i < Cart.Count(); ++i) {
            const TCartItem& item = Cart.Items(i);
            TDbQuery(kInsertLine)
                .Param("Fis", fisID)
                .Param("Sira", i + 1)
                .Param("Stok", item.StokID())
                .Param("Ad", item.StokAdi())
                .Param("Bar", item.Barkod())
                .Param("Mik", TMoney::RoundQuantity(item.Miktar()))
                .Param("Bir", item.Birim())
                .Param("Fiyat", TMoney::RoundLineAmount(item.NetBirimFiyat()))
                .Param("KDV", TMoney::RoundRate(item.KDVOrani()))
                .Param("KDVT", TMoney::RoundLineAmount(item.KDVTutari()))
                .Param("IndO", TMoney::RoundRate(item.IndirimOrani()))
                .Param("IndT", TMoney::RoundLineAmount(item.IndirimTutari()))
                .Param("Ara", TMoney::RoundLineAmount(item.AraToplam()))
                .Param("Top", TMoney::RoundLineAmount(item.SatirToplam()))
                .Exec();
            TBranchStockManager::AllocateLots(fisID, i + 1, item);
            TBranchStockManager::MoveBranchStock(SubeID, item.StokID(), -item.Miktar());
        }
        InsertPayment(fisID, "NAKIT", NakitTutar);
        InsertPayment(fisID, "KART", KartTutar);
        transaction.Commit();
        result.Success = true;
        result.FisID = fisID;
        result.FisNo = fisNo;
        result.GenelToplam = TPaymentCalculator::AmountDue(Cart.GenelToplam());
    } catch (const std::exception& e) {
        result = TSaleResult();
        result.Message = "Satış hatası: " + ErrorMessage(e);
    }
    return result;
}
} // namespace StatementRoad

// The products of the comparison shop, in the order they are added.
struct TShop {
    int Bread = 0; // counted, 10 % VAT
    int Cheese =
        0; // lot-tracked, blocks expired stock: lots of 2 (in 5 days), 4 (in 40), 3 undated
    int Yogurt = 0;  // lot-tracked, sells around an expired lot
    int Tomato = 0;  // weighed, 1 % VAT
    int Water = 0;   // also stocked at the second branch
    int Revived = 0; // deleted when the branch was seeded, sold again since
    int Milk = 0;    // blocks expired stock and has some
};

TShop BuildShop(TShopFixture& shop, const QDate& today)
{
    TShop p;
    p.Bread = shop.AddProduct("EKMEK", "8690000000011", 12.5, 10, 40);
    p.Cheese = shop.AddProduct("PEYNİR & \"KAŞAR\"", "8690000000042", 187.35, 10, 9);
    p.Yogurt = shop.AddProduct("YOĞURT", "8690000000066", 42.9, 1, 20);
    p.Tomato = shop.AddProduct("DOMATES", "12345", 29.99, 1, 55.5, true);
    p.Water = shop.AddProduct("SU", "8690000000059", 7.333, 20, 100);
    p.Revived = shop.AddProduct("ESKİ ÜRÜN", "8690000000073", 19.9, 20, 6);
    p.Milk = shop.AddProduct("SÜT", "8690000000080", 24.75, 1, 10);
    shop.TrackExpiry(p.Cheese, true);
    shop.AddLot(p.Cheese, 4, today.addDays(40));
    shop.AddLot(p.Cheese, 2, today.addDays(5));
    shop.AddLot(p.Cheese, 3, QDate());
    shop.TrackExpiry(p.Yogurt, false);
    shop.AddLot(p.Yogurt, 6, today.addDays(-2));
    shop.AddLot(p.Yogurt, 8, today.addDays(3));
    shop.TrackExpiry(p.Milk, true);
    shop.AddLot(p.Milk, 1, today.addDays(-1));
    shop.AddLot(p.Milk, 9, today.addDays(9));
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 1 WHERE StokID = %1").arg(p.Revived));
    const int second = shop.AddBranch("KADIKÖY");
    TBranchStockManager::MoveBranchStock(second, p.Water, 12);
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 0 WHERE StokID = %1").arg(p.Revived));
    return p;
}

struct TSaleCase {
    QString Type = "NAKIT";
    double Cash = 0;
    double Card = 0;
    bool CloseShift = false;
};

// Fills the cart of a case and says how it is paid.
using TCartMaker = std::function<TSaleCase(const TShop&, TCartManager&)>;

TCartMaker CartOf(const QString& name)
{
    if (name == "lot line first, discount, cash")
        return [](const TShop& p, TCartManager& cart) {
            cart.AddItem(p.Cheese, "PEYNİR & \"KAŞAR\"", "8690000000042", "ADET", 187.35, 3, 10,
                         false);
            cart.AddItem(p.Bread, "EKMEK", "8690000000011", "ADET", 12.5, 2, 10, false);
            cart.UpdateDiscount(1, 12.5);
            return TSaleCase{"NAKIT", cart.GenelToplam(), 0};
        };
    if (name == "lots spanning, undated lot last, card")
        return [](const TShop& p, TCartManager& cart) {
            cart.AddItem(p.Cheese, "PEYNİR", "8690000000042", "ADET", 187.35, 7.5, 10, false);
            cart.AddItem(p.Yogurt, "YOĞURT", "8690000000066", "KASE", 42.9, 5, 1, false);
            return TSaleCase{"KART", 0, cart.GenelToplam()};
        };
    if (name == "split payment, customer, weighed")
        return [](const TShop& p, TCartManager& cart) {
            cart.AddItem(p.Tomato, "DOMATES", "2712345012508", "KG", 29.99, 1.25, 1, true);
            cart.AddItem(p.Water, "SU", "8690000000059", "ADET", 7.333, 6, 20, false);
            cart.UpdateDiscount(0, 3.33);
            cart.SetMusteriNo(7);
            return TSaleCase{"KARMA", 20, cart.GenelToplam() - 20};
        };
    if (name == "same product twice, revived product, null texts")
        return [](const TShop& p, TCartManager& cart) {
            cart.AddItem(p.Bread, "EKMEK", "8690000000011", "ADET", 12.5, 1, 10, false);
            cart.AddItem(p.Revived, "ESKİ ÜRÜN", QString(), QString(), 19.9, 2, 20, false);
            cart.AddItem(p.Bread, "EKMEK", "", "ADET", 12.5, 4, 10, false);
            return TSaleCase{"NAKIT", cart.GenelToplam(), 0};
        };
    if (name == "line without a name")
        return [](const TShop& p, TCartManager& cart) {
            cart.AddItem(p.Bread, "EKMEK", "8690000000011", "ADET", 12.5, 1, 10, false);
            cart.AddItem(p.Water, QString(), "8690000000059", "ADET", 7.333, 1, 20, false);
            return TSaleCase{"NAKIT", cart.GenelToplam(), 0};
        };
    if (name == "payments below the tolerance")
        return [](const TShop& p, TCartManager& cart) {
            cart.AddItem(p.Water, "SU", "8690000000059", "ADET", 7.333, 1, 20, false);
            return TSaleCase{"NAKIT", 0.001, 0.0005};
        };
    if (name == "expired stock refused")
        return [](const TShop& p, TCartManager& cart) {
            cart.AddItem(p.Bread, "EKMEK", "8690000000011", "ADET", 12.5, 1, 10, false);
            cart.AddItem(p.Milk, "SÜT", "8690000000080", "ADET", 24.75, 1, 1, false);
            return TSaleCase{"NAKIT", cart.GenelToplam(), 0};
        };
    if (name == "lots short on the last line")
        return [](const TShop& p, TCartManager& cart) {
            cart.AddItem(p.Cheese, "PEYNİR", "8690000000042", "ADET", 187.35, 2, 10, false);
            cart.AddItem(p.Cheese, "PEYNİR", "8690000000042", "ADET", 187.35, 7.5, 10, false);
            return TSaleCase{"NAKIT", cart.GenelToplam(), 0};
        };
    return [](const TShop& p, TCartManager& cart) {
        cart.AddItem(p.Bread, "EKMEK", "8690000000011", "ADET", 12.5, 1, 10, false);
        return TSaleCase{"NAKIT", cart.GenelToplam(), 0, true};
    };
}

// Every row a sale may write or change, column by column; CreatedAt stamps come from SQLite's
// own clock, out of the test clock's reach, and are left out.
QString Rows()
{
    QStringList text;
    for (const char* table : {"SatisFis", "SatisFisSatir", "SatisFisLot", "SatisOdeme",
                              "StokLotDetay", "SubeStok", "Stok"}) {
        QSqlQuery query(dmMain->Database());
        query.exec(QString("SELECT * FROM %1 ORDER BY 1").arg(table));
        while (query.next()) {
            QStringList row{table};
            for (int c = 0; c < query.record().count(); ++c) {
                if (query.record().fieldName(c) != "CreatedAt")
                    row << query.record().fieldName(c) + '=' +
                               (query.isNull(c) ? QString("NULL") : query.value(c).toString());
            }
            text << row.join('|');
        }
    }
    return text.join('\n');
}

struct TOutcome {
    TSaleResult Result;
    QString Rows;
};

TOutcome Sell(const QString& name, const QDateTime& now,
              const std::function<TSaleResult(const TShopFixture&, const TSaleCase&,
                                              const TCartManager&)>& road)
{
    const TFixedClock clock(now);
    TShopFixture shop;
    const TShop products = BuildShop(shop, clock.Today());
    TCartManager cart;
    const TSaleCase sale = CartOf(name)(products, cart);
    if (sale.CloseShift)
        shop.Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    const TSaleResult result = road(shop, sale, cart);
    return {result, Rows()};
}
} // namespace

void TestEmbeddedSale::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

void TestEmbeddedSale::routineWritesWhatTheStatementRoadWrote_data()
{
    QTest::addColumn<QString>("cart");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("lot line first") << "lot line first, discount, cash" << QString();
    QTest::newRow("lots spanning") << "lots spanning, undated lot last, card" << QString();
    QTest::newRow("split payment") << "split payment, customer, weighed" << QString();
    QTest::newRow("same product twice")
        << "same product twice, revived product, null texts" << QString();
    QTest::newRow("no payment row") << "payments below the tolerance" << QString();
    QTest::newRow("expired stock")
        << "expired stock refused"
        << "Satış hatası: Dikkat! Bu urunun son kullanma tarihi 04.03.2025 tarihinde gecmistir, "
           "islem yapilamaz!";
    QTest::newRow("lots short") << "lots short on the last line"
                                << "Satış hatası: Lot bazli stok yetersiz: PEYNİR";
    QTest::newRow("closed shift") << "closed shift"
                                  << "Satış hatası: Vardiya kapalı veya bulunamadı.";
    QTest::newRow("database error") << "line without a name"
                                    << "Satış hatası: NOT NULL constraint failed: "
                                       "SatisFisSatir.StokAdi";
}

// The SQLite ODBC driver frames the database's own text as "[SQLite]text (code)".
QString WithoutDriverMarks(QString message)
{
    static const QRegularExpression marks(QStringLiteral(R"(\[SQLite\]|\s\(\d+\)$)"));
    return message.remove(marks);
}

void TestEmbeddedSale::routineWritesWhatTheStatementRoadWrote()
{
    QFETCH(QString, cart);
    QFETCH(QString, refusal);
    const QDateTime now(QDate(2025, 3, 5), QTime(12, 0, 0));
    const TOutcome before =
        Sell(cart, now, [](const TShopFixture& shop, const TSaleCase& sale, const TCartManager& c) {
            return StatementRoad::CreateSale(shop.SubeID(), shop.KullaniciID(), shop.TerminalID(),
                                             shop.VardiyaID(), sale.Type, c, sale.Cash, sale.Card);
        });
    const TOutcome now_ =
        Sell(cart, now, [](const TShopFixture& shop, const TSaleCase& sale, const TCartManager& c) {
            return TSaleManager::CreateSale(shop.SubeID(), shop.KullaniciID(), shop.TerminalID(),
                                            shop.VardiyaID(), sale.Type, c, sale.Cash, sale.Card);
        });
    QCOMPARE(now_.Result.Success, refusal.isEmpty());
    QCOMPARE(now_.Result.Message, before.Result.Message);
    QCOMPARE(WithoutDriverMarks(now_.Result.Message), refusal);
    QCOMPARE(now_.Result.FisID, before.Result.FisID);
    QCOMPARE(now_.Result.FisNo, before.Result.FisNo);
    QCOMPARE(now_.Result.GenelToplam, before.Result.GenelToplam);
    QCOMPARE(now_.Rows, before.Rows);
    QVERIFY(now_.Rows.contains("SatisFis|FisID=") == refusal.isEmpty());
}

void TestEmbeddedSale::refusals_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    const QString bread =
        "<Sale><Line StokID=\"1\" StokAdi=\"EKMEK\" Miktar=\"1\" BirimFiyat=\"10\" "
        "KDVOrani=\"10\" KDVTutari=\"1\" IndirimOrani=\"0\" IndirimTutari=\"0\" "
        "AraToplam=\"10\" SatirToplam=\"11\"/><Payment OdemeTipi=\"NAKIT\" "
        "Tutar=\"11\"/></Sale>";
    const QString milk = QString(bread).replace("StokID=\"1\"", "StokID=\"3\"");
    QTest::newRow("not XML") << "<Sale><Line StokID=\"1\"" << QString()
                             << "Satış belgesi okunamadı.";
    QTest::newRow("no line") << "<Sale><Payment OdemeTipi=\"NAKIT\" Tutar=\"5\"/></Sale>"
                             << QString() << "Sepet boş!";
    QTest::newRow("empty text") << "" << QString() << "Satış belgesi okunamadı.";
    QTest::newRow("closed shift")
        << bread << "UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'"
        << "Vardiya kapalı veya bulunamadı.";
    QTest::newRow("missing shift") << bread << "UPDATE Vardiya SET VardiyaID = VardiyaID + 100"
                                   << "Vardiya kapalı veya bulunamadı.";
    QTest::newRow("expired stock")
        << milk << QString()
        << "Dikkat! Bu urunun son kullanma tarihi 04.03.2025 tarihinde gecmistir, islem "
           "yapilamaz!";
    QTest::newRow("lots short") << QString(bread).replace("Miktar=\"1\"", "Miktar=\"50\"")
                                << "UPDATE Stok SET IsSKTTakibi = 1 WHERE StokID = 1"
                                << "Lot bazli stok yetersiz: EKMEK";
}

// Called directly, as SQL Server's procedure would be: a refusal comes back in @Success and
// @Message, and nothing is written, not even the receipt head.
void TestEmbeddedSale::refusals()
{
    QFETCH(QString, document);
    QFETCH(QString, change);
    QFETCH(QString, message);
    const TFixedClock clock(QDateTime(QDate(2025, 3, 5), QTime(12, 0, 0)));
    TShopFixture shop;
    shop.AddProduct("EKMEK", "8690000000011", 11, 10, 20);
    shop.AddProduct("PEYNIR", "8690000000042", 55, 10, 20);
    const int milk = shop.AddProduct("SUT", "8690000000080", 11, 10, 20);
    shop.TrackExpiry(milk, true);
    shop.AddLot(milk, 2, clock.Today().addDays(-1));
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    if (!change.isEmpty())
        shop.Exec(change);
    const QString before = Rows();

    TStoredProc call("sp_CreateSale");
    call.In("@SubeID", shop.SubeID())
        .In("@KullaniciID", shop.KullaniciID())
        .In("@TerminalID", shop.TerminalID())
        .In("@VardiyaID", shop.VardiyaID())
        .In("@GeciciFisNo", "FIS-250305120000")
        .In("@AraToplam", 10.0)
        .In("@ToplamKDV", 1.0)
        .In("@Indirim", 0.0)
        .In("@GenelToplam", 11.0)
        .In("@OdemeTipi", "NAKIT")
        .In("@MusteriID", TDbQuery::NullInt())
        .In("@SatisXML", document)
        .Out("@Success", QMetaType::Bool)
        .Out("@Message", QMetaType::QString, 500)
        .Out("@FisID", QMetaType::Int);
    call.Exec();
    QCOMPARE(call.Value("@Success").toBool(), false);
    QCOMPARE(call.Value("@Message").toString(), message);
    QCOMPARE(call.Value("@FisID").toInt(), 0);
    QCOMPARE(Rows(), before);
    QVERIFY(!shop.Database().Db().InTransaction());
}

void TestEmbeddedSale::databaseErrorIsRaisedAfterTheRollback()
{
    TShopFixture shop;
    const int bread = shop.AddProduct("EKMEK", "8690000000011", 11, 10, 20);
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    // Raw SQLite text: the trigger body holds a semicolon that a statement batch would split at.
    QSqlQuery trigger(shop.Database().Db().Database());
    QVERIFY(trigger.exec("CREATE TRIGGER FailPayment BEFORE INSERT ON SatisOdeme BEGIN SELECT "
                         "RAISE(ABORT, 'kasa kilitli'); END"));
    const QString before = Rows();
    TCartManager cart;
    cart.AddItem(bread, "EKMEK", "8690000000011", "ADET", 11, 1, 10, false);
    TStoredProc call("sp_CreateSale");
    call.In("@SubeID", shop.SubeID())
        .In("@KullaniciID", shop.KullaniciID())
        .In("@TerminalID", shop.TerminalID())
        .In("@VardiyaID", shop.VardiyaID())
        .In("@GeciciFisNo", "FIS-1")
        .In("@AraToplam", cart.AraToplam())
        .In("@ToplamKDV", cart.ToplamKDV())
        .In("@Indirim", 0.0)
        .In("@GenelToplam", cart.GenelToplam())
        .In("@OdemeTipi", "NAKIT")
        .In("@MusteriID", TDbQuery::NullInt())
        .In("@SatisXML", "<Sale><Line StokID=\"1\" StokAdi=\"EKMEK\" Miktar=\"1\" "
                         "BirimFiyat=\"10\" KDVOrani=\"10\" "
                         "KDVTutari=\"1\" IndirimOrani=\"0\" IndirimTutari=\"0\" AraToplam=\"10\" "
                         "SatirToplam=\"11\"/><Payment OdemeTipi=\"NAKIT\" Tutar=\"11\"/></Sale>")
        .Out("@Success", QMetaType::Bool)
        .Out("@Message", QMetaType::QString, 500)
        .Out("@FisID", QMetaType::Int);
    try {
        call.Exec();
        QFAIL("the routine did not raise the database's error");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().contains("kasa kilitli"), qPrintable(e.Message()));
    }
    QCOMPARE(Rows(), before);
    QVERIFY(!shop.Database().Db().InTransaction());
}

// A text the document leaves out is stored NULL, an empty one as empty; every figure is stored
// as the document writes it, at the scale of its column as the server's decimals keep it, in the
// document's line order.
void TestEmbeddedSale::linesAsTheDocumentGivesThem()
{
    TShopFixture shop;
    const int bread = shop.AddProduct("EKMEK", "8690000000011", 11, 10, 20);
    const int water = shop.AddProduct("SU", "8690000000059", 5, 20, 20);
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    TStoredProc call("sp_CreateSale");
    call.In("@SubeID", shop.SubeID())
        .In("@KullaniciID", shop.KullaniciID())
        .In("@TerminalID", shop.TerminalID())
        .In("@VardiyaID", shop.VardiyaID())
        .In("@GeciciFisNo", "FIS-1")
        .In("@AraToplam", 0.0)
        .In("@ToplamKDV", 0.0)
        .In("@Indirim", 0.0)
        .In("@GenelToplam", 0.0)
        .In("@OdemeTipi", "KART")
        .In("@MusteriID", TDbQuery::NullInt())
        .In("@SatisXML",
            QString(
                "<Sale>\n  <Line StokID=\"%1\" StokAdi=\"\" Miktar=\"0.125\" "
                "BirimFiyat=\"2.5e-03\" KDVOrani=\"20\" KDVTutari=\"0.30000000000000004\" "
                "IndirimOrani=\"0\" IndirimTutari=\"0\" AraToplam=\"1.5\" SatirToplam=\"1.8\"/>"
                "<Line StokID=\"%2\" StokAdi=\"SU &amp; &lt;BUZ&gt;\" Barkod=\"86&#10;90\" "
                "Birim=\"ŞİŞE\" Miktar=\"2\" BirimFiyat=\"4\" KDVOrani=\"20\" KDVTutari=\"1.6\" "
                "IndirimOrani=\"0\" IndirimTutari=\"0\" AraToplam=\"8\" SatirToplam=\"9.6\"/>"
                "<Payment OdemeTipi=\"KART\" Tutar=\"11.4\"/></Sale>")
                .arg(water)
                .arg(bread))
        .Out("@Success", QMetaType::Bool)
        .Out("@Message", QMetaType::QString, 500)
        .Out("@FisID", QMetaType::Int);
    call.Exec();
    QVERIFY2(call.Value("@Success").toBool(), qPrintable(call.Value("@Message").toString()));
    const int fisID = call.Value("@FisID").toInt();
    QCOMPARE(shop.Scalar(QString("SELECT FisNo FROM SatisFis WHERE FisID = %1").arg(fisID)),
             QVariant("FIS-" + QString::number(fisID)));
    QSqlQuery lines(shop.Database().Db().Database());
    QVERIFY(lines.exec(QString("SELECT SiraNo, StokID, StokAdi, Barkod, Birim, Miktar, "
                               "BirimFiyat, KDVTutari FROM SatisFisSatir WHERE FisID = %1 ORDER "
                               "BY SiraNo")
                           .arg(fisID)));
    QVERIFY(lines.next());
    QCOMPARE(lines.value(1).toInt(), water);
    QCOMPARE(lines.value(2).toString(), QString(""));
    QVERIFY(!lines.isNull(2));
    QVERIFY(lines.isNull(3));
    QVERIFY(lines.isNull(4));
    QCOMPARE(lines.value(5).toDouble(), 0.125);
    QCOMPARE(lines.value(6).toDouble(), 0.0025);
    QVERIFY2(shop.Count(QString("SatisFisSatir WHERE FisID = %1 AND SiraNo = 1 AND KDVTutari = 0.3")
                            .arg(fisID)) == 1,
             "0.1 + 0.2 is kept as 0.3, as DECIMAL(18,4) keeps it");
    QVERIFY(lines.next());
    QCOMPARE(lines.value(0).toInt(), 2);
    QCOMPARE(lines.value(2).toString(), QString("SU & <BUZ>"));
    QCOMPARE(lines.value(3).toString(), QString("86\n90"));
    QCOMPARE(lines.value(4).toString(), QString("ŞİŞE"));
    QCOMPARE(shop.BranchStock(shop.SubeID(), bread), 18.0);
    QCOMPARE(shop.BranchStock(shop.SubeID(), water), 19.875);
    QCOMPARE(shop.Scalar(QString("SELECT OdemeTipi || '=' || Tutar FROM SatisOdeme WHERE FisID = "
                                 "%1")
                             .arg(fisID))
                 .toString(),
             QString("KART=11.4"));
    QVERIFY(shop.Scalar(QString("SELECT VerilenTutar FROM SatisOdeme WHERE FisID = %1").arg(fisID))
                .isNull());
}

QTEST_GUILESS_MAIN(TestEmbeddedSale)
#include "tst_EmbeddedSale.moc"
