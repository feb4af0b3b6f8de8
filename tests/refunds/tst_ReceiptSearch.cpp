#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "database/SqliteSearchKey.h"
#include "refunds/ReceiptSearch.h"
#include "support/ShopFixture.h"

#include <QtTest>

#include <numeric>

#include <memory>

// The receipt search's listing on a real shop: which receipts, in which order, how many, and the
// filter with Turkish letters and characters that mean something to SQL.
class TestReceiptSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void listsTheBranchesSalesNewestFirst();
    void filter_data();
    void filter();
    void newest500AndOlderFoundByTyping();
    void agreesWithThePlainStatement_data();
    void agreesWithThePlainStatement();
    void columnWidths();

private:
    int AddReceipt(const QString& fisNo, const QVariant& durum, const QString& tarih,
                   const QVariant& musteri = QVariant(), int sube = 0);

    std::unique_ptr<TShopFixture> FShop;
};

void TestReceiptSearch::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

void TestReceiptSearch::init()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->Exec("INSERT INTO CariKart (CariKodu, CariAdi, CariTipi) VALUES ('C00001', 'Şule "
                "Işık', 'MUSTERI'), ('C00002', 'İnci %_[ab]'' Gıda', 'MUSTERI')");
}

void TestReceiptSearch::cleanup()
{
    FShop.reset();
}

int TestReceiptSearch::AddReceipt(const QString& fisNo, const QVariant& durum, const QString& tarih,
                                  const QVariant& musteri, int sube)
{
    TDbQuery q("INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, Tarih, "
               "GenelToplam, OdemeTipi, FisDurumu, MusteriID) VALUES (:No, :S, :K, :T, :V, :Tarih, "
               "12.5, 'KARMA', :D, :M); SELECT SCOPE_IDENTITY()");
    q.Param("No", fisNo)
        .Param("S", sube > 0 ? sube : FShop->SubeID())
        .Param("K", FShop->KullaniciID())
        .Param("T", FShop->TerminalID())
        .Param("V", FShop->VardiyaID())
        .Param("Tarih", tarih)
        .Param("D", durum.isValid() ? durum : TDbQuery::NullText())
        .Param("M", musteri.isValid() ? musteri : TDbQuery::NullInt())
        .Exec();
    q.Next();
    return q.Value(0).toInt();
}

void TestReceiptSearch::listsTheBranchesSalesNewestFirst()
{
    const int older = AddReceipt("FIS-A", "AKTIF", "2025-03-01 09:00:00", 1);
    const int nullStatus = AddReceipt("", QVariant(), "2025-03-01 10:00:00");
    const int sameTimeLow = AddReceipt("FIS-B", "aktif ", "2025-03-01 11:00:00");
    const int sameTimeHigh = AddReceipt("FIS-C", "AKTIF", "2025-03-01 11:00:00");
    AddReceipt("FIS-R", "IADE", "2025-03-01 12:00:00");
    AddReceipt("FIS-X", "IPTAL", "2025-03-01 12:00:00");
    AddReceipt("FIS-O", "AKTIF", "2025-03-01 12:00:00", QVariant(), FShop->AddBranch("KADIKÖY"));

    const QList<TReceiptRow> rows = TReceiptSearch::LoadReceipts("", FShop->SubeID());
    QList<int> ids;
    for (const TReceiptRow& row : rows)
        ids << row.FisID;
    QCOMPARE(ids, (QList<int>{sameTimeHigh, sameTimeLow, nullStatus, older}));
    QCOMPARE(rows.at(2).FisNo, QString("FIS-%1").arg(nullStatus));
    QCOMPARE(rows.at(2).FisDurumu, QString("AKTIF"));
    QCOMPARE(rows.at(2).Musteri, QString("-"));
    QCOMPARE(rows.at(3).Musteri, QString("Şule Işık"));
    QCOMPARE(rows.at(3).Kasiyer, QString("KASA SORUMLUSU"));
    QCOMPARE(rows.at(3).GenelToplam, 12.5);
    QCOMPARE(rows.at(3).OdemeTipi, QString("KARMA"));
    QCOMPARE(rows.at(3).Tarih, QDateTime(QDate(2025, 3, 1), QTime(9, 0)));
}

void TestReceiptSearch::filter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("numbers");
    const QStringList none;
    QTest::newRow("number part") << "FIS-1" << QStringList{"FIS-12", "FIS-10"};
    QTest::newRow("number in lower case") << "fis-12" << QStringList{"FIS-12"};
    QTest::newRow("customer, Turkish lower case") << "şule ışık" << QStringList{"FIS-10"};
    QTest::newRow("customer, Turkish upper case") << "İNCİ" << QStringList{"FIS-12"};
    QTest::newRow("cashier") << "sorumlu" << QStringList{"FIS-12", "SEPET_9", "FIS-10"};
    QTest::newRow("blanks around") << "  şule " << QStringList{"FIS-10"};
    QTest::newRow("percent stands for itself") << "%" << QStringList{"FIS-12"};
    QTest::newRow("underscore stands for itself") << "_" << QStringList{"FIS-12", "SEPET_9"};
    QTest::newRow("brackets") << "[ab]" << QStringList{"FIS-12"};
    QTest::newRow("bracket alone") << "[" << QStringList{"FIS-12"};
    QTest::newRow("quote") << "'" << QStringList{"FIS-12"};
    QTest::newRow("injection") << "' OR '1'='1" << none;
    QTest::newRow("comment") << "--" << none;
    QTest::newRow("nothing matches") << "yok" << none;
}

void TestReceiptSearch::filter()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, numbers);
    const int ten = AddReceipt("FIS-10", "AKTIF", "2025-03-01 09:00:00", 1);
    AddReceipt("SEPET_9", "AKTIF", "2025-03-01 09:30:00");
    AddReceipt("FIS-12", "AKTIF", "2025-03-01 10:00:00", 2);
    AddReceipt("FIS-13", "IADE", "2025-03-01 11:00:00", 2);
    QVERIFY(ten > 0);
    QStringList listed;
    for (const TReceiptRow& row : TReceiptSearch::LoadReceipts(filter, FShop->SubeID()))
        listed << row.FisNo;
    QCOMPARE(listed, numbers);
    QCOMPARE(FShop->Count("SatisFis"), 4);
}

// Only the 500 newest are listed; an older receipt is found by its number or id.
void TestReceiptSearch::newest500AndOlderFoundByTyping()
{
    FShop->Exec("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 520) "
                "INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, Tarih, "
                "GenelToplam, OdemeTipi, FisDurumu) SELECT 'ESKI-' || I, " +
                QString::number(FShop->SubeID()) + ", " + QString::number(FShop->KullaniciID()) +
                ", " + QString::number(FShop->TerminalID()) + ", " +
                QString::number(FShop->VardiyaID()) +
                ", datetime('2025-01-01', '+' || I || ' minutes'), 1, 'NAKIT', 'AKTIF' FROM N");
    const QList<TReceiptRow> newest = TReceiptSearch::LoadReceipts("", FShop->SubeID());
    QCOMPARE(newest.size(), 500);
    QCOMPARE(newest.first().FisNo, QString("ESKI-520"));
    QCOMPARE(newest.last().FisNo, QString("ESKI-21"));
    // ESKI-79 down to ESKI-70, then ESKI-7, which is older than the newest 500.
    const QList<TReceiptRow> found = TReceiptSearch::LoadReceipts("eski-7", FShop->SubeID());
    QCOMPARE(found.size(), 11);
    QCOMPARE(found.last().FisNo, QString("ESKI-7"));
}

void TestReceiptSearch::agreesWithThePlainStatement_data()
{
    QTest::addColumn<QString>("filter");
    for (const char* filter :
         {"1",        "12",    "123",    "1234",   "2599",   "99999",  "0",          "05",
          "250",      "FIS-1", "fis-12", "FIS-12", "S-24",   "-3",     "is-2",       "FIS",
          "-",        "fıs-1", "FİS-1",  "FIS-0",  "FIS-1x", "ESKI",   "eski-4",     "SEPET",
          "fis-",     "şule",  "IŞIK",   "inci",   "KASA",   "Mehmet", "mehmet yıl", "sorumlusu",
          "zzzz yok", "q",     "%",      "_",      "[",      "'",      "C00"})
        QTest::newRow(filter) << QString::fromUtf8(filter);
}

// A history of 2,600 receipts over two branches with numbers the program writes and others,
// blank numbers, refunds and older NULL statuses, customers and cashiers, times out of id order:
// every filter lists the plain statement's receipts in its order, with one statement, whether
// the search key holds every receipt, or the older half waits for the fill, or the fill is done.
void TestReceiptSearch::agreesWithThePlainStatement()
{
    QFETCH(QString, filter);
    const int other = FShop->AddBranch("KADIKÖY");
    FShop->Exec("INSERT INTO Kullanici (KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID) SELECT "
                "'k2', SifreHash, 'Mehmet Yılmaz', RolID, SubeID FROM Kullanici WHERE "
                "KullaniciID = " +
                QString::number(FShop->KullaniciID()));
    const int mehmet = FShop->Scalar("SELECT MAX(KullaniciID) FROM Kullanici").toInt();
    FShop->Exec(QString("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < "
                        "2600) INSERT INTO SatisFis (FisID, FisNo, SubeID, KullaniciID, "
                        "TerminalID, VardiyaID, Tarih, GenelToplam, OdemeTipi, FisDurumu, "
                        "MusteriID) SELECT I, CASE WHEN I % 97 = 0 THEN 'ESKI-' || I WHEN I % 89 "
                        "= 0 THEN '' WHEN I % 83 = 0 THEN 'fis-' || I WHEN I % 71 = 0 THEN "
                        "'SEPET_' || (I % 7) WHEN I % 67 = 0 THEN 'FIS-' || (I + 1) ELSE 'FIS-' "
                        "|| I END, CASE WHEN I % 10 = 0 THEN %1 ELSE %2 END, CASE WHEN I % 3 = 0 "
                        "THEN %3 ELSE %4 END, %5, %6, datetime('2025-01-01', (CASE WHEN I "
                        "% 50 = 0 THEN I - 900 ELSE I END) || ' minutes'), 10, 'NAKIT', CASE "
                        "WHEN I % 13 = 0 THEN 'IADE' WHEN I % 17 = 0 THEN NULL ELSE 'AKTIF' END, "
                        "CASE WHEN I % 7 = 0 THEN 1 WHEN I % 11 = 0 THEN 2 END FROM N")
                    .arg(other)
                    .arg(FShop->SubeID())
                    .arg(mehmet)
                    .arg(FShop->KullaniciID())
                    .arg(FShop->TerminalID())
                    .arg(FShop->VardiyaID()));
    const auto agree = [&] {
        const QList<TReceiptRow> expected =
            TReceiptSearch::LoadReceiptsByStatement(filter, FShop->SubeID());
        const int before = dmMain->RoundTrips().Count();
        const QList<TReceiptRow> rows = TReceiptSearch::LoadReceipts(filter, FShop->SubeID());
        QCOMPARE(dmMain->RoundTrips().Count() - before, 1);
        QList<int> ids;
        QList<int> expectedIds;
        for (const TReceiptRow& row : rows)
            ids << row.FisID;
        for (const TReceiptRow& row : expected)
            expectedIds << row.FisID;
        QCOMPARE(ids, expectedIds);
    };
    agree();
    FShop->Exec("UPDATE AramaDurum SET DoluID = 1300 WHERE Tablo = 'SatisFis'");
    FShop->Exec("DELETE FROM SatisFisNo WHERE FisID > 1300");
    agree();
    SqliteSearchKey::FillNow();
    QVERIFY(FShop->Scalar("SELECT DoluID FROM AramaDurum WHERE Tablo = 'SatisFis'").isNull());
    agree();
    QCOMPARE(FShop->Count("SatisFisNo"),
             FShop->Count("SatisFis WHERE NULLIF(RTRIM(FisNo), '') IS NOT NULL AND RTRIM(FisNo) "
                          "<> 'FIS-' || FisID"));
}

void TestReceiptSearch::columnWidths()
{
    QCOMPARE(TReceiptSearch::ColumnWidths(990), (QList<int>{0, 120, 150, 250, 160, 120, 100, 90}));
    const QList<int> widths = TReceiptSearch::ColumnWidths(777);
    QCOMPARE(std::accumulate(widths.cbegin(), widths.cend(), 0), 777);
    QVERIFY(TReceiptSearch::ColumnWidths(0).isEmpty());
}

QTEST_MAIN(TestReceiptSearch)
#include "tst_ReceiptSearch.moc"
