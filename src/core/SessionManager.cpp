#include "core/SessionManager.h"

std::unique_ptr<TSessionManager> TSessionManager::FInstance;

TSessionManager& TSessionManager::Instance()
{
    if (!FInstance)
        FInstance.reset(new TSessionManager());
    return *FInstance;
}

void TSessionManager::Release()
{
    FInstance.reset();
}

void TSessionManager::Login(const TSessionInfo& Session)
{
    FSession = Session;
    FLoggedIn = true;
}

void TSessionManager::Logout()
{
    FSession = TSessionInfo();
    FLoggedIn = false;
}

void TSessionManager::UpdateVardiyaInfo(int VardiyaID, bool IsOpen)
{
    FSession.VardiyaID = VardiyaID;
    FSession.VardiyaAcik = IsOpen;
}
