#include "DatabaseProbe.h"

#include "core/DbQuery.h"
#include "core/OwnedSchema.h"
#include "core/StoredProc.h"
#include "database/EmbeddedProcedures.h"
#include "support/FixedClock.h"
#include "support/TestDatabase.h"

#include <QtTest>

// sp_CloseVardiya, sp_ProcessRefund and vw_VardiyaOzet on the embedded engine, on small
// hand-made shifts whose figures are worked out in the comments.
class TestEmbeddedProcedures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void viewFollowsTheShiftRules();
    void closeReturnsEveryFigure();
    void closeShiftWithoutReceipts();
    void closeRefusals_data();
    void closeRefusals();
    void refundBooksReceiptLinesPaymentAndStock();
    void refundRefusals_data();
    void refundRefusals();
    void secondRefundBeyondTheRemainderIsRefused();
    void refundSequencesPayBackWhatWasPaid_data();
    void refundSequencesPayBackWhatWasPaid();
    void refundSeedsAMissingBranchRow();
    void refundDocument_data();
    void refundDocument();
    void closeReadsTheShiftStatusAsTheServer_data();
    void closeReadsTheShiftStatusAsTheServer();
    void refundReadsStatusWordsAsTheServer_data();
    void refundReadsStatusWordsAsTheServer();
    void earlierRefundInAnyLetterCaseCounts();
    void refundReturnsGoodsToTheirLots_data();
    void refundReturnsGoodsToTheirLots();
};

namespace {
constexpr int kStokA = 1; // counted, 20 % VAT, sold with a 10 % line discount
constexpr int kStokB = 2; // weighed, 1 % VAT, on two lines of the sale
constexpr int kStokC = 3;
constexpr int kStokD = 4; // not on the sale

void Exec(const QString& sql, const QList<QPair<QString, QVariant>>& params = {})
{
    TDbQuery q(sql);
    for (const auto& [name, value] : params)
        q.Param(name, value);
    q.Exec();
}

double Real(const QString& sql)
{
    return dmMain->GetScalar(sql).toDouble();
}

// Two branches of one firm, a cashier on each, four products with branch stock, and four shifts:
// 1 open at MERKEZ with 500 opening cash, 2 closed, 3 open at KADIKÖY with a NULL status, 4 marked
// 'KAPALI' without a closing time.
void BuildBase()
{
    Exec("INSERT INTO Firma (FirmaID, Unvan) VALUES (1, 'Firma')");
    Exec("INSERT INTO Sube (SubeID, SubeAdi, FirmaID) VALUES (1, 'MERKEZ', 1), (2, 'KADIKÖY', 1)");
    Exec("INSERT INTO Rol (RolID, RolAdi) VALUES (1, 'Kasiyer')");
    Exec("INSERT INTO Kullanici (KullaniciID, KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID) "
         "VALUES "
         "(1, 'kasiyer', 'h', 'Ayşe', 1, 1), (2, 'kasiyer2', 'h', 'Mehmet', 1, 2)");
    Exec("INSERT INTO Terminal (TerminalID, TerminalAdi) VALUES (1, 'KASA-1'), (2, 'KASA-2')");
    Exec("INSERT INTO Kategori (KategoriID, KategoriAdi) VALUES (1, 'Genel')");
    Exec("INSERT INTO Stok (StokID, StokAdi, Barkod, Birim, SatisFiyati, KDVOrani, TartimliMi, "
         "KategoriID, MevcutStok) VALUES "
         "(1, 'Kola 1 L', '8690000000011', 'ADET', 12, 20, 0, 1, 14), "
         "(2, 'Domates', '12345', 'KG', 20, 1, 1, 1, 5.5), "
         "(3, 'Ekmek', '8690000000028', 'ADET', 10, 1, 0, 1, 20), "
         "(4, 'Su', '8690000000035', 'ADET', 5, 1, 0, 1, 8)");
    Exec("INSERT INTO SubeStok (SubeID, StokID, MevcutStok) VALUES (1, 1, 10), (2, 1, 4), (1, 2, "
         "5.5), "
         "(1, 3, 20), (1, 4, 8)");
    Exec("INSERT INTO Vardiya (VardiyaID, KullaniciID, TerminalID, SubeID, AcilisZamani, "
         "AcilisTutar, KapanisZamani, "
         "KapanisTutar, VardiyaDurumu) VALUES "
         "(1, 1, 1, 1, '2025-03-01 08:00:00', 500, NULL, NULL, 'ACIK'), "
         "(2, 1, 1, 1, '2025-02-28 08:00:00', 0, '2025-02-28 20:00:00', 50, 'KAPALI'), "
         "(3, 2, 2, 2, '2025-03-01 08:30:00', 100, NULL, NULL, NULL), "
         "(4, 2, 2, 2, '2025-02-27 08:30:00', 0, NULL, NULL, 'KAPALI')");
}

int AddReceipt(int vardiya, const QVariant& durum, const QString& odemeTipi, double genel,
               const QList<QPair<QString, double>>& payments, int sube = 1)
{
    TDbQuery q("INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, "
               "GenelToplam, OdemeTipi, "
               "FisDurumu) VALUES ('FIS-0', :S, 1, 1, :V, :G, :O, :D); SELECT SCOPE_IDENTITY()");
    q.Param("S", sube)
        .Param("V", vardiya)
        .Param("G", genel)
        .Param("O", odemeTipi)
        .Param("D", durum)
        .Exec();
    q.Next();
    const int fisID = q.Value(0).toInt();
    Exec("UPDATE SatisFis SET FisNo = 'FIS-' || FisID WHERE FisID = :F", {{"F", fisID}});
    for (const auto& [tip, tutar] : payments)
        Exec("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (:F, :T, :U)",
             {{"F", fisID}, {"T", tip}, {"U", tutar}});
    return fisID;
}

// Shift 1 holds:
//   cash sale 100 (NAKIT 100)           card sale 250 (KART 250)
//   split sale 300 (Nakit 120, KART 180) sale 'nakit' 40 without payment lines
//   refund -30 (NAKIT -30)               'IPTAL' 1000 and NULL-status 70, both cash
// Cash takings 100 + 120 + 40 = 260; card 250 + 180 = 430; cash receipts 3, card receipts 2;
// 4 'AKTIF' receipts, 1 refund of 30; expected cash 500 + 260 - 30 = 730.
// Shift 2 holds one cash sale of 999.
void AddShiftReceipts()
{
    AddReceipt(1, "AKTIF", "NAKIT", 100, {{"NAKIT", 100}});
    AddReceipt(1, "AKTIF", "KART", 250, {{"KART", 250}});
    AddReceipt(1, "AKTIF", "KARMA", 300, {{"Nakit", 120}, {"KART", 180}});
    AddReceipt(1, "AKTIF", "nakit", 40, {});
    AddReceipt(1, "IADE", "NAKIT", -30, {{"NAKIT", -30}});
    AddReceipt(1, "IPTAL", "NAKIT", 1000, {{"NAKIT", 1000}});
    AddReceipt(1, TDbQuery::NullText(), "NAKIT", 70, {{"NAKIT", 70}});
    AddReceipt(2, "AKTIF", "NAKIT", 999, {{"NAKIT", 999}});
}

// A cash sale of shift 1 at MERKEZ for customer 7:
//   1  Kola 1 L  3 x 12,00 less 10 %: AraToplam 30, discount 3, VAT 5.4, total 32.4
//   2  Domates   1.5 kg:              AraToplam 29.703, VAT 0.297, total 30
//   3  Ekmek     2:                   AraToplam 19.802, VAT 0.198, total 20
//   4  Domates   0.5 kg:              AraToplam 9.901, VAT 0.099, total 10
// Domates: 2 kg sold for 40, so a refunded kilo is worth 20.
int AddSale()
{
    const int fisID = AddReceipt(1, "AKTIF", "NAKIT", 92.4, {{"NAKIT", 92.4}});
    Exec("UPDATE SatisFis SET MusteriID = 7, AraToplam = 89.406, ToplamKDV = 5.994, Indirim = 3 "
         "WHERE FisID = :F",
         {{"F", fisID}});
    Exec("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, Birim, "
         "BirimFiyat, KDVOrani, "
         "KDVTutari, IndirimOrani, IndirimTutari, AraToplam, SatirToplam) VALUES "
         "(:F, 1, 1, 'Kola 1 L', '8690000000011', 3, 'ADET', 10, 20, 5.4, 10, 3, 30, 32.4), "
         "(:F, 2, 2, 'Domates', '12345', 1.5, 'KG', 19.802, 1, 0.297, 0, 0, 29.703, 30), "
         "(:F, 3, 3, 'Ekmek', '8690000000028', 2, 'ADET', 9.901, 1, 0.198, 0, 0, 19.802, 20), "
         "(:F, 4, 2, 'Domates', '12345', 0.5, 'KG', 19.802, 1, 0.099, 0, 0, 9.901, 10)",
         {{"F", fisID}});
    return fisID;
}

// A sale of shift 1 at MERKEZ from a short spec: lines "StokID:Miktar:SatirToplam;..." (net,
// discount and VAT left at 0) and payment lines "OdemeTipi:Tutar;..." (none when empty).
int AddSaleOf(const QString& lines, double genel, const QString& odemeTipi, const QString& payments)
{
    QList<QPair<QString, double>> paid;
    for (const QString& payment : payments.split(';', Qt::SkipEmptyParts))
        paid.append({payment.section(':', 0, 0), payment.section(':', 1).toDouble()});
    const int fisID = AddReceipt(1, "AKTIF", odemeTipi, genel, paid);
    int sira = 0;
    for (const QString& line : lines.split(';')) {
        const int stokID = line.section(':', 0, 0).toInt();
        Exec("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Miktar, SatirToplam) "
             "SELECT :F, :Sira, StokID, StokAdi, :M, :T FROM Stok WHERE StokID = :S",
             {{"F", fisID},
              {"Sira", ++sira},
              {"M", line.section(':', 1, 1).toDouble()},
              {"T", line.section(':', 2, 2).toDouble()},
              {"S", stokID}});
    }
    return fisID;
}

// What a refund receipt paid back: "GenelToplam OdemeTipi cash card", amounts as positive.
QString PaidBack(int fisID)
{
    const auto money = [fisID](const QString& sql) {
        return QString::number(0.0 - dmMain->GetScalar(sql.arg(fisID)).toDouble());
    };
    return QStringList{
        money("SELECT GenelToplam FROM SatisFis WHERE FisID = %1"),
        dmMain->GetScalar(QString("SELECT OdemeTipi FROM SatisFis WHERE FisID = %1").arg(fisID))
            .toString(),
        money("SELECT ISNULL(SUM(Tutar), 0) FROM SatisOdeme WHERE FisID = %1 AND "
              "OdemeTipi = 'NAKIT'"),
        money("SELECT ISNULL(SUM(Tutar), 0) FROM SatisOdeme WHERE FisID = %1 AND "
              "OdemeTipi = 'KART'")}
        .join(' ');
}

struct TCloseResult {
    bool Success = false;
    QString Message;
    double SistemTutar = 0, Fark = 0, NakitSatis = 0, KartSatis = 0, IadeToplam = 0,
           AcilisTutar = 0;
    int ToplamSatis = 0, NakitAdet = 0, KartAdet = 0, IadeAdet = 0;
    QVariant KapanisZamani;
};

TCloseResult Close(int vardiyaID, const QVariant& amount, int kullaniciID = 1)
{
    TStoredProc call("sp_CloseVardiya");
    call.In("@VardiyaID", vardiyaID)
        .In("@KapanisTutar", amount)
        .In("@KapatanKullaniciID", kullaniciID);
    call.Out("@Success", QMetaType::Bool).Out("@Message", QMetaType::QString, 500);
    for (const char* money : {"@SistemTutar", "@Fark"})
        call.Out(money, QMetaType::Double);
    call.Out("@ToplamSatis", QMetaType::Int)
        .Out("@NakitSatis", QMetaType::Double)
        .Out("@KartSatis", QMetaType::Double);
    call.Out("@NakitAdet", QMetaType::Int)
        .Out("@KartAdet", QMetaType::Int)
        .Out("@IadeToplam", QMetaType::Double);
    call.Out("@IadeAdet", QMetaType::Int).Out("@AcilisTutarOut", QMetaType::Double);
    call.Out("@KapanisZamaniOut", QMetaType::QDateTime);
    call.Exec();
    TCloseResult r;
    r.Success = call.Value("@Success").toBool();
    r.Message = call.Value("@Message").toString();
    r.SistemTutar = call.Value("@SistemTutar").toDouble();
    r.Fark = call.Value("@Fark").toDouble();
    r.ToplamSatis = call.Value("@ToplamSatis").toInt();
    r.NakitSatis = call.Value("@NakitSatis").toDouble();
    r.KartSatis = call.Value("@KartSatis").toDouble();
    r.NakitAdet = call.Value("@NakitAdet").toInt();
    r.KartAdet = call.Value("@KartAdet").toInt();
    r.IadeToplam = call.Value("@IadeToplam").toDouble();
    r.IadeAdet = call.Value("@IadeAdet").toInt();
    r.AcilisTutar = call.Value("@AcilisTutarOut").toDouble();
    r.KapanisZamani = call.Value("@KapanisZamaniOut");
    return r;
}

QPair<bool, QString> Refund(int originalID, int vardiyaID, const QString& xml, int kullaniciID = 1)
{
    TStoredProc call("sp_ProcessRefund");
    call.In("@OriginalFisID", originalID)
        .In("@KullaniciID", kullaniciID)
        .In("@VardiyaID", vardiyaID);
    call.In("@RefundItemsXML", xml);
    call.Out("@Success", QMetaType::Bool).Out("@Message", QMetaType::QString, 500);
    call.Exec();
    return {call.Value("@Success").toBool(), call.Value("@Message").toString()};
}

QString Items(const QList<QPair<int, QString>>& items)
{
    QString xml = "<Items>";
    for (const auto& [stokID, miktar] : items)
        xml += QString("<Item StokID=\"%1\" Miktar=\"%2\"/>").arg(stokID).arg(miktar);
    return xml + "</Items>";
}

double BranchStock(int sube, int stok)
{
    return Real(QString("SELECT MevcutStok FROM SubeStok WHERE SubeID = %1 AND StokID = %2")
                    .arg(sube)
                    .arg(stok));
}

int LastFisID()
{
    return dmMain->GetScalar("SELECT MAX(FisID) FROM SatisFis").toInt();
}
} // namespace

void TestEmbeddedProcedures::initTestCase()
{
    UseTestPaths();
}

void TestEmbeddedProcedures::viewFollowsTheShiftRules()
{
    TTestDatabase db;
    BuildBase();
    AddShiftReceipts();
    TDbQuery view("SELECT * FROM vw_VardiyaOzet WHERE VardiyaID = :VID");
    view.Param("VID", 1).Exec();
    QVERIFY(view.Next());
    QCOMPARE(view.Value("AcilisTutar").toDouble(), 500.0);
    QCOMPARE(view.Value("NakitSatis").toDouble(), 260.0);
    QCOMPARE(view.Value("KartSatis").toDouble(), 430.0);
    QCOMPARE(view.Value("IadeToplam").toDouble(), 30.0);
    QCOMPARE(view.Value("IadeNakit").toDouble(), 30.0);
    QCOMPARE(view.Value("BeklenenNakit").toDouble(), 730.0);
    QCOMPARE(view.Value("AktifFis").toInt(), 4);
    QCOMPARE(view.Value("IadeFis").toInt(), 1);
    QCOMPARE(view.Value("NakitAdet").toInt(), 3);
    QCOMPARE(view.Value("KartAdet").toInt(), 2);
    QCOMPARE(view.Value("Fark").toDouble(), 0.0); // open: no difference yet
    QVERIFY(!view.Next());

    // A closed shift: 50 counted against 0 + 999 expected.
    view.Param("VID", 2).Exec();
    QVERIFY(view.Next());
    QCOMPARE(view.Value("BeklenenNakit").toDouble(), 999.0);
    QCOMPARE(view.Value("Fark").toDouble(), -949.0);
    QCOMPARE(view.Value("KapanisTutar").toDouble(), 50.0);
    QCOMPARE(view.Value("AcilisTutar").toDouble(), 0.0);
    QCOMPARE(view.Value("VardiyaDurumu").toString(), QString("KAPALI"));
    QCOMPARE(StoredTimeText(view.Value("AcilisZamani")), QString("2025-02-28 08:00:00"));
    QCOMPARE(StoredTimeText(view.Value("KapanisZamani")), QString("2025-02-28 20:00:00"));
    QCOMPARE(view.Value("KullaniciID").toInt() * 100 + view.Value("TerminalID").toInt() * 10 +
                 view.Value("SubeID").toInt(),
             111);

    // A shift without receipts gives zeros, never NULL.
    view.Param("VID", 3).Exec();
    QVERIFY(view.Next());
    for (const char* column : {"NakitSatis", "KartSatis", "IadeToplam", "IadeNakit", "AktifFis",
                               "IadeFis", "NakitAdet", "KartAdet"}) {
        QVERIFY2(!view.Value(column).isNull(), column);
        QCOMPARE(view.Value(column).toDouble(), 0.0);
    }
    QCOMPARE(view.Value("BeklenenNakit").toDouble(), 100.0);
    QCOMPARE(db.Scalar("SELECT COUNT(*) FROM vw_VardiyaOzet").toInt(), 4);
}

void TestEmbeddedProcedures::closeReturnsEveryFigure()
{
    TTestDatabase db;
    BuildBase();
    AddShiftReceipts();
    const TFixedClock clock(QDateTime(QDate(2025, 3, 5), QTime(23, 59, 59)));
    const TCloseResult r = Close(1, 750.25);
    QVERIFY2(r.Success, qPrintable(r.Message));
    QCOMPARE(r.Message, QString("Vardiya kapatıldı."));
    QCOMPARE(r.SistemTutar, 730.0);
    QCOMPARE(r.Fark, 20.25);
    QCOMPARE(r.ToplamSatis, 4);
    QCOMPARE(r.NakitSatis, 260.0);
    QCOMPARE(r.KartSatis, 430.0);
    QCOMPARE(r.NakitAdet, 3);
    QCOMPARE(r.KartAdet, 2);
    QCOMPARE(r.IadeToplam, 30.0);
    QCOMPARE(r.IadeAdet, 1);
    QCOMPARE(r.AcilisTutar, 500.0);
    const QDateTime closedAt = r.KapanisZamani.toDateTime();
    QCOMPARE(closedAt, clock.Now());

    QCOMPARE(StoredTimeText(db.Scalar("SELECT KapanisZamani FROM Vardiya WHERE VardiyaID = 1")),
             closedAt.toString("yyyy-MM-dd HH:mm:ss"));
    QCOMPARE(db.Scalar("SELECT KapanisTutar FROM Vardiya WHERE VardiyaID = 1").toDouble(), 750.25);
    QCOMPARE(db.Scalar("SELECT VardiyaDurumu FROM Vardiya WHERE VardiyaID = 1").toString(),
             QString("KAPALI"));
    QCOMPARE(db.Scalar("SELECT KapatanKullaniciID FROM Vardiya WHERE VardiyaID = 1").toInt(), 1);
    QCOMPARE(db.Scalar("SELECT Fark FROM vw_VardiyaOzet WHERE VardiyaID = 1").toDouble(), 20.25);

    // The sales screen's open-shift look-up no longer finds it, and a second close is refused.
    TDbQuery open("SELECT TOP 1 VardiyaID FROM Vardiya WHERE KullaniciID = :KullaniciID   AND "
                  "SubeID = :SubeID   "
                  "AND KapanisZamani IS NULL   AND ISNULL(VardiyaDurumu, 'ACIK') = 'ACIK' ORDER BY "
                  "AcilisZamani DESC");
    open.Param("KullaniciID", 1).Param("SubeID", 1).Exec();
    QVERIFY(!open.Next());
    const QString closed = DatabaseProbe::Contents();
    const TCloseResult again = Close(1, 10);
    QVERIFY(!again.Success);
    QCOMPARE(again.Message, QString("Vardiya zaten kapatılmış."));
    QCOMPARE(DatabaseProbe::Contents(), closed);
}

void TestEmbeddedProcedures::closeShiftWithoutReceipts()
{
    TTestDatabase db;
    BuildBase();
    AddShiftReceipts();
    // Shift 3 has a NULL status, which counts as open, and no receipts.
    const TCloseResult r = Close(3, 90, 2);
    QVERIFY(r.Success);
    QCOMPARE(r.SistemTutar, 100.0);
    QCOMPARE(r.Fark, -10.0);
    QCOMPARE(r.AcilisTutar, 100.0);
    QCOMPARE(r.ToplamSatis + r.NakitAdet + r.KartAdet + r.IadeAdet, 0);
    QCOMPARE(r.NakitSatis + r.KartSatis + r.IadeToplam, 0.0);
    // Closing one shift leaves the others alone.
    QVERIFY(db.Scalar("SELECT KapanisZamani FROM Vardiya WHERE VardiyaID = 1").isNull());
}

void TestEmbeddedProcedures::closeRefusals_data()
{
    QTest::addColumn<int>("vardiya");
    QTest::addColumn<QVariant>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such shift") << 999 << QVariant(10.0) << "Vardiya bulunamadı.";
    QTest::newRow("closed shift") << 2 << QVariant(10.0) << "Vardiya zaten kapatılmış.";
    QTest::newRow("closed status without a time")
        << 4 << QVariant(10.0) << "Vardiya zaten kapatılmış.";
    QTest::newRow("negative count")
        << 1 << QVariant(-0.01) << "Kapanış tutarı geçersiz. Sayılan nakit negatif olamaz.";
    QTest::newRow("no count") << 1 << QVariant(QMetaType::fromType<double>())
                              << "Kapanış tutarı geçersiz. Sayılan nakit negatif olamaz.";
}

void TestEmbeddedProcedures::closeRefusals()
{
    QFETCH(int, vardiya);
    QFETCH(QVariant, amount);
    QFETCH(QString, message);
    TTestDatabase db;
    BuildBase();
    AddShiftReceipts();
    const QString before = DatabaseProbe::Contents();
    const TCloseResult r = Close(vardiya, amount);
    QVERIFY(!r.Success);
    QCOMPARE(r.Message, message);
    QCOMPARE(r.SistemTutar + r.Fark + r.NakitSatis + r.KartSatis + r.IadeToplam + r.AcilisTutar,
             0.0);
    QCOMPARE(r.ToplamSatis + r.NakitAdet + r.KartAdet + r.IadeAdet, 0);
    QVERIFY(r.KapanisZamani.isNull());
    QCOMPARE(DatabaseProbe::Contents(), before);
}

void TestEmbeddedProcedures::refundBooksReceiptLinesPaymentAndStock()
{
    TTestDatabase db;
    BuildBase();
    const int sale = AddSale();
    const auto [ok, message] =
        Refund(sale, 1, Items({{kStokA, "2"}, {kStokB, "1"}, {kStokB, "0.75"}}));
    QVERIFY2(ok, qPrintable(message));
    const int fisID = LastFisID();
    QCOMPARE(message, QString("İade işlemi tamamlandı. İade fiş no: FIS-%1").arg(fisID));

    // Head: -(21.6 + 20 + 15) = -56.6 paid back in cash; net -(20 + 19.802 + 14.8515) = -54.6535,
    // VAT -(3.6 + 0.198 + 0.1485) = -3.9465, discount -2, each stored to the kuruş.
    TDbQuery head("SELECT * FROM SatisFis WHERE FisID = :F");
    head.Param("F", fisID).Exec();
    QVERIFY(head.Next());
    QCOMPARE(head.Value("FisNo").toString(), QString("FIS-%1").arg(fisID));
    QCOMPARE(head.Value("FisDurumu").toString(), QString("IADE"));
    QCOMPARE(head.Value("OdemeTipi").toString(), QString("NAKIT"));
    QCOMPARE(head.Value("VardiyaID").toInt(), 1);
    QCOMPARE(head.Value("SubeID").toInt(), 1);
    QCOMPARE(head.Value("TerminalID").toInt(), 1);
    QCOMPARE(head.Value("KullaniciID").toInt(), 1);
    QCOMPARE(head.Value("MusteriID").toInt(), 7);
    QCOMPARE(head.Value("OrijinalFisID").toInt(), sale);
    QCOMPARE(head.Value("GenelToplam").toDouble(), -56.6);
    QCOMPARE(head.Value("AraToplam").toDouble(), -54.65);
    QCOMPARE(head.Value("ToplamKDV").toDouble(), -3.95);
    QCOMPARE(head.Value("Indirim").toDouble(), -2.0);
    QVERIFY(QDateTime::fromString(StoredTimeText(head.Value("Tarih")), "yyyy-MM-dd HH:mm:ss")
                .isValid());

    TDbQuery lines(
        "SELECT SiraNo, StokID, StokAdi, Barkod, Birim, Miktar, BirimFiyat, KDVOrani, KDVTutari, "
        "IndirimOrani, IndirimTutari, AraToplam, SatirToplam FROM SatisFisSatir WHERE FisID = :F "
        "ORDER BY SiraNo");
    lines.Param("F", fisID).Exec();
    const QList<QVariantList> expected{
        {1, kStokA, "Kola 1 L", "8690000000011", "ADET", -2.0, 10.0, 20.0, -3.6, 10.0, -2.0, -20.0,
         -21.6},
        {2, kStokB, "Domates", "12345", "KG", -1.0, 19.802, 1.0, -0.198, 0.0, 0.0, -19.802, -20.0},
        {3, kStokB, "Domates", "12345", "KG", -0.75, 19.802, 1.0, -0.1485, 0.0, 0.0, -14.8515,
         -15.0},
    };
    for (const QVariantList& row : expected) {
        QVERIFY(lines.Next());
        for (int i = 0; i < row.size(); ++i) {
            if (row.at(i).typeId() == QMetaType::Double)
                QCOMPARE(lines.Value(i).toDouble(), row.at(i).toDouble());
            else
                QCOMPARE(lines.Value(i).toString(), row.at(i).toString());
        }
    }
    QVERIFY(!lines.Next());

    TDbQuery payments("SELECT OdemeTipi, Tutar FROM SatisOdeme WHERE FisID = :F");
    payments.Param("F", fisID).Exec();
    QVERIFY(payments.Next());
    QCOMPARE(payments.Value(0).toString(), QString("NAKIT"));
    QCOMPARE(payments.Value(1).toDouble(), -56.6);
    QVERIFY(!payments.Next());

    // Stock back at MERKEZ, once: Kola 10 + 2, Domates 5.5 + 1.75; the overall stock follows.
    QCOMPARE(BranchStock(1, kStokA), 12.0);
    QCOMPARE(BranchStock(2, kStokA), 4.0);
    QCOMPARE(BranchStock(1, kStokB), 7.25);
    QCOMPARE(Real("SELECT MevcutStok FROM Stok WHERE StokID = 1"), 16.0);
    QCOMPARE(Real("SELECT MevcutStok FROM Stok WHERE StokID = 2"), 7.25);
    QCOMPARE(BranchStock(1, kStokC), 20.0);

    // The shift's figures read the refund: 92.4 taken, 56.6 paid back.
    TDbQuery view("SELECT * FROM vw_VardiyaOzet WHERE VardiyaID = 1");
    view.Exec();
    QVERIFY(view.Next());
    QCOMPARE(view.Value("NakitSatis").toDouble(), 92.4);
    QCOMPARE(view.Value("IadeToplam").toDouble(), 56.6);
    QCOMPARE(view.Value("IadeNakit").toDouble(), 56.6);
    QCOMPARE(view.Value("BeklenenNakit").toDouble(), 500 + 92.4 - 56.6);
    QCOMPARE(view.Value("IadeFis").toInt(), 1);
}

void TestEmbeddedProcedures::refundRefusals_data()
{
    QTest::addColumn<QString>("original"); // sale, missing, refund or cancelled
    QTest::addColumn<int>("vardiya");
    QTest::addColumn<int>("kullanici");
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("message");
    const QString one = Items({{kStokA, "1"}});
    const QString notSale = "Bu fiş bir satış fişi değil (%1), iade alınamaz.";
    const QString noShift = "Açık vardiya bulunamadı. İade için önce vardiya açınız.";
    const QString badQty = "Geçersiz iade miktarı: Kola 1 L";
    QTest::newRow("no such receipt")
        << "missing" << 1 << 1 << one << "İade edilecek fiş bulunamadı.";
    QTest::newRow("refund receipt") << "refund" << 1 << 1 << one << notSale.arg("IADE");
    QTest::newRow("cancelled receipt") << "cancelled" << 1 << 1 << one << notSale.arg("IPTAL");
    QTest::newRow("closed shift") << "sale" << 2 << 1 << one << noShift;
    QTest::newRow("no such shift") << "sale" << 999 << 1 << one << noShift;
    // MERKEZ's receipt in KADIKÖY's open shift: its goods and its money belong to MERKEZ.
    QTest::newRow("another branch's shift")
        << "sale" << 3 << 2 << one
        << "Bu fiş başka bir şubenin satışı, bu vardiyada iade alınamaz.";
    QTest::newRow("shift marked closed") << "sale" << 4 << 1 << one << noShift;
    QTest::newRow("no such user") << "sale" << 1 << 99 << one << "Kullanıcı bulunamadı.";
    QTest::newRow("not XML") << "sale" << 1 << 1 << "<Items><Item StokID=\"1\""
                             << "İade listesi okunamadı.";
    QTest::newRow("no items") << "sale" << 1 << 1 << "<Items></Items>"
                              << "İade edilecek ürün seçilmedi.";
    QTest::newRow("empty text") << "sale" << 1 << 1 << ""
                                << "İade edilecek ürün seçilmedi.";
    QTest::newRow("other root") << "sale" << 1 << 1
                                << "<Liste><Item StokID=\"1\" Miktar=\"1\"/></Liste>"
                                << "İade edilecek ürün seçilmedi.";
    QTest::newRow("not on the receipt")
        << "sale" << 1 << 1 << Items({{kStokD, "1"}}) << "Ürün bu fişte bulunmuyor (StokID: 4).";
    QTest::newRow("product id not a number")
        << "sale" << 1 << 1 << "<Items><Item StokID=\"x\" Miktar=\"1\"/></Items>"
        << "Ürün bu fişte bulunmuyor (StokID: x).";
    QTest::newRow("first bad item wins")
        << "sale" << 1 << 1 << Items({{kStokA, "1"}, {kStokD, "1"}, {kStokB, "-1"}})
        << "Ürün bu fişte bulunmuyor (StokID: 4).";
    QTest::newRow("zero") << "sale" << 1 << 1 << Items({{kStokA, "0"}}) << badQty;
    QTest::newRow("negative") << "sale" << 1 << 1 << Items({{kStokA, "-1"}}) << badQty;
    QTest::newRow("not a number") << "sale" << 1 << 1 << Items({{kStokA, "abc"}}) << badQty;
    QTest::newRow("decimal comma") << "sale" << 1 << 1 << Items({{kStokA, "1,5"}}) << badQty;
    QTest::newRow("below a thousandth")
        << "sale" << 1 << 1 << Items({{kStokA, "0.0004"}}) << badQty;
    QTest::newRow("no quantity") << "sale" << 1 << 1 << "<Items><Item StokID=\"1\"/></Items>"
                                 << badQty;
    QTest::newRow("more than sold")
        << "sale" << 1 << 1 << Items({{kStokA, "3.5"}})
        << "İade miktarı fişte kalan miktarı aşıyor: Kola 1 L (kalan: 3)";
    QTest::newRow("two lines more than sold")
        << "sale" << 1 << 1 << Items({{kStokB, "1.5"}, {kStokB, "0.6"}})
        << "İade miktarı fişte kalan miktarı aşıyor: Domates (kalan: 2)";
}

void TestEmbeddedProcedures::refundRefusals()
{
    QFETCH(QString, original);
    QFETCH(int, vardiya);
    QFETCH(int, kullanici);
    QFETCH(QString, xml);
    QFETCH(QString, message);
    TTestDatabase db;
    BuildBase();
    const int sale = AddSale();
    const int refund = AddReceipt(1, "IADE", "NAKIT", -10, {{"NAKIT", -10}});
    const int cancelled = AddReceipt(1, "IPTAL", "NAKIT", 10, {{"NAKIT", 10}});
    const int originalID = original == "sale"        ? sale
                           : original == "refund"    ? refund
                           : original == "cancelled" ? cancelled
                                                     : 9999;
    const QString before = DatabaseProbe::Contents();
    const auto [ok, text] = Refund(originalID, vardiya, xml, kullanici);
    QVERIFY(!ok);
    QCOMPARE(text, message);
    QCOMPARE(DatabaseProbe::Contents(), before);
}

void TestEmbeddedProcedures::secondRefundBeyondTheRemainderIsRefused()
{
    TTestDatabase db;
    BuildBase();
    const int sale = AddSale();
    QVERIFY(Refund(sale, 1, Items({{kStokA, "2"}})).first);
    const QString afterFirst = DatabaseProbe::Contents();
    const auto second = Refund(sale, 1, Items({{kStokA, "2"}}));
    QVERIFY(!second.first);
    QCOMPARE(second.second,
             QString("İade miktarı fişte kalan miktarı aşıyor: Kola 1 L (kalan: 1)"));
    QCOMPARE(DatabaseProbe::Contents(), afterFirst);
    QVERIFY(Refund(sale, 1, Items({{kStokA, "1"}})).first);
    QVERIFY(!Refund(sale, 1, Items({{kStokA, "0.001"}})).first);
    QCOMPARE(BranchStock(1, kStokA), 13.0);
    // Fractions of earlier refunds count whole: 1.2 kg of Domates back leaves 0.8.
    QVERIFY(Refund(sale, 1, Items({{kStokB, "1.2"}})).first);
    QCOMPARE(Refund(sale, 1, Items({{kStokB, "0.9"}})).second,
             QString("İade miktarı fişte kalan miktarı aşıyor: Domates (kalan: 0,8)"));
    Exec("DELETE FROM SatisFisSatir WHERE FisID = :F", {{"F", LastFisID()}});
    Exec("DELETE FROM SatisOdeme WHERE FisID = :F", {{"F", LastFisID()}});
    Exec("DELETE FROM SatisFis WHERE FisID = :F", {{"F", LastFisID()}});

    // A refund written elsewhere with positive amounts counts by its absolute quantity: of the
    // 2 kg of Domates, 1 kg is already back.
    const int other = AddReceipt(1, "IADE", "NAKIT", 20, {{"NAKIT", 20}});
    Exec("UPDATE SatisFis SET OrijinalFisID = :O WHERE FisID = :F", {{"O", sale}, {"F", other}});
    Exec("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Miktar) VALUES (:F, 1, 2, "
         "'Domates', 1)",
         {{"F", other}});
    const auto domates = Refund(sale, 1, Items({{kStokB, "1.5"}}));
    QVERIFY(!domates.first);
    QCOMPARE(domates.second,
             QString("İade miktarı fişte kalan miktarı aşıyor: Domates (kalan: 1)"));
    QVERIFY(Refund(sale, 1, Items({{kStokB, "0.25"}, {kStokB, "0.5"}})).first);
    QCOMPARE(Refund(sale, 1, Items({{kStokB, "0.3"}})).second,
             QString("İade miktarı fişte kalan miktarı aşıyor: Domates (kalan: 0,25)"));
    QVERIFY(Refund(sale, 1, Items({{kStokB, "0.25"}})).first);
    QCOMPARE(Refund(sale, 1, Items({{kStokB, "0.001"}})).second,
             QString("İade miktarı fişte kalan miktarı aşıyor: Domates (kalan: 0)"));
}

void TestEmbeddedProcedures::refundSequencesPayBackWhatWasPaid_data()
{
    QTest::addColumn<QString>("lines");        // StokID:Miktar:SatirToplam;...
    QTest::addColumn<double>("genel");         // what the customer paid
    QTest::addColumn<QString>("odemeTipi");    // the sale's payment word
    QTest::addColumn<QString>("payments");     // the sale's payment lines, OdemeTipi:Tutar;...
    QTest::addColumn<QStringList>("refunds");  // one per refund: StokID:Miktar,...
    QTest::addColumn<QStringList>("paidBack"); // per refund: total, OdemeTipi, cash, card
    // 3 × 3,35 less 10 % is 9,045, paid 9,05: a third is 3,015, yet three thirds pay 9,05.
    QTest::newRow("thirds of a discounted price")
        << "1:3:9.045" << 9.05 << "NAKIT"
        << "NAKIT:9.05" << QStringList{"1:1", "1:1", "1:1"}
        << QStringList{"3.02 NAKIT 3.02 0", "3.01 NAKIT 3.01 0", "3.02 NAKIT 3.02 0"};
    QTest::newRow("two thirds, then the last")
        << "1:3:9.045" << 9.05 << "NAKIT"
        << "NAKIT:9.05" << QStringList{"1:2", "1:1"}
        << QStringList{"6.03 NAKIT 6.03 0", "3.02 NAKIT 3.02 0"};
    // 1,235 kg at 24,99: 30,8627 on the line, 30,86 paid.
    QTest::newRow("weighed goods in steps")
        << "2:1.235:30.8627" << 30.86 << "NAKIT"
        << "NAKIT:30.86" << QStringList{"2:0.5", "2:0.5", "2:0.235"}
        << QStringList{"12.5 NAKIT 12.5 0", "12.49 NAKIT 12.49 0", "5.87 NAKIT 5.87 0"};
    // Domates 0,75 + 0,5 kg at 19,99 (24,9875 with the 1,2 of kuruş) beside 10,00 of bread,
    // paid 34,99: Domates gets 24,99 of it, the bread 10,00.
    QTest::newRow("one product on two lines, then another")
        << "2:0.75:14.9925;3:1:10;2:0.5:9.995" << 34.99 << "NAKIT"
        << "NAKIT:34.99" << QStringList{"2:0.75,2:0.5", "3:1"}
        << QStringList{"24.99 NAKIT 24.99 0", "10 NAKIT 10 0"};
    // Two line totals of 1,005 each were paid 2,01 together, not 1,01 twice.
    QTest::newRow("a kuruş shared between products")
        << "1:1:1.005;3:1:1.005" << 2.01 << "NAKIT"
        << "NAKIT:2.01" << QStringList{"1:1", "3:1"}
        << QStringList{"1.01 NAKIT 1.01 0", "1 NAKIT 1 0"};
    QTest::newRow("card sale") << "1:2:250" << 250.0 << "KART"
                               << "KART:250" << QStringList{"1:1", "1:1"}
                               << QStringList{"125 KART 0 125", "125 KART 0 125"};
    QTest::newRow("card sale without payment lines")
        << "1:2:250" << 250.0 << "KART"
        << "" << QStringList{"1:2"} << QStringList{"250 KART 0 250"};
    // 120 in cash and 180 by card: the card first, then the cash it did not cover.
    QTest::newRow("split sale in thirds")
        << "1:3:300" << 300.0 << "KARMA"
        << "NAKIT:120;KART:180" << QStringList{"1:1", "1:1", "1:1"}
        << QStringList{"100 KART 0 100", "100 KARMA 20 80", "100 NAKIT 100 0"};
    QTest::newRow("split sale, thirds of a discounted price")
        << "1:3:9.045" << 9.05 << "KARMA"
        << "NAKIT:5;KART:4.05" << QStringList{"1:1", "1:1", "1:1"}
        << QStringList{"3.02 KART 0 3.02", "3.01 KARMA 1.98 1.03", "3.02 NAKIT 3.02 0"};
}

// A receipt's refunds, one after the other: each pays back to the kuruş what the rule gives,
// its lines add up to its head, the last of a product pays what is left of what was paid for it,
// and all of them together pay back exactly what the customer paid, the cash never more than
// the drawer took.
void TestEmbeddedProcedures::refundSequencesPayBackWhatWasPaid()
{
    QFETCH(QString, lines);
    QFETCH(double, genel);
    QFETCH(QString, odemeTipi);
    QFETCH(QString, payments);
    QFETCH(QStringList, refunds);
    QFETCH(QStringList, paidBack);
    TTestDatabase db;
    BuildBase();
    const int sale = AddSaleOf(lines, genel, odemeTipi, payments);
    QStringList actual;
    for (const QString& refund : refunds) {
        QList<QPair<int, QString>> items;
        for (const QString& item : refund.split(','))
            items.append({item.section(':', 0, 0).toInt(), item.section(':', 1)});
        const auto [ok, message] = Refund(sale, 1, Items(items));
        QVERIFY2(ok, qPrintable(message));
        const int fisID = LastFisID();
        actual << PaidBack(fisID);
        QCOMPARE(
            Real(QString("SELECT SUM(SatirToplam) FROM SatisFisSatir WHERE FisID = %1").arg(fisID)),
            Real(QString("SELECT GenelToplam FROM SatisFis WHERE FisID = %1").arg(fisID)));
    }
    QCOMPARE(actual, paidBack);
    QCOMPARE(
        Real(QString("SELECT -SUM(GenelToplam) FROM SatisFis WHERE OrijinalFisID = %1").arg(sale)),
        genel);
    const QString paid = "SELECT ISNULL(SUM(ABS(O.Tutar)), 0) FROM SatisOdeme O INNER JOIN "
                         "SatisFis F ON F.FisID = O.FisID WHERE %1 AND O.OdemeTipi LIKE '%2'";
    const QString refundsOf = QString("F.OrijinalFisID = %1").arg(sale);
    QCOMPARE(Real(paid.arg(refundsOf, "%")), genel);
    QCOMPARE(Real(paid.arg(refundsOf, "NAKIT")),
             Real(paid.arg(QString("F.FisID = %1").arg(sale), "NAKIT")));
}

void TestEmbeddedProcedures::refundSeedsAMissingBranchRow()
{
    TTestDatabase db;
    BuildBase();
    const int sale = AddSale();
    db.Exec("DELETE FROM SubeStok WHERE StokID = 3");
    // No branch holds Ekmek yet: MERKEZ inherits the overall 20 and gets the 2 back on top.
    QVERIFY(Refund(sale, 1, Items({{kStokC, "2"}})).first);
    QCOMPARE(BranchStock(1, kStokC), 22.0);
    QCOMPARE(Real("SELECT MevcutStok FROM Stok WHERE StokID = 3"), 22.0);
}

void TestEmbeddedProcedures::refundDocument_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<bool>("wellFormed");
    QTest::addColumn<QString>("items"); // StokID:Miktar:ok, ...
    QTest::newRow("screen's document")
        << "<Items><Item StokID=\"12\" Miktar=\"2\"/><Item StokID=\"7\" Miktar=\"0.5\"/></Items>"
        << true << "12:2:1,7:0.5:1";
    QTest::newRow("same product twice")
        << "<Items><Item StokID=\"3\" Miktar=\"1\"/><Item StokID=\"3\" Miktar=\"1\"/></Items>"
        << true << "3:1:1,3:1:1";
    QTest::newRow("thousandths kept")
        << "<Items><Item StokID=\"1\" Miktar=\"1.2345\"/></Items>" << true << "1:1.235:1";
    QTest::newRow("exponent refused")
        << "<Items><Item StokID=\"1\" Miktar=\"1e3\"/></Items>" << true << "1:0:0";
    QTest::newRow("blanks and layout") << "<?xml version=\"1.0\"?>\n<Items>\n  <Item Miktar=\" 2 "
                                          "\" StokID=\" 5 \"></Item>\n</Items>"
                                       << true << "5:2:1";
    QTest::newRow("nested items ignored")
        << "<Items><Group><Item StokID=\"1\" Miktar=\"1\"/></Group></Items>" << true << "";
    QTest::newRow("broken") << "<Items><Item StokID=\"1\" Miktar=\"1\"></Items>" << false << "";
    QTest::newRow("empty") << "   " << true << "";
}

void TestEmbeddedProcedures::refundDocument()
{
    QFETCH(QString, xml);
    QFETCH(bool, wellFormed);
    QFETCH(QString, items);
    QList<EmbeddedProcedures::TRefundItem> parsed;
    QCOMPARE(EmbeddedProcedures::ParseRefundItems(xml, parsed), wellFormed);
    if (!wellFormed)
        return;
    QStringList actual;
    for (const auto& item : parsed)
        actual << QString("%1:%2:%3").arg(item.StokID).arg(item.Miktar).arg(item.MiktarOk ? 1 : 0);
    QCOMPARE(actual.join(','), items);
}

// SQL Server's default collation ignores letter case and trailing blanks: a status word written
// by another program in lower case or padded reads as the word.
void TestEmbeddedProcedures::closeReadsTheShiftStatusAsTheServer_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("closes");
    QTest::newRow("lower case") << "acik" << true;
    QTest::newRow("trailing blanks") << "ACIK  " << true;
    QTest::newRow("mixed case and blank") << "Acik " << true;
    QTest::newRow("leading blank") << " ACIK" << false;
    QTest::newRow("closed, lower case") << "kapali " << false;
}

void TestEmbeddedProcedures::closeReadsTheShiftStatusAsTheServer()
{
    QFETCH(QString, status);
    QFETCH(bool, closes);
    TTestDatabase db;
    BuildBase();
    Exec("UPDATE Vardiya SET VardiyaDurumu = :D WHERE VardiyaID = 1", {{"D", status}});
    const TCloseResult r = Close(1, 500.0);
    QCOMPARE(r.Success, closes);
    if (!closes)
        QCOMPARE(r.Message, QString("Vardiya zaten kapatılmış."));
}

void TestEmbeddedProcedures::refundReadsStatusWordsAsTheServer_data()
{
    QTest::addColumn<QString>("receipt");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<QString>("message");
    QTest::newRow("sale in lower case with a blank") << "aktif "
                                                     << "ACIK"
                                                     << "";
    QTest::newRow("shift in mixed case with blanks") << "AKTIF"
                                                     << "Acik  "
                                                     << "";
    QTest::newRow("refund receipt in lower case")
        << "iade"
        << "ACIK"
        << "Bu fiş bir satış fişi değil (iade), iade alınamaz.";
    QTest::newRow("closed shift in lower case")
        << "AKTIF"
        << "kapali"
        << "Açık vardiya bulunamadı. İade için önce vardiya açınız.";
}

void TestEmbeddedProcedures::refundReadsStatusWordsAsTheServer()
{
    QFETCH(QString, receipt);
    QFETCH(QString, shift);
    QFETCH(QString, message);
    TTestDatabase db;
    BuildBase();
    const int sale = AddSale();
    Exec("UPDATE SatisFis SET FisDurumu = :D WHERE FisID = :F", {{"D", receipt}, {"F", sale}});
    Exec("UPDATE Vardiya SET VardiyaDurumu = :D WHERE VardiyaID = 1", {{"D", shift}});
    const auto result = Refund(sale, 1, Items({{kStokA, "1"}}));
    QCOMPARE(result.first, message.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(result.second, message);
}

// An earlier refund whose status word another program wrote as 'iade ' still takes its
// quantity off what the receipt has left.
void TestEmbeddedProcedures::earlierRefundInAnyLetterCaseCounts()
{
    TTestDatabase db;
    BuildBase();
    const int sale = AddSale();
    QVERIFY(Refund(sale, 1, Items({{kStokA, "2"}})).first);
    Exec("UPDATE SatisFis SET FisDurumu = 'iade ' WHERE OrijinalFisID = :F", {{"F", sale}});
    const auto second = Refund(sale, 1, Items({{kStokA, "2"}}));
    QVERIFY(!second.first);
    QCOMPARE(second.second,
             QString("İade miktarı fişte kalan miktarı aşıyor: Kola 1 L (kalan: 1)"));
}

// The sale took its goods from lots (SatisFisLot, in the order of its rows): Kola 1 from lot 1,
// then 2 from lot 2; Domates 1.5 from lot 3 on line 2, then on line 4 0.2 from lot 3 and 0.3
// from lot 4. Every lot held 10 after the sale. Refunds give back the lot taken last first,
// across refunds of the receipt.
void TestEmbeddedProcedures::refundReturnsGoodsToTheirLots_data()
{
    QTest::addColumn<QStringList>("refunds"); // one document per refund
    QTest::addColumn<QList<double>>("lots");  // lots 1 to 5 afterwards
    const auto items = [](const QList<QPair<int, QString>>& list) {
        return Items(list);
    };
    QTest::newRow("part of the last lot")
        << QStringList{items({{kStokA, "1"}})} << QList<double>{10, 11, 10, 10, 10};
    QTest::newRow("all of it at once")
        << QStringList{items({{kStokA, "3"}})} << QList<double>{11, 12, 10, 10, 10};
    QTest::newRow("over three refunds")
        << QStringList{items({{kStokA, "1.5"}}), items({{kStokA, "1"}}), items({{kStokA, "0.5"}})}
        << QList<double>{11, 12, 10, 10, 10};
    QTest::newRow("second refund crosses into the earlier lot")
        << QStringList{items({{kStokA, "1"}}), items({{kStokA, "1.5"}})}
        << QList<double>{10.5, 12, 10, 10, 10};
    QTest::newRow("one lot on two lines")
        << QStringList{items({{kStokB, "0.4"}})} << QList<double>{10, 10, 10.1, 10.3, 10};
    QTest::newRow("two lines of one product in one refund")
        << QStringList{items({{kStokB, "0.25"}, {kStokB, "1"}})}
        << QList<double>{10, 10, 10.95, 10.3, 10};
    QTest::newRow("product without lots")
        << QStringList{items({{kStokC, "2"}})} << QList<double>{10, 10, 10, 10, 10};
}

void TestEmbeddedProcedures::refundReturnsGoodsToTheirLots()
{
    QFETCH(QStringList, refunds);
    QFETCH(QList<double>, lots);
    TTestDatabase db;
    BuildBase();
    const int sale = AddSale();
    OwnedSchema::Run(OwnedSchema::SaleLotStatements());
    Exec("INSERT INTO StokLotDetay (LotID, StokID, LotNo, MevcutMiktar) VALUES (1, 1, 'K1', 10), "
         "(2, 1, 'K2', 10), (3, 2, 'D1', 10), (4, 2, 'D2', 10), (5, 1, 'K3', 10)");
    Exec("INSERT INTO SatisFisLot (FisID, SatirSiraNo, StokID, LotID, Miktar) VALUES (:F, 1, 1, "
         "1, 1), (:F, 1, 1, 2, 2), (:F, 2, 2, 3, 1.5), (:F, 4, 2, 3, 0.2), (:F, 4, 2, 4, 0.3)",
         {{"F", sale}});
    const double branchBefore = Real("SELECT SUM(MevcutStok) FROM SubeStok");
    const double lotsBefore = Real("SELECT SUM(MevcutMiktar) FROM StokLotDetay");
    double refunded = 0;
    for (const QString& xml : refunds) {
        const auto [ok, message] = Refund(sale, 1, xml);
        QVERIFY2(ok, qPrintable(message));
        refunded += Real(
            QString("SELECT SUM(Miktar) FROM SatisFisSatir WHERE FisID = %1").arg(LastFisID()));
    }
    for (int lot = 1; lot <= lots.size(); ++lot)
        QCOMPARE(Real(QString("SELECT MevcutMiktar FROM StokLotDetay WHERE LotID = %1").arg(lot)),
                 lots.at(lot - 1));
    // What went into the lots went into the branch as well (Ekmek has no lots).
    const double intoLots = Real("SELECT SUM(MevcutMiktar) FROM StokLotDetay") - lotsBefore;
    const double intoBranch = Real("SELECT SUM(MevcutStok) FROM SubeStok") - branchBefore;
    QCOMPARE(intoBranch, -refunded);
    QCOMPARE(intoLots + Real(QString("SELECT ISNULL(-SUM(R.Miktar), 0) FROM SatisFisSatir R "
                                     "INNER JOIN SatisFis F ON F.FisID = R.FisID WHERE "
                                     "F.OrijinalFisID = %1 AND R.StokID = 3")
                                 .arg(sale)),
             intoBranch);
}

QTEST_GUILESS_MAIN(TestEmbeddedProcedures)
#include "tst_EmbeddedProcedures.moc"
