#include "database/DemoData.h"

#include "core/Clock.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/OwnedSchema.h"

#include <QCryptographicHash>
#include <QDate>
#include <QList>
#include <QSysInfo>

#include <cmath>
#include <utility>

namespace DemoData {
namespace {
enum TLot { lotNone, lotBlocking, lotNotBlocking, lotValidOnly };

struct TProduct {
    const char16_t* Ad;
    const char16_t* Barkod; // EAN-13, or the 5-digit code of a scale label
    const char16_t* Birim;
    double Fiyat; // VAT included
    double KDV;
    int Kategori;  // index into kCategories
    double Merkez; // stock of MERKEZ; KADIKÖY holds half of it
    TLot Lot = lotNone;
    bool Active = true;
    bool Deleted = false;
};

struct TCase {
    const char16_t* Urun; // the product's own barcode
    const char16_t* KoliBarkod;
    double Katsayi;
};

struct TDemoLot {
    const char16_t* Urun;
    const char16_t* LotNo;
    double Miktar;
    int ExpiresInDays; // days from today; a negative value is an expired lot
    bool HasDate = true;
};

constexpr const char16_t* kCategories[] = {
    u"Meyve & Sebze", u"Süt & Kahvaltılık", u"Fırın",    u"İçecek",        u"Atıştırmalık",
    u"Temel Gıda",    u"Şarküteri",         u"Temizlik", u"Kişisel Bakım",
};

const TProduct kProducts[] = {
    // Weighed goods: the barcode is the code printed in a scale label.
    {u"Domates", u"12345", u"KG", 29.90, 1, 0, 85.5},
    {u"Salatalık", u"12346", u"KG", 24.90, 1, 0, 60.0},
    {u"Muz", u"12347", u"KG", 54.90, 1, 0, 42.3},
    {u"Elma Amasya", u"12348", u"KG", 34.90, 1, 0, 70.0},
    {u"Patates", u"12349", u"KG", 19.90, 1, 0, 120.0},
    {u"Kuru Soğan", u"12350", u"KG", 14.90, 1, 0, 95.0},
    {u"Limon", u"12351", u"KG", 39.90, 1, 0, 25.0},
    {u"Beyaz Peynir Tam Yağlı", u"23456", u"KG", 249.90, 1, 6, 18.5},
    {u"Kaşar Peyniri", u"23457", u"KG", 329.90, 1, 6, 12.0},
    {u"Gemlik Siyah Zeytin", u"23458", u"KG", 189.90, 1, 6, 15.0},
    {u"Dana Sucuk", u"23459", u"KG", 449.90, 1, 6, 8.0},
    // Dairy and breakfast; three of them are tracked by expiry date.
    {u"Günlük Süt 1 L", u"8690526000114", u"ADET", 34.50, 1, 1, 106, lotNotBlocking},
    {u"Süzme Yoğurt 1 kg", u"8690526000282", u"ADET", 64.90, 1, 1, 34, lotBlocking},
    {u"Ayran 200 ml", u"8690526000350", u"ADET", 12.50, 1, 1, 72, lotValidOnly},
    {u"Tereyağı 250 g", u"8690526000428", u"ADET", 129.90, 1, 1, 40},
    {u"Yumurta 15'li", u"8690526000596", u"ADET", 89.90, 1, 1, 60},
    {u"Çiçek Balı 450 g", u"8691234000137", u"ADET", 179.90, 1, 1, 24},
    {u"Çilek Reçeli 380 g", u"8691234000205", u"ADET", 59.90, 1, 1, 30},
    {u"Fındık Kreması 350 g", u"8691234000373", u"ADET", 94.90, 10, 1, 28},
    // Bakery.
    {u"Ekmek 250 g", u"8690001000158", u"ADET", 10.00, 1, 2, 150},
    {u"Simit", u"8690001000226", u"ADET", 15.00, 1, 2, 80},
    {u"Tost Ekmeği", u"8690001000394", u"ADET", 39.90, 1, 2, 35},
    {u"Tereyağlı Kruvasan", u"8690001000462", u"ADET", 25.00, 10, 2, 0},
    // Drinks.
    {u"İçme Suyu 0,5 L", u"8690504001010", u"ADET", 7.50, 1, 3, 480},
    {u"İçme Suyu 5 L", u"8690504001188", u"ADET", 29.90, 1, 3, 60},
    {u"Maden Suyu 200 ml", u"8691234000441", u"ADET", 9.90, 1, 3, 144},
    {u"Kola 1 L", u"8690440000191", u"ADET", 44.90, 20, 3, 96},
    {u"Kola 330 ml Kutu", u"8690440000337", u"ADET", 27.50, 20, 3, 120},
    {u"Gazoz 1 L", u"8690440000405", u"ADET", 29.90, 20, 3, 48},
    {u"Portakal Suyu 1 L", u"8690440000573", u"ADET", 54.90, 10, 3, 36},
    {u"Siyah Çay 1000 g", u"8690440000641", u"ADET", 219.90, 1, 3, 40},
    {u"Türk Kahvesi 100 g", u"8690001000530", u"ADET", 64.90, 1, 3, 50},
    // Snacks.
    {u"Sütlü Çikolata 80 g", u"8690700000114", u"ADET", 39.90, 10, 4, 90},
    {u"Kakaolu Bisküvi", u"8690700000282", u"ADET", 24.90, 10, 4, 75},
    {u"Patates Cipsi 150 g", u"8690700000350", u"ADET", 49.90, 10, 4, 64},
    {u"Karışık Kuruyemiş 200 g", u"8690700000428", u"ADET", 99.90, 1, 4, 30},
    {u"Fındıklı Gofret", u"8690700000596", u"ADET", 9.90, 10, 4, 200},
    {u"Nane Aromalı Sakız", u"8690700000664", u"ADET", 12.50, 10, 4, 150},
    // Staples.
    {u"Spagetti Makarna 500 g", u"8690700000732", u"ADET", 19.90, 1, 5, 200},
    {u"Baldo Pirinç 1 kg", u"8690700000978", u"ADET", 79.90, 1, 5, 80},
    {u"Buğday Unu 2 kg", u"8690800000106", u"ADET", 64.90, 1, 5, 45},
    {u"Toz Şeker 1 kg", u"8690800000274", u"ADET", 44.90, 1, 5, 70},
    {u"Ayçiçek Yağı 1 L", u"8690800000342", u"ADET", 89.90, 1, 5, 55},
    {u"Kırmızı Mercimek 1 kg", u"8690800000410", u"ADET", 59.90, 1, 5, 40},
    {u"Domates Salçası 830 g", u"8690800000588", u"ADET", 69.90, 1, 5, 38},
    {u"İyotlu Tuz 750 g", u"8690800000656", u"ADET", 12.90, 1, 5, 60},
    {u"Nohut 1 kg", u"8690001000608", u"ADET", 69.90, 1, 5, 32},
    // Cleaning.
    {u"Bulaşık Deterjanı 750 ml", u"8690900000198", u"ADET", 59.90, 20, 7, 40},
    {u"Çamaşır Deterjanı 4 kg", u"8690900000266", u"ADET", 299.90, 20, 7, 20},
    {u"Yumuşatıcı 1,5 L", u"8690900000334", u"ADET", 89.90, 20, 7, 24},
    {u"Çamaşır Suyu 2 L", u"8690900000402", u"ADET", 44.90, 20, 7, 30},
    {u"Tuvalet Kağıdı 12'li", u"8690900000570", u"ADET", 149.90, 20, 7, 25},
    {u"Kağıt Havlu 6'lı", u"8690999000116", u"ADET", 99.90, 20, 7, 25},
    // Personal care.
    {u"Şampuan 500 ml", u"8690999000284", u"ADET", 109.90, 20, 8, 30},
    {u"Diş Macunu 75 ml", u"8690001000776", u"ADET", 59.90, 20, 8, 45},
    {u"Sabun 4'lü", u"8690001000844", u"ADET", 49.90, 20, 8, 40},
    {u"Deodorant 150 ml", u"8690001000912", u"ADET", 89.90, 20, 8, 20},
    {u"Islak Mendil 90'lı", u"8690001999964", u"ADET", 19.90, 20, 8, 100},
    // Off sale: an inactive product is found but refused, a deleted one is never found.
    {u"Kalem Pil AA 4'lü", u"8690001999896", u"ADET", 59.90, 20, 7, 12, lotNone, false},
    {u"Kampanya Paketi 2023", u"8690700999975", u"ADET", 199.90, 10, 4, 0, lotNone, true, true},
};

const TCase kCases[] = {
    {u"8690504001010", u"8690504001256", 24},
    {u"8690440000191", u"8690440000269", 12},
    {u"8690700000732", u"8690700000800", 20},
    {u"8690526000350", u"8690526000664", 20},
};

// The lots of each tracked product add up to its stock at MERKEZ.
const TDemoLot kLots[] = {
    {u"8690526000282", u"YG-2401", 4, -3},        {u"8690526000282", u"YG-2402", 30, 12},
    {u"8690526000114", u"SU-2401", 6, -2},        {u"8690526000114", u"SU-2402", 40, 5},
    {u"8690526000114", u"SU-2403", 60, 20},       {u"8690526000350", u"AY-2401", 48, 7},
    {u"8690526000350", u"AY-2402", 24, 0, false},
};

struct TUser {
    const char16_t* KullaniciAdi;
    const char16_t* Sifre;
    const char16_t* AdSoyad;
    int Rol;  // 0 manager, 1 cashier
    int Sube; // index into the branches
    bool Aktif;
};

const TUser kUsers[] = {
    {u"yonetici", u"123456", u"Zeynep Kaya", 0, 0, true},
    {u"kasiyer", u"1234", u"Ayşe Yılmaz", 1, 0, true},
    {u"kasiyer2", u"1234", u"Mehmet Demir", 1, 1, true},
    {u"eski", u"1234", u"Ali Öztürk", 1, 0, false},
};

QString Text(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// Runs an insert and returns the new row's key, read in the same batch as the program does.
int Insert(const QString& sql, const QList<QPair<QString, QVariant>>& params)
{
    TDbQuery query(sql + QStringLiteral("; SELECT SCOPE_IDENTITY()"));
    for (const auto& [name, value] : params)
        query.Param(name, value);
    query.Exec();
    return query.Next() ? query.Value(0).toInt() : 0;
}

QString WorkstationName()
{
    const QString computer = qEnvironmentVariable("COMPUTERNAME").trimmed();
    if (!computer.isEmpty())
        return computer;
    const QString host = QSysInfo::machineHostName().trimmed();
    return host.isEmpty() ? QStringLiteral("KASA-1") : host;
}

QList<int> WriteOrganisation()
{
    const int firma = Insert(
        QStringLiteral("INSERT INTO Firma (Unvan, Adres, VergiDairesi, VergiNo) VALUES (:U, :A, "
                       ":D, :N)"),
        {{QStringLiteral("U"), QStringLiteral("Demo Market Gıda Tic. A.Ş.")},
         {QStringLiteral("A"), QStringLiteral("Caferağa Mah. Moda Cad. No: 12 Kadıköy/İSTANBUL")},
         {QStringLiteral("D"), QStringLiteral("KADIKÖY")},
         {QStringLiteral("N"), QStringLiteral("3840512763")}});
    QList<int> subeler;
    for (const auto& [ad, aktif] :
         {std::pair{u"MERKEZ", true}, std::pair{u"KADIKÖY", true}, std::pair{u"BORNOVA", false}})
        subeler << Insert(
            QStringLiteral("INSERT INTO Sube (SubeAdi, FirmaID, IsActive) VALUES (:A, :F, :I)"),
            {{QStringLiteral("A"), Text(ad)},
             {QStringLiteral("F"), firma},
             {QStringLiteral("I"), aktif ? 1 : 0}});
    Insert(QStringLiteral("INSERT INTO Terminal (TerminalAdi) VALUES (:T)"),
           {{QStringLiteral("T"), WorkstationName()}});
    return subeler;
}

void WriteUsers(const QList<int>& subeler)
{
    const int yonetici = Insert(QStringLiteral("INSERT INTO Rol (RolAdi) VALUES (:R)"),
                                {{QStringLiteral("R"), QStringLiteral("Yönetici")}});
    const int kasiyer = Insert(QStringLiteral("INSERT INTO Rol (RolAdi) VALUES (:R)"),
                               {{QStringLiteral("R"), QStringLiteral("Kasiyer")}});
    for (const TUser& u : kUsers)
        Insert(QStringLiteral(
                   "INSERT INTO Kullanici (KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID, "
                   "AktifMi) VALUES (:K, :H, :A, :R, :S, :M)"),
               {{QStringLiteral("K"), Text(u.KullaniciAdi)},
                {QStringLiteral("H"), PasswordHash(Text(u.Sifre))},
                {QStringLiteral("A"), Text(u.AdSoyad)},
                {QStringLiteral("R"), u.Rol == 0 ? yonetici : kasiyer},
                {QStringLiteral("S"), subeler.at(u.Sube)},
                {QStringLiteral("M"), u.Aktif ? 1 : 0}});
}

QList<int> WriteCategories()
{
    QList<int> ids;
    int sira = 0;
    for (const char16_t* ad : kCategories)
        ids << Insert(QStringLiteral("INSERT INTO Kategori (KategoriAdi, Sira) VALUES (:A, :S)"),
                      {{QStringLiteral("A"), Text(ad)}, {QStringLiteral("S"), sira += 10}});
    return ids;
}

void WriteProducts(const QList<int>& kategoriler, const QList<int>& subeler)
{
    OwnedSchema::Run(OwnedSchema::BranchStockStatements());
    int kod = 0;
    for (const TProduct& p : kProducts) {
        const bool tartimli = QString::fromUtf16(p.Barkod).size() == 5;
        // Lots are not kept per branch, so tracked goods are all at MERKEZ.
        const double merkez = p.Merkez;
        const double second = p.Lot == lotNone ? std::round(p.Merkez * 5) / 10 : 0;
        const int stokID = Insert(
            QStringLiteral(
                "INSERT INTO Stok (StokKodu, StokAdi, Barkod, Birim, SatisFiyati, KDVOrani, "
                "TartimliMi, KategoriID, MevcutStok, MinStok, MaxStok, IsActive, IsDeleted, "
                "IsSKTTakibi, IsSatisEngelle, UpdatedAt) VALUES (:Kod, :Ad, :Bar, :Bir, :Fiy, "
                ":KDV, :Tar, :Kat, :Mev, :Min, :Max, :Akt, :Sil, :SKT, :Eng, GETDATE())"),
            {{QStringLiteral("Kod"), QStringLiteral("STK%1").arg(++kod, 4, 10, QLatin1Char('0'))},
             {QStringLiteral("Ad"), Text(p.Ad)},
             {QStringLiteral("Bar"), Text(p.Barkod)},
             {QStringLiteral("Bir"), Text(p.Birim)},
             {QStringLiteral("Fiy"), p.Fiyat},
             {QStringLiteral("KDV"), p.KDV},
             {QStringLiteral("Tar"), tartimli ? 1 : 0},
             {QStringLiteral("Kat"), kategoriler.at(p.Kategori)},
             {QStringLiteral("Mev"), merkez + second},
             {QStringLiteral("Min"), tartimli ? 5.0 : 10.0},
             {QStringLiteral("Max"), tartimli ? 150.0 : 500.0},
             {QStringLiteral("Akt"), p.Active ? 1 : 0},
             {QStringLiteral("Sil"), p.Deleted ? 1 : 0},
             {QStringLiteral("SKT"), p.Lot == lotNone ? 0 : 1},
             {QStringLiteral("Eng"), p.Lot == lotNotBlocking ? 0 : 1}});
        const double stocks[] = {merkez, second, 0};
        for (qsizetype i = 0; i < subeler.size(); ++i)
            TDbQuery(QStringLiteral(
                         "INSERT INTO SubeStok (SubeID, StokID, MevcutStok, MinStok, MaxStok) "
                         "VALUES (:S, :P, :M, :Min, :Max)"))
                .Param(QStringLiteral("S"), subeler.at(i))
                .Param(QStringLiteral("P"), stokID)
                .Param(QStringLiteral("M"), stocks[i])
                .Param(QStringLiteral("Min"), tartimli ? 5.0 : 10.0)
                .Param(QStringLiteral("Max"), tartimli ? 150.0 : 500.0)
                .Exec();
    }
}

void WriteCasesAndLots()
{
    for (const TCase& c : kCases)
        TDbQuery(QStringLiteral("INSERT INTO StokBirimDonusum (StokID, KoliBarkod, CevrimKatsayi) "
                                "SELECT StokID, :K, :C FROM Stok WHERE Barkod = :B"))
            .Param(QStringLiteral("K"), Text(c.KoliBarkod))
            .Param(QStringLiteral("C"), c.Katsayi)
            .Param(QStringLiteral("B"), Text(c.Urun))
            .Exec();
    const QDate today = TClock::Today();
    for (const TDemoLot& l : kLots)
        TDbQuery(QStringLiteral(
                     "INSERT INTO StokLotDetay (StokID, LotNo, MevcutMiktar, SonKullanmaTarihi) "
                     "SELECT StokID, :L, :M, :T FROM Stok WHERE Barkod = :B"))
            .Param(QStringLiteral("L"), Text(l.LotNo))
            .Param(QStringLiteral("M"), l.Miktar)
            .Param(QStringLiteral("T"),
                   l.HasDate ? QVariant(today.addDays(l.ExpiresInDays).toString(Qt::ISODate))
                             : TDbQuery::NullText())
            .Param(QStringLiteral("B"), Text(l.Urun))
            .Exec();
}

void WriteCustomers()
{
    struct TMusteri {
        const char16_t* AdSoyad;
        const char16_t* FirmaUnvan;
        const char16_t* Telefon;
    };
    const TMusteri musteriler[] = {
        {u"Ahmet Yıldız", u"", u"0532 111 22 33"},
        {u"", u"Yıldız Lokantacılık Ltd. Şti.", u"0216 444 55 66"},
        {u"Fatma Şahin", u"", u"0544 777 88 99"},
    };
    for (const TMusteri& m : musteriler)
        Insert(QStringLiteral(
                   "INSERT INTO Musteri (AdSoyad, FirmaUnvan, Telefon) VALUES (:A, :F, :T)"),
               {{QStringLiteral("A"), Text(m.AdSoyad)},
                {QStringLiteral("F"), Text(m.FirmaUnvan)},
                {QStringLiteral("T"), Text(m.Telefon)}});

    struct TCari {
        const char16_t* Kod;
        const char16_t* Ad;
        const char16_t* Tip;
        const char16_t* Vkn;
        const char16_t* Tckn;
        const char16_t* Telefon;
        const char16_t* Il;
    };
    const TCari cariler[] = {
        {u"C00001", u"Ahmet Yıldız", u"MUSTERI", u"", u"10000000146", u"0532 111 22 33",
         u"İstanbul"},
        {u"C00002", u"Yıldız Lokantacılık Ltd. Şti.", u"MUSTERI", u"9876543217", u"",
         u"0216 444 55 66", u"İstanbul"},
        {u"C00003", u"Elif Arslan", u"MUSTERI", u"", u"", u"0505 123 45 67", u"İzmir"},
        {u"C00004", u"Anadolu Gıda Toptan A.Ş.", u"TEDARIKCI", u"1234567890", u"",
         u"0312 222 33 44", u"Ankara"},
    };
    OwnedSchema::Run(OwnedSchema::CustomerListStatements());
    for (const TCari& c : cariler)
        Insert(QStringLiteral(
                   "INSERT INTO CariKart (CariKodu, CariAdi, CariTipi, VKN, TCKN, VergiDairesi, "
                   "Telefon, Email, Adres, Il, Ilce, PostaKodu, YetkiliKisi, Notlar) VALUES (:K, "
                   ":A, :T, :V, :C, '', :Tel, '', '', :Il, '', '', '', '')"),
               {{QStringLiteral("K"), Text(c.Kod)},
                {QStringLiteral("A"), Text(c.Ad)},
                {QStringLiteral("T"), Text(c.Tip)},
                {QStringLiteral("V"), Text(c.Vkn)},
                {QStringLiteral("C"), Text(c.Tckn)},
                {QStringLiteral("Tel"), Text(c.Telefon)},
                {QStringLiteral("Il"), Text(c.Il)}});
}
} // namespace

bool DatabaseIsEmpty()
{
    static const char* const tables[] = {
        "Firma",         "Sube",       "Terminal",         "Rol",          "Kullanici",
        "Kategori",      "Stok",       "StokBirimDonusum", "StokLotDetay", "SatisFis",
        "SatisFisSatir", "SatisOdeme", "Vardiya",          "Musteri"};
    QStringList probes;
    for (const char* table : tables)
        probes << QStringLiteral("EXISTS (SELECT 1 FROM %1)").arg(QLatin1String(table));
    return dmMain
               ->GetScalar(QStringLiteral("SELECT CASE WHEN ") +
                           probes.join(QStringLiteral(" OR ")) +
                           QStringLiteral(" THEN 0 ELSE 1 END"))
               .toInt() == 1;
}

bool WriteIfEmpty()
{
    if (!DatabaseIsEmpty())
        return false;
    // Two tills opening a new file at once: the second waits for the first's transaction and
    // then finds the shop there.
    TDbTransaction transaction;
    if (!DatabaseIsEmpty())
        return false;
    const QList<int> subeler = WriteOrganisation();
    WriteUsers(subeler);
    WriteProducts(WriteCategories(), subeler);
    WriteCasesAndLots();
    WriteCustomers();
    transaction.Commit();
    return true;
}

QString PasswordHash(const QString& password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QChar Ean13CheckDigit(const QString& twelveDigits)
{
    int sum = 0;
    for (qsizetype i = 0; i < twelveDigits.size(); ++i)
        sum += twelveDigits.at(i).digitValue() * (i % 2 ? 3 : 1);
    return QChar(u'0' + (10 - sum % 10) % 10);
}
} // namespace DemoData
