#pragma once

#include "refunds/RefundManager.h"
#include "ui/BaseWindow.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class TPOSButton;

// "Ürün İade": takes goods of an earlier sale receipt of the branch back. The cashier finds the
// receipt by number or from the receipt search, double-clicks lines to choose quantities (at
// most what each line has left) and books them with "İADE AL" through sp_ProcessRefund. Once
// the routine reports success the refund is booked: the screen says so and closes with OK, and
// nothing on it can book again. Closed with Cancel by "İptal".
//
//   TfrmRefund refund(this);
//   refund.ShowModal();
class TfrmRefund : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmRefund(QWidget* parent = nullptr);

    void FormShow();
    void btnSearchClick();
    void btnReceiptsClick();
    void gridItemsDblClick();
    void btnRefundClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void ApplyStyle();
    void ApplyInfoLabelColors();
    void ArrangeHeader();
    void FitColumns();
    void LoadReceipt(int FisID);
    void ShowLines();
    void ShowLine(int Row);
    void UpdateSummary();
    // Reports a booked refund and closes with OK, whatever the report does.
    void Booked(const QString& Message);

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLineEdit* edtFisNo;
    TPOSButton* btnSearch;
    TPOSButton* btnReceipts;
    QLabel* lblReceiptInfo;
    QLabel* lblReceiptValue;
    QLabel* lblDateInfo;
    QLabel* lblDateValue;
    QLabel* lblCustomerInfo;
    QLabel* lblCustomerValue;
    QTableWidget* gridItems;
    QLabel* lblSelectedCount;
    QLabel* lblRefundTotal;
    TPOSButton* btnRefund;
    TPOSButton* btnCancel;

    int FCurrentFisID = 0;
    QList<TRefundLine> FLines;
    TRefundAmounts FAmounts;
    bool FBooked = false;
    bool FShown = false; // FormShow has run
};
