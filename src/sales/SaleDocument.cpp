#include "sales/SaleDocument.h"

#include "core/Money.h"
#include "sales/CartManager.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>

namespace {
// The shortest text that reads back as the very same double.
void AppendNumber(QString& xml, double value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    xml += QLatin1String(text, written.ptr - text);
}

// An attribute value between double quotes; tabs and line ends as character references, so
// that reading does not turn them into blanks.
void AppendEscaped(QString& xml, const QString& value)
{
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&':
            xml += QLatin1String("&amp;");
            break;
        case u'<':
            xml += QLatin1String("&lt;");
            break;
        case u'>':
            xml += QLatin1String("&gt;");
            break;
        case u'"':
            xml += QLatin1String("&quot;");
            break;
        case u'\t':
            xml += QLatin1String("&#9;");
            break;
        case u'\n':
            xml += QLatin1String("&#10;");
            break;
        case u'\r':
            xml += QLatin1String("&#13;");
            break;
        default:
            xml += c;
        }
    }
}

void AppendNumber(QString& xml, QLatin1String name, double value)
{
    xml += u' ' + name + QLatin1String("=\"");
    AppendNumber(xml, value);
    xml += u'"';
}

// A null text is left out.
void AppendText(QString& xml, QLatin1String name, const QString& value)
{
    if (value.isNull())
        return;
    xml += u' ' + name + QLatin1String("=\"");
    AppendEscaped(xml, value);
    xml += u'"';
}

TSaleLine LineOf(const TCartItem& item)
{
    TSaleLine line;
    line.StokID = item.StokID();
    line.StokAdi = item.StokAdi();
    line.Barkod = item.Barkod();
    line.Miktar = item.Miktar();
    line.Birim = item.Birim();
    line.BirimFiyat = item.NetBirimFiyat();
    line.KDVOrani = item.KDVOrani();
    line.KDVTutari = item.KDVTutari();
    line.IndirimOrani = item.IndirimOrani();
    line.IndirimTutari = item.IndirimTutari();
    line.AraToplam = item.AraToplam();
    line.SatirToplam = item.SatirToplam();
    return line;
}

void AppendLine(QString& xml, const TSaleLine& line)
{
    xml += QLatin1String("<Line StokID=\"") + QString::number(line.StokID) + u'"';
    AppendText(xml, QLatin1String("StokAdi"), line.StokAdi);
    AppendText(xml, QLatin1String("Barkod"), line.Barkod);
    AppendNumber(xml, QLatin1String("Miktar"), line.Miktar);
    AppendText(xml, QLatin1String("Birim"), line.Birim);
    AppendNumber(xml, QLatin1String("BirimFiyat"), line.BirimFiyat);
    AppendNumber(xml, QLatin1String("KDVOrani"), line.KDVOrani);
    AppendNumber(xml, QLatin1String("KDVTutari"), line.KDVTutari);
    AppendNumber(xml, QLatin1String("IndirimOrani"), line.IndirimOrani);
    AppendNumber(xml, QLatin1String("IndirimTutari"), line.IndirimTutari);
    AppendNumber(xml, QLatin1String("AraToplam"), line.AraToplam);
    AppendNumber(xml, QLatin1String("SatirToplam"), line.SatirToplam);
    xml += QLatin1String("/>");
}

void AppendPayment(QString& xml, QLatin1String type, double amount,
                   std::optional<double> handedOver = std::nullopt)
{
    const double tutar = TMoney::RoundKurus(amount);
    if (tutar <= TMoney::Tolerance)
        return;
    xml += QLatin1String("<Payment OdemeTipi=\"") + type + u'"';
    AppendNumber(xml, QLatin1String("Tutar"), tutar);
    if (handedOver)
        AppendNumber(xml, QLatin1String("Verilen"),
                     std::max(tutar, TMoney::RoundKurus(*handedOver)));
    xml += QLatin1String("/>");
}

// An attribute that is there is a text, empty or not; one that is missing is null.
QString Text(const QXmlStreamAttributes& attributes, const QString& name)
{
    return attributes.hasAttribute(name) ? attributes.value(name).toString() : QString();
}

// A number as Number writes it (or any plain decimal); 0 when the text is not one.
double Real(const QXmlStreamAttributes& attributes, const QString& name)
{
    const QStringView text = attributes.value(name);
    char latin1[64];
    if (text.size() >= qsizetype(sizeof latin1))
        return text.toDouble();
    qsizetype n = 0;
    for (const QChar c : text)
        latin1[n++] = c.unicode() < 128 ? char(c.unicode()) : '?';
    double value = 0;
    const char* begin = latin1 + (n > 0 && latin1[0] == '+' ? 1 : 0);
    std::from_chars(begin, latin1 + n, value);
    return value;
}

TSalePayment ReadPayment(const QXmlStreamAttributes& a)
{
    TSalePayment payment{
        Text(a, QStringLiteral("OdemeTipi")), Real(a, QStringLiteral("Tutar")), {}};
    if (a.hasAttribute(QStringLiteral("Verilen")))
        payment.Verilen = Real(a, QStringLiteral("Verilen"));
    return payment;
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

TSaleLine TSaleLine::AtColumnScale() const
{
    TSaleLine line = *this;
    line.Miktar = TMoney::RoundQuantity(Miktar);
    line.BirimFiyat = TMoney::RoundLineAmount(BirimFiyat);
    line.KDVOrani = TMoney::RoundRate(KDVOrani);
    line.KDVTutari = TMoney::RoundLineAmount(KDVTutari);
    line.IndirimOrani = TMoney::RoundRate(IndirimOrani);
    line.IndirimTutari = TMoney::RoundLineAmount(IndirimTutari);
    line.AraToplam = TMoney::RoundLineAmount(AraToplam);
    line.SatirToplam = TMoney::RoundLineAmount(SatirToplam);
    return line;
}

QString TSaleDocument::Write(const TCartManager& Cart, double NakitTutar, double KartTutar,
                             double VerilenNakit)
{
    QString xml;
    xml.reserve(256 * (Cart.Count() + 1));
    xml += QLatin1String("<Sale>");
    for (int i = 0; i < Cart.Count(); ++i)
        AppendLine(xml, LineOf(Cart.Items(i)).AtColumnScale());
    AppendPayment(xml, QLatin1String("NAKIT"), NakitTutar, VerilenNakit);
    AppendPayment(xml, QLatin1String("KART"), KartTutar);
    xml += QLatin1String("</Sale>");
    return xml;
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
            Payments << ReadPayment(xml.attributes());
    }
    return !xml.hasError();
}
