#include "core/Money.h"
#include "sales/CartManager.h"
#include "sales/SaleDocument.h"

#include <QtTest>

// The document the sale routine takes: what the cart says comes back exactly, figures at the
// scale of their columns to the last bit and texts character for character, null or empty.
class TestSaleDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void figuresReadBackExactly();
    void textsReadBackAsWritten_data();
    void textsReadBackAsWritten();
    void paymentsAboveTheTolerance_data();
    void paymentsAboveTheTolerance();
    void cashHandedOver_data();
    void cashHandedOver();
    void brokenDocumentIsRefused();
};

void TestSaleDocument::figuresReadBackExactly()
{
    TCartManager cart;
    cart.AddItem(11, "PEYNİR", "8690000000042", "KG", 187.35, 0.333, 18, true);
    cart.AddItem(12, "SU", "8690000000059", "ADET", 7.333, 6, 20, false);
    cart.AddItem(13, "ÇAY", "8690000000066", "ADET", 1e-7, 1e6, -100, false);
    cart.UpdateDiscount(0, 12.5);
    cart.UpdateDiscount(1, 100.0 / 3);
    QList<TSaleLine> lines;
    QList<TSalePayment> payments;
    QVERIFY(TSaleDocument::Read(TSaleDocument::Write(cart, 10, 0), lines, payments));
    QCOMPARE(lines.size(), cart.Count());
    for (int i = 0; i < cart.Count(); ++i) {
        const TCartItem& item = cart.Items(i);
        const TSaleLine& line = lines.at(i);
        QCOMPARE(line.StokID, item.StokID());
        // Exact equality on purpose: the routine must store the cart's own figures, each as the
        // server's decimal column keeps it, so both engines hold the same value.
        QVERIFY(line.Miktar == TMoney::RoundQuantity(item.Miktar()));
        QVERIFY(line.BirimFiyat == TMoney::RoundLineAmount(item.NetBirimFiyat()));
        QVERIFY(line.KDVOrani == TMoney::RoundRate(item.KDVOrani()));
        QVERIFY(line.KDVTutari == TMoney::RoundLineAmount(item.KDVTutari()));
        QVERIFY(line.IndirimOrani == TMoney::RoundRate(item.IndirimOrani()));
        QVERIFY(line.IndirimTutari == TMoney::RoundLineAmount(item.IndirimTutari()));
        QVERIFY(line.AraToplam == TMoney::RoundLineAmount(item.AraToplam()));
        QVERIFY(line.SatirToplam == TMoney::RoundLineAmount(item.SatirToplam()));
    }
}

void TestSaleDocument::textsReadBackAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("null") << QString();
    QTest::newRow("empty") << QString("");
    QTest::newRow("markup") << QString("A & B <C> \"D\" 'E'");
    QTest::newRow("Turkish letters") << QString("ŞİŞE ĞÜÇÖı");
    QTest::newRow("tab and line ends") << QString("a\tb\nc\rd");
    QTest::newRow("blanks around") << QString("  x  ");
}

void TestSaleDocument::textsReadBackAsWritten()
{
    QFETCH(QString, text);
    TCartManager cart;
    cart.AddItem(1, text, text, text, 10, 1, 10, false);
    QList<TSaleLine> lines;
    QList<TSalePayment> payments;
    QVERIFY(TSaleDocument::Read(TSaleDocument::Write(cart, 0, 0), lines, payments));
    QCOMPARE(lines.size(), 1);
    for (const QString& read : {lines[0].StokAdi, lines[0].Barkod, lines[0].Birim}) {
        QCOMPARE(read, text);
        QCOMPARE(read.isNull(), text.isNull());
    }
}

void TestSaleDocument::paymentsAboveTheTolerance_data()
{
    QTest::addColumn<double>("cash");
    QTest::addColumn<double>("card");
    QTest::addColumn<QString>("written");
    QTest::newRow("cash") << 100.0 << 0.0 << "NAKIT=100";
    QTest::newRow("card") << 0.0 << 100.0 << "KART=100";
    QTest::newRow("split, cash first") << 30.25 << 69.75 << "NAKIT=30.25,KART=69.75";
    QTest::newRow("below the tolerance") << 0.001 << 0.0005 << "";
    QTest::newRow("to the kuruş") << 512.3 - 312.3 << 0.1 + 0.2 << "NAKIT=200,KART=0.3";
    QTest::newRow("below half a kuruş is none") << 0.0049 << 0.005 << "KART=0.01";
}

void TestSaleDocument::paymentsAboveTheTolerance()
{
    QFETCH(double, cash);
    QFETCH(double, card);
    QFETCH(QString, written);
    TCartManager cart;
    cart.AddItem(1, "KAHVE", "8690000000066", "ADET", 100, 1, 20, false);
    QList<TSaleLine> lines;
    QList<TSalePayment> payments;
    QVERIFY(TSaleDocument::Read(TSaleDocument::Write(cart, cash, card), lines, payments));
    QStringList read;
    for (const TSalePayment& p : payments)
        read << p.OdemeTipi + '=' + QString::number(p.Tutar, 'g', QLocale::FloatingPointShortest);
    QCOMPARE(read.join(','), written);
}

// The cash payment carries the cash handed over, to the kuruş and never less than the cash paid;
// the card payment carries none, nor does a document written without it.
void TestSaleDocument::cashHandedOver_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("read");
    TCartManager cart;
    cart.AddItem(1, "KAHVE", "8690000000066", "ADET", 100, 1, 20, false);
    QTest::newRow("change") << TSaleDocument::Write(cart, 87.5, 0, 100) << "NAKIT=87.5/100";
    QTest::newRow("not stated: the cash paid")
        << TSaleDocument::Write(cart, 87.5, 0) << "NAKIT=87.5/87.5";
    QTest::newRow("less than paid: the cash paid")
        << TSaleDocument::Write(cart, 87.5, 0, 50) << "NAKIT=87.5/87.5";
    QTest::newRow("to the kuruş") << TSaleDocument::Write(cart, 40, 60, 50.004)
                                  << "NAKIT=40/50,KART=60/-";
    QTest::newRow("card only") << TSaleDocument::Write(cart, 0, 100, 20) << "KART=100/-";
    QTest::newRow("an older document") << "<Sale><Payment OdemeTipi=\"NAKIT\" Tutar=\"5\"/></Sale>"
                                       << "NAKIT=5/-";
}

void TestSaleDocument::cashHandedOver()
{
    QFETCH(QString, xml);
    QFETCH(QString, read);
    QList<TSaleLine> lines;
    QList<TSalePayment> payments;
    QVERIFY(TSaleDocument::Read(xml, lines, payments));
    QStringList texts;
    for (const TSalePayment& p : payments)
        texts << p.OdemeTipi + '=' + QString::number(p.Tutar) + '/' +
                     (p.Verilen ? QString::number(*p.Verilen) : QString("-"));
    QCOMPARE(texts.join(','), read);
}

void TestSaleDocument::brokenDocumentIsRefused()
{
    QList<TSaleLine> lines;
    QList<TSalePayment> payments;
    QVERIFY(!TSaleDocument::Read("<Sale><Line StokID=\"1\"", lines, payments));
    QVERIFY(!TSaleDocument::Read("<Sale><Line StokID=\"1\"/></Satis>", lines, payments));
    QVERIFY(TSaleDocument::Read("<Other><Line StokID=\"1\"/></Other>", lines, payments));
    QVERIFY(lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestSaleDocument)
#include "tst_SaleDocument.moc"
