#include "sales/SaleDocument.h"

#include "core/Money.h"
#include "sales/CartManager.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
// 17 significant digits read back as the same double.
QString Number(double value)
{
    return QString::number(value, 'g', 17);
}

void WriteText(QXmlStreamWriter& xml, const QString& name, const QString& value)
{
    if (!value.isNull())
        xml.writeAttribute(name, value);
}

void WriteLine(QXmlStreamWriter& xml, const TCartItem& item)
{
    xml.writeEmptyElement(QStringLiteral("Line"));
    xml.writeAttribute(QStringLiteral("StokID"), QString::number(item.StokID()));
    WriteText(xml, QStringLiteral("StokAdi"), item.StokAdi());
    WriteText(xml, QStringLiteral("Barkod"), item.Barkod());
    xml.writeAttribute(QStringLiteral("Miktar"), Number(item.Miktar()));
    WriteText(xml, QStringLiteral("Birim"), item.Birim());
    xml.writeAttribute(QStringLiteral("BirimFiyat"), Number(item.NetBirimFiyat()));
    xml.writeAttribute(QStringLiteral("KDVOrani"), Number(item.KDVOrani()));
    xml.writeAttribute(QStringLiteral("KDVTutari"), Number(item.KDVTutari()));
    xml.writeAttribute(QStringLiteral("IndirimOrani"), Number(item.IndirimOrani()));
    xml.writeAttribute(QStringLiteral("IndirimTutari"), Number(item.IndirimTutari()));
    xml.writeAttribute(QStringLiteral("AraToplam"), Number(item.AraToplam()));
    xml.writeAttribute(QStringLiteral("SatirToplam"), Number(item.SatirToplam()));
}

void WritePayment(QXmlStreamWriter& xml, const QString& type, double amount)
{
    if (amount <= TMoney::Tolerance)
        return;
    xml.writeEmptyElement(QStringLiteral("Payment"));
    xml.writeAttribute(QStringLiteral("OdemeTipi"), type);
    xml.writeAttribute(QStringLiteral("Tutar"), Number(amount));
}

// An attribute that is there is a text, empty or not; one that is missing is null.
QString Text(const QXmlStreamAttributes& attributes, const QString& name)
{
    return attributes.hasAttribute(name) ? attributes.value(name).toString() : QString();
}

double Real(const QXmlStreamAttributes& attributes, const QString& name)
{
    return attributes.value(name).toDouble();
}

TSaleLine ReadLine(const QXmlStreamAttributes& a)
{
    TSaleLine line;
    line.StokID = a.value(QStringLiteral("StokID")).toInt();
    line.StokAdi = Text(a, QStringLiteral("StokAdi"));
    line.Barkod = Text(a, QStringLiteral("Barkod"));
    line.Miktar = Real(a, QStringLiteral("Miktar"));
    line.Birim = Text(a, QStringLiteral("Birim"));
    line.BirimFiyat = Real(a, QStringLiteral("BirimFiyat"));
    line.KDVOrani = Real(a, QStringLiteral("KDVOrani"));
    line.KDVTutari = Real(a, QStringLiteral("KDVTutari"));
    line.IndirimOrani = Real(a, QStringLiteral("IndirimOrani"));
    line.IndirimTutari = Real(a, QStringLiteral("IndirimTutari"));
    line.AraToplam = Real(a, QStringLiteral("AraToplam"));
    line.SatirToplam = Real(a, QStringLiteral("SatirToplam"));
    return line;
}
} // namespace

QString TSaleDocument::Write(const TCartManager& Cart, double NakitTutar, double KartTutar)
{
    QString text;
    QXmlStreamWriter xml(&text);
    xml.writeStartElement(QStringLiteral("Sale"));
    for (int i = 0; i < Cart.Count(); ++i)
        WriteLine(xml, Cart.Items(i));
    WritePayment(xml, QStringLiteral("NAKIT"), NakitTutar);
    WritePayment(xml, QStringLiteral("KART"), KartTutar);
    xml.writeEndElement();
    return text;
}

bool TSaleDocument::Read(const QString& Xml, QList<TSaleLine>& Lines, QList<TSalePayment>& Payments)
{
    Lines.clear();
    Payments.clear();
    QXmlStreamReader xml(Xml);
    int depth = 0;
    bool inSale = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            --depth;
        if (!xml.isStartElement())
            continue;
        ++depth;
        if (depth == 1)
            inSale = xml.name() == u"Sale";
        if (depth != 2 || !inSale)
            continue;
        if (xml.name() == u"Line")
            Lines << ReadLine(xml.attributes());
        else if (xml.name() == u"Payment")
            Payments << TSalePayment{Text(xml.attributes(), QStringLiteral("OdemeTipi")),
                                     Real(xml.attributes(), QStringLiteral("Tutar"))};
    }
    return !xml.hasError();
}
