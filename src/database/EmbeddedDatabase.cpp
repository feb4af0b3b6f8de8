#include "database/EmbeddedDatabase.h"

#include "core/Exceptions.h"
#include "core/StoredProc.h"

namespace EmbeddedDatabase {
void Prepare(TdmMain&, bool)
{
}

void RunProcedure(TStoredProc& call)
{
    throw EDatabaseError(QStringLiteral("Yordam bulunamadı: ") + call.Name());
}
} // namespace EmbeddedDatabase
