#include "core/StoredProc.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"

TStoredProc::TStoredProc(QString name)
    : FCall(std::move(name))
{
}

TStoredProc& TStoredProc::In(const QString& name, const QVariant& value)
{
    FCall.Add({name, value, false, QMetaType::Type(value.metaType().id()), 0});
    return *this;
}

TStoredProc& TStoredProc::Out(const QString& name, QMetaType::Type type, int size)
{
    // ODBC writes string outputs into the bound buffer, so it must be as long as the answer.
    QVariant initial =
        type == QMetaType::QString ? QVariant(QString(size, u' ')) : QVariant(QMetaType(type));
    FCall.Add({name, initial, true, type, size});
    return *this;
}

void TStoredProc::Exec()
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    dmMain->CallRoutine(FCall);
}
