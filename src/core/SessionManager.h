#pragma once

#include <QString>

#include <memory>

// Who is logged in, on which branch and workstation, and which shift is open.
struct TSessionInfo {
    int KullaniciID = 0;
    QString AdSoyad;
    QString KullaniciAdi;
    int RolID = 0;
    QString RolAdi;
    int FirmaID = 0;
    int SubeID = 0;
    QString SubeAdi;
    int TerminalID = 0;
    QString TerminalAdi;
    int VardiyaID = 0;
    bool VardiyaAcik = false;
};

// The process-wide session. Readers get copies; only Login, Logout and UpdateVardiyaInfo
// change it.
class TSessionManager {
public:
    static TSessionManager& Instance();
    static void Release();

    void Login(const TSessionInfo& Session);
    void Logout();
    void UpdateVardiyaInfo(int VardiyaID, bool IsOpen);

    TSessionInfo GetSessionInfo() const { return FSession; }
    bool GetIsLoggedIn() const { return FLoggedIn; }

private:
    TSessionManager() = default;

    TSessionInfo FSession;
    bool FLoggedIn = false;
    static std::unique_ptr<TSessionManager> FInstance;
};
