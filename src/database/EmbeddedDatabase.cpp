#include "database/EmbeddedDatabase.h"

#include "core/Exceptions.h"
#include "core/RoutineCall.h"
#include "database/DemoData.h"
#include "database/EmbeddedProcedures.h"
#include "database/EmbeddedSale.h"
#include "database/EmbeddedSchema.h"
#include "database/SqliteSearchKey.h"

namespace EmbeddedDatabase {
namespace {
// "sp_CloseVardiya", "dbo.sp_CloseVardiya" and "[dbo].[sp_closevardiya]" name one routine.
QString BareRoutineName(QString name)
{
    name.remove(u'[').remove(u']');
    name = name.trimmed();
    if (name.startsWith(QStringLiteral("dbo."), Qt::CaseInsensitive))
        name = name.mid(4);
    return name.toLower();
}
} // namespace

bool Prepare(bool withDemoData)
{
    EmbeddedSchema::Create();
    const bool fillLeft = SqliteSearchKey::Prepare();
    if (withDemoData)
        DemoData::WriteIfEmpty();
    return fillLeft;
}

void RunProcedure(TRoutineCall& call)
{
    const QString name = BareRoutineName(call.Name());
    if (name == u"sp_closevardiya")
        return EmbeddedProcedures::CloseVardiya(call);
    if (name == u"sp_processrefund")
        return EmbeddedProcedures::ProcessRefund(call);
    if (name == u"sp_createsale")
        return EmbeddedSale::CreateSale(call);
    throw EDatabaseError(QStringLiteral("Yordam bulunamadı: ") + call.Name());
}
} // namespace EmbeddedDatabase
