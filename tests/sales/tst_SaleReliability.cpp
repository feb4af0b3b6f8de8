#include "core/DbQuery.h"
#include "support/ShopFixture.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

// Sales written by other processes on the same SQLite file: killed mid-sale, or two at once.
class TestSaleReliability : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedTillLeavesConsistentData();
    void twoTillsSellTheSameLots();

private:
    static void Stock(TShopFixture& shop, QList<int>& lots);
    static void CheckIntegrity(TShopFixture& shop, const QMap<int, double>& initialLots);
    static QString Worker() { return QCoreApplication::applicationDirPath() + "/sale_worker"; }
};

void TestSaleReliability::Stock(TShopFixture& shop, QList<int>& lots)
{
    for (int i = 0; i < 6; ++i)
        shop.AddProduct(QString("URUN %1").arg(i), QString("86900000001%1").arg(i), 10 + i,
                        i % 2 ? 10 : 20, 1000);
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 55, 10, 1000);
    shop.TrackExpiry(cheese, true);
    lots << shop.AddLot(cheese, 40, QDate::currentDate().addDays(5))
         << shop.AddLot(cheese, 40, QDate::currentDate().addDays(50));
}

static QMap<int, double> LotQuantities()
{
    QMap<int, double> quantities;
    TDbQuery q("SELECT LotID, MevcutMiktar FROM StokLotDetay");
    q.Exec();
    while (q.Next())
        quantities.insert(q.Value(0).toInt(), q.Value(1).toDouble());
    return quantities;
}

void TestSaleReliability::CheckIntegrity(TShopFixture& shop, const QMap<int, double>& initialLots)
{
    QCOMPARE(shop.Scalar("PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(
        shop.Count(
            "SatisFis F WHERE NOT EXISTS (SELECT 1 FROM SatisFisSatir S WHERE S.FisID = F.FisID)"),
        0);
    QCOMPARE(shop.Count(
                 "SatisFis F WHERE ABS(F.GenelToplam - IFNULL((SELECT SUM(Tutar) FROM SatisOdeme O "
                 "WHERE O.FisID = F.FisID), 0)) > 0.001"),
             0);
    QCOMPARE(shop.Count("SatisFis WHERE FisNo <> 'FIS-' || FisID"), 0);
    QCOMPARE(
        shop.Count(
            "Stok S WHERE ABS(S.MevcutStok - IFNULL((SELECT SUM(B.MevcutStok) FROM SubeStok B "
            "WHERE B.StokID = S.StokID), 0)) > 0.0001 AND EXISTS (SELECT 1 FROM SubeStok B WHERE "
            "B.StokID = S.StokID)"),
        0);
    const QMap<int, double> now = LotQuantities();
    for (auto it = initialLots.constBegin(); it != initialLots.constEnd(); ++it) {
        const double taken =
            shop.Scalar(QString("SELECT IFNULL(SUM(Miktar), 0) FROM SatisFisLot WHERE LotID = %1")
                            .arg(it.key()))
                .toDouble();
        QVERIFY2(qAbs(it.value() - taken - now.value(it.key())) < 0.0001,
                 qPrintable(QString::number(it.key())));
        QVERIFY(now.value(it.key()) >= -0.000001);
    }
}

void TestSaleReliability::killedTillLeavesConsistentData()
{
    TShopFixture shop;
    QList<int> lots;
    Stock(shop, lots);
    const QMap<int, double> initial = LotQuantities();
    for (int round = 0; round < 20; ++round) {
        QProcess worker;
        worker.start(Worker(), {shop.Database().Path(), "0", QString::number(round + 1)});
        QVERIFY(worker.waitForStarted());
        QTest::qWait(150 + int(QRandomGenerator::global()->bounded(250)));
        ::kill(pid_t(worker.processId()), SIGKILL);
        QVERIFY(worker.waitForFinished(10000));
        CheckIntegrity(shop, initial);
    }
    QVERIFY(shop.Count("SatisFis") > 0);
}

void TestSaleReliability::twoTillsSellTheSameLots()
{
    TShopFixture shop;
    QList<int> lots;
    Stock(shop, lots);
    const QMap<int, double> initial = LotQuantities();
    QProcess first;
    QProcess second;
    first.start(Worker(), {shop.Database().Path(), "60", "7"});
    second.start(Worker(), {shop.Database().Path(), "60", "8"});
    QVERIFY(first.waitForFinished(120000));
    QVERIFY(second.waitForFinished(120000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);
    const QString text =
        QString::fromUtf8(first.readAllStandardOutput() + second.readAllStandardOutput());
    const QStringList output = text.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(output.size(), 120);
    int committed = 0;
    for (const QString& line : output) {
        if (line.startsWith("OK "))
            ++committed;
        else
            QVERIFY2(line == "FAIL Satış hatası: Lot bazli stok yetersiz: PEYNIR",
                     qPrintable(line));
    }
    QCOMPARE(shop.Count("SatisFis"), committed);
    QCOMPARE(shop.Scalar("SELECT COUNT(DISTINCT FisNo) FROM SatisFis").toInt(), committed);
    CheckIntegrity(shop, initial);
}

QTEST_GUILESS_MAIN(TestSaleReliability)
#include "tst_SaleReliability.moc"
