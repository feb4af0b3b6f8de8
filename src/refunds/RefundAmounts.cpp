#include "refunds/RefundAmounts.h"

#include "core/Money.h"

TRefundAmounts::TRefundAmounts(double GenelToplam, const QList<TRefundProduct>& Products)
{
    // Figures at their columns' scale, so the sums and ratios are those of the stored decimals.
    const double genel = TMoney::RoundKurus(GenelToplam);
    double running = 0;
    double before = 0;
    for (qsizetype i = 0; i < Products.size(); ++i) {
        TRefundProduct product = Products.at(i);
        product.Miktar = TMoney::RoundQuantity(product.Miktar);
        product.SatirToplam = TMoney::RoundLineAmount(product.SatirToplam);
        product.IadeMiktar = TMoney::RoundQuantity(product.IadeMiktar);
        running = TMoney::RoundLineAmount(running + product.SatirToplam);
        const double upTo =
            i + 1 == Products.size() ? genel : qMin(TMoney::RoundKurus(running), genel);
        FShares.insert(product.StokID, {product, TMoney::RoundKurus(upTo - before)});
        before = upTo;
    }
}

double TRefundAmounts::Paid(int StokID) const
{
    const auto it = FShares.constFind(StokID);
    return it == FShares.constEnd() ? 0 : it->Paid;
}

double TRefundAmounts::PaidBackAt(int StokID, double Quantity) const
{
    const auto it = FShares.constFind(StokID);
    if (it == FShares.constEnd())
        return 0;
    const TRefundProduct& product = it->Product;
    if (Quantity >= product.Miktar - TMoney::RefundQuantityTolerance)
        return it->Paid;
    return qMin(TMoney::RoundKurus(product.SatirToplam * Quantity / product.Miktar), it->Paid);
}

QList<double> TRefundAmounts::Amounts(const QList<TRefundQuantity>& Items) const
{
    struct TBack {
        double Miktar = 0;
        double Tutar = 0;
    };
    QHash<int, TBack> back;
    QList<double> amounts;
    for (const TRefundQuantity& item : Items) {
        const auto share = FShares.constFind(item.StokID);
        if (share == FShares.constEnd()) {
            amounts << 0.0;
            continue;
        }
        if (!back.contains(item.StokID))
            back.insert(item.StokID,
                        {share->Product.IadeMiktar, TMoney::RoundKurus(share->Product.IadeTutar)});
        TBack& product = back[item.StokID];
        product.Miktar = TMoney::RoundQuantity(product.Miktar + item.Miktar);
        const double paidBack = qMax(product.Tutar, PaidBackAt(item.StokID, product.Miktar));
        amounts << TMoney::RoundKurus(paidBack - product.Tutar);
        product.Tutar = paidBack;
    }
    return amounts;
}

QString TRefundTender::OdemeTipi() const
{
    const bool kart = Kart > TMoney::Tolerance;
    if (kart && Nakit > TMoney::Tolerance)
        return QStringLiteral("KARMA");
    return kart ? QStringLiteral("KART") : QStringLiteral("NAKIT");
}

TRefundTender TRefundTender::Split(double Amount, double KartOdenen, double KartIadeEdilen)
{
    const double amount = TMoney::RoundKurus(Amount);
    const double kartLeft = TMoney::RoundKurus(KartOdenen - KartIadeEdilen);
    const double kart = qBound(0.0, kartLeft, amount);
    return {TMoney::RoundKurus(amount - kart), kart};
}
