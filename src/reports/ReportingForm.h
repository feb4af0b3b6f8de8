#pragma once

#include "reports/SalesReporting.h"
#include "ui/BaseWindow.h"

class QChart;
class QChartView;
class QDateEdit;
class QLabel;
class QTabWidget;
class QTableView;
class TPOSButton;
class TReportGridModel;

// The back-office view of the session's branch over a range of days: the net turnover of each
// day as bars, the shifts that touched the range with their takings inside it, and every
// receipt of the range; a shift's Z report opens from the list.
class TfrmReporting : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmReporting(QWidget* parent = nullptr);

    static void Execute();

    // What the chart shows, day by day, after the last load.
    const QList<TDayTurnover>& ChartDays() const { return FDays; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void LoadShifts();
    void LoadSales();
    void ShowLatestSummary();
    void ShowChart();
    void FitGrids();
    void ArrangeLayout();
    bool ReadNextSalesPage(TReportGridModel& model);
    void btnFilterClick();
    void btnPrintZClick();
    void btnCloseClick();
    void gridSalesDblClick();
    TReportRange Range() const;

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblDateRange;
    QDateEdit* dtpStart;
    QDateEdit* dtpEnd;
    TPOSButton* btnFilter;
    QLabel* lblNetNakitTitle;
    QLabel* lblNetNakitValue;
    QLabel* lblNetKartTitle;
    QLabel* lblNetKartValue;
    QLabel* lblBeklenenTitle;
    QLabel* lblBeklenenValue;
    QLabel* lblDurumTitle;
    QLabel* lblDurumValue;
    QChartView* chtTurnover;
    QTabWidget* pgcReports;
    QTableView* gridVardiya;
    QTableView* gridSales;
    TReportGridModel* FShifts;
    TReportGridModel* FSales;
    TPOSButton* btnPrintZ;
    TPOSButton* btnClose;
    QList<TReportingShiftRow> FShiftRows;
    QList<TDayTurnover> FDays;
    TSalesPage FLastPage;
    TReportRange FLoadedRange;
    int FLoadedSubeID = 0;
};
