#pragma once

#include <QString>

#include <optional>

// One customer or supplier account as the card editor holds it: the texts as typed (the risk
// limit and the due days too, read when the card is saved) and the three check boxes.
struct TCariCardData {
    int CariID = -1; // the account the card was loaded from; -1 for a new card
    QString CariKodu;
    QString CariAdi;
    QString CariTipi = QStringLiteral("MUSTERI");
    QString YetkiliKisi;
    QString Telefon;
    QString Email;
    QString VKN;
    QString VergiDairesi;
    QString ParaBirimi = QStringLiteral("TRY");
    bool IsActive = true;
    QString Adres;
    QString Il;
    QString Ilce;
    QString PostaKodu;
    QString TCKN;
    bool EFaturaMukellefi = false;
    bool EIrsaliyeMukellefi = false;
    QString RiskLimiti = QStringLiteral("0,00");
    QString VadeGunu = QStringLiteral("0");
    QString Notlar;
};

// How a card was saved: the account's id and the code it was saved under, which differs from
// the code the card proposed when another till took that one first.
struct TCariSaveResult {
    int CariID = -1;
    QString CariKodu;
    bool CodeMoved = false;
};

// The rules of the customer card: its table, the codes of new accounts, reading typed amounts,
// loading and saving. A new card only ever inserts and an edited card only updates the account
// it was loaded from, so no card overwrites another account. Refusals raise errors with the
// text the cashier is shown; database errors pass to the caller.
class TCariCard {
public:
    TCariCard() = delete;

    // Creates CariKart when it is missing and brings in the card's five later columns and the
    // unique code index.
    static void EnsureCariKartColumns();

    // The first free code "C" + a number of at least five digits ("C00001", "C123456"),
    // counting from the highest CariID + 1, and from `From` when that is higher.
    static QString GenerateCariKodu(int From = 0);

    // An amount as typed, read with the money rules of ReadTypedNumber ("1.234,50", "1234,5",
    // "1234.5" and "1.234,50 TL" are 1234.5, "1.500" is 1500 on Turkish settings; no sign, at
    // most two decimals); empty text is 0. No value when the text is no amount.
    static std::optional<double> ParseMoney(const QString& Text);
    // Due days as typed: a whole number of at most 36500, empty text 0; none for anything else.
    static std::optional<int> ParseVadeGunu(const QString& Text);

    // The account with this code that is not deleted; none when there is no such account.
    static std::optional<TCariCardData> LoadCard(const QString& CariKodu);

    // Checks the card and writes it. A loaded card updates its own account by its id. A new
    // card inserts: an empty code, or the code the card proposed (`ProposedCode`), is a
    // generated code and moves to the next free code when another till has taken it; a code
    // the cashier typed that exists already is refused. Refusals: no code, no name, a tax or
    // national id number that fails its check digits, an unreadable risk limit or due days.
    static TCariSaveResult SaveCard(const TCariCardData& Card, const QString& ProposedCode);
};
