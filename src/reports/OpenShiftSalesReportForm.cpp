#include "reports/OpenShiftSalesReportForm.h"

#include "core/Clock.h"
#include "core/Exceptions.h"
#include "printing/PrintService.h"
#include "reports/OpenShiftSales.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/ReportPreviewParts.h"
#include "ui/SlotGuard.h"
#include "ui/WaitCursor.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

namespace {
constexpr int kClientWidth = 980;
constexpr int kClientHeight = 720;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 116;
constexpr int kFooterHeight = 76;

QLabel* HeaderLabel(QWidget* header, const char* name, const QColor& color)
{
    return TPOSUITheme::CreateLabel(header, name, 10, true, color);
}
} // namespace

TfrmOpenShiftSalesReport::TfrmOpenShiftSalesReport(QWidget* parent)
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
    , memReport(new QPlainTextEdit(Content()))
    , lblHint(TPOSUITheme::CreateLabel(Footer(), "lblHint", 9, false, POSPalette::CaptionText))
    , btnPrint(CreateButton(Footer(), "btnPrint", QStringLiteral("Yazdır"), TGlyph::Print,
                            TButtonVariant::Primary))
    , btnClose(CreateButton(Footer(), "btnClose", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmOpenShiftSalesReport::FormCreate()
{
    FVardiyaID = -1;
    setObjectName(QStringLiteral("frmOpenShiftSalesReport"));
    setWindowTitle(QStringLiteral("Açık Vardiya Satış Raporu"));
    memReport->setObjectName(QStringLiteral("memReport"));
    lblTitle->setText(QStringLiteral("AÇIK VARDİYA SATIŞ RAPORU"));
    lblTitle->setGeometry(24, 14, 700, 34);
    lblSubTitle->setText(QStringLiteral("Grid bilgileri, vardiya özeti ve rapor alt bilgileri"));
    lblSubTitle->setGeometry(26, 48, 700, 22);
    ReportPreviewParts::PlaceCaptionPairs(
        {{lblVardiya, lblVardiyaValue, QStringLiteral("Vardiya:"), 26, 62, 90},
         {lblKasiyer, lblKasiyerValue, QStringLiteral("Kasiyer:"), 190, 62, 260},
         {lblAcilis, lblAcilisValue, QStringLiteral("Açılış:"), 526, 56, 200}});

    ReportPreviewParts::SetUpReportMemo(Content(), memReport);

    lblHint->setText(QStringLiteral("Rapor önizlemesi yazıcıya yatay sayfa düzeninde gönderilir."));
    lblHint->setGeometry(24, 0, 640, kFooterHeight);
    lblHint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ReportPreviewParts::PlaceFooterButtons(btnPrint, btnClose, kClientWidth, kFooterHeight);
    GuardedConnect(btnPrint, &QPushButton::clicked, this, &TfrmOpenShiftSalesReport::btnPrintClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, &TfrmOpenShiftSalesReport::btnCloseClick);
    for (QLabel* value : {lblVardiyaValue, lblKasiyerValue, lblAcilisValue})
        value->setText(QStringLiteral("-"));
    btnPrint->setEnabled(false);
}

void TfrmOpenShiftSalesReport::Execute(int AVardiyaID)
{
    TfrmOpenShiftSalesReport form(DialogOwner());
    form.SetVardiyaID(AVardiyaID);
    form.ShowModal();
}

void TfrmOpenShiftSalesReport::SetVardiyaID(int AVardiyaID)
{
    FVardiyaID = AVardiyaID;
    BuildReport();
}

void TfrmOpenShiftSalesReport::BuildReport()
{
    memReport->clear();
    for (QLabel* value : {lblVardiyaValue, lblKasiyerValue, lblAcilisValue})
        value->setText(QStringLiteral("-"));
    btnPrint->setEnabled(false);
    if (FVardiyaID <= 0)
        return;
    const TWaitCursor wait;
    const TOpenShiftData shift = TOpenShiftSales::LoadShift(FVardiyaID);
    lblVardiyaValue->setText(QString::number(shift.VardiyaID));
    lblKasiyerValue->setText(shift.Kasiyer);
    lblAcilisValue->setText(TReportText::DateTime(shift.AcilisZamani));
    const QStringList lines = TOpenShiftSales::BuildReport(
        shift, TOpenShiftSales::LoadReceipts(FVardiyaID), TClock::Now());
    memReport->setPlainText(lines.join(u'\n'));
    btnPrint->setEnabled(!lines.isEmpty());
}

QStringList TfrmOpenShiftSalesReport::ReportLines() const
{
    const QString text = memReport->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

bool TfrmOpenShiftSalesReport::PrintReport()
{
    const TWaitCursor wait;
    return TPrintService::PrintLandscapeListing(ReportLines(),
                                                QStringLiteral("Açık Vardiya Satış Raporu"));
}

void TfrmOpenShiftSalesReport::btnPrintClick()
{
    try {
        if (PrintReport())
            TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"),
                                         QStringLiteral("Açık vardiya satış raporu yazdırıldı."),
                                         dtInfo);
    } catch (const std::exception& e) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"),
                                     QStringLiteral("Rapor yazdırılamadı : ") + ErrorMessage(e),
                                     dtError);
    }
}

void TfrmOpenShiftSalesReport::btnCloseClick()
{
    close();
}

void TfrmOpenShiftSalesReport::FormShow()
{
    CentreOnOwner();
    if (memReport->document()->isEmpty())
        BuildReport();
}

void TfrmOpenShiftSalesReport::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    CallGuarded([this] { FormShow(); });
}

void TfrmOpenShiftSalesReport::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    TBaseWindow::keyPressEvent(event);
}
