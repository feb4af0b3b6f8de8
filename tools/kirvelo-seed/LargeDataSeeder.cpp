#include "LargeDataSeeder.h"

#include "core/Clock.h"
#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/OwnedSchema.h"
#include "database/DemoData.h"
#include "database/SqliteSearchKey.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace LargeDataSeeder {
namespace {
constexpr int kBranches = 4; // the last one is passive
constexpr int kActiveBranches = 3;
constexpr int kTerminalsPerBranch = 2;
constexpr int kReceiptsPerShift = 120;
constexpr int kReceiptsPerTransaction = 20000;
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// One prepared statement run for many rows.
class TBulk {
public:
    explicit TBulk(const QString& sql)
        : FQuery(dmMain->Database())
    {
        if (!FQuery.prepare(sql))
            throw EDatabaseError(FQuery.lastError().text());
    }

    template <typename... T> void Row(const T&... values)
    {
        int i = 0;
        (FQuery.bindValue(i++, QVariant(values)), ...);
        if (!FQuery.exec())
            throw EDatabaseError(FQuery.lastError().text());
    }

private:
    QSqlQuery FQuery;
};

void Exec(const QString& sql)
{
    QSqlQuery q(dmMain->Database());
    if (!q.exec(sql))
        throw EDatabaseError(q.lastError().text());
}

QString Ean13(const QString& twelveDigits)
{
    return twelveDigits + DemoData::Ean13CheckDigit(twelveDigits);
}

struct TKind {
    const char16_t* Name;
    int Category;
    double Vat;
    double MinPrice, MaxPrice;
    bool Weighed;
    std::array<const char16_t*, 4> Sizes;
};

constexpr const char16_t* kCategories[] = {
    u"Meyve & Sebze", u"Süt Ürünleri",   u"Fırın",     u"İçecek",
    u"Atıştırmalık",  u"Temel Gıda",     u"Şarküteri", u"Temizlik",
    u"Kişisel Bakım", u"Kağıt Ürünleri", u"Bebek",     u"Evcil Hayvan",
};

const TKind kKinds[] = {
    {u"Domates", 0, 1, 15, 45, true, {u"", u"", u"", u""}},
    {u"Salatalık", 0, 1, 15, 40, true, {u"", u"", u"", u""}},
    {u"Sivri Biber", 0, 1, 30, 70, true, {u"", u"", u"", u""}},
    {u"Patlıcan", 0, 1, 20, 50, true, {u"", u"", u"", u""}},
    {u"Elma", 0, 1, 20, 50, true, {u"", u"", u"", u""}},
    {u"Portakal", 0, 1, 15, 40, true, {u"", u"", u"", u""}},
    {u"Muz", 0, 1, 40, 80, true, {u"", u"", u"", u""}},
    {u"Patates", 0, 1, 10, 30, true, {u"", u"", u"", u""}},
    {u"Süt", 1, 1, 25, 60, false, {u"500 ml", u"1 L", u"1,5 L", u"2 L"}},
    {u"Yoğurt", 1, 1, 30, 110, false, {u"500 g", u"1 kg", u"1,5 kg", u"2 kg"}},
    {u"Ayran", 1, 1, 8, 40, false, {u"200 ml", u"300 ml", u"1 L", u"2 L"}},
    {u"Beyaz Peynir", 1, 1, 90, 300, false, {u"250 g", u"500 g", u"600 g", u"1 kg"}},
    {u"Tereyağı", 1, 1, 80, 350, false, {u"125 g", u"250 g", u"500 g", u"1 kg"}},
    {u"Ekmek", 2, 1, 8, 30, false, {u"250 g", u"350 g", u"500 g", u"750 g"}},
    {u"Kek", 2, 10, 15, 60, false, {u"40 g", u"200 g", u"300 g", u"400 g"}},
    {u"Kola", 3, 20, 15, 70, false, {u"330 ml", u"1 L", u"1,5 L", u"2,5 L"}},
    {u"Meyve Suyu", 3, 20, 12, 80, false, {u"200 ml", u"1 L", u"1,5 L", u"2 L"}},
    {u"Maden Suyu", 3, 1, 6, 40, false, {u"200 ml", u"6x200 ml", u"1 L", u"12x200 ml"}},
    {u"İçme Suyu", 3, 1, 5, 40, false, {u"0,33 L", u"0,5 L", u"1,5 L", u"5 L"}},
    {u"Çikolata", 4, 10, 10, 120, false, {u"30 g", u"80 g", u"150 g", u"300 g"}},
    {u"Bisküvi", 4, 10, 8, 60, false, {u"100 g", u"150 g", u"300 g", u"500 g"}},
    {u"Cips", 4, 10, 15, 80, false, {u"50 g", u"107 g", u"150 g", u"250 g"}},
    {u"Makarna", 5, 1, 10, 45, false, {u"400 g", u"500 g", u"1 kg", u"2 kg"}},
    {u"Pirinç", 5, 1, 40, 200, false, {u"500 g", u"1 kg", u"2,5 kg", u"5 kg"}},
    {u"Mercimek", 5, 1, 30, 150, false, {u"500 g", u"1 kg", u"2,5 kg", u"5 kg"}},
    {u"Ayçiçek Yağı", 5, 1, 60, 400, false, {u"1 L", u"2 L", u"4 L", u"5 L"}},
    {u"Salça", 5, 1, 30, 140, false, {u"400 g", u"830 g", u"1,65 kg", u"4,3 kg"}},
    {u"Kaşar Peyniri", 6, 1, 250, 450, true, {u"", u"", u"", u""}},
    {u"Sucuk", 6, 1, 300, 600, true, {u"", u"", u"", u""}},
    {u"Zeytin", 6, 1, 120, 280, true, {u"", u"", u"", u""}},
    {u"Çamaşır Deterjanı", 7, 20, 80, 450, false, {u"1,5 kg", u"3 kg", u"4 kg", u"6 kg"}},
    {u"Bulaşık Deterjanı", 7, 20, 30, 150, false, {u"500 ml", u"750 ml", u"1,5 L", u"2,5 L"}},
    {u"Yüzey Temizleyici", 7, 20, 30, 120, false, {u"750 ml", u"1 L", u"1,5 L", u"2,5 L"}},
    {u"Şampuan", 8, 20, 50, 200, false, {u"180 ml", u"350 ml", u"500 ml", u"700 ml"}},
    {u"Diş Macunu", 8, 20, 30, 120, false, {u"50 ml", u"75 ml", u"100 ml", u"125 ml"}},
    {u"Sabun", 8, 20, 15, 90, false, {u"90 g", u"4x90 g", u"500 ml", u"1 L"}},
    {u"Tuvalet Kağıdı", 9, 20, 60, 300, false, {u"8'li", u"12'li", u"24'lü", u"32'li"}},
    {u"Kağıt Havlu", 9, 20, 40, 200, false, {u"2'li", u"4'lü", u"6'lı", u"12'li"}},
    {u"Bebek Bezi", 10, 10, 200, 700, false, {u"Mini", u"Midi", u"Maxi", u"Junior"}},
    {u"Kedi Maması", 11, 20, 40, 900, false, {u"85 g", u"400 g", u"1,5 kg", u"10 kg"}},
};

constexpr const char16_t* kBrands[] = {
    u"Yayla",   u"Bereket", u"Altınbaşak", u"Gündoğdu", u"Çamlık", u"Akdeniz",
    u"Toroslu", u"Kuzey",   u"Lale",       u"Narlı",    u"Ova",    u"Pınarbaşı",
    u"Sedef",   u"Yıldız",  u"Ege Bahçe",  u"Karadağ",
};

constexpr const char16_t* kVariants[] = {u"",         u"Klasik",  u"Light",
                                         u"Ekonomik", u"Organik", u"Aile Boyu"};

struct TProduct {
    QString Ad;
    QString Barkod;
    QString Birim;
    double Fiyat = 0; // VAT included
    double Kdv = 0;
    int Category = 0;
    bool Weighed = false;
    bool Active = true;
    bool Deleted = false;
    bool Tracked = false;
    bool Blocking = true;
    int FirstLot = -1; // index into the lots, valid ones first by expiry, undated last
    int LotCount = 0;
};

struct TLot {
    int Product = 0;
    double Miktar = 0;
    QString Expiry; // empty: does not expire
};

struct TLine {
    int Product = 0;
    double Miktar = 0, BirimFiyat = 0, Kdv = 0, IndirimOrani = 0;
    double AraToplam = 0, IndirimTutari = 0, KDVTutari = 0, SatirToplam = 0;
};

class TSeeder {
public:
    explicit TSeeder(const TSeedOptions& options)
        : FOptions(options)
        , FRandom(options.Seed)
    {
    }

    TSeedResult Run();

private:
    double Uniform(double from, double to)
    {
        return std::uniform_real_distribution<double>(from, to)(FRandom);
    }
    int Between(int from, int to) { return std::uniform_int_distribution<int>(from, to)(FRandom); }
    bool Chance(double p) { return Uniform(0, 1) < p; }

    void WriteOrganisation();
    void BuildCatalogue();
    void WriteCatalogue();
    void WriteShifts();
    void WriteStock();
    TLine MakeLine(int product, double miktar, double discount) const;
    int WriteReceipt(int shift, int sube, int terminal, int user, const QString& time,
                     const QString& durum, const std::vector<TLine>& lines, int orijinal,
                     double cash, double card, const QVariant& musteri);

    TSeedOptions FOptions;
    std::mt19937 FRandom;
    TSeedResult FResult;
    std::vector<TProduct> FProducts;
    std::vector<int> FSellable;
    std::vector<TLot> FLots;
    std::vector<std::vector<double>> FStock; // branch x product
    std::vector<std::vector<int>> FCashiers; // per active branch
    int FCustomers = 0;
    int FNextFisID = 1;
    std::unique_ptr<TBulk> FHead, FLine, FPayment, FLotRow;
};

void TSeeder::WriteOrganisation()
{
    Exec(QStringLiteral(
        "INSERT INTO Firma (FirmaID, Unvan) VALUES (1, 'Büyük Anadolu Marketleri A.Ş.')"));
    TBulk sube(QStringLiteral(
        "INSERT INTO Sube (SubeID, SubeAdi, FirmaID, IsActive) VALUES (?, ?, 1, ?)"));
    const char16_t* names[kBranches] = {u"MERKEZ", u"KADIKÖY", u"ÇANKAYA", u"BORNOVA"};
    for (int b = 0; b < kBranches; ++b)
        sube.Row(b + 1, QString::fromUtf16(names[b]), b < kActiveBranches ? 1 : 0);
    TBulk terminal(QStringLiteral("INSERT INTO Terminal (TerminalID, TerminalAdi) VALUES (?, ?)"));
    for (int b = 0; b < kActiveBranches; ++b) {
        for (int t = 0; t < kTerminalsPerBranch; ++t)
            terminal.Row(b * kTerminalsPerBranch + t + 1,
                         QStringLiteral("%1-KASA-%2").arg(QString::fromUtf16(names[b])).arg(t + 1));
    }
    Exec(QStringLiteral("INSERT INTO Rol (RolID, RolAdi) VALUES (1, 'Yönetici'), (2, 'Kasiyer')"));
    TBulk user(QStringLiteral(
        "INSERT INTO Kullanici (KullaniciID, KullaniciAdi, SifreHash, AdSoyad, RolID, "
        "SubeID) VALUES (?, ?, ?, ?, ?, ?)"));
    user.Row(1, QStringLiteral("yonetici"), DemoData::PasswordHash(QStringLiteral("123456")),
             QStringLiteral("Zeynep Kaya"), 1, 1);
    const char16_t* people[] = {u"Ayşe Yılmaz",   u"Mehmet Demir", u"Fatma Şahin",
                                u"Mustafa Çelik", u"Emine Arslan", u"Hüseyin Koç"};
    FCashiers.resize(kActiveBranches);
    int id = 1;
    for (int b = 0; b < kActiveBranches; ++b) {
        for (int c = 0; c < 2; ++c) {
            ++id;
            user.Row(id, QStringLiteral("kasiyer%1").arg(id - 1),
                     DemoData::PasswordHash(QStringLiteral("1234")),
                     QString::fromUtf16(people[(id - 2) % 6]), 2, b + 1);
            FCashiers[b].push_back(id);
        }
    }
    TBulk kategori(
        QStringLiteral("INSERT INTO Kategori (KategoriID, KategoriAdi, Sira) VALUES (?, ?, ?)"));
    int sira = 0;
    for (const char16_t* name : kCategories) {
        ++sira;
        kategori.Row(sira, QString::fromUtf16(name), sira * 10);
    }
    TBulk cari(QStringLiteral(
        "INSERT INTO CariKart (CariKodu, CariAdi, CariTipi, Telefon) VALUES (?, ?, ?, ?)"));
    FCustomers = std::max(20, FOptions.Products / 100);
    for (int i = 1; i <= FCustomers; ++i)
        cari.Row(QStringLiteral("C%1").arg(i, 5, 10, QLatin1Char('0')),
                 QStringLiteral("%1 %2")
                     .arg(QString::fromUtf16(people[i % 6]).section(u' ', 0, 0))
                     .arg(i),
                 i % 25 == 0 ? QStringLiteral("TEDARIKCI") : QStringLiteral("MUSTERI"),
                 QStringLiteral("0532 %1").arg(1000000 + i));
    TBulk musteri(QStringLiteral("INSERT INTO Musteri (AdSoyad, FirmaUnvan) VALUES (?, ?)"));
    for (int i = 1; i <= 20; ++i)
        musteri.Row(QStringLiteral("Müşteri %1").arg(i), QString());
}

void TSeeder::BuildCatalogue()
{
    const QDate today = TClock::Today();
    int scaleCode = 10000;
    FProducts.reserve(FOptions.Products);
    for (int i = 0; i < FOptions.Products; ++i) {
        const TKind& kind = kKinds[Between(0, int(std::size(kKinds)) - 1)];
        TProduct p;
        p.Category = kind.Category;
        p.Kdv = kind.Vat;
        p.Weighed = kind.Weighed && scaleCode < 99999 && Chance(0.2);
        const QString brand = QString::fromUtf16(kBrands[Between(0, int(std::size(kBrands)) - 1)]);
        const QString variant =
            QString::fromUtf16(kVariants[Between(0, int(std::size(kVariants)) - 1)]);
        const QString size = QString::fromUtf16(kind.Sizes[Between(0, 3)]);
        QStringList words{brand, QString::fromUtf16(kind.Name)};
        if (!variant.isEmpty())
            words << variant;
        words << (kind.Weighed ? (p.Weighed ? QString() : QStringLiteral("Paket 500 g")) : size);
        words.removeAll(QString());
        p.Ad = words.join(u' ');
        p.Barkod = p.Weighed ? QString::number(scaleCode++)
                             : Ean13(QStringLiteral("869%1").arg(i + 1, 9, 10, QLatin1Char('0')));
        p.Birim = p.Weighed ? QStringLiteral("KG") : QStringLiteral("ADET");
        p.Fiyat = TMoney::RoundHalfAway(Uniform(kind.MinPrice, kind.MaxPrice), 1) -
                  (Chance(0.5) ? 0.01 : 0);
        p.Deleted = Chance(0.005);
        p.Active = !p.Deleted && !Chance(0.01);
        p.Tracked = !p.Weighed && (kind.Category == 1 || kind.Category == 6) && Chance(0.3);
        bool blocked = false;
        if (p.Tracked) {
            p.Blocking = !Chance(0.3);
            // An expired lot that still holds stock blocks the sale of a blocking product; an
            // empty one blocks nothing. Sales take only the valid lots after it.
            const bool expiredInStock = Chance(0.1);
            if (expiredInStock || Chance(0.3))
                FLots.push_back({i, expiredInStock ? double(Between(1, 5)) : 0.0,
                                 today.addDays(-Between(1, 30)).toString(Qt::ISODate)});
            blocked = expiredInStock && p.Blocking;
            p.FirstLot = int(FLots.size());
            int days = Between(5, 20);
            for (int l = Between(1, 3); l > 0; --l, days += Between(10, 60))
                FLots.push_back({i, 3000, today.addDays(days).toString(Qt::ISODate)});
            if (Chance(0.2))
                FLots.push_back({i, 1000, QString()});
            p.LotCount = int(FLots.size()) - p.FirstLot;
        }
        if (p.Active && !blocked)
            FSellable.push_back(i);
        FProducts.push_back(p);
    }
    FStock.assign(kBranches, std::vector<double>(FProducts.size(), 0));
    for (int b = 0; b < kActiveBranches; ++b) {
        for (size_t i = 0; i < FProducts.size(); ++i)
            FStock[b][i] =
                FProducts[i].Weighed ? TMoney::RoundQuantity(Uniform(20, 200)) : Between(20, 400);
    }
    if (FSellable.empty())
        throw EDatabaseError(QStringLiteral("Satılabilir ürün yok."));
}

void TSeeder::WriteCatalogue()
{
    TBulk stok(QStringLiteral("INSERT INTO Stok (StokID, StokKodu, StokAdi, Barkod, Birim, "
                              "SatisFiyati, KDVOrani, TartimliMi, KategoriID, "
                              "MevcutStok, MinStok, MaxStok, IsActive, IsDeleted, IsSKTTakibi, "
                              "IsSatisEngelle, UpdatedAt) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?)"));
    const QString now = TClock::Now().toString(kTimeFormat);
    for (size_t i = 0; i < FProducts.size(); ++i) {
        const TProduct& p = FProducts[i];
        stok.Row(int(i + 1), QStringLiteral("STK%1").arg(i + 1, 6, 10, QLatin1Char('0')), p.Ad,
                 p.Barkod, p.Birim, p.Fiyat, p.Kdv, p.Weighed ? 1 : 0, p.Category + 1,
                 p.Weighed ? 5.0 : 10.0, p.Weighed ? 250.0 : 500.0, p.Active ? 1 : 0,
                 p.Deleted ? 1 : 0, p.Tracked ? 1 : 0, p.Blocking ? 1 : 0, now);
    }
    TBulk koli(QStringLiteral(
        "INSERT INTO StokBirimDonusum (StokID, KoliBarkod, CevrimKatsayi) VALUES (?, ?, ?)"));
    const double factors[] = {6, 12, 20, 24};
    for (size_t i = 0; i < FProducts.size(); ++i) {
        if (!FProducts[i].Weighed && i % 25 == 3)
            koli.Row(int(i + 1), Ean13(QStringLiteral("868%1").arg(i + 1, 9, 10, QLatin1Char('0'))),
                     factors[i % 4]);
    }
    FResult.Products = int(FProducts.size());
}

TLine TSeeder::MakeLine(int product, double miktar, double discount) const
{
    const TProduct& p = FProducts[product];
    const double f = p.Kdv / 100 + 1;
    TLine line;
    line.Product = product;
    line.Miktar = miktar;
    line.Kdv = p.Kdv;
    line.IndirimOrani = discount;
    line.BirimFiyat = TMoney::RoundLineAmount(p.Fiyat / f);
    const double ara = miktar * p.Fiyat / f;
    const double indirim = ara * discount / 100;
    const double kdv = (ara - indirim) * p.Kdv / 100;
    line.AraToplam = TMoney::RoundLineAmount(ara);
    line.IndirimTutari = TMoney::RoundLineAmount(indirim);
    line.KDVTutari = TMoney::RoundLineAmount(kdv);
    line.SatirToplam = TMoney::RoundLineAmount(ara - indirim + kdv);
    return line;
}

int TSeeder::WriteReceipt(int shift, int sube, int terminal, int user, const QString& time,
                          const QString& durum, const std::vector<TLine>& lines, int orijinal,
                          double cash, double card, const QVariant& musteri)
{
    const int fisID = FNextFisID++;
    double ara = 0, kdv = 0, indirim = 0, toplam = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const TLine& l = lines[i];
        const TProduct& p = FProducts[l.Product];
        FLine->Row(fisID, int(i + 1), l.Product + 1, p.Ad, p.Barkod, l.Miktar, p.Birim,
                   l.BirimFiyat, l.Kdv, l.KDVTutari, l.IndirimOrani, l.IndirimTutari, l.AraToplam,
                   l.SatirToplam);
        ara += l.AraToplam;
        kdv += l.KDVTutari;
        indirim += l.IndirimTutari;
        toplam += l.SatirToplam;
    }
    const QString odeme = cash != 0 && card != 0 ? QStringLiteral("KARMA")
                          : card != 0            ? QStringLiteral("KART")
                                                 : QStringLiteral("NAKIT");
    FHead->Row(fisID, QStringLiteral("FIS-%1").arg(fisID), sube, user, terminal, shift, time,
               TMoney::RoundKurus(ara), TMoney::RoundKurus(kdv), TMoney::RoundKurus(indirim),
               TMoney::RoundKurus(toplam), odeme, musteri, durum,
               orijinal > 0 ? QVariant(orijinal) : QVariant(QMetaType::fromType<int>()));
    if (cash != 0) {
        FPayment->Row(fisID, QStringLiteral("NAKIT"), cash);
        ++FResult.Payments;
    }
    if (card != 0) {
        FPayment->Row(fisID, QStringLiteral("KART"), card);
        ++FResult.Payments;
    }
    FResult.Lines += int(lines.size());
    ++FResult.Receipts;
    return fisID;
}

void TSeeder::WriteShifts()
{
    const int terminals = kActiveBranches * kTerminalsPerBranch;
    const int shifts = std::max(1, (FOptions.Receipts + kReceiptsPerShift - 1) / kReceiptsPerShift);
    const int perTerminal = (shifts + terminals - 1) / terminals;
    const qint64 start =
        QDateTime(TClock::Today().addDays(-FOptions.Days), QTime(0, 0)).toSecsSinceEpoch();
    const qint64 window = qint64(FOptions.Days) * 86400 / perTerminal;
    const bool daily = perTerminal <= FOptions.Days;

    FHead = std::make_unique<TBulk>(
        QStringLiteral("INSERT INTO SatisFis (FisID, FisNo, SubeID, KullaniciID, TerminalID, "
                       "VardiyaID, Tarih, AraToplam, ToplamKDV, "
                       "Indirim, GenelToplam, OdemeTipi, MusteriID, FisDurumu, OrijinalFisID) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                       "?, ?, ?, ?, ?)"));
    FLine = std::make_unique<TBulk>(
        QStringLiteral("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, "
                       "Birim, BirimFiyat, KDVOrani, "
                       "KDVTutari, IndirimOrani, IndirimTutari, AraToplam, SatirToplam) VALUES (?, "
                       "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                       "?, ?, ?)"));
    FPayment = std::make_unique<TBulk>(
        QStringLiteral("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (?, ?, ?)"));
    FLotRow = std::make_unique<TBulk>(
        QStringLiteral("INSERT INTO SatisFisLot (FisID, SatirSiraNo, StokID, LotID, Miktar, "
                       "SonKullanmaTarihi, CreatedAt) VALUES "
                       "(?, ?, ?, ?, ?, ?, ?)"));
    TBulk vardiya(QStringLiteral("INSERT INTO Vardiya (VardiyaID, KullaniciID, TerminalID, SubeID, "
                                 "AcilisZamani, AcilisTutar, KapanisZamani, "
                                 "KapanisTutar, VardiyaDurumu, KapatanKullaniciID) VALUES (?, ?, "
                                 "?, ?, ?, ?, ?, ?, 'KAPALI', ?)"));

    int written = 0;
    for (int s = 0; s < shifts; ++s) {
        const int terminal = s % terminals;
        const int branch = terminal / kTerminalsPerBranch;
        const int k = s / terminals;
        // One shift a day per terminal opens in the morning; more than that share the days.
        const qint64 open = daily ? start + qint64(k) * FOptions.Days / perTerminal * 86400 +
                                        7 * 3600 + Between(0, 1800)
                                  : start + k * window;
        const qint64 length = daily ? 11 * 3600 : window * 9 / 10;
        const int user = FCashiers[branch][k % 2];
        const int count = FOptions.Receipts / shifts + (s < FOptions.Receipts % shifts ? 1 : 0);
        const double opening = Between(2, 10) * 100.0;
        double cashIn = 0;
        const auto timeOf = [&](int i) {
            return QDateTime::fromSecsSinceEpoch(
                       open + 60 + (length - 120) * (i * 2 + 1) / (2 * std::max(count, 1)))
                .toString(kTimeFormat);
        };
        for (int i = 0; i < count; ++i) {
            std::vector<TLine> lines;
            const int n = std::min(Between(1, 3) + (Chance(0.3) ? Between(1, 3) : 0), 6);
            for (int l = 0; l < n; ++l) {
                const int product = FSellable[Between(0, int(FSellable.size()) - 1)];
                const double miktar = FProducts[product].Weighed
                                          ? TMoney::RoundQuantity(Uniform(0.2, 2.5))
                                          : Between(1, 3);
                const double discount = Chance(0.08) ? Between(1, 4) * 5.0 : 0;
                lines.push_back(MakeLine(product, miktar, discount));
            }
            double total = 0;
            for (const TLine& l : lines)
                total += l.SatirToplam;
            total = TMoney::RoundKurus(total);
            double cash = total, card = 0;
            if (const double u = Uniform(0, 1); u >= 0.55 && u < 0.9) {
                cash = 0;
                card = total;
            } else if (u >= 0.9 && total >= 1) {
                cash = TMoney::RoundKurus(total * Uniform(0.2, 0.8));
                card = TMoney::RoundKurus(total - cash);
            }
            const QVariant musteri = Chance(0.05) ? QVariant(Between(1, FCustomers))
                                                  : QVariant(QMetaType::fromType<int>());
            const int fisID = WriteReceipt(s + 1, branch + 1, terminal + 1, user, timeOf(i),
                                           QStringLiteral("AKTIF"), lines, 0, cash, card, musteri);
            cashIn += cash;
            for (size_t l = 0; l < lines.size(); ++l) {
                const TProduct& p = FProducts[lines[l].Product];
                FStock[branch][lines[l].Product] -= lines[l].Miktar;
                double remaining = lines[l].Miktar;
                for (int lot = p.FirstLot; p.Tracked && lot < p.FirstLot + p.LotCount &&
                                           remaining > TMoney::LotQuantityTolerance;
                     ++lot) {
                    const double take = std::min(remaining, FLots[lot].Miktar);
                    if (take <= 0)
                        continue;
                    FLots[lot].Miktar = TMoney::RoundQuantity(FLots[lot].Miktar - take);
                    remaining -= take;
                    FLotRow->Row(fisID, int(l + 1), lines[l].Product + 1, lot + 1, take,
                                 FLots[lot].Expiry.isEmpty()
                                     ? QVariant(QMetaType::fromType<QString>())
                                     : QVariant(FLots[lot].Expiry),
                                 timeOf(i));
                    ++FResult.LotRows;
                }
            }
            // Now and then a customer brings part of a line back later in the shift.
            if (i + 1 < count && Chance(0.02)) {
                const TLine& sold = lines[Between(0, int(lines.size()) - 1)];
                const double q =
                    FProducts[sold.Product].Weighed
                        ? std::max(0.001, TMoney::RoundQuantity(sold.Miktar * Uniform(0.2, 1.0)))
                        : double(Between(1, int(sold.Miktar)));
                const double share = q / sold.Miktar;
                TLine back = sold;
                back.Miktar = -q;
                back.AraToplam = -TMoney::RoundLineAmount(sold.AraToplam * share);
                back.IndirimTutari = -TMoney::RoundLineAmount(sold.IndirimTutari * share);
                back.KDVTutari = -TMoney::RoundLineAmount(sold.KDVTutari * share);
                back.SatirToplam = -TMoney::RoundLineAmount(sold.SatirToplam * share);
                ++i;
                WriteReceipt(s + 1, branch + 1, terminal + 1, user, timeOf(i),
                             QStringLiteral("IADE"), {back}, fisID,
                             TMoney::RoundKurus(back.SatirToplam), 0, musteri);
                cashIn += TMoney::RoundKurus(back.SatirToplam);
                FStock[branch][sold.Product] += q;
                ++FResult.Refunds;
            }
            if (++written % kReceiptsPerTransaction == 0) {
                dmMain->Commit();
                dmMain->BeginTransaction();
            }
        }
        const double expected = opening + cashIn;
        const double counted = Chance(0.15) ? TMoney::RoundKurus(expected + Between(-40, 40))
                                            : TMoney::RoundKurus(expected);
        vardiya.Row(s + 1, user, terminal + 1, branch + 1,
                    QDateTime::fromSecsSinceEpoch(open).toString(kTimeFormat), opening,
                    QDateTime::fromSecsSinceEpoch(open + length).toString(kTimeFormat), counted,
                    user);
    }
    FResult.Shifts = shifts;
}

void TSeeder::WriteStock()
{
    TBulk sube(QStringLiteral("INSERT INTO SubeStok (SubeID, StokID, MevcutStok, MinStok, MaxStok) "
                              "VALUES (?, ?, ?, ?, ?)"));
    for (int b = 0; b < kBranches; ++b) {
        for (size_t i = 0; i < FProducts.size(); ++i)
            sube.Row(b + 1, int(i + 1), TMoney::RoundQuantity(FStock[b][i]),
                     FProducts[i].Weighed ? 5.0 : 10.0, FProducts[i].Weighed ? 250.0 : 500.0);
    }
    Exec(QStringLiteral(
        "UPDATE Stok SET MevcutStok = IFNULL((SELECT SUM(SS.MevcutStok) FROM SubeStok SS WHERE "
        "SS.StokID = Stok.StokID), 0)"));
    TBulk lot(QStringLiteral(
        "INSERT INTO StokLotDetay (LotID, StokID, LotNo, MevcutMiktar, SonKullanmaTarihi) VALUES "
        "(?, ?, ?, ?, ?)"));
    for (size_t l = 0; l < FLots.size(); ++l)
        lot.Row(int(l + 1), FLots[l].Product + 1,
                QStringLiteral("L%1").arg(l + 1, 6, 10, QLatin1Char('0')), FLots[l].Miktar,
                FLots[l].Expiry.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                          : QVariant(FLots[l].Expiry));
}

TSeedResult TSeeder::Run()
{
    if (!DemoData::DatabaseIsEmpty())
        throw EDatabaseError(QStringLiteral(
            "Veritabanı boş değil; büyük veri yalnızca yeni bir veritabanına yazılır."));
    OwnedSchema::Run(OwnedSchema::AllStatements());
    // The search key is written in one pass once the rows are in, not by the triggers row by row.
    SqliteSearchKey::LeaveToFill();
    // Rows go in by the thousand: foreign keys are checked once at the end instead of per row,
    // and the file is synced once per transaction.
    Exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    Exec(QStringLiteral("PRAGMA synchronous=OFF"));
    Exec(QStringLiteral("PRAGMA cache_size=-131072"));
    Exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    dmMain->BeginTransaction();
    try {
        WriteOrganisation();
        BuildCatalogue();
        WriteCatalogue();
        WriteShifts();
        WriteStock();
        dmMain->Commit();
    } catch (...) {
        dmMain->Rollback();
        throw;
    }
    Exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    Exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    QSqlQuery check(dmMain->Database());
    if (!check.exec(QStringLiteral("PRAGMA foreign_key_check")) || check.next())
        throw EDatabaseError(QStringLiteral("Yabancı anahtar denetimi başarısız: ") +
                             check.value(0).toString());
    SqliteSearchKey::FillNow();
    Exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return FResult;
}
} // namespace

TSeedResult Fill(const TSeedOptions& options)
{
    if (!dmMain || !dmMain->Connected())
        throw EDatabaseError(QStringLiteral("Veritabanı bağlı değil."));
    if (options.Products < 1 || options.Receipts < 0 || options.Days < 1)
        throw EDatabaseError(QStringLiteral("Geçersiz boyut."));
    return TSeeder(options).Run();
}
} // namespace LargeDataSeeder
