#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QTableView;
class TPOSButton;
class TReportGridModel;

// The receipts of the open shift so far, with five totals; a receipt opens in the receipt
// viewer, and the printed report is one button away. Everything is selected by the shift id
// alone, from every branch.
class TfrmOpenShiftSales : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmOpenShiftSales(QWidget* parent = nullptr);

    // Loads the shift before the window shows; an error ends Execute there and passes on.
    static void Execute(int AVardiyaID);

    // Stores the shift and loads it at once.
    void SetVardiyaID(int AVardiyaID);
    // The receipt of the selected data row, 0 when none.
    int SelectedFisID() const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void RefreshData();
    void ArrangeLayout();
    void OpenSelectedReceipt();
    void btnCloseClick();
    void btnRefreshClick();
    void btnDetailClick();
    void btnPrintReportClick();
    void ClearFigures();

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblVardiya;
    QLabel* lblVardiyaValue;
    QLabel* lblKasiyer;
    QLabel* lblKasiyerValue;
    QLabel* lblAcilis;
    QLabel* lblAcilisValue;
    QWidget* pnlSummary;
    QList<QWidget*> FCards;
    QList<QLabel*> FCardTitles;
    QList<QLabel*> FCardValues;
    QTableView* gridSales;
    TReportGridModel* FModel;
    QLabel* lblHint;
    TPOSButton* btnDetail;
    TPOSButton* btnPrintReport;
    TPOSButton* btnRefresh;
    TPOSButton* btnClose;
    int FVardiyaID = -1;
};
