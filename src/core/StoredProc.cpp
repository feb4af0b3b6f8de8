#include "core/StoredProc.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/SqlServerEngine.h"
#include "core/SqlTextLog.h"

TStoredProc::TStoredProc(QString name, std::source_location origin)
    : FCall(std::move(name))
    , FOrigin(origin)
{
}

TStoredProc& TStoredProc::In(const QString& name, const QVariant& value)
{
    FCall.Add({name, value, false, QMetaType::Type(value.metaType().id()), 0});
    return *this;
}

TStoredProc& TStoredProc::Out(const QString& name, QMetaType::Type type, int size)
{
    FCall.Add({name, QVariant(QMetaType(type)), true, type, size});
    return *this;
}

void TStoredProc::Exec()
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    if (SqlTextLog::Enabled())
        SqlTextLog::Record(TSqlServerEngine::RoutineBatch(FCall), {}, FOrigin);
    dmMain->CallRoutine(FCall);
}
