#pragma once

#include <QList>
#include <QString>

#include <optional>

class TCartManager;

// One receipt line as the sale routine writes it: the cart line's figures, the unit price net
// of VAT. A null text is stored as NULL.
struct TSaleLine {
    int StokID = 0;
    QString StokAdi;
    QString Barkod;
    double Miktar = 0;
    QString Birim;
    double BirimFiyat = 0;
    double KDVOrani = 0;
    double KDVTutari = 0;
    double IndirimOrani = 0;
    double IndirimTutari = 0;
    double AraToplam = 0;
    double SatirToplam = 0;

    // The line as the receipt line's columns keep it: the quantity to three places, prices and
    // amounts to four, the rates to two.
    TSaleLine AtColumnScale() const;
};

// One SatisOdeme row of the sale. A cash row also keeps what the customer handed over, so a
// receipt printed again shows the change; a document without it stores NULL.
struct TSalePayment {
    QString OdemeTipi;
    double Tutar = 0;
    std::optional<double> Verilen;
};

// The lines and payments of a sale as the XML document the sale routine (sp_CreateSale) takes,
// so a sale of any number of lines is one call:
//
//   <Sale>
//     <Line StokID="12" StokAdi="EKMEK" Barkod="869..." Miktar="2" Birim="ADET"
//           BirimFiyat="9.0909" KDVOrani="10" KDVTutari="..." IndirimOrani="0"
//           IndirimTutari="0" AraToplam="..." SatirToplam="..."/>
//     <Payment OdemeTipi="NAKIT" Tutar="30" Verilen="50"/>
//     <Payment OdemeTipi="KART" Tutar="70"/>
//   </Sale>
//
// Lines keep the cart's order, which numbers them. Figures are written at the scale of the
// columns that keep them (TSaleLine::AtColumnScale, payments to the kuruş), so either engine
// stores the same decimal; numbers are written with "." and with the digits it takes to read
// back the very same double. A null text is left out, so the routine stores NULL. A payment is
// written only for an amount above the money tolerance, cash first; the cash payment carries the
// cash handed over (`VerilenNakit`, to the kuruş), never less than the cash paid, so 0 stands
// for exactly the cash paid.
class TSaleDocument {
public:
    static QString Write(const TCartManager& Cart, double NakitTutar, double KartTutar,
                         double VerilenNakit = 0);
    // The lines and payments of a document; false when the text is not well-formed XML.
    static bool Read(const QString& Xml, QList<TSaleLine>& Lines, QList<TSalePayment>& Payments);

    TSaleDocument() = delete;
};
