#pragma once

#include "ui/BaseWindow.h"

class QDateEdit;
class QLabel;
class QTableView;
class TPOSButton;
class TReportGridModel;
class TRoundShape;

// The shifts of the session's branch opened in a date range, with every shift still open on
// top; the picked shift's five totals and receipts, and its printed listing in landscape.
class TfrmPastShiftReports : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmPastShiftReports(QWidget* parent = nullptr);

    static void Execute();

    int SelectedVardiyaID() const { return FSelectedVardiyaID; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TCard {
        QWidget* Panel;
        TRoundShape* Box;
        TRoundShape* Stripe;
        QLabel* Title;
        QLabel* Value;
    };

    void FormCreate();
    void FormShow();
    void ArrangeLayout();
    void ArrangeListPanel(QWidget* panel, QLabel* title, QWidget* frame, TRoundShape* shape,
                          QTableView* grid);
    void FitGrids();
    void LoadShifts();
    void SelectShift(int VardiyaID);
    void LoadShiftTotals(int VardiyaID);
    void ClearSelection();
    bool PrintListing(const QStringList& Lines);
    bool PrintSelectedShift();
    void OpenSelectedReceipt();
    void btnFilterClick();
    void btnPrintClick();
    void btnCloseClick();
    void gridShiftsClick(const QModelIndex& index);
    TCard MakeCard(const char* name, const QString& title, const QColor& accent,
                   const QColor& valueColor);

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblDateRange;
    QLabel* lblStart;
    QLabel* lblEnd;
    QWidget* pnlStartDateFrame;
    QWidget* pnlEndDateFrame;
    QDateEdit* dtpStart;
    QDateEdit* dtpEnd;
    TPOSButton* btnFilter;
    QWidget* pnlDashboard;
    QList<TCard> FCards;
    QWidget* pnlShifts;
    QLabel* lblShiftsTitle;
    QWidget* pnlShiftsFrame;
    TRoundShape* shpShifts;
    QTableView* gridShifts;
    QWidget* pnlSales;
    QLabel* lblSalesTitle;
    QWidget* pnlSalesFrame;
    TRoundShape* shpSales;
    QTableView* gridSales;
    TReportGridModel* FShifts;
    TReportGridModel* FSales;
    QLabel* lblHint;
    TPOSButton* btnPrint;
    TPOSButton* btnClose;
    int FSelectedVardiyaID = 0;
};
