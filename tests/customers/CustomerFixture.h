#pragma once

#include <QString>
#include <QVariant>

// One CariKart row as a test writes it; a null type or active flag is stored as NULL (older
// tables allow it).
//   AddAccount(TAccountRow("C1", "Ayşe").Telefon("0555").Passive());
struct TAccountRow {
    TAccountRow(const QString& kodu, const QString& adi)
        : Kodu(kodu)
        , Adi(adi)
    {
    }
    TAccountRow& Tipi(const QVariant& value) { return Set(FTipi, value); }
    TAccountRow& Telefon(const QString& value) { return Set(FTelefon, value); }
    TAccountRow& VKN(const QString& value) { return Set(FVKN, value); }
    TAccountRow& TCKN(const QString& value) { return Set(FTCKN, value); }
    TAccountRow& Yetkili(const QString& value) { return Set(FYetkili, value); }
    TAccountRow& Active(const QVariant& value) { return Set(FIsActive, value); }
    TAccountRow& Passive() { return Active(0); }
    TAccountRow& Deleted() { return Set(FIsDeleted, 1); }

    QString Kodu;
    QString Adi;
    QVariant FTipi = QStringLiteral("MUSTERI");
    QString FTelefon;
    QString FVKN;
    QString FTCKN;
    QString FYetkili;
    QVariant FIsActive = 1;
    int FIsDeleted = 0;

private:
    template <typename T, typename V> TAccountRow& Set(T& field, const V& value)
    {
        field = value;
        return *this;
    }
};

namespace CustomerFixture {
// Writes the account on the connected dmMain and returns its CariID.
int AddAccount(const TAccountRow& row);
// Replaces CariKart by the loose table of an older database: every column but the key may be
// NULL and the later columns are missing.
void UseLooseCariKart();
} // namespace CustomerFixture
