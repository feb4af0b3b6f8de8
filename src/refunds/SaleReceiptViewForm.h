#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QTableWidget;
class TPOSButton;

// "Satış Fiş Detayı": one stored receipt of any branch, its head, lines and totals, read only,
// with "Yazdır". Loaded before it shows: a receipt that cannot be loaded raises "Fiş
// bulunamadı." out of Execute and the window never shows.
class TfrmSaleReceiptView : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmSaleReceiptView(QWidget* parent = nullptr);

    static void Execute(int FisID);
    void SetFisID(int AFisID);
    void btnPrintClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void LoadReceipt();
    void FitColumns();
    void ApplyRowHeights();

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QList<QLabel*> FHeaderCaptions;
    QLabel* lblFisNoValue;
    QLabel* lblDateValue;
    QLabel* lblKasiyerValue;
    QLabel* lblOdemeValue;
    QLabel* lblDurumValue;
    QWidget* pnlMain;
    QTableWidget* gridItems;
    QLabel* lblAraToplamValue;
    QLabel* lblKDVValue;
    QLabel* lblIndirimValue;
    QLabel* lblGenelToplamValue;
    TPOSButton* btnPrint;
    TPOSButton* btnClose;

    int FFisID = 0;
};
