#include "sales/Till.h"

#include "core/AppSettingsManager.h"
#include "core/SessionManager.h"
#include "sales/BranchStockManager.h"
#include "sales/SalesScreenRules.h"

namespace {
TTillOutcome FromAddResult(const TAddResult& result)
{
    switch (result.Status) {
    case TAddStatus::Added:
        return TTillOutcome::Ok();
    case TAddStatus::NotFound:
        return {TTillStatus::NotFound, result.Message};
    case TAddStatus::Refused:
        return TTillOutcome::Refusal(result.Message);
    case TAddStatus::NothingAdded:
        break;
    }
    return {};
}

TTillOutcome FromEntry(const TEntryCheck& check)
{
    return check.Value ? TTillOutcome::Ok() : TTillOutcome::Refusal(check.Message);
}

TSessionInfo Session()
{
    return TSessionManager::Instance().GetSessionInfo();
}

int SecondsParameter(const QString& key)
{
    return TAppSettingsManager::GetInt(key, 3, 1, 60) * 1000;
}
} // namespace

QString TTill::CustomerName() const
{
    return HasCustomer() ? FCart.MusteriIsmi() : QString();
}

void TTill::SetCustomer(int CariID, const QString& CariAdi)
{
    if (CariID <= 0) {
        RemoveCustomer();
        return;
    }
    FCart.SetMusteriNo(CariID);
    FCart.SetMusteriIsmi(CariAdi);
}

void TTill::RemoveCustomer()
{
    FCart.SetMusteriNo(-1);
    FCart.SetMusteriIsmi(QString());
}

QString TTill::UserCaption() const
{
    if (!TSessionManager::Instance().GetIsLoggedIn())
        return QStringLiteral("Kullanıcı: -");
    return TSalesScreenRules::UserCaption(Session());
}

QString TTill::ShiftCaption() const
{
    return TSalesScreenRules::ShiftCaption(FVardiyaID);
}

bool TTill::PayEnabled() const
{
    return TSalesScreenRules::PayEnabled(FCart, FVardiyaID);
}

QString TTill::PayCaption() const
{
    return TSalesScreenRules::PayCaption(FCart);
}

TTillOutcome TTill::Scan(const QString& Code, const TQuantityPrompt& Ask,
                         const TQuantityConfirm& Confirm)
{
    const QString code = Code.trimmed();
    if (code.isEmpty())
        return TTillOutcome::Refusal(QStringLiteral("Barkod giriniz!"));
    return LineAdded(FromAddResult(
        TBarcodeResolver::ParseScannedCode(FCart, Session().SubeID, code, Ask, Confirm)));
}

TTillOutcome TTill::AddProduct(int StokID, const TQuantityPrompt& Ask,
                               const TQuantityConfirm& Confirm)
{
    return LineAdded(FromAddResult(
        TBarcodeResolver::AddProductByStokID(FCart, FVardiyaID, StokID, Ask, Confirm)));
}

TTillOutcome TTill::LineAdded(const TTillOutcome& Outcome)
{
    if (Outcome.Done())
        FLastSale.reset();
    return Outcome;
}

int TTill::NotFoundMessageMs()
{
    return SecondsParameter(QStringLiteral("BarcodeNotFoundMessageSeconds"));
}

TTillOutcome TTill::CheckLineToEdit(int Line) const
{
    return HasLine(Line) ? TTillOutcome::Ok()
                         : TTillOutcome::Refusal(QStringLiteral("Satır seçiniz!"));
}

TTillOutcome TTill::CheckLineToDelete(int Line) const
{
    return HasLine(Line) ? TTillOutcome::Ok()
                         : TTillOutcome::Refusal(QStringLiteral("Silinecek satırı seçiniz!"));
}

QString TTill::QuantityText(int Line) const
{
    return TSalesScreenRules::QuantityText(FCart.Items(Line).Miktar());
}

TTillOutcome TTill::ChangeQuantity(int Line, const QString& Entry, const TQuantityConfirm& Confirm)
{
    if (!HasLine(Line))
        return CheckLineToEdit(Line);
    const TEntryCheck check = TSalesScreenRules::CheckQuantityEntry(Entry);
    if (!check.Value)
        return FromEntry(check);
    const TCartItem& item = FCart.Items(Line);
    const TQuantityCheck bound = TQuantityRules::Check(*check.Value, *check.Value, item.Tartimli(),
                                                       item.Birim(), item.StokAdi());
    if (bound.Verdict == TQuantityVerdict::Refused)
        return TTillOutcome::Refusal(bound.Message);
    if (!TQuantityRules::Confirmed(bound, Confirm))
        return {};
    FCart.UpdateQuantity(Line, *check.Value);
    return TTillOutcome::Ok();
}

TTillOutcome TTill::ApplyDiscount(int Line, const QString& Entry)
{
    if (!HasLine(Line))
        return CheckLineToEdit(Line);
    const TEntryCheck check = TSalesScreenRules::CheckDiscountEntry(Entry);
    if (check.Value)
        FCart.UpdateDiscount(Line, *check.Value);
    return FromEntry(check);
}

void TTill::DeleteLine(int Line)
{
    if (HasLine(Line))
        FCart.RemoveItem(Line);
}

void TTill::ClearCart()
{
    FCart.Clear();
}

TTillOutcome TTill::CheckPayable() const
{
    if (FCart.Count() == 0)
        return TTillOutcome::Refusal(QStringLiteral("Sepet boş!"));
    if (FVardiyaID <= 0)
        return TTillOutcome::Refusal(QStringLiteral("Vardiya açık değil!"));
    return TTillOutcome::Ok();
}

TSaleResult TTill::CompleteSale(const QString& PaymentType, double NakitTutar, double KartTutar)
{
    const TSaleResult result = TSalesScreenRules::CompleteSale(FCart, Session(), FVardiyaID,
                                                               PaymentType, NakitTutar, KartTutar);
    if (result.Success)
        FLastSale = result;
    return result;
}

int TTill::SaleNoticeMs()
{
    return SecondsParameter(QStringLiteral("SaleSuccessMessageSeconds"));
}

void TTill::PrepareBranchStock()
{
    TBranchStockManager::EnsureBranchStockRowsOnce(Session().SubeID);
}

void TTill::LoadOpenShift()
{
    const TSessionInfo session = Session();
    SetShift(TSalesScreenRules::FindOpenShift(session.KullaniciID, session.SubeID));
}

TTillOutcome TTill::CheckCanOpenShift() const
{
    if (FVardiyaID > 0)
        return TTillOutcome::Refusal(QStringLiteral(
            "Açık vardiya bulunuyor. Önce vardiya kapatma işlemini gerçekleştiriniz."));
    return TTillOutcome::Ok();
}

void TTill::ShiftOpened(int VardiyaID)
{
    SetShift(VardiyaID);
}

TTillOutcome TTill::CheckCanCloseShift() const
{
    return FVardiyaID > 0 ? TTillOutcome::Ok()
                          : TTillOutcome::Refusal(QStringLiteral("Açık vardiya yok!"));
}

TCloseShiftResult TTill::CloseShift(double Counted)
{
    const TCloseShiftResult closed =
        TShiftManager::CloseShift(FVardiyaID, Counted, Session().KullaniciID);
    if (!closed.Success)
        return closed;
    FClosedVardiyaID = FVardiyaID;
    SetShift(-1);
    return closed;
}

TTillOutcome TTill::CheckShiftForReports() const
{
    return FVardiyaID > 0 ? TTillOutcome::Ok()
                          : TTillOutcome::Refusal(QStringLiteral("Aktif vardiya bulunmuyor."));
}

void TTill::SetShift(int VardiyaID)
{
    FVardiyaID = VardiyaID > 0 ? VardiyaID : -1;
    TSessionManager::Instance().UpdateVardiyaInfo(FVardiyaID, FVardiyaID > 0);
}
