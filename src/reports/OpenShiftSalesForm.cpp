#include "reports/OpenShiftSalesForm.h"

#include "reports/OpenShiftSales.h"
#include "reports/OpenShiftSalesReportForm.h"
#include "reports/ReportGrid.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/ReportPreviewParts.h"
#include "ui/SlotGuard.h"
#include "ui/WaitCursor.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTableView>

namespace {
constexpr int kClientWidth = 1080;
constexpr int kClientHeight = 680;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 116;
constexpr int kFooterHeight = 76;
constexpr int kSummaryHeight = 94;

const QList<int> kWeights{0, 168, 130, 94, 104, 82, 132, 104, 108, 150};
const QList<int> kRightAligned{5, 6, 7, 8, 9};

QLabel* HeaderLabel(QWidget* header, const char* name, const QColor& color)
{
    return TPOSUITheme::CreateLabel(header, name, 10, true, color);
}

QStringList Headers()
{
    return {QStringLiteral("Fiş ID"),      QStringLiteral("Tarih-Saat"), QStringLiteral("Fiş No"),
            QStringLiteral("Durum"),       QStringLiteral("Ödeme"),      QStringLiteral("Ürün"),
            QStringLiteral("Ara Toplam"),  QStringLiteral("KDV"),        QStringLiteral("İndirim"),
            QStringLiteral("Genel Toplam")};
}

bool IsEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}
} // namespace

TfrmOpenShiftSales::TfrmOpenShiftSales(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(CreateScreenTitle("lblTitle"))
    , lblSubTitle(CreateSubTitle("lblSubTitle"))
    , lblVardiya(HeaderLabel(Header(), "lblVardiya", POSPalette::HeaderText))
    , lblVardiyaValue(HeaderLabel(Header(), "lblVardiyaValue", POSPalette::HeaderFigure))
    , lblKasiyer(HeaderLabel(Header(), "lblKasiyer", POSPalette::HeaderText))
    , lblKasiyerValue(HeaderLabel(Header(), "lblKasiyerValue", POSPalette::HeaderFigure))
    , lblAcilis(HeaderLabel(Header(), "lblAcilis", POSPalette::HeaderText))
    , lblAcilisValue(HeaderLabel(Header(), "lblAcilisValue", POSPalette::HeaderFigure))
    , pnlSummary(new QWidget(Content()))
    , gridSales(new QTableView(Content()))
    , FModel(new TReportGridModel(Headers(), this))
    , lblHint(TPOSUITheme::CreateLabel(Footer(), "lblHint", 9, false, POSPalette::CaptionText))
    , btnDetail(CreateButton(Footer(), "btnDetail", QStringLiteral("Fiş Detayı"), TGlyph::Search,
                             TButtonVariant::Primary))
    , btnPrintReport(CreateButton(Footer(), "btnPrintReport", QStringLiteral("Yazdır"),
                                  TGlyph::Print, TButtonVariant::Default))
    , btnRefresh(CreateButton(Footer(), "btnRefresh", QStringLiteral("Yenile"), TGlyph::Clock,
                              TButtonVariant::Default))
    , btnClose(CreateButton(Footer(), "btnClose", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmOpenShiftSales::FormCreate()
{
    FVardiyaID = -1;
    setObjectName(QStringLiteral("frmOpenShiftSales"));
    setWindowTitle(QStringLiteral("Açık Vardiya Satışları"));
    lblTitle->setText(QStringLiteral("AÇIK VARDİYA SATIŞLARI"));
    lblTitle->setGeometry(24, 14, 700, 34);
    lblSubTitle->setText(
        QStringLiteral("Bu vardiyada kesilen fişler tarih-saat sırasına göre listelenir."));
    lblSubTitle->setGeometry(26, 48, 700, 22);
    ReportPreviewParts::PlaceCaptionPairs(
        {{lblVardiya, lblVardiyaValue, QStringLiteral("Vardiya:"), 26, 62, 90},
         {lblKasiyer, lblKasiyerValue, QStringLiteral("Kasiyer:"), 190, 62, 260},
         {lblAcilis, lblAcilisValue, QStringLiteral("Açılış:"), 526, 56, 200}});

    pnlSummary->setObjectName(QStringLiteral("pnlSummary"));
    TPOSUITheme::FillBackground(pnlSummary, POSPalette::Body);
    const struct {
        const char* Name;
        const char16_t* Title;
    } cards[] = {{"pnlCount", u"Fiş Sayısı"},
                 {"pnlCash", u"Nakit Satış"},
                 {"pnlCard", u"Kart Satış"},
                 {"pnlRefund", u"İade Toplamı"},
                 {"pnlNet", u"Net Ciro"}};
    for (const auto& c : cards) {
        auto* card = new QWidget(pnlSummary);
        card->setObjectName(QLatin1String(c.Name));
        TPOSUITheme::StyleLightPanel(card);
        const QString name = QLatin1String(c.Name).mid(3);
        QLabel* title = TPOSUITheme::CreateLabel(card, qPrintable("lbl" + name + "Title"), 9, true,
                                                 POSPalette::CardTitle);
        title->setText(QString::fromUtf16(c.Title));
        title->setAlignment(Qt::AlignCenter);
        QLabel* value = TPOSUITheme::CreateLabel(card, qPrintable("lbl" + name + "Value"), 14, true,
                                                 POSPalette::Header);
        value->setAlignment(Qt::AlignCenter);
        FCards << card;
        FCardTitles << title;
        FCardValues << value;
    }

    gridSales->setObjectName(QStringLiteral("gridSales"));
    SetUpReportGrid(gridSales, FModel, kRightAligned);
    gridSales->installEventFilter(this);
    GuardedConnect(gridSales, &QTableView::doubleClicked, this,
                   &TfrmOpenShiftSales::OpenSelectedReceipt);

    lblHint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblHint->setWordWrap(true);
    GuardedConnect(btnDetail, &QPushButton::clicked, this, &TfrmOpenShiftSales::btnDetailClick);
    GuardedConnect(btnPrintReport, &QPushButton::clicked, this,
                   &TfrmOpenShiftSales::btnPrintReportClick);
    GuardedConnect(btnRefresh, &QPushButton::clicked, this, &TfrmOpenShiftSales::btnRefreshClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, &TfrmOpenShiftSales::btnCloseClick);

    ClearFigures();
    ArrangeLayout();
}

void TfrmOpenShiftSales::Execute(int AVardiyaID)
{
    TfrmOpenShiftSales form(DialogOwner());
    form.SetVardiyaID(AVardiyaID);
    form.ShowModal();
}

void TfrmOpenShiftSales::SetVardiyaID(int AVardiyaID)
{
    FVardiyaID = AVardiyaID;
    RefreshData();
}

void TfrmOpenShiftSales::ClearFigures()
{
    FModel->SetRows({});
    for (QLabel* value : FCardValues)
        value->setText(QStringLiteral("-"));
    for (QLabel* value : {lblVardiyaValue, lblKasiyerValue, lblAcilisValue})
        value->setText(QStringLiteral("-"));
    lblHint->clear();
    btnDetail->setEnabled(false);
}

void TfrmOpenShiftSales::RefreshData()
{
    ClearFigures();
    if (FVardiyaID <= 0)
        return;
    const TWaitCursor wait;
    const TOpenShiftData shift = TOpenShiftSales::LoadShift(FVardiyaID);
    lblVardiyaValue->setText(QString::number(shift.VardiyaID));
    lblKasiyerValue->setText(shift.Kasiyer);
    lblAcilisValue->setText(TReportText::DateTime(shift.AcilisZamani));
    FCardValues.at(0)->setText(QString::number(shift.FisSayisi));
    FCardValues.at(1)->setText(TReportText::Money(shift.BrutNakit));
    FCardValues.at(2)->setText(TReportText::Money(shift.BrutKart));
    FCardValues.at(3)->setText(TReportText::Money(shift.IadeToplam));
    FCardValues.at(4)->setText(TReportText::Money(shift.NetCiro()));

    QList<QStringList> rows;
    for (const TReportReceipt& receipt : TOpenShiftSales::LoadReceipts(FVardiyaID))
        rows << TReceiptListText::GridCells(receipt);
    FModel->SetRows(rows);
    if (rows.isEmpty()) {
        lblHint->setText(QStringLiteral("Bu açık vardiyada henüz satış yok."));
        return;
    }
    SelectFirstRow(gridSales);
    btnDetail->setEnabled(true);
    lblHint->setText(
        QStringLiteral("Seçili fişi detayda açmak için Enter veya çift tık kullanabilirsiniz."));
}

void TfrmOpenShiftSales::ArrangeLayout()
{
    const int bodyWidth = Content()->width();
    pnlSummary->setGeometry(0, 0, bodyWidth, kSummaryHeight);
    const int cardWidth = std::max(140, (pnlSummary->width() - 96) / 5);
    for (int i = 0; i < FCards.size(); ++i) {
        FCards.at(i)->setGeometry(24 + i * (cardWidth + 12), 16, cardWidth, 62);
        FCardTitles.at(i)->setGeometry(12, 8, cardWidth - 24, 20);
        FCardValues.at(i)->setGeometry(12, 30, cardWidth - 24, 28);
    }
    gridSales->setGeometry(16, kSummaryHeight + 8, bodyWidth - 32,
                           Content()->height() - kSummaryHeight - 24);
    const int columns = int(kWeights.size());
    ApplyColumnWidths(gridSales, gridSales->viewport()->width() - (columns + 1) - 2, kWeights);

    const int footerWidth = Footer()->width();
    btnClose->setGeometry(footerWidth - 148, 18, 124, 40);
    btnRefresh->setGeometry(btnClose->x() - 136, 18, 124, 40);
    btnPrintReport->setGeometry(btnRefresh->x() - 136, 18, 124, 40);
    btnDetail->setGeometry(btnPrintReport->x() - 156, 18, 144, 40);
    lblHint->setGeometry(24, 0, std::max(0, btnDetail->x() - 24 - 24), kFooterHeight);
}

int TfrmOpenShiftSales::SelectedFisID() const
{
    return FModel->CellInt(SelectedDataRow(gridSales), 0);
}

void TfrmOpenShiftSales::OpenSelectedReceipt()
{
    OpenReceiptViewer(SelectedFisID());
}

void TfrmOpenShiftSales::FormShow()
{
    CentreOnOwner();
    ArrangeLayout();
}

void TfrmOpenShiftSales::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    FormShow();
}

void TfrmOpenShiftSales::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    ArrangeLayout();
}

void TfrmOpenShiftSales::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    if (IsEnter(event)) {
        event->accept();
        CallGuarded([this] { OpenSelectedReceipt(); });
        return;
    }
    if (event->key() == Qt::Key_F5) {
        event->accept();
        CallGuarded([this] { RefreshData(); });
        return;
    }
    TBaseWindow::keyPressEvent(event);
}

bool TfrmOpenShiftSales::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == gridSales && event->type() == QEvent::KeyPress &&
        IsEnter(static_cast<QKeyEvent*>(event))) {
        CallGuarded([this] { OpenSelectedReceipt(); });
        return true;
    }
    return TBaseWindow::eventFilter(watched, event);
}

void TfrmOpenShiftSales::btnCloseClick()
{
    close();
}

void TfrmOpenShiftSales::btnRefreshClick()
{
    RefreshData();
}

void TfrmOpenShiftSales::btnDetailClick()
{
    OpenSelectedReceipt();
}

void TfrmOpenShiftSales::btnPrintReportClick()
{
    if (FVardiyaID > 0)
        TfrmOpenShiftSalesReport::Execute(FVardiyaID);
}
