#include "core/SessionManager.h"

#include <QtTest>

class TestSessionManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { TSessionManager::Release(); }
    void emptyBeforeLogin();
    void loginStoresACopy();
    void shiftUpdateThenLogout();
};

void TestSessionManager::emptyBeforeLogin()
{
    const TSessionInfo info = TSessionManager::Instance().GetSessionInfo();
    QCOMPARE(info.KullaniciID, 0);
    QVERIFY(info.SubeAdi.isEmpty());
    QCOMPARE(info.VardiyaID, 0);
    QVERIFY(!TSessionManager::Instance().GetIsLoggedIn());
}

void TestSessionManager::loginStoresACopy()
{
    TSessionInfo info;
    info.KullaniciID = 3;
    info.SubeAdi = "MERKEZ";
    info.VardiyaID = -1;
    TSessionManager::Instance().Login(info);
    info.SubeAdi = "değişti";
    TSessionInfo copy = TSessionManager::Instance().GetSessionInfo();
    QCOMPARE(copy.SubeAdi, QString("MERKEZ"));
    copy.SubeAdi = "kopya";
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().SubeAdi, QString("MERKEZ"));
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().VardiyaID, -1);
    QVERIFY(TSessionManager::Instance().GetIsLoggedIn());
}

void TestSessionManager::shiftUpdateThenLogout()
{
    TSessionInfo info;
    info.KullaniciID = 5;
    info.AdSoyad = "Kasa";
    TSessionManager::Instance().Login(info);
    TSessionManager::Instance().UpdateVardiyaInfo(42, true);
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().VardiyaID, 42);
    QVERIFY(TSessionManager::Instance().GetSessionInfo().VardiyaAcik);
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().AdSoyad, QString("Kasa"));
    TSessionManager::Instance().Logout();
    const TSessionInfo after = TSessionManager::Instance().GetSessionInfo();
    QCOMPARE(after.VardiyaID, 0);
    QVERIFY(!after.VardiyaAcik);
    QVERIFY(after.AdSoyad.isEmpty());
    QVERIFY(!TSessionManager::Instance().GetIsLoggedIn());
}

QTEST_GUILESS_MAIN(TestSessionManager)
#include "tst_SessionManager.moc"
