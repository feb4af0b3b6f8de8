#include "sales/SaleManager.h"

#include "core/Clock.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/StoredProc.h"
#include "sales/BranchStockManager.h"
#include "sales/CartManager.h"
#include "sales/PaymentCalculator.h"
#include "sales/SaleDocument.h"

#include <QDateTime>

#include <algorithm>

double TSaleResult::ParaUstu() const
{
    return TMoney::RoundKurus(std::max(0.0, VerilenNakit - Nakit));
}

TSaleResult TSaleManager::CreateSale(int SubeID, int KullaniciID, int TerminalID, int VardiyaID,
                                     const QString& PaymentType, const TCartManager& Cart,
                                     double NakitTutar, double KartTutar)
{
    TSaleResult result;
    if (Cart.Count() == 0) {
        result.Message = QStringLiteral("Sepet boş!");
        return result;
    }
    try {
        dmMain->ExecSql(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
        TBranchStockManager::EnsureSaleLotSchema();
        TBranchStockManager::EnsureBranchStockRows(SubeID);

        // The header carries a number made from the workstation's clock until the routine gives
        // it "FIS-" and its own id, inside the same transaction.
        const QString provisional =
            QStringLiteral("FIS-") + TClock::Now().toString(QStringLiteral("yyMMddHHmmss"));
        // Amounts go to the server as the decimals its columns keep, rounded here by one rule
        // for both engines. The total is the amount the cashier was asked for, and the payments
        // are what cash and card paid of it, so they add up to it.
        const double genelToplam = TPaymentCalculator::AmountDue(Cart.GenelToplam());
        const double verilen = TMoney::RoundKurus(std::max(0.0, NakitTutar));
        const TPaymentAmounts paid =
            TPaymentCalculator::Settle(genelToplam, verilen, TMoney::RoundKurus(KartTutar));
        TStoredProc call(QStringLiteral("sp_CreateSale"));
        call.In(QStringLiteral("@SubeID"), SubeID)
            .In(QStringLiteral("@KullaniciID"), KullaniciID)
            .In(QStringLiteral("@TerminalID"), TerminalID)
            .In(QStringLiteral("@VardiyaID"), VardiyaID)
            .In(QStringLiteral("@GeciciFisNo"), provisional)
            .In(QStringLiteral("@AraToplam"), TMoney::RoundKurus(Cart.AraToplam()))
            .In(QStringLiteral("@ToplamKDV"), TMoney::RoundKurus(Cart.ToplamKDV()))
            .In(QStringLiteral("@Indirim"), TMoney::RoundKurus(Cart.ToplamIndirim()))
            .In(QStringLiteral("@GenelToplam"), genelToplam)
            .In(QStringLiteral("@OdemeTipi"), PaymentType)
            .In(QStringLiteral("@MusteriID"),
                Cart.MusteriNo() < 1 ? TDbQuery::NullInt() : QVariant(Cart.MusteriNo()))
            .In(QStringLiteral("@SatisXML"),
                TSaleDocument::Write(Cart, paid.Nakit, paid.Kart, verilen))
            .Out(QStringLiteral("@Success"), QMetaType::Bool)
            .Out(QStringLiteral("@Message"), QMetaType::QString, 500)
            .Out(QStringLiteral("@FisID"), QMetaType::Int);
        call.Exec();
        if (!call.Value(QStringLiteral("@Success")).toBool()) {
            result.Message = QStringLiteral("Satış hatası: ") +
                             call.Value(QStringLiteral("@Message")).toString().trimmed();
            return result;
        }
        result.Success = true;
        result.FisID = call.Value(QStringLiteral("@FisID")).toInt();
        result.FisNo = QStringLiteral("FIS-") + QString::number(result.FisID);
        result.GenelToplam = genelToplam;
        result.Nakit = paid.Nakit;
        result.Kart = paid.Kart;
        result.VerilenNakit = verilen;
    } catch (const std::exception& e) {
        result = TSaleResult();
        result.Message = QStringLiteral("Satış hatası: ") + ErrorMessage(e);
    }
    return result;
}
