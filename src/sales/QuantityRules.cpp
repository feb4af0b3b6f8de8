#include "sales/QuantityRules.h"

#include "core/AppSettingsManager.h"
#include "core/POSTextUtils.h"
#include "core/TypedNumber.h"

namespace {
QString QuantityWithUnit(double Quantity, const QString& Birim)
{
    return FormatFloat(QStringLiteral("#,##0.###"), Quantity) + u' ' + Birim;
}
} // namespace

std::optional<double> TQuantityRules::ReadQuantity(const QString& Text)
{
    const std::optional<double> value = ReadTypedNumber(Text, TNumberRules::Plain());
    if (!value || !(*value > 0))
        return std::nullopt;
    return value;
}

int TQuantityRules::MaxQuantity(bool Weighed)
{
    return Weighed ? TAppSettingsManager::GetInt(MaxKgKey, DefaultMaxKg, MinBound, int(HardLimit))
                   : TAppSettingsManager::GetInt(MaxUnitsKey, DefaultMaxUnits, MinBound,
                                                 int(HardLimit));
}

TQuantityCheck TQuantityRules::Check(double Entered, double LineQuantity, bool Weighed,
                                     const QString& Birim, const QString& StokAdi)
{
    if (LineQuantity > HardLimit)
        return {TQuantityVerdict::Refused,
                QStringLiteral("Miktar çok yüksek: %1 %2. Bir satırda en fazla %3 olabilir.")
                    .arg(QuantityWithUnit(LineQuantity, Birim), StokAdi,
                         FormatFloat(QStringLiteral("#,##0"), HardLimit))};
    if (Entered <= MinBound || Entered <= MaxQuantity(Weighed))
        return {};
    return {TQuantityVerdict::Confirm, QStringLiteral("Yüksek miktar: %1 %2. Devam edilsin mi?")
                                           .arg(QuantityWithUnit(Entered, Birim), StokAdi)};
}

bool TQuantityRules::Confirmed(const TQuantityCheck& Check, const TQuantityConfirm& Confirm)
{
    switch (Check.Verdict) {
    case TQuantityVerdict::Accepted:
        return true;
    case TQuantityVerdict::Confirm:
        return Confirm && Confirm(Check.Message);
    case TQuantityVerdict::Refused:
        break;
    }
    return false;
}
