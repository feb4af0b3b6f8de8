#include "customers/CariCard.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Exceptions.h"
#include "core/OwnedSchema.h"
#include "core/POSTextUtils.h"
#include "core/TypedNumber.h"
#include "customers/TaxNumbers.h"

#include <QRegularExpression>

namespace {
// The largest amount a currency value holds (four places), which also fits the column.
constexpr double kMaxMoney = 922337203685477.0;
// Due days beyond a lifetime are a typing error.
constexpr double kMaxDays = 36500;
// How often a generated code moves on before the insert's own error is shown.
constexpr int kCodeAttempts = 20;

const QString kCodeLookup =
    QStringLiteral("SELECT CariID FROM CariKart WHERE CariKodu = :CariKodu");
// Inside the saving transaction: on SQL Server the look-up keeps the code's place in the unique
// index locked, so a second till asking for the same code waits for this one's insert.
// After the unique index refused an insert: the index may ignore letter case where the plain
// look-up does not (the server's collation), and codes are plain letters and digits.
const QString kCodeLookupAnyCase =
    QStringLiteral("SELECT CariID FROM CariKart WHERE UPPER(CariKodu) = UPPER(:CariKodu)");
const QString kLockedCodeLookup = QStringLiteral(
    "SELECT CariID FROM CariKart WITH (UPDLOCK, HOLDLOCK) WHERE CariKodu = :CariKodu");

const QString kInsert = QStringLiteral(
    "INSERT INTO CariKart (CariKodu, CariAdi, CariTipi, VKN, TCKN, VergiDairesi, "
    "EFaturaMukellefi, EIrsaliyeMukellefi, Telefon, Email, Adres, Il, Ilce, PostaKodu, "
    "YetkiliKisi, ParaBirimi, RiskLimiti, VadeGunu, Notlar, IsActive) VALUES (:CariKodu, "
    ":CariAdi, :CariTipi, :VKN, :TCKN, :VergiDairesi, :EFatura, :EIrsaliye, :Telefon, :Email, "
    ":Adres, :Il, :Ilce, :PostaKodu, :YetkiliKisi, :ParaBirimi, :RiskLimiti, :VadeGunu, "
    ":Notlar, :IsActive); SELECT SCOPE_IDENTITY() AS NewID");
const QString kUpdate = QStringLiteral(
    "UPDATE CariKart SET CariAdi=:CariAdi, CariTipi=:CariTipi, VKN=:VKN, TCKN=:TCKN, "
    "VergiDairesi=:VergiDairesi, EFaturaMukellefi=:EFatura, EIrsaliyeMukellefi=:EIrsaliye, "
    "Telefon=:Telefon, Email=:Email, Adres=:Adres, Il=:Il, Ilce=:Ilce, PostaKodu=:PostaKodu, "
    "YetkiliKisi=:YetkiliKisi, ParaBirimi=:ParaBirimi, RiskLimiti=:RiskLimiti, "
    "VadeGunu=:VadeGunu, Notlar=:Notlar, IsActive=:IsActive, UpdatedAt=GETDATE() WHERE "
    "CariID=:CariID");
const QString kLoad = QStringLiteral(
    "SELECT CariID, CariKodu, CariAdi, CariTipi, VKN, TCKN, VergiDairesi, EFaturaMukellefi, "
    "EIrsaliyeMukellefi, Telefon, Email, Adres, Il, Ilce, PostaKodu, ISNULL(IsActive, 1) AS "
    "IsActive, ISNULL(YetkiliKisi, '') AS YetkiliKisi, ISNULL(ParaBirimi, 'TRY') AS ParaBirimi, "
    "ISNULL(RiskLimiti, 0) AS RiskLimiti, ISNULL(VadeGunu, 0) AS VadeGunu, ISNULL(Notlar, '') AS "
    "Notlar FROM CariKart WHERE CariKodu = :K AND IsDeleted = 0");

// The values a save writes, read and checked from the card.
struct TCariValues {
    TCariCardData Card; // texts trimmed
    double RiskLimiti = 0;
    int VadeGunu = 0;
};

TCariCardData Trimmed(TCariCardData card)
{
    // An empty field is stored as empty text: a null QString would be bound as NULL.
    for (QString* text :
         {&card.CariKodu, &card.CariAdi, &card.CariTipi, &card.YetkiliKisi, &card.Telefon,
          &card.Email, &card.VKN, &card.VergiDairesi, &card.ParaBirimi, &card.Adres, &card.Il,
          &card.Ilce, &card.PostaKodu, &card.TCKN, &card.RiskLimiti, &card.VadeGunu, &card.Notlar})
        *text = text->isNull() ? QStringLiteral("") : text->trimmed();
    if (card.CariTipi.isEmpty())
        card.CariTipi = QStringLiteral("MUSTERI");
    if (card.ParaBirimi.isEmpty())
        card.ParaBirimi = QStringLiteral("TRY");
    return card;
}

// The rules every save checks after the code, in the order the cashier reads the card.
TCariValues Checked(const TCariCardData& card)
{
    if (card.CariAdi.isEmpty())
        throw ERefusal(QStringLiteral("Cari adi zorunludur."));
    if (!card.VKN.isEmpty() && !TaxNumbers::IsValidVKN(card.VKN))
        throw ERefusal(QStringLiteral("Vergi No geçersiz: %1. Vergi numarası 10 haneli olmalı "
                                      "ve son hanesi doğru olmalıdır.")
                           .arg(card.VKN));
    if (!card.TCKN.isEmpty() && !TaxNumbers::IsValidTCKN(card.TCKN))
        throw ERefusal(QStringLiteral("TCKN geçersiz: %1. T.C. kimlik numarası 11 haneli "
                                      "olmalı, 0 ile başlamamalı ve son iki hanesi doğru "
                                      "olmalıdır.")
                           .arg(card.TCKN));
    const std::optional<double> risk = TCariCard::ParseMoney(card.RiskLimiti);
    if (!risk)
        throw ERefusal(QStringLiteral("Risk Limiti okunamadı: \"%1\". Tutarı 1.234,50 "
                                           "gibi yazınız.")
                                .arg(card.RiskLimiti));
    const std::optional<int> days = TCariCard::ParseVadeGunu(card.VadeGunu);
    if (!days)
        throw ERefusal(QStringLiteral("Vade Günü okunamadı: \"%1\". Gün sayısını 30 gibi "
                                           "yazınız.")
                                .arg(card.VadeGunu));
    return {card, *risk, *days};
}

void BindValues(TDbQuery& query, const TCariValues& values)
{
    const TCariCardData& c = values.Card;
    query.Param(QStringLiteral("CariAdi"), c.CariAdi)
        .Param(QStringLiteral("CariTipi"), c.CariTipi)
        .Param(QStringLiteral("VKN"), c.VKN)
        .Param(QStringLiteral("TCKN"), c.TCKN)
        .Param(QStringLiteral("VergiDairesi"), c.VergiDairesi)
        .Param(QStringLiteral("EFatura"), c.EFaturaMukellefi)
        .Param(QStringLiteral("EIrsaliye"), c.EIrsaliyeMukellefi)
        .Param(QStringLiteral("Telefon"), c.Telefon)
        .Param(QStringLiteral("Email"), c.Email)
        .Param(QStringLiteral("Adres"), c.Adres)
        .Param(QStringLiteral("Il"), c.Il)
        .Param(QStringLiteral("Ilce"), c.Ilce)
        .Param(QStringLiteral("PostaKodu"), c.PostaKodu)
        .Param(QStringLiteral("YetkiliKisi"), c.YetkiliKisi)
        .Param(QStringLiteral("ParaBirimi"), c.ParaBirimi)
        .Param(QStringLiteral("RiskLimiti"), values.RiskLimiti)
        .Param(QStringLiteral("VadeGunu"), values.VadeGunu)
        .Param(QStringLiteral("Notlar"), c.Notlar)
        .Param(QStringLiteral("IsActive"), c.IsActive);
}

bool CodeTaken(const QString& lookup, const QString& code)
{
    TDbQuery q(lookup);
    q.Param(QStringLiteral("CariKodu"), code).Exec();
    return q.Next();
}

QString CodeOf(int number)
{
    return u'C' + QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0'));
}

// The number of a generated code ("C00042" -> 42); 0 for any other code.
int NumberOf(const QString& code)
{
    static const QRegularExpression generated(QStringLiteral("^C(\\d{1,9})$"));
    const QRegularExpressionMatch match = generated.match(code);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

ERefusal CodeInUse(const QString& code)
{
    return ERefusal(QStringLiteral("Cari kodu %1 başka bir cari kartta kullanılıyor. Farklı "
                                   "bir kod yazınız.")
                        .arg(code));
}

void Update(const TCariValues& values)
{
    TDbQuery update(kUpdate);
    BindValues(update, values);
    update.Param(QStringLiteral("CariID"), values.Card.CariID).Exec();
    if (update.RowsAffected() == 0)
        throw ERefusal(QStringLiteral("Cari kart bulunamadı; başka bir kasada silinmiş olabilir."));
}

int InsertRow(const TCariValues& values, const QString& code)
{
    TDbQuery insert(kInsert);
    BindValues(insert, values);
    insert.Param(QStringLiteral("CariKodu"), code).Exec();
    insert.Next();
    return insert.Value(0).toInt();
}

// Inserts under `code`; a generated code moves to the next free one while the code is taken,
// whether the look-up finds it or the unique index refuses it. Any other error of the insert (a
// value too long for its column, a lost link) is the cashier's to see at once: trying the next
// code would only repeat it, or save the card under a code it did not need.
TCariSaveResult Insert(const TCariValues& values, QString code, bool generated)
{
    for (int attempt = 1;; ++attempt) {
        try {
            TDbTransaction transaction;
            if (CodeTaken(kLockedCodeLookup, code)) {
                if (!generated)
                    throw CodeInUse(code);
                code = TCariCard::GenerateCariKodu(NumberOf(code) + 1);
            }
            const int cariID = InsertRow(values, code);
            transaction.Commit();
            return {cariID, code, false};
        } catch (const EDatabaseError&) {
            if (dmMain->LinkLost() || !CodeTaken(kCodeLookupAnyCase, code))
                throw;
            if (!generated)
                throw CodeInUse(code);
            if (attempt >= kCodeAttempts)
                throw;
            code = TCariCard::GenerateCariKodu(NumberOf(code) + 1);
        }
    }
}
} // namespace

void TCariCard::EnsureCariKartColumns()
{
    OwnedSchema::Run(OwnedSchema::CustomerCardStatements());
}

QString TCariCard::GenerateCariKodu(int From)
{
    TDbQuery next(QStringLiteral("SELECT ISNULL(MAX(CariID), 0) + 1 AS NextID FROM CariKart"));
    next.Exec();
    int number = next.Next() ? next.Value(0).toInt() : 1;
    number = qMax(number, From);
    while (CodeTaken(kCodeLookup, CodeOf(number)))
        ++number;
    return CodeOf(number);
}

std::optional<double> TCariCard::ParseMoney(const QString& Text)
{
    if (Text.trimmed().isEmpty())
        return 0.0;
    const std::optional<double> value = ReadTypedNumber(Text, TNumberRules::Money());
    if (!value || *value > kMaxMoney)
        return std::nullopt;
    return value;
}

std::optional<int> TCariCard::ParseVadeGunu(const QString& Text)
{
    if (Text.trimmed().isEmpty())
        return 0;
    const std::optional<double> days = ReadTypedNumber(Text, TNumberRules::Whole());
    if (!days || *days > kMaxDays)
        return std::nullopt;
    return int(*days);
}

std::optional<TCariCardData> TCariCard::LoadCard(const QString& CariKodu)
{
    TDbQuery q(kLoad);
    q.Param(QStringLiteral("K"), CariKodu.trimmed()).Exec();
    if (!q.Next())
        return std::nullopt;
    const auto text = [&q](const char* field) {
        return q.Value(QLatin1String(field)).toString();
    };
    const auto flag = [&q](const char* field) {
        return q.Value(QLatin1String(field)).toBool();
    };
    TCariCardData card;
    card.CariID = q.Value(QStringLiteral("CariID")).toInt();
    card.CariKodu = text("CariKodu");
    card.CariAdi = text("CariAdi");
    card.CariTipi = text("CariTipi");
    card.YetkiliKisi = text("YetkiliKisi");
    card.Telefon = text("Telefon");
    card.Email = text("Email");
    card.VKN = text("VKN");
    card.VergiDairesi = text("VergiDairesi");
    card.ParaBirimi = text("ParaBirimi");
    card.IsActive = flag("IsActive");
    card.Adres = text("Adres");
    card.Il = text("Il");
    card.Ilce = text("Ilce");
    card.PostaKodu = text("PostaKodu");
    card.TCKN = text("TCKN");
    card.EFaturaMukellefi = flag("EFaturaMukellefi");
    card.EIrsaliyeMukellefi = flag("EIrsaliyeMukellefi");
    card.RiskLimiti = FormatFloat(QStringLiteral("#,##0.00"),
                                  FieldToFloatDef(q, QStringLiteral("RiskLimiti"), 0));
    card.VadeGunu = text("VadeGunu");
    card.Notlar = text("Notlar");
    return card;
}

TCariSaveResult TCariCard::SaveCard(const TCariCardData& Card, const QString& ProposedCode)
{
    EnsureCariKartColumns();
    TCariCardData card = Trimmed(Card);
    if (card.CariID > 0) {
        Update(Checked(card));
        return {card.CariID, card.CariKodu, false};
    }
    const QString proposed = ProposedCode.trimmed();
    const bool generated = card.CariKodu.isEmpty() || card.CariKodu == proposed;
    if (card.CariKodu.isEmpty())
        card.CariKodu = GenerateCariKodu();
    TCariSaveResult saved = Insert(Checked(card), card.CariKodu, generated);
    saved.CodeMoved = generated && saved.CariKodu != proposed;
    return saved;
}
