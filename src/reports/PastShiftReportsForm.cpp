#include "reports/PastShiftReportsForm.h"

#include "core/Clock.h"
#include "core/Exceptions.h"
#include "core/SessionManager.h"
#include "printing/PrintService.h"
#include "reports/PastShiftReports.h"
#include "reports/ReportGrid.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"
#include "ui/WaitCursor.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

namespace {
constexpr int kClientWidth = 1120;
constexpr int kClientHeight = 815;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 128;
constexpr int kFooterHeight = 76;
constexpr int kDashboardHeight = 112;

const QList<int> kShiftWeights{0, 122, 112, 122, 112, 220, 86, 64, 120, 130};
const QList<int> kSalesWeights{0, 158, 126, 86, 92, 70, 122, 98, 100, 138};

const QString kSalesTitle = QStringLiteral("Seçili Vardiya Satışları");
const QString kShiftHint = QStringLiteral("Vardiya satışlarını görmek için satıra tek tıklayın.");

QStringList ShiftHeaders()
{
    return {QStringLiteral("ID"),
            QStringLiteral("Açılış Tarihi"),
            QStringLiteral("Açılış Saati"),
            QStringLiteral("Kapanış Tarihi"),
            QStringLiteral("Kapanış Saati"),
            QStringLiteral("Kasiyer"),
            QStringLiteral("Durum"),
            QStringLiteral("Fiş"),
            QStringLiteral("Açılış Tutarı"),
            QStringLiteral("Net Ciro")};
}

QStringList SalesHeaders()
{
    return {QStringLiteral("Fiş ID"),      QStringLiteral("Tarih-Saat"), QStringLiteral("Fiş No"),
            QStringLiteral("Durum"),       QStringLiteral("Ödeme"),      QStringLiteral("Ürün"),
            QStringLiteral("Ara Toplam"),  QStringLiteral("KDV"),        QStringLiteral("İndirim"),
            QStringLiteral("Genel Toplam")};
}

QLabel* Caption(QWidget* header, const char* name, const QString& text)
{
    QLabel* label = TPOSUITheme::CreateLabel(header, name, 10, true, POSPalette::HeaderText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QDateEdit* DatePicker(QWidget* frame, const char* name)
{
    auto* picker = new QDateEdit(frame);
    picker->setObjectName(QLatin1String(name));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    TPOSUITheme::StyleDatePicker(picker);
    return picker;
}

QWidget* RoundFrame(QWidget* parent, const char* name, int radius, TRoundShape*& shape)
{
    auto* frame = new QWidget(parent);
    frame->setObjectName(QLatin1String(name));
    TPOSUITheme::StyleRoundFrame(frame, radius);
    shape = new TRoundShape(frame);
    TPOSUITheme::StyleRoundShape(shape);
    return frame;
}

bool IsEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

int SubeID()
{
    return TSessionManager::Instance().GetSessionInfo().SubeID;
}
} // namespace

TfrmPastShiftReports::TfrmPastShiftReports(QWidget* parent)
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
    , lblDateRange(Caption(Header(), "lblDateRange", QStringLiteral("Tarih Aralığı")))
    , lblStart(Caption(Header(), "lblStart", QStringLiteral("Başlangıç")))
    , lblEnd(Caption(Header(), "lblEnd", QStringLiteral("Bitiş")))
    , pnlStartDateFrame(new QWidget(Header()))
    , pnlEndDateFrame(new QWidget(Header()))
    , dtpStart(DatePicker(pnlStartDateFrame, "dtpStart"))
    , dtpEnd(DatePicker(pnlEndDateFrame, "dtpEnd"))
    , btnFilter(
          CreateButton(Header(), "btnFilter", QString(), TGlyph::Search, TButtonVariant::Default))
    , pnlDashboard(new QWidget(Content()))
    , pnlShifts(new QWidget(Content()))
    , lblShiftsTitle(
          TPOSUITheme::CreateLabel(pnlShifts, "lblShiftsTitle", 11, true, POSPalette::Header))
    , pnlShiftsFrame(RoundFrame(pnlShifts, "pnlShiftsFrame", 8, shpShifts))
    , gridShifts(new QTableView(pnlShiftsFrame))
    , pnlSales(new QWidget(Content()))
    , lblSalesTitle(
          TPOSUITheme::CreateLabel(pnlSales, "lblSalesTitle", 11, true, POSPalette::Header))
    , pnlSalesFrame(RoundFrame(pnlSales, "pnlSalesFrame", 8, shpSales))
    , gridSales(new QTableView(pnlSalesFrame))
    , FShifts(new TReportGridModel(ShiftHeaders(), this))
    , FSales(new TReportGridModel(SalesHeaders(), this))
    , lblHint(TPOSUITheme::CreateLabel(Footer(), "lblHint", 9, false, POSPalette::CaptionText))
    , btnPrint(CreateButton(Footer(), "btnPrint", QStringLiteral("Döküm Al"), TGlyph::Print,
                            TButtonVariant::Primary))
    , btnClose(CreateButton(Footer(), "btnClose", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

TfrmPastShiftReports::TCard TfrmPastShiftReports::MakeCard(const char* name, const QString& title,
                                                           const QColor& accent,
                                                           const QColor& valueColor)
{
    TCard card;
    card.Panel = new QWidget(pnlDashboard);
    card.Panel->setObjectName(QLatin1String(name));
    TPOSUITheme::FillBackground(card.Panel, POSPalette::Body);
    card.Box = new TRoundShape(card.Panel);
    card.Box->SetShape(POSPalette::Content, POSPalette::FrameLight, 1, 8);
    card.Stripe = new TRoundShape(card.Panel);
    card.Stripe->SetShape(accent, accent, 1, 2);
    const QString base = QLatin1String(name).mid(3);
    card.Title =
        TPOSUITheme::CreateStyledLabel(card.Panel, "lbl" + base + "Title", title,
                                       TPOSUITheme::SemiboldFont(9, true), POSPalette::CardTitle);
    card.Value =
        TPOSUITheme::CreateStyledLabel(card.Panel, "lbl" + base + "Value", QStringLiteral("-"),
                                       TPOSUITheme::SemiboldFont(16, true), valueColor);
    return card;
}

void TfrmPastShiftReports::FormCreate()
{
    FSelectedVardiyaID = 0;
    setObjectName(QStringLiteral("frmPastShiftReports"));
    setWindowTitle(QStringLiteral("Geçmiş Vardiya Raporları"));
    lblTitle->setText(QStringLiteral("GEÇMİŞ VARDİYE RAPORLARI"));
    lblTitle->setGeometry(24, 12, 700, 34);
    lblSubTitle->setText(
        QStringLiteral("Bu şubeye ait vardiyaları ve seçili vardiyanın satışlarını listeler."));
    lblSubTitle->setGeometry(26, 46, 800, 22);
    lblDateRange->setGeometry(24, 81, 100, 32);
    lblStart->setGeometry(124, 81, 70, 32);
    lblEnd->setGeometry(372, 81, 44, 32);
    pnlStartDateFrame->setObjectName(QStringLiteral("pnlStartDateFrame"));
    pnlEndDateFrame->setObjectName(QStringLiteral("pnlEndDateFrame"));
    for (QWidget* frame : {pnlStartDateFrame, pnlEndDateFrame}) {
        TPOSUITheme::StyleRoundFrame(frame, 7);
        TPOSUITheme::StyleRoundShape(new TRoundShape(frame));
    }
    TPOSUITheme::StyleHeaderButton(btnFilter, QStringLiteral("Sorgula"), TGlyph::Search);

    TPOSUITheme::FillBackground(Content(), POSPalette::Body);
    pnlDashboard->setObjectName(QStringLiteral("pnlDashboard"));
    TPOSUITheme::FillBackground(pnlDashboard, POSPalette::Body);
    FCards << MakeCard("pnlCount", QStringLiteral("Fiş Sayısı"), POSPalette::CardAccentCount,
                       POSPalette::Header)
           << MakeCard("pnlCash", QStringLiteral("Nakit"), POSPalette::CardAccentCash,
                       POSPalette::Header)
           << MakeCard("pnlCard", QStringLiteral("Kredi Kartı"), POSPalette::CardAccentCard,
                       POSPalette::Header)
           << MakeCard("pnlRefund", QStringLiteral("İade"), POSPalette::CardAccentRefund,
                       POSPalette::CardAccentRefund)
           << MakeCard("pnlTotal", QStringLiteral("Toplam"), POSPalette::CardAccentTotal,
                       POSPalette::CardAccentTotal);

    pnlShifts->setObjectName(QStringLiteral("pnlShifts"));
    pnlSales->setObjectName(QStringLiteral("pnlSales"));
    for (QWidget* panel : {pnlShifts, pnlSales})
        TPOSUITheme::FillBackground(panel, POSPalette::Body);
    lblShiftsTitle->setText(QStringLiteral("Vardiyalar"));
    lblSalesTitle->setText(kSalesTitle);
    gridShifts->setObjectName(QStringLiteral("gridShifts"));
    gridSales->setObjectName(QStringLiteral("gridSales"));
    SetUpReportGrid(gridShifts, FShifts, {7, 8, 9});
    SetUpReportGrid(gridSales, FSales, {5, 6, 7, 8, 9});
    gridShifts->installEventFilter(this);
    gridSales->installEventFilter(this);
    GuardedConnect(gridShifts, &QTableView::clicked, this, &TfrmPastShiftReports::gridShiftsClick);
    GuardedConnect(gridSales, &QTableView::doubleClicked, this,
                   &TfrmPastShiftReports::OpenSelectedReceipt);

    lblHint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblHint->setWordWrap(true);
    lblHint->setText(kShiftHint);
    GuardedConnect(btnFilter, &QPushButton::clicked, this, &TfrmPastShiftReports::btnFilterClick);
    GuardedConnect(btnPrint, &QPushButton::clicked, this, &TfrmPastShiftReports::btnPrintClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, &TfrmPastShiftReports::btnCloseClick);

    const QDate today = TClock::Today();
    dtpStart->setDate(today.addDays(-7));
    dtpEnd->setDate(today);
    btnPrint->setEnabled(false);
    ArrangeLayout();
    LoadShifts();
}

void TfrmPastShiftReports::Execute()
{
    TfrmPastShiftReports form(DialogOwner());
    form.ShowModal();
}

void TfrmPastShiftReports::ArrangeListPanel(QWidget* panel, QLabel* title, QWidget* frame,
                                            TRoundShape* shape, QTableView* grid)
{
    title->setGeometry(24, 10, panel->width() - 48, 24);
    frame->setGeometry(8, 42, std::max(0, panel->width() - 16), std::max(0, panel->height() - 50));
    shape->setGeometry(0, 0, frame->width(), frame->height());
    grid->setGeometry(4, 4, std::max(0, frame->width() - 8), std::max(0, frame->height() - 8));
}

void TfrmPastShiftReports::ArrangeLayout()
{
    pnlStartDateFrame->setGeometry(198, 81, 160, 32);
    pnlEndDateFrame->setGeometry(420, 81, 160, 32);
    for (QWidget* frame : {pnlStartDateFrame, pnlEndDateFrame}) {
        for (TRoundShape* shape : frame->findChildren<TRoundShape*>())
            shape->setGeometry(0, 0, frame->width(), frame->height());
    }
    dtpStart->setGeometry(4, 3, 152, 26);
    dtpEnd->setGeometry(4, 3, 152, 26);
    btnFilter->setGeometry(pnlEndDateFrame->geometry().right() + 1 + 14,
                           pnlStartDateFrame->y() + (pnlStartDateFrame->height() - 40) / 2, 116,
                           40);

    const int bodyWidth = Content()->width();
    const int bodyHeight = Content()->height();
    pnlDashboard->setGeometry(0, 0, bodyWidth, kDashboardHeight);
    const int cardWidth = std::max(140, (pnlDashboard->width() - 96) / 5);
    for (int i = 0; i < FCards.size(); ++i) {
        const TCard& c = FCards.at(i);
        c.Panel->setGeometry(24 + i * (cardWidth + 12), 15, cardWidth, 82);
        c.Box->setGeometry(0, 0, cardWidth, 82);
        c.Stripe->setGeometry(0, 12, 5, std::max(18, 82 - 24));
        c.Title->setGeometry(22, 14, cardWidth - 36, 20);
        c.Value->setGeometry(22, 39, cardWidth - 36, 32);
    }
    const int b = bodyHeight - kDashboardHeight;
    int shiftsHeight = std::min(std::max(260, (b - 14) * 3 / 5), b - 164);
    if (shiftsHeight <= 169)
        shiftsHeight = (b - 14) / 2;
    pnlShifts->setGeometry(0, kDashboardHeight, bodyWidth, shiftsHeight);
    pnlSales->setGeometry(0, kDashboardHeight + shiftsHeight, bodyWidth, b - shiftsHeight);
    ArrangeListPanel(pnlShifts, lblShiftsTitle, pnlShiftsFrame, shpShifts, gridShifts);
    ArrangeListPanel(pnlSales, lblSalesTitle, pnlSalesFrame, shpSales, gridSales);

    const int footerWidth = Footer()->width();
    btnClose->setGeometry(footerWidth - 148, 18, 124, 40);
    btnPrint->setGeometry(btnClose->x() - 152, 18, 140, 40);
    lblHint->setGeometry(24, 0, std::max(0, btnPrint->x() - 12 - 24), kFooterHeight);
    FitGrids();
}

void TfrmPastShiftReports::FitGrids()
{
    for (auto [grid, weights] :
         {std::pair{gridShifts, kShiftWeights}, {gridSales, kSalesWeights}}) {
        const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        ApplyColumnWidths(grid, grid->width() - 2 * grid->frameWidth() - scrollBar - 6, weights);
    }
}

void TfrmPastShiftReports::ClearSelection()
{
    FSales->SetRows({});
    FSelectedVardiyaID = 0;
    btnPrint->setEnabled(false);
    lblSalesTitle->setText(kSalesTitle);
    for (const TCard& card : FCards)
        card.Value->setText(QStringLiteral("-"));
}

void TfrmPastShiftReports::LoadShifts()
{
    if (dtpEnd->date() < dtpStart->date()) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Uyarı"),
                                     QStringLiteral("Bitiş tarihi başlangıç tarihinden küçük "
                                                    "olamaz."),
                                     dtWarning);
        return;
    }
    const TWaitCursor wait;
    FShifts->SetRows({});
    ClearSelection();
    lblHint->setText(kShiftHint);
    QList<QStringList> rows;
    for (const TPastShiftRow& shift :
         TPastShiftReports::LoadShifts(SubeID(), dtpStart->date(), dtpEnd->date()))
        rows << shift.Cells();
    FShifts->SetRows(rows);
    if (rows.isEmpty()) {
        lblHint->setText(
            QStringLiteral("Seçili tarih aralığında bu şubeye ait vardiya bulunamadı."));
    } else {
        SelectFirstRow(gridShifts);
        lblHint->setText(QString::number(rows.size()) +
                         QStringLiteral(" vardiya listelendi. Satışlar için satıra tek tıklayın."));
        SelectShift(FShifts->CellInt(0, 0));
    }
    FitGrids();
}

void TfrmPastShiftReports::SelectShift(int VardiyaID)
{
    ClearSelection();
    if (VardiyaID <= 0)
        return;
    const TWaitCursor wait;
    FSelectedVardiyaID = VardiyaID;
    lblSalesTitle->setText(QStringLiteral("Vardiya #") + QString::number(VardiyaID) +
                           QStringLiteral(" Satışları"));
    LoadShiftTotals(VardiyaID);
    QList<QStringList> rows;
    for (const TReportReceipt& receipt : TPastShiftReports::LoadReceipts(VardiyaID, SubeID()))
        rows << TReceiptListText::GridCells(receipt);
    FSales->SetRows(rows);
    if (rows.isEmpty()) {
        lblHint->setText(QStringLiteral("Seçili vardiyada satış bulunamadı."));
    } else {
        SelectFirstRow(gridSales);
        lblHint->setText(
            QString::number(rows.size()) +
            QStringLiteral(" satış listelendi. Fiş detayı için satıra çift tıklayabilirsiniz."));
    }
    btnPrint->setEnabled(true);
    FitGrids();
}

void TfrmPastShiftReports::LoadShiftTotals(int VardiyaID)
{
    for (const TCard& card : FCards)
        card.Value->setText(QStringLiteral("-"));
    const auto totals = TPastShiftReports::LoadShiftTotals(VardiyaID, SubeID());
    if (!totals)
        return;
    FCards.at(0).Value->setText(QString::number(totals->FisSayisi));
    FCards.at(1).Value->setText(TReportText::Money(totals->Nakit));
    FCards.at(2).Value->setText(TReportText::Money(totals->Kart));
    FCards.at(3).Value->setText(TReportText::Money(totals->Iade));
    FCards.at(4).Value->setText(TReportText::Money(totals->Toplam()));
}

bool TfrmPastShiftReports::PrintListing(const QStringList& Lines)
{
    try {
        return TPrintService::PrintLandscapeListing(Lines, QStringLiteral("Geçmiş Vardiya Dökümü"));
    } catch (const std::exception& e) {
        if (TPrintService::IsPrintCancellation(ErrorMessage(e)))
            return false;
        throw;
    }
}

bool TfrmPastShiftReports::PrintSelectedShift()
{
    int vardiyaID = FSelectedVardiyaID;
    if (vardiyaID <= 0)
        vardiyaID = FShifts->CellInt(SelectedDataRow(gridShifts), 0);
    if (vardiyaID <= 0) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Uyarı"),
                                     QStringLiteral("Lütfen döküm alınacak vardiyayı seçin."),
                                     dtWarning);
        return false;
    }
    const TWaitCursor wait;
    return PrintListing(TPastShiftReports::BuildShiftListing(vardiyaID, SubeID(), TClock::Now()));
}

void TfrmPastShiftReports::btnPrintClick()
{
    const bool selected =
        FSelectedVardiyaID > 0 || FShifts->CellInt(SelectedDataRow(gridShifts), 0) > 0;
    try {
        if (PrintSelectedShift())
            TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"),
                                         QStringLiteral("Vardiya dökümü yazdırıldı."), dtInfo);
        else if (selected)
            lblHint->setText(QStringLiteral("Yazdırma iptal edildi."));
    } catch (const std::exception& e) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"),
                                     QStringLiteral("Vardiya dökümü alınamadı: ") + ErrorMessage(e),
                                     dtError);
    }
}

void TfrmPastShiftReports::OpenSelectedReceipt()
{
    OpenReceiptViewer(FSales->CellInt(SelectedDataRow(gridSales), 0));
}

void TfrmPastShiftReports::gridShiftsClick(const QModelIndex& index)
{
    const int vardiyaID = FShifts->CellInt(index.row(), 0);
    if (vardiyaID > 0)
        SelectShift(vardiyaID);
}

void TfrmPastShiftReports::btnFilterClick()
{
    LoadShifts();
}

void TfrmPastShiftReports::btnCloseClick()
{
    close();
}

void TfrmPastShiftReports::FormShow()
{
    CentreOnOwner();
    ArrangeLayout();
    gridShifts->setFocus();
}

void TfrmPastShiftReports::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    FormShow();
}

void TfrmPastShiftReports::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    ArrangeLayout();
}

void TfrmPastShiftReports::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    if (event->key() == Qt::Key_F5) {
        event->accept();
        CallGuarded([this] { LoadShifts(); });
        return;
    }
    TBaseWindow::keyPressEvent(event);
}

bool TfrmPastShiftReports::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == gridShifts && IsEnter(event)) {
        CallGuarded([this] { SelectShift(FShifts->CellInt(SelectedDataRow(gridShifts), 0)); });
        return true;
    }
    if (watched == gridSales && IsEnter(event)) {
        CallGuarded([this] { OpenSelectedReceipt(); });
        return true;
    }
    return TBaseWindow::eventFilter(watched, event);
}
