#include "refunds/RefundGrid.h"

#include "core/POSTextUtils.h"

#include <cmath>

namespace {
constexpr int kWeightTotal = 912;
constexpr int kWeights[] = {300, 112, 124, 134, 112};
} // namespace

QStringList TRefundGrid::Titles()
{
    return {QStringLiteral("ID"),
            QStringLiteral("Ürün Adı"),
            QStringLiteral("Satılan Miktar"),
            QStringLiteral("İade Edilebilir"),
            QStringLiteral("Birim Fiyat"),
            QStringLiteral("İade Edilecek"),
            QStringLiteral("Tutar"),
            QString()};
}

QStringList TRefundGrid::Cells(const TRefundLine& Line)
{
    const bool chosen = Line.IadeMiktar > 0;
    return {QString::number(Line.SatirID),
            Line.StokAdi,
            QuantityText(Line.Miktar),
            QuantityText(Line.Kalan),
            UnitPriceText(Line.BirimIade()),
            chosen ? QuantityText(Line.IadeMiktar) : QStringLiteral("0"),
            FormatMoney(chosen ? Line.IadeTutar : 0),
            QString::number(Line.StokID)};
}

QList<int> TRefundGrid::FigureColumns()
{
    return {ColSatilan, ColKalan, ColBirimFiyat, ColIadeMiktar, ColTutar};
}

QList<int> TRefundGrid::ColumnWidths(int Available)
{
    if (Available <= 0)
        return {};
    QList<int> widths{0};
    int used = 0;
    for (const int weight : kWeights) {
        widths << int(std::lround(double(weight) * Available / kWeightTotal));
        used += widths.last();
    }
    widths << qMax(0, Available - used) << 0;
    return widths;
}

QString TRefundGrid::QuantityText(double Miktar)
{
    return FormatFloat(QStringLiteral("#,##0.###"), Miktar);
}

QString TRefundGrid::UnitPriceText(double Price)
{
    return FormatFloat(QStringLiteral("#,##0.00## TL"), Price);
}
