#include "core/AppSettingsManager.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/OwnedSchema.h"
#include "core/TypedNumber.h"

#include <cmath>
#include <limits>

namespace {
const SqlText kSetValue{
    QStringLiteral(
        "UPDATE SistemParametre SET ParamValue = :V1, Description = :D1, UpdatedAt = GETDATE() "
        "WHERE ParamKey = :K1; IF @@ROWCOUNT = 0 INSERT INTO SistemParametre (ParamKey, "
        "ParamValue, Description) VALUES (:K2, :V2, :D2)"),
    QStringLiteral(
        "INSERT INTO SistemParametre (ParamKey, ParamValue, Description) VALUES (:K2, :V2, :D2) "
        "ON CONFLICT(ParamKey) DO UPDATE SET ParamValue = :V1, Description = :D1, "
        "UpdatedAt = GETDATE()")};

// The keys the parameters editor seeds, with the default and range their readers use.
struct TKnownKey {
    const char16_t* Key;
    const char16_t* Description;
    int Default;
    int Min;
    int Max;
};

constexpr TKnownKey kKnownKeys[] = {
    {u"BarcodeNotFoundMessageSeconds", u"Barkod bulunamadı mesajının ekranda kalma süresi (saniye)",
     3, 1, 60},
    {u"SaleSuccessMessageSeconds", u"Satış tamamlandı bildiriminin ekranda kalma süresi (saniye)",
     3, 1, 60},
    {u"MaxQuantityUnits", u"Onay sorulmadan bir satıra girilen en yüksek adet", 9999, 100, 1000000},
    {u"MaxQuantityKg", u"Onay sorulmadan bir satıra girilen en yüksek tartı (kg)", 999, 100,
     1000000},
};
} // namespace

void TAppSettingsManager::EnsureSchema()
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    if (!dmMain->Connected())
        dmMain->Connect();
    OwnedSchema::Run(OwnedSchema::SettingsStatements());
}

void TAppSettingsManager::EnsureDefaults()
{
    EnsureSchema();
    for (const TKnownKey& k : kKnownKeys) {
        const QString key = QString::fromUtf16(k.Key);
        SetValue(key, GetValue(key, QString::number(k.Default)), QString::fromUtf16(k.Description));
    }
}

QString TAppSettingsManager::GetValue(const QString& AKey, const QString& ADefaultValue)
{
    try {
        EnsureSchema();
        TDbQuery query(
            QStringLiteral("SELECT ParamValue FROM SistemParametre WHERE ParamKey = :K"));
        query.Param(QStringLiteral("K"), AKey).Exec();
        if (query.Next())
            return query.Value(0).toString();
    } catch (const std::exception&) {
    }
    return ADefaultValue;
}

int TAppSettingsManager::GetInt(const QString& AKey, int ADefaultValue, int AMinValue,
                                int AMaxValue)
{
    int n = ReadWholeNumber(GetValue(AKey, QString::number(ADefaultValue))).value_or(ADefaultValue);
    if (n < AMinValue)
        n = AMinValue;
    if (n > AMaxValue)
        n = AMaxValue;
    return n;
}

void TAppSettingsManager::SetValue(const QString& AKey, const QString& AValue,
                                   const QString& ADescription)
{
    EnsureSchema();
    TDbQuery query(kSetValue);
    query.Param(QStringLiteral("V1"), AValue)
        .Param(QStringLiteral("D1"), ADescription)
        .Param(QStringLiteral("K1"), AKey)
        .Param(QStringLiteral("K2"), AKey)
        .Param(QStringLiteral("V2"), AValue)
        .Param(QStringLiteral("D2"), ADescription)
        .Exec();
}

QList<TNumberParameter> TAppSettingsManager::NumberParameters()
{
    QList<TNumberParameter> parameters;
    for (const TKnownKey& k : kKnownKeys)
        parameters.append({QString::fromUtf16(k.Key), k.Default, k.Min, k.Max});
    return parameters;
}

std::optional<int> TAppSettingsManager::ReadWholeNumber(const QString& AText)
{
    const std::optional<double> n = ReadTypedNumber(AText, TNumberRules::Whole(true));
    if (!n || std::fabs(*n) > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*n);
}

std::optional<TNumberParameter> TAppSettingsManager::FindNumberParameter(const QString& AKey)
{
    const QString key = AKey.trimmed();
    for (const TNumberParameter& parameter : NumberParameters())
        if (parameter.Key.compare(key, Qt::CaseInsensitive) == 0)
            return parameter;
    return std::nullopt;
}
