#include "support/ShopFixture.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

// Two tills saving new customer cards on the same SQLite file at the same moment, both having
// proposed the same code: two accounts under two codes, neither overwriting the other.
class TestCariConcurrency : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void twoTillsSaveAtOnce();

private:
    static QString Worker() { return QCoreApplication::applicationDirPath() + "/cari_worker"; }
};

void TestCariConcurrency::initTestCase()
{
    UseTestPaths();
}

void TestCariConcurrency::twoTillsSaveAtOnce()
{
    TShopFixture shop;
    for (int round = 0; round < 8; ++round) {
        const int before = shop.Count("CariKart");
        const QString go = shop.Database().Folder() + QString("/go%1").arg(round);
        const QString nameA = QString("Kasa A %1").arg(round);
        const QString nameB = QString("Kasa B %1").arg(round);
        QProcess first;
        QProcess second;
        first.start(Worker(), {shop.Database().Path(), nameA, go});
        second.start(Worker(), {shop.Database().Path(), nameB, go});
        QStringList proposals;
        for (QProcess* p : {&first, &second}) {
            QVERIFY(p->waitForReadyRead(20000));
            const QString ready = QString::fromUtf8(p->readLine()).trimmed();
            QVERIFY2(ready.startsWith("READY C"), qPrintable(ready));
            proposals << ready.mid(6);
        }
        QCOMPARE(proposals.at(0), proposals.at(1));
        QFile(go).open(QIODevice::WriteOnly);
        QVERIFY(first.waitForFinished(30000));
        QVERIFY(second.waitForFinished(30000));
        const QStringList answers{QString::fromUtf8(first.readAllStandardOutput()).trimmed(),
                                  QString::fromUtf8(second.readAllStandardOutput()).trimmed()};
        QCOMPARE(answers.filter(QRegularExpression("^OK \\d+ C\\d{5,}$")).size(), 2);
        const QString codeA = answers.at(0).section(' ', 2);
        const QString codeB = answers.at(1).section(' ', 2);
        QVERIFY2(codeA != codeB, qPrintable(answers.join(" / ")));
        QVERIFY(codeA == proposals.at(0) || codeB == proposals.at(0));
        QCOMPARE(shop.Count("CariKart"), before + 2);
        QCOMPARE(
            shop.Scalar(QString("SELECT CariAdi FROM CariKart WHERE CariKodu = '%1'").arg(codeA))
                .toString(),
            nameA);
        QCOMPARE(
            shop.Scalar(QString("SELECT CariAdi FROM CariKart WHERE CariKodu = '%1'").arg(codeB))
                .toString(),
            nameB);
    }
}

QTEST_GUILESS_MAIN(TestCariConcurrency)
#include "tst_CariConcurrency.moc"
