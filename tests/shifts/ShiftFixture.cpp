#include "ShiftFixture.h"

#include "core/DbQuery.h"

namespace {
// Written out by hand from the figures of the fixture, not by the code under test.
const char* const kClosedReport = R"(
KIRVELO - Z RAPORU
======================================================================================================================
Vardiya ID       : 1
Kasiyer          : KASA SORUMLUSU
Durum            : KAPALI
Açılış Zamanı    : 05.03.2025 08:30:00
Kapanış Zamanı   : 05.03.2025 18:00:00
Rapor Zamanı     : 05.03.2025 20:00:00
----------------------------------------------------------------------------------------------------------------------
FİŞ ÖZETİ
Toplam Aktif Fiş        : 6
İade Fiş                : 2
Nakit İşlem             : 3
Kart İşlem              : 4
----------------------------------------------------------------------------------------------------------------------
SATIŞ VE İADE ÖZETİ
Nakit Satış             :          240,49 TL
Kredi Kartı Satış       :    7.408.887,80 TL
İade Nakit              :           20,00 TL
İade Toplamı            :           30,00 TL
Net Ciro                :    7.409.098,29 TL
----------------------------------------------------------------------------------------------------------------------
KASA DURUMU
Açılış Tutarı           :          250,00 TL
Kasada Olması Gereken   :          470,49 TL
Gerçekleşen Sayım       :          460,49 TL
Kasa Farkı              :          -10,00 TL
======================================================================================================================
FİŞ LİSTESİ
Tarih-Saat          Fiş No       Durum   Ödeme        Ürün      Ara Toplam           KDV       İndirim    Genel Toplam
----------------------------------------------------------------------------------------------------------------------
05.03.2025 08:55:00 FIS-9        İADE    KART         1,00        -8,33 TL      -1,67 TL       0,00 TL       -10,00 TL
05.03.2025 09:15:00 FIS-1        AKTİF   NAKİT        3,50       100,42 TL      20,08 TL       0,00 TL       120,50 TL
05.03.2025 09:40:00 FIS-2        AKTİF   PARÇALI      3,00       255,00 TL      51,00 TL       6,00 TL       300,00 TL
05.03.2025 10:05:00 FIS-3        AKTİF   KART         1,00        38,25 TL       7,65 TL       0,00 TL        45,90 TL
05.03.2025 10:30:00 FIS-4        AKTİF   NAKİT        0,75        16,66 TL       3,33 TL       0,00 TL        19,99 TL
05.03.2025 11:00:00 FIS-5        İADE    NAKİT        1,00       -16,67 TL      -3,33 TL       0,00 TL       -20,00 TL
05.03.2025 11:30:00 FIS-6        İPTAL   NAKİT        2,00        62,50 TL      12,50 TL       0,00 TL        75,00 TL
05.03.2025 12:00:00 FIS-20250305 AKTİF   KART        12,00     1.028,80 TL     205,76 TL       0,00 TL     1.234,56 TL
05.03.2025 12:00:00 FIS-8        AKTİF   KART         1,00 6.172.839,45 TL 1.234.567,89 TL     0,00 TL 7.407.407,34 TL
======================================================================================================================
Toplam kayıt: 9
)";

const char* const kOpenReport = R"(
KIRVELO - Z RAPORU
======================================================================================================================
Vardiya ID       : 2
Kasiyer          : KASA SORUMLUSU
Durum            : AÇIK
Açılış Zamanı    : 06.03.2025 08:00:00
Kapanış Zamanı   : Henüz kapanmadı
Rapor Zamanı     : 05.03.2025 20:00:00
----------------------------------------------------------------------------------------------------------------------
FİŞ ÖZETİ
Toplam Aktif Fiş        : 0
İade Fiş                : 0
Nakit İşlem             : 0
Kart İşlem              : 0
----------------------------------------------------------------------------------------------------------------------
SATIŞ VE İADE ÖZETİ
Nakit Satış             :            0,00 TL
Kredi Kartı Satış       :            0,00 TL
İade Nakit              :            0,00 TL
İade Toplamı            :            0,00 TL
Net Ciro                :            0,00 TL
----------------------------------------------------------------------------------------------------------------------
KASA DURUMU
Açılış Tutarı           :          100,00 TL
Kasada Olması Gereken   :          100,00 TL
Gerçekleşen Sayım       :            0,00 TL
Kasa Farkı              :            0,00 TL
======================================================================================================================
FİŞ LİSTESİ
Tarih-Saat          Fiş No       Durum   Ödeme        Ürün      Ara Toplam           KDV       İndirim    Genel Toplam
----------------------------------------------------------------------------------------------------------------------
Bu vardiyada fiş kaydı bulunamadı.
======================================================================================================================
Toplam kayıt: 0
)";

QStringList Lines(const char* text)
{
    QStringList lines = QString::fromUtf8(text).split(u'\n');
    lines.removeFirst();
    lines.removeLast();
    return lines;
}
} // namespace

TShiftReportFixture::TShiftReportFixture()
{
    FStokID = Shop.AddProduct("TEST ÜRÜN", "8690000000011", 10, 20, 100);
    ClosedID = Shop.VardiyaID();
    Shop.Exec(QString("UPDATE Vardiya SET AcilisZamani = '2025-03-05 08:30:00', AcilisTutar = 250, "
                      "KapanisZamani = '2025-03-05 18:00:00', KapanisTutar = 460.49, "
                      "VardiyaDurumu = 'KAPALI' WHERE VardiyaID = %1")
                  .arg(ClosedID));
    OpenID = Shop.OpenShift(100);
    Shop.Exec(
        QString("UPDATE Vardiya SET AcilisZamani = '2025-03-06 08:00:00' WHERE VardiyaID = %1")
            .arg(OpenID));

    AddReceipt(1, "FIS-1", "09:15:00", "AKTIF", "NAKIT", 100.42, 20.08, 0, 120.50, {2, 1.5});
    AddPayment(1, "NAKIT", 120.50);
    AddReceipt(2, "FIS-2", "09:40:00", "AKTIF", "PARCALI", 255, 51, 6, 300, {3});
    AddPayment(2, "NAKIT", 100);
    AddPayment(2, "KART", 200);
    AddReceipt(3, "FIS-3", "10:05:00", "AKTIF", "KART", 38.25, 7.65, 0, 45.90, {1});
    AddReceipt(4, "FIS-4", "10:30:00", "AKTIF", "nakit", 16.66, 3.33, 0, 19.99, {0.75});
    AddReceipt(5, "FIS-5", "11:00:00", "IADE", "NAKIT", -16.67, -3.33, 0, -20, {-1});
    AddPayment(5, "NAKIT", -20);
    AddReceipt(6, "FIS-6", "11:30:00", "IPTAL", "NAKIT", 62.50, 12.50, 0, 75, {2});
    AddPayment(6, "NAKIT", 75);
    AddReceipt(7, "FIS-2025030512345", "12:00:00", "AKTIF", "KART", 1028.80, 205.76, 0, 1234.56,
               {10, 2});
    AddPayment(7, "KART", 1234.56);
    AddReceipt(8, "FIS-8", "12:00:00", "AKTIF", "KART", 6172839.45, 1234567.89, 0, 7407407.34, {1});
    AddPayment(8, "KART", 7407407.34);
    AddReceipt(9, "FIS-9", "08:55:00", "IADE", "KART", -8.33, -1.67, 0, -10, {-1});
}

void TShiftReportFixture::AddReceipt(int fisID, const QString& fisNo, const QString& tarih,
                                     const QString& durum, const QString& odeme, double ara,
                                     double kdv, double indirim, double genel,
                                     const QList<double>& quantities)
{
    TDbQuery q("INSERT INTO SatisFis (FisID, FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, "
               "Tarih, AraToplam, ToplamKDV, Indirim, GenelToplam, OdemeTipi, FisDurumu) VALUES "
               "(:F, :No, :S, :K, :T, :V, :Tarih, :Ara, :KDV, :Ind, :Gen, :Ode, :Durum)");
    q.Param("F", fisID)
        .Param("No", fisNo)
        .Param("S", Shop.SubeID())
        .Param("K", Shop.KullaniciID())
        .Param("T", Shop.TerminalID())
        .Param("V", ClosedID)
        .Param("Tarih", QString("2025-03-05 " + tarih))
        .Param("Ara", ara)
        .Param("KDV", kdv)
        .Param("Ind", indirim)
        .Param("Gen", genel)
        .Param("Ode", odeme)
        .Param("Durum", durum)
        .Exec();
    int sira = 0;
    for (const double miktar : quantities) {
        TDbQuery line("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Miktar, "
                      "BirimFiyat, SatirToplam) VALUES (:F, :Sira, :Stok, 'TEST ÜRÜN', :M, 10, "
                      ":Top)");
        line.Param("F", fisID)
            .Param("Sira", ++sira)
            .Param("Stok", FStokID)
            .Param("M", miktar)
            .Param("Top", miktar * 10)
            .Exec();
    }
}

void TShiftReportFixture::AddPayment(int fisID, const QString& tip, double tutar)
{
    TDbQuery q("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (:F, :Tip, :Tutar)");
    q.Param("F", fisID).Param("Tip", tip).Param("Tutar", tutar).Exec();
}

QDateTime TShiftReportFixture::ReportTime()
{
    return QDateTime(QDate(2025, 3, 5), QTime(20, 0, 0));
}

QStringList TShiftReportFixture::ExpectedClosedReport()
{
    return Lines(kClosedReport);
}

QStringList TShiftReportFixture::ExpectedOpenReport()
{
    return Lines(kOpenReport);
}
