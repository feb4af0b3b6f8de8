#include "core/AppSettingsManager.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/OwnedSchema.h"

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

struct TKnownKey {
    const char16_t* Key;
    const char16_t* Description;
};

constexpr TKnownKey kKnownKeys[] = {
    {u"BarcodeNotFoundMessageSeconds",
     u"Barkod bulunamadı mesajının ekranda kalma süresi (saniye)"},
    {u"SaleSuccessMessageSeconds", u"Satış tamamlandı bildiriminin ekranda kalma süresi (saniye)"},
};

// The display durations are read with GetInt(key, 3, 1, 60).
constexpr int kSecondsDefault = 3;
constexpr int kSecondsMin = 1;
constexpr int kSecondsMax = 60;
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
        SetValue(key, GetValue(key, QStringLiteral("3")), QString::fromUtf16(k.Description));
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
    bool ok = false;
    int n = GetValue(AKey, QString::number(ADefaultValue)).trimmed().toInt(&ok);
    if (!ok)
        n = ADefaultValue;
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
        parameters.append({QString::fromUtf16(k.Key), kSecondsDefault, kSecondsMin, kSecondsMax});
    return parameters;
}

std::optional<TNumberParameter> TAppSettingsManager::FindNumberParameter(const QString& AKey)
{
    const QString key = AKey.trimmed();
    for (const TNumberParameter& parameter : NumberParameters())
        if (parameter.Key.compare(key, Qt::CaseInsensitive) == 0)
            return parameter;
    return std::nullopt;
}
