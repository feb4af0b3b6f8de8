#pragma once

#include <QString>

#include <memory>
#include <vector>

// One line of the sale being rung up. Prices include VAT; the computed amounts work back to the
// net amount first and are never rounded here.
class TCartItem {
public:
    TCartItem(int StokID, QString StokAdi, QString Barkod, QString Birim, double BirimFiyat,
              double Miktar, double KDVOrani, bool Tartimli);

    int StokID() const { return FStokID; }
    void SetStokID(int Value) { FStokID = Value; }
    const QString& StokAdi() const { return FStokAdi; }
    void SetStokAdi(const QString& Value) { FStokAdi = Value; }
    const QString& Barkod() const { return FBarkod; }
    void SetBarkod(const QString& Value) { FBarkod = Value; }
    const QString& Birim() const { return FBirim; }
    void SetBirim(const QString& Value) { FBirim = Value; }
    double BirimFiyat() const { return FBirimFiyat; }
    void SetBirimFiyat(double Value) { FBirimFiyat = Value; }
    double Miktar() const { return FMiktar; }
    void SetMiktar(double Value) { FMiktar = Value; }
    double KDVOrani() const { return FKDVOrani; }
    void SetKDVOrani(double Value) { FKDVOrani = Value; }
    double IndirimOrani() const { return FIndirimOrani; }
    void SetIndirimOrani(double Value) { FIndirimOrani = Value; }
    bool Tartimli() const { return FTartimli; }
    void SetTartimli(bool Value) { FTartimli = Value; }

    // The unit price without VAT, as the receipt line stores it and the cart grid shows it. A
    // rate of -99.99 % or below has no net price to work back to; the price stands.
    double NetBirimFiyat() const;
    // Net amount before discount: quantity x price without VAT.
    double AraToplam() const;
    // The discount is taken off the net amount, not off the gross price.
    double IndirimTutari() const;
    // VAT on the discounted net amount.
    double KDVTutari() const;
    // What the customer pays for the line.
    double SatirToplam() const;

private:
    int FStokID;
    QString FStokAdi;
    QString FBarkod;
    QString FBirim;
    double FBirimFiyat;
    double FMiktar;
    double FKDVOrani;
    double FIndirimOrani = 0;
    bool FTartimli;
};

// The cart of the sales screen: its lines in the order they were added and the optional
// customer of the sale. Lines are identified by their 0-based position.
class TCartManager {
public:
    TCartManager() = default;
    TCartManager(const TCartManager&) = delete;
    TCartManager& operator=(const TCartManager&) = delete;

    // A counted product already in the cart adds Miktar to its first line and keeps everything
    // else of that line; a weighed item always makes a new line.
    TCartItem& AddItem(int StokID, const QString& StokAdi, const QString& Barkod,
                       const QString& Birim, double BirimFiyat, double Miktar, double KDVOrani,
                       bool Tartimli);
    // Index of the first line of the product, or -1.
    int FindByStokID(int StokID) const;
    // Out-of-range indexes are ignored by the three operations below.
    void RemoveItem(int Index);
    // A quantity of 0 or below removes the line.
    void UpdateQuantity(int Index, double NewQuantity);
    void UpdateDiscount(int Index, double DiscountPercent);
    // Empties the lines and forgets the customer.
    void Clear();
    // The line the last AddItem, UpdateQuantity or UpdateDiscount added or changed, followed
    // through the removal of the lines before it; -1 when there is none or it was removed.
    int LastChangedLine() const { return FLastChanged; }

    // The line object itself; changing it changes the cart. Raises std::out_of_range for an
    // index outside 0..Count()-1.
    TCartItem& Items(int Index) { return GetItem(Index); }
    const TCartItem& Items(int Index) const { return GetItem(Index); }
    TCartItem& GetItem(int Index);
    const TCartItem& GetItem(int Index) const;
    int Count() const { return GetCount(); }
    int GetCount() const { return int(FItems.size()); }

    // Sums over the lines in list order.
    double AraToplam() const;
    double ToplamIndirim() const;
    double ToplamKDV() const;
    double GenelToplam() const;

    // Id of the customer account chosen for the sale; -1 when none.
    int MusteriNo() const { return FMusteriNo; }
    void SetMusteriNo(int Value) { FMusteriNo = Value; }
    const QString& MusteriIsmi() const { return FMusteriIsmi; }
    void SetMusteriIsmi(const QString& Value) { FMusteriIsmi = Value; }

private:
    bool InRange(int Index) const { return Index >= 0 && Index < GetCount(); }
    void CheckIndex(int Index) const;
    template <typename Amount> double Sum(Amount amount) const;

    std::vector<std::unique_ptr<TCartItem>> FItems;
    int FLastChanged = -1;
    int FMusteriNo = -1;
    QString FMusteriIsmi;
};
