#include "reports/ReportingForm.h"

#include "core/Clock.h"
#include "core/SessionManager.h"
#include "reports/ReportGrid.h"
#include "shifts/ShiftReport.h"
#include "shifts/ZReportPreviewForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"
#include "ui/WaitCursor.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <QValueAxis>

#include <cmath>

namespace {
constexpr int kClientWidth = 1084;
constexpr int kClientHeight = 657;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 132;
constexpr int kFooterHeight = 72;
constexpr int kPadding = 16;
constexpr int kSummaryWidth = 236;
constexpr int kChartHeight = 156;
// Beyond this many days the bars are too narrow for a date under each.
constexpr int kLabelledDays = 16;

const QList<int> kShiftWeights{54, 116, 132, 146, 132, 84, 78, 102, 96, 78};
const QList<int> kSalesWeights{62, 104, 132, 170, 96, 86, 74, 124};

QStringList ShiftHeaders()
{
    return {QStringLiteral("ID"),
            QStringLiteral("Açılış Zamanı"),
            QStringLiteral("Kapanış Zamanı"),
            QStringLiteral("Kasiyer"),
            QStringLiteral("Beklenen (Nakit)"),
            QStringLiteral("Sayılan"),
            QStringLiteral("Fark"),
            QStringLiteral("Net Nakit"),
            QStringLiteral("Net Kart"),
            QStringLiteral("Durum")};
}

QStringList SalesHeaders()
{
    return {QStringLiteral("Fiş ID"),  QStringLiteral("Fiş No"), QStringLiteral("Tarih"),
            QStringLiteral("Kasiyer"), QStringLiteral("Ödeme"),  QStringLiteral("Durum"),
            QStringLiteral("Vardiya"), QStringLiteral("Toplam")};
}

QDateEdit* DatePicker(QWidget* parent, const char* name)
{
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(QLatin1String(name));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    TPOSUITheme::StyleDatePicker(picker);
    return picker;
}

QLabel* SummaryLabel(QWidget* parent, const char* name, bool value, const QColor& color)
{
    return TPOSUITheme::CreateLabel(parent, name, value ? 12 : 10, value, color);
}

// Before the first sharing each column is as wide as its bold title plus 26, within 52..280.
void HeaderWidths(QTableView* grid)
{
    QFont bold = grid->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (int col = 0; col < grid->model()->columnCount(); ++col) {
        const QString title = grid->model()->headerData(col, Qt::Horizontal).toString();
        grid->setColumnWidth(col, std::clamp(metrics.horizontalAdvance(title) + 26, 52, 280));
    }
}

void FitGrid(QTableView* grid, const QList<int>& weights)
{
    const int columns = int(weights.size());
    ApplyColumnWidths(grid, grid->viewport()->width() - (columns + 1) - 2, weights);
}

int SubeID()
{
    return TSessionManager::Instance().GetSessionInfo().SubeID;
}
} // namespace

TfrmReporting::TfrmReporting(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlMain",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(CreateScreenTitle("lblTitle"))
    , lblSubTitle(CreateSubTitle("lblSubTitle"))
    , lblDateRange(
          TPOSUITheme::CreateLabel(Header(), "lblDateRange", 10, true, POSPalette::HeaderText))
    , dtpStart(DatePicker(Header(), "dtpStart"))
    , dtpEnd(DatePicker(Header(), "dtpEnd"))
    , btnFilter(
          CreateButton(Header(), "btnFilter", QString(), TGlyph::Search, TButtonVariant::Default))
    , lblNetNakitTitle(SummaryLabel(Content(), "lblNetNakitTitle", false, POSPalette::CardTitle))
    , lblNetNakitValue(SummaryLabel(Content(), "lblNetNakitValue", true, POSPalette::CashFigure))
    , lblNetKartTitle(SummaryLabel(Content(), "lblNetKartTitle", false, POSPalette::CardTitle))
    , lblNetKartValue(SummaryLabel(Content(), "lblNetKartValue", true, POSPalette::Header))
    , lblBeklenenTitle(SummaryLabel(Content(), "lblBeklenenTitle", false, POSPalette::CardTitle))
    , lblBeklenenValue(SummaryLabel(Content(), "lblBeklenenValue", true, POSPalette::Header))
    , lblDurumTitle(SummaryLabel(Content(), "lblDurumTitle", false, POSPalette::CardTitle))
    , lblDurumValue(SummaryLabel(Content(), "lblDurumValue", true, POSPalette::Header))
    , chtTurnover(new QChartView(Content()))
    , pgcReports(new QTabWidget(Content()))
    , gridVardiya(new QTableView)
    , gridSales(new QTableView)
    , FShifts(new TReportGridModel(ShiftHeaders(), this))
    , FSales(new TReportGridModel(SalesHeaders(), this))
    , btnPrintZ(CreateButton(Footer(), "btnPrintZ", QStringLiteral("Z-Raporu Yazdır"),
                             TGlyph::Print, TButtonVariant::Default))
    , btnClose(CreateButton(Footer(), "btnClose", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmReporting::FormCreate()
{
    setObjectName(QStringLiteral("frmReporting"));
    setWindowTitle(QStringLiteral("KIRVELO - Raporlama ve Vardiya Geçmişi"));
    lblTitle->setText(QStringLiteral("Raporlama ve Vardiya Geçmişi"));
    lblTitle->setGeometry(24, 14, 700, 34);
    lblSubTitle->setText(QStringLiteral("Vardiya özetleri ve satış detayları"));
    lblSubTitle->setGeometry(26, 48, 700, 22);
    lblDateRange->setText(QStringLiteral("Tarih Aralığı"));
    lblDateRange->setGeometry(24, 86, 104, 32);
    dtpStart->setGeometry(132, 86, 130, 32);
    dtpEnd->setGeometry(272, 86, 130, 32);
    TPOSUITheme::StyleHeaderButton(btnFilter, QStringLiteral("Listele"), TGlyph::Search);
    btnFilter->setGeometry(dtpEnd->x() + dtpEnd->width() + 14,
                           dtpStart->y() + (dtpStart->height() - 40) / 2, 124, 40);

    for (auto [title, text] : {std::pair{lblNetNakitTitle, u"Net Nakit"},
                               {lblNetKartTitle, u"Net Kart"},
                               {lblBeklenenTitle, u"Beklenen"},
                               {lblDurumTitle, u"Durum"}})
        title->setText(QString::fromUtf16(text));

    chtTurnover->setObjectName(QStringLiteral("chtTurnover"));
    chtTurnover->setRenderHint(QPainter::Antialiasing);
    chtTurnover->setFrameShape(QFrame::NoFrame);

    pgcReports->setObjectName(QStringLiteral("pgcReports"));
    gridVardiya->setObjectName(QStringLiteral("gridVardiya"));
    gridSales->setObjectName(QStringLiteral("gridSales"));
    pgcReports->addTab(gridVardiya, QStringLiteral("Vardiya Özeti"));
    pgcReports->addTab(gridSales, QStringLiteral("Satış Detay"));
    pgcReports->widget(0)->setObjectName(QStringLiteral("gridVardiya"));
    SetUpReportGrid(gridVardiya, FShifts, {4, 5, 6, 7, 8});
    SetUpReportGrid(gridSales, FSales, {6, 7});
    HeaderWidths(gridVardiya);
    HeaderWidths(gridSales);
    GuardedConnect(gridSales, &QTableView::doubleClicked, this, &TfrmReporting::gridSalesDblClick);

    GuardedConnect(btnFilter, &QPushButton::clicked, this, &TfrmReporting::btnFilterClick);
    GuardedConnect(btnPrintZ, &QPushButton::clicked, this, &TfrmReporting::btnPrintZClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, &TfrmReporting::btnCloseClick);
    btnPrintZ->setGeometry(24, (kFooterHeight - 40) / 2, 180, 40);
    btnClose->setGeometry(kClientWidth - 24 - 124, (kFooterHeight - 40) / 2, 124, 40);

    const QDate today = TClock::Today();
    dtpStart->setDate(today.addDays(-7));
    dtpEnd->setDate(today);
    ArrangeLayout();
    LoadShifts();
}

void TfrmReporting::Execute()
{
    TfrmReporting form(DialogOwner());
    form.ShowModal();
}

TReportRange TfrmReporting::Range() const
{
    return TReportRange::Days(dtpStart->date(), dtpEnd->date());
}

void TfrmReporting::ArrangeLayout()
{
    const int width = Content()->width() - 2 * kPadding;
    const QList<QPair<QLabel*, QLabel*>> pairs{{lblNetNakitTitle, lblNetNakitValue},
                                               {lblNetKartTitle, lblNetKartValue},
                                               {lblBeklenenTitle, lblBeklenenValue},
                                               {lblDurumTitle, lblDurumValue}};
    const int pairHeight = kChartHeight / int(pairs.size());
    for (int i = 0; i < pairs.size(); ++i) {
        const int y = kPadding + i * pairHeight;
        pairs.at(i).first->setGeometry(kPadding, y, 90, pairHeight);
        pairs.at(i).second->setGeometry(kPadding + 90, y, kSummaryWidth - 90, pairHeight);
    }
    chtTurnover->setGeometry(kPadding + kSummaryWidth, kPadding - 6, width - kSummaryWidth,
                             kChartHeight + 6);
    const int tabsTop = kPadding + kChartHeight + 8;
    pgcReports->setGeometry(kPadding, tabsTop, width, Content()->height() - tabsTop - kPadding);
    btnClose->move(Footer()->width() - 24 - btnClose->width(), btnClose->y());
    FitGrids();
}

void TfrmReporting::FitGrids()
{
    FitGrid(gridVardiya, kShiftWeights);
    FitGrid(gridSales, kSalesWeights);
}

void TfrmReporting::LoadShifts()
{
    const TWaitCursor wait;
    const TReportingShifts loaded = TSalesReporting::LoadShifts(Range(), SubeID());
    FShiftRows = loaded.Shifts;
    FShifts->SetRowMaker(int(FShiftRows.size()),
                         [this](int row) { return FShiftRows.at(row).Cells(); });
    SelectFirstRow(gridVardiya);
    FDays = loaded.Days;
    FitGrids();
    ShowLatestSummary();
    ShowChart();
    LoadSales();
}

void TfrmReporting::ShowLatestSummary()
{
    const bool any = !FShifts->Cell(0, 0).trimmed().isEmpty();
    const auto cell = [&](int col) {
        return any ? FShifts->Cell(0, col) : QStringLiteral("-");
    };
    lblBeklenenValue->setText(cell(4));
    lblNetNakitValue->setText(cell(7));
    lblNetKartValue->setText(cell(8));
    lblDurumValue->setText(cell(9));
}

void TfrmReporting::ShowChart()
{
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundVisible(false);
    chart->setMargins(QMargins(4, 4, 4, 4));
    QFont titleFont = TPOSUITheme::SemiboldFont(9, true);
    chart->setTitleFont(titleFont);
    chart->setTitleBrush(POSPalette::Header);
    const QString first = FDays.isEmpty() ? QString() : FDays.first().Gun.toString("dd.MM.yyyy");
    const QString last = FDays.isEmpty() ? QString() : FDays.last().Gun.toString("dd.MM.yyyy");
    chart->setTitle(QStringLiteral("Günlük Net Ciro  ") + first + QStringLiteral(" – ") + last);

    // A day's bar rises in navy, or falls in red when its refunds outweigh its takings: two
    // stacked sets, one of them 0 on every day; the red one only when such a day exists.
    auto* rising = new QBarSet(QStringLiteral("Net Ciro"));
    auto* falling = new QBarSet(QStringLiteral("Net Ciro"));
    rising->setColor(POSPalette::ChartBar);
    rising->setBorderColor(POSPalette::ChartBar);
    falling->setColor(POSPalette::ChartBarNegative);
    falling->setBorderColor(POSPalette::ChartBarNegative);
    QStringList days;
    double low = 0;
    double high = 0;
    for (const TDayTurnover& day : FDays) {
        rising->append(std::max(0.0, day.NetCiro));
        falling->append(std::min(0.0, day.NetCiro));
        days << day.Gun.toString(QStringLiteral("dd.MM"));
        low = std::min(low, day.NetCiro);
        high = std::max(high, day.NetCiro);
    }
    auto* series = new QStackedBarSeries;
    series->append(rising);
    if (low < 0)
        series->append(falling);
    else
        delete falling;
    series->setBarWidth(0.8);
    chart->addSeries(series);

    auto* axisX = new QBarCategoryAxis;
    axisX->append(days);
    axisX->setLabelsVisible(days.size() <= kLabelledDays);
    axisX->setLabelsFont(TPOSUITheme::TextFont(7));
    axisX->setLabelsBrush(POSPalette::ChartAxis);
    axisX->setGridLineVisible(false);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);

    auto* axisY = new QValueAxis;
    axisY->setRange(low, high > low ? high : low + 1);
    axisY->applyNiceNumbers();
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    axisY->setLabelsFont(TPOSUITheme::TextFont(7));
    axisY->setLabelsBrush(POSPalette::ChartAxis);
    axisY->setGridLineColor(POSPalette::ChartGrid);
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);

    const QList<TDayTurnover> shown = FDays;
    connect(series, &QAbstractBarSeries::hovered, chart, [shown](bool status, int index) {
        if (!status || index < 0 || index >= shown.size()) {
            QToolTip::hideText();
            return;
        }
        QToolTip::showText(QCursor::pos(), shown.at(index).Gun.toString("dd.MM.yyyy") +
                                               QStringLiteral("  ") +
                                               TReportText::Money(shown.at(index).NetCiro));
    });
    QChart* old = chtTurnover->chart();
    chtTurnover->setChart(chart);
    delete old;
}

void TfrmReporting::LoadSales()
{
    const TWaitCursor wait;
    FLoadedRange = Range();
    FLoadedSubeID = SubeID();
    FLastPage = TSalesReporting::LoadSalesPage(FLoadedRange, FLoadedSubeID, nullptr);
    QList<QStringList> rows;
    rows.reserve(FLastPage.Rows.size());
    for (const TReportingSaleRow& sale : FLastPage.Rows)
        rows << sale.Cells();
    FSales->SetFirstPage(rows, FLastPage.More,
                         [this](TReportGridModel& model) { return ReadNextSalesPage(model); });
    FitGrids();
}

bool TfrmReporting::ReadNextSalesPage(TReportGridModel& model)
{
    const TWaitCursor wait;
    FLastPage = TSalesReporting::LoadSalesPage(FLoadedRange, FLoadedSubeID, &FLastPage);
    QList<QStringList> rows;
    rows.reserve(FLastPage.Rows.size());
    for (const TReportingSaleRow& sale : FLastPage.Rows)
        rows << sale.Cells();
    model.AppendRows(rows);
    return FLastPage.More;
}

void TfrmReporting::btnFilterClick()
{
    LoadShifts();
}

void TfrmReporting::btnPrintZClick()
{
    int row = SelectedDataRow(gridVardiya);
    if (row < 0)
        row = 0;
    const int vardiyaID = FShifts->CellInt(row, 0);
    if (vardiyaID > 0)
        TfrmZReportPreview::Execute(vardiyaID);
}

void TfrmReporting::btnCloseClick()
{
    close();
}

void TfrmReporting::gridSalesDblClick()
{
    OpenReceiptViewer(FSales->CellInt(SelectedDataRow(gridSales), 0));
}

void TfrmReporting::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    CentreOnScreen();
    ArrangeLayout();
    gridVardiya->setFocus();
}

void TfrmReporting::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    ArrangeLayout();
}
