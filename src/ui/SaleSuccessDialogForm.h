#pragma once

#include "ui/DialogTestHooks.h"
#include "ui/FramelessDialog.h"

#include <QTimer>

class QLabel;
class TPOSButton;
class TRoundShape;

// The thin bar of the sale-completed notice that empties from right to left as its time runs out.
class TCountdownBar : public QWidget {
    Q_OBJECT
public:
    explicit TCountdownBar(QWidget* parent = nullptr);
    void SetFillWidth(int width);
    int FillWidth() const { return FFillWidth; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int FFillWidth = 0;
};

// The notice after a completed sale: amount, receipt number and payment, closed by "Tamam", Esc
// or Enter, or by itself after AAutoCloseMs with a countdown bar.
//
// Tests answer it without a person through TDialogTestHooks / TDialogAnswers.
class TfrmSaleSuccessDialog : public TFramelessDialog {
    Q_OBJECT
public:
    explicit TfrmSaleSuccessDialog(QWidget* parent = nullptr);

    static void ShowSale(const QString& AFisNo, double ATotal, const QString& APaymentType,
                         int AAutoCloseMs);

    void Setup(const QString& AFisNo, double ATotal, const QString& APaymentType, int AAutoCloseMs);
    TShownDialog Describe() const;
    // Width of the bar's fill for the time shown so far.
    int ProgressFillWidth() const;
    int ElapsedMs() const { return FElapsedMs; }
    bool CountdownActive() const { return FTimer.isActive(); }
    // One 50 ms step of the countdown; closes the dialog when the time is up.
    void tmrCountdownTimer();

    static constexpr int TrackWidth = 284;
    static constexpr int TickMs = 50;

    QWidget* pnlHeader;
    QLabel* lblHeaderTitle;
    QLabel* lblHeaderSubtitle;
    QWidget* pnlBody;
    QLabel* pnlCheckCircle;
    QLabel* lblSuccessText;
    TRoundShape* shpAmountCard;
    QLabel* lblAmount;
    TRoundShape* shpFisCard;
    QLabel* lblFisCaption;
    QLabel* lblFisValue;
    TRoundShape* shpPaymentCard;
    QLabel* lblPaymentCaption;
    QLabel* lblPaymentValue;
    QWidget* pnlFooter;
    TCountdownBar* pbCountdown;
    TPOSButton* btnOk;

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CloseNow();

    QTimer FTimer;
    int FAutoCloseMs = 0;
    int FElapsedMs = 0;
};
