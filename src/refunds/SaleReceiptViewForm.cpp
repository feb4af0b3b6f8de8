#include "refunds/SaleReceiptViewForm.h"

#include "core/POSTextUtils.h"
#include "printing/PrintService.h"
#include "refunds/ReceiptDetail.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int kClientWidth = 1100;
constexpr int kClientHeight = 720;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 124;
constexpr int kFooterHeight = 120;
constexpr int kMargin = 24;
constexpr int kRowHeight = 38;
constexpr int kTitleRowHeight = 36;
constexpr int kButtonWidth = 130;

QLabel* HeaderLabel(QWidget* header, const char* name, const QString& text, int x, int width)
{
    QLabel* label = TPOSUITheme::CreateLabel(header, name, 10, false, POSPalette::HeaderText);
    label->setText(text);
    label->setGeometry(x, 84, width, 22);
    return label;
}

QLabel* FooterCaption(QWidget* footer, const char* name, const QString& text, int x)
{
    QLabel* label = TPOSUITheme::CreateLabel(footer, name, 10, true, POSPalette::ReceiptFooterText);
    label->setText(text);
    label->setGeometry(x, 18, 150, 20);
    return label;
}

QLabel* FooterValue(QWidget* footer, const char* name, int x, int pointSize, const QColor& color)
{
    QLabel* label = TPOSUITheme::CreateLabel(footer, name, pointSize, true, color);
    label->setGeometry(x, 42, 200, pointSize * 3);
    return label;
}
} // namespace

TfrmSaleReceiptView::TfrmSaleReceiptView(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlMain",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(TPOSUITheme::CreateStyledLabel(
          Header(), QStringLiteral("lblTitle"), QStringLiteral("SATIŞ FİŞ DETAYI"),
          TPOSUITheme::SemiboldFont(18, true), POSPalette::HeaderText))
    , lblSubTitle(
          TPOSUITheme::CreateLabel(Header(), "lblSubTitle", 10, false, POSPalette::ReceiptSubTitle))
    , FHeaderCaptions{HeaderLabel(Header(), "lblFisNo", QStringLiteral("Fiş No:"), kMargin, 56),
                      HeaderLabel(Header(), "lblDate", QStringLiteral("Tarih:"), 240, 44),
                      HeaderLabel(Header(), "lblKasiyer", QStringLiteral("Kasiyer:"), 460, 60),
                      HeaderLabel(Header(), "lblOdeme", QStringLiteral("Ödeme:"), 700, 56),
                      HeaderLabel(Header(), "lblDurum", QStringLiteral("Durum:"), 880, 52)}
    , lblFisNoValue(HeaderLabel(Header(), "lblFisNoValue", QStringLiteral("-"), 82, 150))
    , lblDateValue(HeaderLabel(Header(), "lblDateValue", QStringLiteral("-"), 286, 170))
    , lblKasiyerValue(HeaderLabel(Header(), "lblKasiyerValue", QStringLiteral("-"), 522, 170))
    , lblOdemeValue(HeaderLabel(Header(), "lblOdemeValue", QStringLiteral("-"), 758, 116))
    , lblDurumValue(HeaderLabel(Header(), "lblDurumValue", QStringLiteral("-"), 934, 140))
    , pnlMain(Content())
    , gridItems(new QTableWidget(pnlMain))
    , lblAraToplamValue(FooterValue(Footer(), "lblAraToplamValue", kMargin, 12, POSPalette::Header))
    , lblKDVValue(FooterValue(Footer(), "lblKDVValue", 224, 12, POSPalette::Header))
    , lblIndirimValue(FooterValue(Footer(), "lblIndirimValue", 424, 12, POSPalette::Header))
    , lblGenelToplamValue(
          FooterValue(Footer(), "lblGenelToplamValue", 624, 16, POSPalette::ReceiptGrandTotal))
    , btnPrint(CreateButton(Footer(), "btnPrint", QStringLiteral("Yazdır"), TGlyph::Print,
                            TButtonVariant::Primary))
    , btnClose(CreateButton(Footer(), "btnClose", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmSaleReceiptView::Execute(int FisID)
{
    TfrmSaleReceiptView view(DialogOwner());
    view.SetFisID(FisID);
    view.ShowModal();
}

void TfrmSaleReceiptView::FormCreate()
{
    setObjectName(QStringLiteral("frmSaleReceiptView"));
    setWindowTitle(QStringLiteral("Satış Fiş Detayı"));
    lblTitle->setGeometry(kMargin, 14, 600, 34);
    lblSubTitle->setText(QStringLiteral("Satış kalemleri ve ödeme özeti"));
    lblSubTitle->setGeometry(kMargin + 2, 46, 600, 20);
    for (QLabel* label : Header()->findChildren<QLabel*>())
        AddDragHandle(label);
    FooterCaption(Footer(), "lblAraToplam", QStringLiteral("Toplam"), kMargin);
    FooterCaption(Footer(), "lblKDV", QStringLiteral("KDV"), 224);
    FooterCaption(Footer(), "lblIndirim", QStringLiteral("İndirim"), 424);
    FooterCaption(Footer(), "lblGenelToplam", QStringLiteral("Genel Toplam"), 624);
    lblGenelToplamValue->setGeometry(624, 40, 240, 40);

    gridItems->setObjectName(QStringLiteral("gridItems"));
    auto* content = new QVBoxLayout(pnlMain);
    content->setContentsMargins(16, 16, 16, 16);
    content->addWidget(gridItems);
    gridItems->verticalHeader()->hide();
    gridItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridItems->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gridItems->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    gridItems->setWordWrap(false);
    TPOSUITheme::InstallGridCellDrawing(gridItems, {2, 4, 5, 6, 7});
    btnClose->setGeometry(kClientWidth - kMargin - kButtonWidth, 40, kButtonWidth, 40);
    btnPrint->setGeometry(btnClose->x() - 12 - kButtonWidth, 40, kButtonWidth, 40);

    TPOSUITheme::StyleForm(this);
    TPOSUITheme::StyleHeaderPanel(Header());
    TPOSUITheme::StyleLightPanel(pnlMain);
    TPOSUITheme::StyleFooterPanel(Footer());
    TPOSUITheme::StyleGrid(gridItems);
    TPOSUITheme::StyleButton(btnPrint, QStringLiteral("Yazdır"), TGlyph::Print, true, false);
    TPOSUITheme::StyleButton(btnClose, QStringLiteral("Kapat"), TGlyph::Close, false, false);
    TPOSUITheme::SetLabelColor(lblTitle, POSPalette::HeaderText);
    for (QLabel* caption : FHeaderCaptions)
        TPOSUITheme::SetLabelColor(caption, POSPalette::HeaderText);
    for (QLabel* value :
         {lblFisNoValue, lblDateValue, lblKasiyerValue, lblOdemeValue, lblDurumValue})
        TPOSUITheme::SetLabelColor(value, POSPalette::HeaderFigure);
    gridItems->setColumnCount(8);
    gridItems->setRowCount(2);
    gridItems->setHorizontalHeaderLabels(
        {QStringLiteral("Sıra"), QStringLiteral("Ürün"), QStringLiteral("Miktar"),
         QStringLiteral("Birim"), QStringLiteral("Birim Fiyat"), QStringLiteral("KDV"),
         QStringLiteral("İndirim"), QStringLiteral("Satır Toplam")});
    FitColumns();
    ApplyRowHeights();

    GuardedConnect(btnPrint, &QPushButton::clicked, this, &TfrmSaleReceiptView::btnPrintClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmSaleReceiptView::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    CentreOnScreen();
    FitColumns();
    ApplyRowHeights();
}

void TfrmSaleReceiptView::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    FitColumns();
}

void TfrmSaleReceiptView::SetFisID(int AFisID)
{
    FFisID = AFisID;
    LoadReceipt();
}

void TfrmSaleReceiptView::LoadReceipt()
{
    const TReceiptDetail detail = TReceiptDetail::Load(FFisID);
    lblFisNoValue->setText(detail.FisNo);
    lblDateValue->setText(detail.Tarih);
    lblKasiyerValue->setText(detail.Kasiyer);
    lblOdemeValue->setText(detail.OdemeTipi);
    lblDurumValue->setText(detail.FisDurumu);
    lblAraToplamValue->setText(FormatMoney(detail.AraToplam));
    lblKDVValue->setText(FormatMoney(detail.ToplamKDV));
    lblIndirimValue->setText(FormatMoney(detail.Indirim));
    lblGenelToplamValue->setText(FormatMoney(detail.GenelToplam));
    gridItems->clearContents();
    gridItems->setRowCount(qMax(1, int(detail.Lines.size())));
    ApplyRowHeights();
    for (int row = 0; row < detail.Lines.size(); ++row) {
        const TReceiptDetailLine& line = detail.Lines.at(row);
        const QStringList cells{QString::number(line.SiraNo),
                                line.StokAdi,
                                FormatFloat(QStringLiteral("0.000"), line.Miktar),
                                line.Birim,
                                FormatMoney(line.BirimFiyat),
                                FormatMoney(line.KDVTutari),
                                FormatMoney(line.IndirimTutari),
                                FormatMoney(line.SatirToplam)};
        for (int col = 0; col < cells.size(); ++col)
            gridItems->setItem(row, col, new QTableWidgetItem(cells.at(col)));
    }
    FitColumns();
}

void TfrmSaleReceiptView::ApplyRowHeights()
{
    gridItems->verticalHeader()->setDefaultSectionSize(kRowHeight);
    gridItems->horizontalHeader()->setFixedHeight(kTitleRowHeight);
    for (int row = 0; row < gridItems->rowCount(); ++row)
        gridItems->setRowHeight(row, kRowHeight);
}

void TfrmSaleReceiptView::FitColumns()
{
    const QList<int> widths = TReceiptDetail::ColumnWidths(gridItems->viewport()->width() - 4);
    for (int col = 0; col < widths.size(); ++col)
        gridItems->setColumnWidth(col, widths.at(col));
}

void TfrmSaleReceiptView::btnPrintClick()
{
    if (FFisID <= 0)
        return;
    QStringList lines;
    QString fisNo;
    if (!TPrintService::BuildSaleReceipt(FFisID, lines, fisNo)) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"),
                                     QStringLiteral("Fiş yazdırma içeriği oluşturulamadı."),
                                     dtError);
        return;
    }
    TPrintService::SaveSaleReceipt(fisNo, lines);
    if (TPrintService::PrintReceiptLines(lines, QStringLiteral("KIRVELO ") + fisNo))
        TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"), QStringLiteral("Fiş yazdırıldı."),
                                     dtInfo);
}
