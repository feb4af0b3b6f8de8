#include "core/RoutineCall.h"

TRoutineCall::TRoutineCall(QString name)
    : FName(std::move(name))
{
}

QVariant TRoutineCall::Value(const QString& name) const
{
    for (const TRoutineParam& p : FParams) {
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return p.Value;
    }
    return {};
}

void TRoutineCall::SetValue(const QString& name, const QVariant& value)
{
    for (TRoutineParam& p : FParams) {
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0) {
            p.Value = value;
            return;
        }
    }
}
