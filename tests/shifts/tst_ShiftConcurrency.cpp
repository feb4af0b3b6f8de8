#include "support/ShopFixture.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

// Two tills opening a shift on the same SQLite file at the same moment: the checks and the
// insert of one wait for the other, so only one shift comes out.
class TestShiftConcurrency : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoTillsOpenAtOnce_data();
    void twoTillsOpenAtOnce();

private:
    static QString Worker() { return QCoreApplication::applicationDirPath() + "/shift_worker"; }
};

void TestShiftConcurrency::twoTillsOpenAtOnce_data()
{
    QTest::addColumn<bool>("sameUser");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("two cashiers, one terminal")
        << false << "FAIL Bu şubede bu terminalde başka bir vardiya açık: ";
    QTest::newRow("one cashier, two terminals")
        << true << "FAIL Kullanıcının zaten açık bir vardiyası var.";
}

void TestShiftConcurrency::twoTillsOpenAtOnce()
{
    QFETCH(bool, sameUser);
    QFETCH(QString, refusal);
    TShopFixture shop;
    shop.Exec("INSERT INTO Kullanici (KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID, AktifMi, "
              "IsDeleted) VALUES ('ikinci', '', 'İKİNCİ KASİYER', 1, 1, 1, 0)");
    shop.Exec("INSERT INTO Terminal (TerminalAdi, IsDeleted) VALUES ('KASA-2', 0)");
    const QString user1 = QString::number(shop.KullaniciID());
    const QString user2 = sameUser ? user1 : QString::number(shop.KullaniciID() + 1);
    const QString terminal1 = QString::number(shop.TerminalID());
    const QString terminal2 = sameUser ? QString::number(shop.TerminalID() + 1) : terminal1;
    const QString sube = QString::number(shop.SubeID());

    for (int round = 0; round < 8; ++round) {
        shop.Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI' WHERE "
                  "KapanisZamani IS NULL");
        const int before = shop.Count("Vardiya");
        const QString go = shop.Database().Folder() + QString("/go%1").arg(round);
        QProcess first;
        QProcess second;
        first.start(Worker(), {shop.Database().Path(), user1, sube, terminal1, go});
        second.start(Worker(), {shop.Database().Path(), user2, sube, terminal2, go});
        for (QProcess* p : {&first, &second}) {
            QVERIFY(p->waitForReadyRead(20000));
            QCOMPARE(p->readLine().trimmed(), QByteArray("READY"));
        }
        QFile(go).open(QIODevice::WriteOnly);
        QVERIFY(first.waitForFinished(30000));
        QVERIFY(second.waitForFinished(30000));
        const QStringList answers{QString::fromUtf8(first.readAllStandardOutput()).trimmed(),
                                  QString::fromUtf8(second.readAllStandardOutput()).trimmed()};
        QCOMPARE(answers.filter(QRegularExpression("^OK \\d+$")).size(), 1);
        const QString refused = answers.filter(QRegularExpression("^FAIL ")).value(0);
        QVERIFY2(refused.startsWith(refusal), qPrintable(answers.join(" / ")));
        QCOMPARE(shop.Count("Vardiya"), before + 1);
        QCOMPARE(shop.Count("Vardiya WHERE KapanisZamani IS NULL"), 1);
    }
}

QTEST_GUILESS_MAIN(TestShiftConcurrency)
#include "tst_ShiftConcurrency.moc"
