#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QTimer;
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

// The notice after a completed sale: amount, receipt number and payment, closed by "Tamam" or
// Esc, or by itself after AAutoCloseMs with a countdown bar. Enter alone leaves it open; a scan
// typed into it closes it and goes on to the barcode field below (PassScanToOwner).
class TfrmSaleSuccessDialog : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmSaleSuccessDialog(QWidget* parent = nullptr);

    static void ShowSale(const QString& AFisNo, double ATotal, const QString& APaymentType,
                         int AAutoCloseMs);

    void Setup(const QString& AFisNo, double ATotal, const QString& APaymentType, int AAutoCloseMs);
    // Width of the bar's fill for the time shown so far.
    int ProgressFillWidth() const;
    int AutoCloseMs() const { return FAutoCloseMs; }
    int ElapsedMs() const { return FElapsedMs; }
    bool CountdownActive() const;
    // One 50 ms step of the countdown; closes the dialog when the time is up.
    void tmrCountdownTimer();

    static constexpr int TrackWidth = 284;
    static constexpr int TickMs = 50;

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CloseNow();

    QLabel* lblHeaderTitle;
    QLabel* lblHeaderSubtitle;
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
    TCountdownBar* pbCountdown;
    TPOSButton* btnOk;
    QTimer* FTimer;
    int FAutoCloseMs = 0;
    int FElapsedMs = 0;
};
