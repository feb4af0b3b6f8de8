#include "core/DbQuery.h"
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

void TestReceiptSearch::columnWidths()
{
    QCOMPARE(TReceiptSearch::ColumnWidths(990), (QList<int>{0, 120, 150, 250, 160, 120, 100, 90}));
    const QList<int> widths = TReceiptSearch::ColumnWidths(777);
    QCOMPARE(std::accumulate(widths.cbegin(), widths.cend(), 0), 777);
    QVERIFY(TReceiptSearch::ColumnWidths(0).isEmpty());
}

QTEST_MAIN(TestReceiptSearch)
#include "tst_ReceiptSearch.moc"
