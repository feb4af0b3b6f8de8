#include "core/DbTransaction.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"

TDbTransaction::TDbTransaction()
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    dmMain->BeginTransaction();
    FOpen = true;
}

TDbTransaction::~TDbTransaction()
{
    if (FOpen && dmMain)
        dmMain->Rollback();
}

void TDbTransaction::Commit()
{
    dmMain->Commit();
    FOpen = false;
}
