#include "sales/CartManager.h"

#include <stdexcept>
#include <string>

TCartItem::TCartItem(int StokID, QString StokAdi, QString Barkod, QString Birim, double BirimFiyat,
                     double Miktar, double KDVOrani, bool Tartimli)
    : FStokID(StokID)
    , FStokAdi(std::move(StokAdi))
    , FBarkod(std::move(Barkod))
    , FBirim(std::move(Birim))
    , FBirimFiyat(BirimFiyat)
    , FMiktar(Miktar)
    , FKDVOrani(KDVOrani)
    , FTartimli(Tartimli)
{
}

double TCartItem::NetBirimFiyat() const
{
    return FKDVOrani > -99.99 ? FBirimFiyat / (FKDVOrani / 100 + 1) : FBirimFiyat;
}

double TCartItem::AraToplam() const
{
    // A rate of -100 % or below has no net amount to work back to; the gross amount stands.
    const double factor = FKDVOrani / 100 + 1;
    if (factor > 0)
        return FMiktar * FBirimFiyat / factor;
    return FMiktar * FBirimFiyat;
}

double TCartItem::IndirimTutari() const
{
    return AraToplam() * FIndirimOrani / 100;
}

double TCartItem::KDVTutari() const
{
    return (AraToplam() - IndirimTutari()) * FKDVOrani / 100;
}

double TCartItem::SatirToplam() const
{
    return AraToplam() - IndirimTutari() + KDVTutari();
}

TCartItem& TCartManager::AddItem(int StokID, const QString& StokAdi, const QString& Barkod,
                                 const QString& Birim, double BirimFiyat, double Miktar,
                                 double KDVOrani, bool Tartimli)
{
    if (!Tartimli) {
        const int existing = FindByStokID(StokID);
        if (existing >= 0) {
            TCartItem& line = *FItems[existing];
            line.SetMiktar(line.Miktar() + Miktar);
            FLastChanged = existing;
            return line;
        }
    }
    FItems.push_back(std::make_unique<TCartItem>(StokID, StokAdi, Barkod, Birim, BirimFiyat, Miktar,
                                                 KDVOrani, Tartimli));
    FLastChanged = GetCount() - 1;
    return *FItems.back();
}

int TCartManager::FindByStokID(int StokID) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (FItems[i]->StokID() == StokID)
            return i;
    }
    return -1;
}

void TCartManager::RemoveItem(int Index)
{
    if (!InRange(Index))
        return;
    FItems.erase(FItems.begin() + Index);
    if (FLastChanged == Index)
        FLastChanged = -1;
    else if (FLastChanged > Index)
        --FLastChanged;
}

void TCartManager::UpdateQuantity(int Index, double NewQuantity)
{
    if (!InRange(Index))
        return;
    if (NewQuantity <= 0) {
        RemoveItem(Index);
        return;
    }
    FItems[Index]->SetMiktar(NewQuantity);
    FLastChanged = Index;
}

void TCartManager::UpdateDiscount(int Index, double DiscountPercent)
{
    if (!InRange(Index))
        return;
    FItems[Index]->SetIndirimOrani(DiscountPercent);
    FLastChanged = Index;
}

void TCartManager::Clear()
{
    FItems.clear();
    FLastChanged = -1;
    FMusteriNo = -1;
    FMusteriIsmi.clear();
}

void TCartManager::CheckIndex(int Index) const
{
    if (!InRange(Index))
        throw std::out_of_range("Liste indeksi sınırların dışında (" + std::to_string(Index) + ")");
}

TCartItem& TCartManager::GetItem(int Index)
{
    CheckIndex(Index);
    return *FItems[Index];
}

const TCartItem& TCartManager::GetItem(int Index) const
{
    CheckIndex(Index);
    return *FItems[Index];
}

template <typename Amount> double TCartManager::Sum(Amount amount) const
{
    double total = 0;
    for (const auto& line : FItems)
        total += amount(*line);
    return total;
}

double TCartManager::AraToplam() const
{
    return Sum([](const TCartItem& line) { return line.AraToplam(); });
}

double TCartManager::ToplamIndirim() const
{
    return Sum([](const TCartItem& line) { return line.IndirimTutari(); });
}

double TCartManager::ToplamKDV() const
{
    return Sum([](const TCartItem& line) { return line.KDVTutari(); });
}

double TCartManager::GenelToplam() const
{
    return Sum([](const TCartItem& line) { return line.SatirToplam(); });
}
