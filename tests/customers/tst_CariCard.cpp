#include "CustomerFixture.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "customers/CariCard.h"
#include "customers/TaxNumbers.h"
#include "support/ShopFixture.h"

#include <QSqlQuery>
#include <QtTest>

#include <memory>
#include <optional>

using CustomerFixture::AddAccount;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {
TCariCardData NewCard(const QString& name)
{
    TCariCardData card;
    card.CariAdi = name;
    return card;
}

// The message of the error `save` raises; empty when it raises none.
template <typename Save> QString Refusal(Save save)
{
    try {
        save();
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}
} // namespace

// The customer card's rules: codes, amounts, identity numbers and saving.
class TestCariCard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void generatedCodes_data();
    void generatedCodes();
    void parseMoney_data();
    void parseMoney();
    void vadeGunu_data();
    void vadeGunu();
    void taxNumbers_data();
    void taxNumbers();

    void newCardInsertsWhatWasTyped();
    void newCardRefusals_data();
    void newCardRefusals();
    void takenProposalMovesOn();
    void indexRefusalMovesOn();
    void typedCodeInUseIsRefused();
    void otherErrorsAreReportedAtOnce_data();
    void otherErrorsAreReportedAtOnce();
    void editUpdatesOnlyItsOwnAccount();
    void loadSkipsDeletedAccounts();

private:
    std::unique_ptr<TShopFixture> FShop;
};

void TestCariCard::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

void TestCariCard::init()
{
    FShop = std::make_unique<TShopFixture>();
}

void TestCariCard::cleanup()
{
    FShop.reset();
}

void TestCariCard::generatedCodes_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("code");
    QTest::newRow("empty table") << QStringList{} << 0 << "C00001";
    QTest::newRow("next after the highest id") << QStringList{"X", "Y"} << 0 << "C00003";
    QTest::newRow("taken by another id")
        << QStringList{"A", "B", "C", "D", "E", "C00007"} << 0 << "C00008";
    QTest::newRow("from a higher number") << QStringList{"A"} << 41 << "C00041";
    QTest::newRow("six digits") << QStringList{} << 123456 << "C123456";
}

void TestCariCard::generatedCodes()
{
    QFETCH(QStringList, existing);
    QFETCH(int, from);
    QFETCH(QString, code);
    for (const QString& taken : existing)
        AddAccount({taken, "Var olan"});
    QCOMPARE(TCariCard::GenerateCariKodu(from), code);
}

void TestCariCard::parseMoney_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("value");
    const std::optional<double> none;
    QTest::newRow("grouped, decimal comma") << "1.234,50" << std::optional(1234.5);
    QTest::newRow("decimal comma") << "1234,5" << std::optional(1234.5);
    QTest::newRow("decimal point") << "1234.5" << std::optional(1234.5);
    QTest::newRow("a lone point before three digits groups") << "1.500" << std::optional(1500.0);
    QTest::newRow("a lone point before one digit is decimal") << "1.5" << std::optional(1.5);
    QTest::newRow("grouped thousands") << "1.500,00" << std::optional(1500.0);
    QTest::newRow("currency and blanks around") << " 1.250,50 tl " << std::optional(1250.5);
    QTest::newRow("empty") << "" << std::optional(0.0);
    QTest::newRow("blank inside") << "1 250,50" << none;
    QTest::newRow("negative") << "-12,5" << none;
    QTest::newRow("a third decimal") << "0,125" << none;
    QTest::newRow("letters") << "abc" << none;
    QTest::newRow("letters around a number") << "abc-1e5" << none;
    QTest::newRow("two decimal commas") << "1,2,3" << none;
    QTest::newRow("two points") << "1.2.3" << none;
    QTest::newRow("exponent") << "1e5" << none;
    QTest::newRow("infinity") << "inf" << none;
    QTest::newRow("beyond a currency value") << "1000000000000000" << none;
    QTest::newRow("only the currency") << "TL" << none;
}

void TestCariCard::parseMoney()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, value);
    QCOMPARE(TCariCard::ParseMoney(text), value);
}

void TestCariCard::vadeGunu_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<int>>("days");
    const std::optional<int> none;
    QTest::newRow("whole number") << " 30 " << std::optional(30);
    QTest::newRow("empty") << "" << std::optional(0);
    QTest::newRow("zero") << "0" << std::optional(0);
    QTest::newRow("grouped") << "1.000" << std::optional(1000);
    QTest::newRow("not a whole number") << "30,5" << none;
    QTest::newRow("text") << "otuz" << none;
    QTest::newRow("negative") << "-30" << none;
    QTest::newRow("beyond a lifetime") << "36501" << none;
}

void TestCariCard::vadeGunu()
{
    QFETCH(QString, text);
    QFETCH(std::optional<int>, days);
    QCOMPARE(TCariCard::ParseVadeGunu(text), days);
}

void TestCariCard::taxNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("vkn");
    QTest::addColumn<bool>("tckn");
    QTest::newRow("VKN") << "4540536920" << true << false;
    QTest::newRow("VKN with leading zeros") << "0010213576" << true << false;
    QTest::newRow("VKN without a nine step") << "9990112519" << true << false;
    QTest::newRow("VKN, last digit wrong") << "4540536921" << false << false;
    QTest::newRow("VKN, nine rule left out") << "4540536929" << false << false;
    QTest::newRow("VKN, nine digits") << "454053692" << false << false;
    QTest::newRow("VKN, letter") << "454053692A" << false << false;
    QTest::newRow("TCKN") << "10000000146" << false << true;
    QTest::newRow("TCKN, another") << "71467095762" << false << true;
    QTest::newRow("TCKN, negative difference") << "19090909018" << false << true;
    QTest::newRow("TCKN, eleventh digit wrong") << "10000000147" << false << false;
    QTest::newRow("TCKN, tenth digit wrong") << "10000000157" << false << false;
    QTest::newRow("TCKN, starting with 0") << "01000000090" << false << false;
    QTest::newRow("TCKN, blank inside") << "1000000 146" << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void TestCariCard::taxNumbers()
{
    QFETCH(QString, number);
    QFETCH(bool, vkn);
    QFETCH(bool, tckn);
    QCOMPARE(TaxNumbers::IsValidVKN(number), vkn);
    QCOMPARE(TaxNumbers::IsValidTCKN(number), tckn);
}

void TestCariCard::newCardInsertsWhatWasTyped()
{
    TCariCardData card = NewCard("  Deniz Gıda Ltd.  ");
    card.CariKodu = "C00001";
    card.CariTipi = " ";
    card.ParaBirimi = "";
    card.VKN = "4540536920";
    card.TCKN = "10000000146";
    card.RiskLimiti = "1.500,75";
    card.VadeGunu = " 45 ";
    card.EFaturaMukellefi = true;
    card.Adres = "Atatürk Cad. 5\nKat 2 ";
    const TCariSaveResult saved = TCariCard::SaveCard(card, "C00001");
    QCOMPARE(saved.CariKodu, QString("C00001"));
    QVERIFY(!saved.CodeMoved);
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT CariAdi || '|' || CariTipi || '|' || ParaBirimi || '|' "
                                  "|| VKN || '|' || TCKN || '|' || RiskLimiti || '|' || "
                                  "VadeGunu || '|' || EFaturaMukellefi || '|' || "
                                  "EIrsaliyeMukellefi || '|' || IsActive || '|' || Adres || '|' "
                                  "|| IsDeleted FROM CariKart WHERE CariID = %1")
                              .arg(saved.CariID))
                 .toString(),
             QString("Deniz Gıda Ltd.|MUSTERI|TRY|4540536920|10000000146|1500.75|45|1|0|1|"
                     "Atatürk Cad. 5\nKat 2|0"));
    // Empty fields are stored as empty text, not NULL.
    QCOMPARE(FShop->Count("CariKart WHERE Telefon = '' AND Email = '' AND Notlar = '' AND "
                          "YetkiliKisi = ''"),
             1);
}

void TestCariCard::newCardRefusals_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << "CariAdi"
                             << "   "
                             << "Cari adi zorunludur.";
    QTest::newRow("tax number") << "VKN"
                                << "4540536921"
                                << "Vergi No geçersiz: 4540536921. Vergi numarası 10 haneli "
                                   "olmalı ve son hanesi doğru olmalıdır.";
    QTest::newRow("national id") << "TCKN"
                                 << "1234"
                                 << "TCKN geçersiz: 1234. T.C. kimlik numarası 11 haneli olmalı, "
                                    "0 ile başlamamalı ve son iki hanesi doğru olmalıdır.";
    QTest::newRow("risk limit") << "RiskLimiti"
                                << "12,5 lira"
                                << "Risk Limiti okunamadı: \"12,5 lira\". Tutarı 1.234,50 gibi "
                                   "yazınız.";
    QTest::newRow("due days") << "VadeGunu"
                              << "otuz"
                              << "Vade Günü okunamadı: \"otuz\". Gün sayısını 30 gibi yazınız.";
}

void TestCariCard::newCardRefusals()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    TCariCardData card = NewCard("Alıcı");
    if (field == "CariAdi")
        card.CariAdi = value;
    else if (field == "VKN")
        card.VKN = value;
    else if (field == "TCKN")
        card.TCKN = value;
    else if (field == "VadeGunu")
        card.VadeGunu = value;
    else
        card.RiskLimiti = value;
    QCOMPARE(Refusal([&] { TCariCard::SaveCard(card, "C00001"); }), message);
    QCOMPARE(FShop->Count("CariKart"), 0);
}

void TestCariCard::takenProposalMovesOn()
{
    const QString proposed = TCariCard::GenerateCariKodu();
    QCOMPARE(proposed, QString("C00001"));
    // Another till saves its new account under the same proposal first.
    const int other = AddAccount({"C00001", "Öteki Kasa"});
    TCariCardData card = NewCard("Bu Kasa");
    card.CariKodu = proposed;
    const TCariSaveResult saved = TCariCard::SaveCard(card, proposed);
    QCOMPARE(saved.CariKodu, QString("C00002"));
    QVERIFY(saved.CodeMoved);
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT CariAdi || ':' || CariKodu FROM CariKart WHERE CariID "
                                  "= %1")
                              .arg(other))
                 .toString(),
             QString("Öteki Kasa:C00001"));
    QCOMPARE(
        FShop->Scalar(QString("SELECT CariAdi FROM CariKart WHERE CariID = %1").arg(saved.CariID))
            .toString(),
        QString("Bu Kasa"));

    // An empty code box is a generated code too.
    const TCariSaveResult empty = TCariCard::SaveCard(NewCard("Kodsuz"), "C00003");
    QCOMPARE(empty.CariKodu, QString("C00003"));
    QVERIFY(!empty.CodeMoved);
    QCOMPARE(FShop->Count("CariKart"), 3);
}

void TestCariCard::indexRefusalMovesOn()
{
    // A server whose collation ignores case refuses "C00002" beside "c00002", which a
    // case-sensitive look-up does not find.
    FShop->Exec("DROP INDEX UX_CariKart_CariKodu");
    FShop->Exec("CREATE UNIQUE INDEX UX_CariKart_CariKodu ON CariKart(CariKodu COLLATE NOCASE)");
    AddAccount({"X", "Birinci"});
    const int lower = AddAccount({"c00003", "Küçük harfli"});
    TCariCardData card = NewCard("Yeni");
    card.CariKodu = "C00003";
    const TCariSaveResult saved = TCariCard::SaveCard(card, "C00003");
    QCOMPARE(saved.CariKodu, QString("C00004"));
    QVERIFY(saved.CodeMoved);
    QCOMPARE(FShop->Scalar(QString("SELECT CariAdi FROM CariKart WHERE CariID = %1").arg(lower))
                 .toString(),
             QString("Küçük harfli"));
    QCOMPARE(FShop->Count("CariKart"), 3);
}

void TestCariCard::typedCodeInUseIsRefused()
{
    const int other = AddAccount(TAccountRow("ACME", "Acme A.Ş.").Telefon("0212 000 00 00"));
    TCariCardData card = NewCard("Başka Firma");
    card.CariKodu = " ACME ";
    QCOMPARE(Refusal([&] { TCariCard::SaveCard(card, "C00002"); }),
             QString("Cari kodu ACME başka bir cari kartta kullanılıyor. Farklı bir kod yazınız."));
    QCOMPARE(FShop->Count("CariKart"), 1);
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT CariAdi || ':' || Telefon FROM CariKart WHERE CariID "
                                  "= %1")
                              .arg(other))
                 .toString(),
             QString("Acme A.Ş.:0212 000 00 00"));
}

void TestCariCard::otherErrorsAreReportedAtOnce_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // how the error the cashier sees begins
    // SQLite keeps no column lengths; the trigger refuses what the server's NVARCHAR(20) would.
    QTest::newRow("a phone number too long for its column")
        << "too long"
        << "String or binary data would be truncated in table 'dbo.CariKart', column 'Telefon'.";
    QTest::newRow("a lost link") << "lost link"
                                 << "Veritabanı bağlantısı koptu, işlem tamamlanamadı.";
}

// Only a taken code moves a generated code on: any other failure of the insert is reported with
// its own text after one try, nothing is saved and no other code is used.
void TestCariCard::otherErrorsAreReportedAtOnce()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    TCariCard::EnsureCariKartColumns();
    TdmMain& db = FShop->Database().Db();
    if (fault == "too long") {
        QSqlQuery trigger(db.Database());
        QVERIFY(trigger.exec(
            "CREATE TRIGGER TR_CariKart_Telefon BEFORE INSERT ON CariKart WHEN "
            "length(NEW.Telefon) > 20 BEGIN SELECT RAISE(ABORT, 'String or binary data would be "
            "truncated in table ''dbo.CariKart'', column ''Telefon''.'); END"));
    }
    int inserts = 0;
    db.SetStatementHook([&](const QString& sql) {
        if (!sql.startsWith("INSERT INTO CariKart"))
            return;
        ++inserts;
        if (fault == "lost link") {
            db.Statements().Clear();
            db.Database().close();
        }
    });
    TCariCardData card = NewCard("Uzun Telefonlu");
    card.Telefon = "0212 555 44 33 dahili 1234";
    const QString proposed = TCariCard::GenerateCariKodu();
    card.CariKodu = proposed;
    const QString refusal = Refusal([&] { TCariCard::SaveCard(card, proposed); });
    db.SetStatementHook({});
    QVERIFY2(refusal.startsWith(message), qPrintable(refusal));
    QCOMPARE(inserts, 1);
    QCOMPARE(FShop->Count("CariKart"), 0);
}

void TestCariCard::editUpdatesOnlyItsOwnAccount()
{
    const int loaded = AddAccount({"C00001", "Eski Ad"});
    std::optional<TCariCardData> card = TCariCard::LoadCard("C00001");
    QVERIFY(card);
    QCOMPARE(card->CariID, loaded);
    QCOMPARE(card->RiskLimiti, QString("0,00"));
    // Meanwhile the account gets another code, and a new account takes the old one.
    FShop->Exec(QString("UPDATE CariKart SET CariKodu = 'C-ESKI' WHERE CariID = %1").arg(loaded));
    const int newcomer = AddAccount({"C00001", "Yeni Gelen"});
    card->CariAdi = "Yeni Ad";
    card->Telefon = "0532 000 00 00";
    const TCariSaveResult saved = TCariCard::SaveCard(*card, QString());
    QCOMPARE(saved.CariID, loaded);
    QVERIFY(!saved.CodeMoved);
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT CariAdi || ':' || CariKodu || ':' || Telefon || ':' || "
                                  "(UpdatedAt IS NOT NULL) FROM CariKart WHERE CariID = %1")
                              .arg(loaded))
                 .toString(),
             QString("Yeni Ad:C-ESKI:0532 000 00 00:1"));
    QCOMPARE(FShop->Scalar(QString("SELECT CariAdi FROM CariKart WHERE CariID = %1").arg(newcomer))
                 .toString(),
             QString("Yeni Gelen"));

    FShop->Exec(QString("DELETE FROM CariKart WHERE CariID = %1").arg(loaded));
    QCOMPARE(Refusal([&] { TCariCard::SaveCard(*card, QString()); }),
             QString("Cari kart bulunamadı; başka bir kasada silinmiş olabilir."));
    QCOMPARE(FShop->Count("CariKart"), 1);
}

void TestCariCard::loadSkipsDeletedAccounts()
{
    AddAccount(TAccountRow("C00001", "Silinmiş").Deleted());
    QVERIFY(!TCariCard::LoadCard("C00001"));
    QVERIFY(!TCariCard::LoadCard("YOK"));
}

QTEST_GUILESS_MAIN(TestCariCard)
#include "tst_CariCard.moc"
