#include "admin/ParameterStore.h"

#include "core/AppSettingsManager.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"

namespace {
// The box's key is one of the number parameters; its default and range are theirs.
TNumberParameter MsgSecondsParameter()
{
    return TAppSettingsManager::FindNumberParameter(TParameterStore::MsgSecondsKey).value();
}

QString Refusal(const TNumberParameter& parameter, const QString& value)
{
    return QStringLiteral("%1 parametresinin değeri \"%2\" geçersiz. %3 ile %4 arasında bir tam "
                          "sayı giriniz.")
        .arg(parameter.Key, value)
        .arg(parameter.Min)
        .arg(parameter.Max);
}

// A number parameter is stored in plain decimal digits, so that a till with other regional
// settings reads the number that was typed ("1.500" on Turkish settings is stored as "1500").
QString StoredValue(const TParameterRow& row)
{
    if (!TAppSettingsManager::FindNumberParameter(row.Key))
        return row.Value;
    return QString::number(TAppSettingsManager::ReadWholeNumber(row.Value).value());
}
} // namespace

int TParameterStore::MsgSeconds()
{
    const TNumberParameter seconds = MsgSecondsParameter();
    return TAppSettingsManager::GetInt(MsgSecondsKey, seconds.Default, seconds.Min, seconds.Max);
}

int TParameterStore::SecondsFromText(const QString& AText)
{
    const TNumberParameter seconds = MsgSecondsParameter();
    const int n = TAppSettingsManager::ReadWholeNumber(AText).value_or(seconds.Default);
    return qBound(seconds.Min, n, seconds.Max);
}

QList<TParameterRow> TParameterStore::Load()
{
    TDbQuery query(QStringLiteral("SELECT ParamKey, ParamValue, ISNULL(Description, '') AS "
                                  "Description FROM SistemParametre ORDER BY ParamKey"));
    query.Exec();
    QList<TParameterRow> rows;
    while (query.Next())
        rows.append(
            {query.Value(0).toString(), query.Value(1).toString(), query.Value(2).toString()});
    return rows;
}

QList<TParameterRow> TParameterStore::RowsToSave(const QList<TParameterRow>& AGridRows)
{
    QList<TParameterRow> rows;
    for (const TParameterRow& row : AGridRows) {
        const QString key = row.Key.trimmed();
        if (key.isEmpty() || key.compare(MsgSecondsKey, Qt::CaseInsensitive) == 0)
            continue;
        rows.append({key, row.Value.trimmed(), row.Description.trimmed()});
    }
    return rows;
}

QString TParameterStore::CheckRows(const QList<TParameterRow>& AGridRows)
{
    for (const TParameterRow& row : RowsToSave(AGridRows)) {
        const std::optional<TNumberParameter> parameter =
            TAppSettingsManager::FindNumberParameter(row.Key);
        if (!parameter)
            continue;
        const std::optional<int> n = TAppSettingsManager::ReadWholeNumber(row.Value);
        if (!n || *n < parameter->Min || *n > parameter->Max)
            return Refusal(*parameter, row.Value);
    }
    return {};
}

void TParameterStore::Save(int ASeconds, const QList<TParameterRow>& AGridRows)
{
    const QString refusal = CheckRows(AGridRows);
    if (!refusal.isEmpty())
        throw ERefusal(refusal);
    TAppSettingsManager::SetValue(MsgSecondsKey, QString::number(ASeconds), MsgSecondsDescription);
    for (const TParameterRow& row : RowsToSave(AGridRows))
        TAppSettingsManager::SetValue(row.Key, StoredValue(row), row.Description);
}
