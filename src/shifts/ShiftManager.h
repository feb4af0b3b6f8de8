#pragma once

#include "core/SessionManager.h"
#include "shifts/ShiftReport.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The cash summary of one shift as vw_VardiyaOzet gives it.
struct TVardiyaOzet {
    double AcilisTutar = 0;
    double NakitSatis = 0;
    double KartSatis = 0;
    double IadeToplam = 0;
    double BeklenenNakit = 0;
};

// The shift a cashier has just opened, with the names the confirmation shows.
struct TOpenedShift {
    int VardiyaID = 0;
    QString AdSoyad;
    QString SubeAdi;
    QString TerminalAdi;

    // "Vardiya açıldı. " + user + " - " + branch + " - " + terminal.
    QString Message() const;
};

// What sp_CloseVardiya answered.
struct TCloseShiftResult {
    bool Success = false;
    QString Message;
    double SistemTutar = 0;
    double Fark = 0;
    int ToplamSatis = 0;
    double NakitSatis = 0;
    double KartSatis = 0;
    int NakitAdet = 0;
    int KartAdet = 0;
    double IadeToplam = 0;
    int IadeAdet = 0;
    double AcilisTutar = 0;
    QDateTime KapanisZamani;
};

// The running totals of one shift for the shift summary window.
struct TShiftSummaryData {
    int VardiyaID = 0;
    QString Kasiyer;
    TShiftFigures Figures; // without the counts by payment type and the counted cash
};

// Opening and closing shifts and reading their summaries, without any window.
class TShiftManager {
public:
    TShiftManager() = delete;

    static inline const QString MsgInvalidAmount =
        QStringLiteral("Lütfen geçerli bir tutar giriniz!");
    static inline const QString MsgNoBranch =
        QStringLiteral("Şube seçimi bulunamadı. Lütfen yeniden giriş yapın.");
    static inline const QString MsgNoTerminal =
        QStringLiteral("Bu bilgisayarın terminal kaydı bilinmiyor. Lütfen yeniden giriş yapın.");
    static inline const QString MsgUserNotAllowed =
        QStringLiteral("Kullanıcı aktif değil veya seçili şubeye yetkili değil.");
    static inline const QString MsgNoSummary = QStringLiteral("Vardiya özeti bulunamadi.");
    static inline const QString MsgCashDifferenceTitle = QStringLiteral("Kasa Farkı");

    // Cash counted and typed by the cashier, read with the money rules of ReadTypedNumber
    // ("1.500", "1.500,00" and "1.500,00 TL" are 1500 on Turkish settings; no sign, at most two
    // decimals); none when the text is no such amount.
    static std::optional<double> ReadAmount(const QString& Text);
    static bool IsValidAmount(const QString& Text);
    static bool IsValidAmount(double Amount);

    // Opens a shift for the session's user, branch and terminal with the counted opening cash,
    // stored to the kuruş as the server's DECIMAL(18,2) keeps it.
    // The checks and the insert run in one write transaction that other tills wait for, so two
    // tills can never both pass the checks. Every refusal raises an ERefusal with the text the
    // cashier is shown and leaves nothing written.
    static TOpenedShift OpenShift(const TSessionInfo& Session, double Amount);

    // Reads the shift's row of vw_VardiyaOzet; false, with Ozet untouched, when there is none.
    static bool LoadVardiyaOzet(int VardiyaID, TVardiyaOzet& Ozet);

    // The question asked before a shift is closed with counted cash that is not the cash
    // expected in the drawer, naming the difference to the kuruş: "Sayılan nakit beklenenden
    // 12,50 TL eksik. Vardiya yine de kapatılsın mı?" ("fazla" for a surplus). Empty when the
    // two agree to the kuruş.
    static QString CashDifferenceQuestion(double Expected, double Counted);

    // Closes the shift through sp_CloseVardiya with the counted cash, sent to the kuruş so that
    // both engines store the same amount. A refusal comes back as Success false with the
    // routine's message; database errors are raised.
    static TCloseShiftResult CloseShift(int VardiyaID, double KapanisTutar, int KapatanKullaniciID);

    // The shift summary's figures, by the same rules as the Z report. Raises MsgNoSummary when
    // the shift does not exist.
    static TShiftSummaryData LoadShiftSummary(int VardiyaID);
};
