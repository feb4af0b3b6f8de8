#include "shifts/ShiftReport.h"

#include "core/DbQuery.h"
#include "core/POSTextUtils.h"
#include "core/TextColumns.h"

namespace {
// Tarih-Saat, Fiş No, Durum, Ödeme, then the item count and the amounts, which are never cut.
constexpr int kTextColumns = 4;
constexpr int kWidths[] = {19, 12, 7, 8, 8, 15, 13, 13, 15};

QStringList JoinColumns(const QStringList& cells)
{
    QList<TTextColumn> columns;
    for (int i = 0; i < cells.size(); ++i)
        columns << (i < kTextColumns ? TTextColumn::Plain(cells.at(i), kWidths[i])
                                     : TTextColumn::Amount(cells.at(i), kWidths[i]));
    return TextColumns::Layout(columns, QStringLiteral(" "));
}

int IntField(const TDbQuery& query, const QString& field)
{
    return query.HasField(field) ? query.Value(field).toInt() : 0;
}
} // namespace

QString TReportText::PadRight(const QString& S, int Width)
{
    return S.size() > Width ? S.left(Width) : S.leftJustified(Width, u' ');
}

QString TReportText::PadLeft(const QString& S, int Width)
{
    return S.size() > Width ? S.right(Width) : S.rightJustified(Width, u' ');
}

QString TReportText::AmountColumn(const QString& S, int Width)
{
    return S.rightJustified(Width, u' ');
}

QStringList TReportText::Cells(const QList<QPair<QString, int>>& Figures)
{
    QList<TTextColumn> columns;
    for (const auto& [text, width] : Figures)
        columns << TTextColumn::Labelled(text, width);
    return TextColumns::Layout(columns);
}

QString TReportText::Money(double Value)
{
    return FormatMoney(Value);
}

QString TReportText::DateTime(const QDateTime& Value)
{
    return Value.isValid() ? Value.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) : QString();
}

QDateTime TReportText::StoredTime(const QVariant& Value)
{
    if (Value.metaType().id() == QMetaType::QString) {
        // "yyyy-MM-dd HH:mm:ss", the way SQLite keeps times, read without the date parser.
        const QString t = Value.toString();
        const QStringView v(t);
        if (t.size() >= 19 && t[4] == u'-' && t[7] == u'-' && (t[10] == u' ' || t[10] == u'T') &&
            t[13] == u':' && t[16] == u':') {
            const QDate date(v.mid(0, 4).toInt(), v.mid(5, 2).toInt(), v.mid(8, 2).toInt());
            const QTime time(v.mid(11, 2).toInt(), v.mid(14, 2).toInt(), v.mid(17, 2).toInt());
            if (date.isValid() && time.isValid())
                return QDateTime(date, time, Qt::UTC);
        }
    }
    const QDateTime parsed = VariantToDateTime(Value);
    return parsed.isValid() ? QDateTime(parsed.date(), parsed.time(), Qt::UTC) : parsed;
}

TReportReceipt TReportReceipt::FromQuery(const TDbQuery& Query)
{
    TReportReceipt r;
    if (Query.HasField(QStringLiteral("FisID")))
        r.FisID = Query.Value(QStringLiteral("FisID")).toInt();
    r.Tarih = TReportText::StoredTime(Query.Value(QStringLiteral("Tarih")));
    r.FisNo = Query.Value(QStringLiteral("FisNo")).toString();
    r.FisDurumu = Query.Value(QStringLiteral("FisDurumu")).toString();
    r.OdemeTipi = Query.Value(QStringLiteral("OdemeTipi")).toString();
    r.UrunAdedi = FieldToFloatDef(Query, QStringLiteral("UrunAdedi"), 0);
    r.AraToplam = FieldToFloatDef(Query, QStringLiteral("AraToplam"), 0);
    r.ToplamKDV = FieldToFloatDef(Query, QStringLiteral("ToplamKDV"), 0);
    r.Indirim = FieldToFloatDef(Query, QStringLiteral("Indirim"), 0);
    r.GenelToplam = FieldToFloatDef(Query, QStringLiteral("GenelToplam"), 0);
    return r;
}

QString TReceiptListText::HeaderLine()
{
    return JoinColumns({QStringLiteral("Tarih-Saat"), QStringLiteral("Fiş No"),
                        QStringLiteral("Durum"), QStringLiteral("Ödeme"), QStringLiteral("Ürün"),
                        QStringLiteral("Ara Toplam"), QStringLiteral("KDV"),
                        QStringLiteral("İndirim"), QStringLiteral("Genel Toplam")})
        .first();
}

namespace {
// The nine fields of a receipt line, the time as given.
QStringList ReceiptFields(const TReportReceipt& receipt, const QString& time)
{
    return {time,
            receipt.FisNo,
            StatusDisplay(receipt.FisDurumu, true),
            PaymentTypeDisplay(receipt.OdemeTipi, true),
            FormatFloat(QStringLiteral("#,##0.00"), receipt.UrunAdedi),
            TReportText::Money(receipt.AraToplam),
            TReportText::Money(receipt.ToplamKDV),
            TReportText::Money(receipt.Indirim),
            TReportText::Money(receipt.GenelToplam)};
}
} // namespace

QStringList TReceiptListText::Lines(const TReportReceipt& Receipt)
{
    return JoinColumns(ReceiptFields(Receipt, TReportText::DateTime(Receipt.Tarih)));
}

QStringList TReceiptListText::GridCells(const TReportReceipt& Receipt)
{
    const QString time =
        Receipt.Tarih.isValid() ? TReportText::DateTime(Receipt.Tarih) : QStringLiteral("-");
    return QStringList{QString::number(Receipt.FisID)} + ReceiptFields(Receipt, time);
}

TShiftFigures TShiftFigures::FromQuery(const TDbQuery& Query)
{
    TShiftFigures f;
    f.AcilisTutar = FieldToFloatDef(Query, QStringLiteral("AcilisTutar"), 0);
    f.KapanisTutar = FieldToFloatDef(Query, QStringLiteral("KapanisTutar"), 0);
    f.AktifFis = IntField(Query, QStringLiteral("AktifFis"));
    f.IadeFis = IntField(Query, QStringLiteral("IadeFis"));
    f.NakitAdet = IntField(Query, QStringLiteral("NakitAdet"));
    f.KartAdet = IntField(Query, QStringLiteral("KartAdet"));
    f.BrutNakit = FieldToFloatDef(Query, QStringLiteral("BrutNakit"), 0);
    f.BrutKart = FieldToFloatDef(Query, QStringLiteral("BrutKart"), 0);
    f.IadeNakit = FieldToFloatDef(Query, QStringLiteral("IadeNakit"), 0);
    f.IadeToplam = FieldToFloatDef(Query, QStringLiteral("IadeToplam"), 0);
    return f;
}
