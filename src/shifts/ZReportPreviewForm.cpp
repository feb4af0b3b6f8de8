#include "shifts/ZReportPreviewForm.h"

#include "core/Clock.h"
#include "core/Exceptions.h"
#include "printing/PrintService.h"
#include "shifts/ZReport.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/ReportPreviewParts.h"
#include "ui/SlotGuard.h"

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

TfrmZReportPreview::TfrmZReportPreview(QWidget* parent)
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
    , lblKapanis(HeaderLabel(Header(), "lblKapanis", POSPalette::HeaderText))
    , lblKapanisValue(HeaderLabel(Header(), "lblKapanisValue", POSPalette::HeaderFigure))
    , lblDurum(HeaderLabel(Header(), "lblDurum", POSPalette::HeaderText))
    , lblDurumValue(HeaderLabel(Header(), "lblDurumValue", POSPalette::HeaderFigure))
    , memReport(new QPlainTextEdit(Content()))
    , lblHint(TPOSUITheme::CreateLabel(Footer(), "lblHint", 9, false, POSPalette::CaptionText))
    , btnPrint(CreateButton(Footer(), "btnPrint", QStringLiteral("Yazdır"), TGlyph::Print,
                            TButtonVariant::Primary))
    , btnClose(CreateButton(Footer(), "btnClose", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmZReportPreview::FormCreate()
{
    FVardiyaID = -1;
    setObjectName(QStringLiteral("frmZReportPreview"));
    setWindowTitle(QStringLiteral("Z Raporu"));
    memReport->setObjectName(QStringLiteral("memReport"));

    lblTitle->setText(QStringLiteral("Z RAPORU ÖNİZLEME"));
    lblTitle->setGeometry(24, 14, 600, 34);
    lblSubTitle->setText(QStringLiteral("Vardiya kapanış raporu ekranda önizlenir"));
    lblSubTitle->setGeometry(26, 48, 600, 22);
    ReportPreviewParts::PlaceCaptionPairs(
        {{lblVardiya, lblVardiyaValue, QStringLiteral("Vardiya:"), 26, 62, 90},
         {lblKasiyer, lblKasiyerValue, QStringLiteral("Kasiyer:"), 190, 62, 260},
         {lblKapanis, lblKapanisValue, QStringLiteral("Kapanış:"), 526, 66, 170},
         {lblDurum, lblDurumValue, QStringLiteral("Durum:"), 780, 54, 140}});

    ReportPreviewParts::SetUpReportMemo(Content(), memReport);

    lblHint->setText(QStringLiteral("Yazdır butonu raporu dosyaya kaydeder ve yazıcıya yatay "
                                    "sayfa düzeninde gönderir."));
    lblHint->setGeometry(24, 0, 640, kFooterHeight);
    lblHint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ReportPreviewParts::PlaceFooterButtons(btnPrint, btnClose, kClientWidth, kFooterHeight);
    GuardedConnect(btnPrint, &QPushButton::clicked, this, &TfrmZReportPreview::btnPrintClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, &TfrmZReportPreview::btnCloseClick);

    ClearHeader();
    btnPrint->setEnabled(false);
}

void TfrmZReportPreview::Execute(int AVardiyaID)
{
    TfrmZReportPreview preview(DialogOwner());
    preview.SetVardiyaID(AVardiyaID);
    preview.ShowModal();
}

void TfrmZReportPreview::SetVardiyaID(int AVardiyaID)
{
    FVardiyaID = AVardiyaID;
    BuildReport();
}

void TfrmZReportPreview::ClearHeader()
{
    for (QLabel* value : {lblVardiyaValue, lblKasiyerValue, lblKapanisValue, lblDurumValue})
        value->setText(QStringLiteral("-"));
}

void TfrmZReportPreview::BuildReport()
{
    memReport->clear();
    ClearHeader();
    btnPrint->setEnabled(false);
    if (FVardiyaID <= 0)
        return;
    try {
        const TZReportData data = TZReport::Load(FVardiyaID);
        lblVardiyaValue->setText(QString::number(data.VardiyaID));
        lblKasiyerValue->setText(data.Kasiyer);
        lblDurumValue->setText(data.DurumText());
        lblKapanisValue->setText(data.KapanisText());
        const QStringList lines = TZReport::BuildReport(data, TClock::Now());
        // One assignment: the box lays out and redraws once for the whole report.
        memReport->setPlainText(lines.join(u'\n'));
        btnPrint->setEnabled(!lines.isEmpty());
    } catch (const std::exception& e) {
        const QString text = QStringLiteral("Z raporu oluşturulamadı: ") + ErrorMessage(e);
        memReport->setPlainText(text);
        btnPrint->setEnabled(false);
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), text, dtError);
    }
}

QStringList TfrmZReportPreview::ReportLines() const
{
    const QString text = memReport->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

void TfrmZReportPreview::FormShow()
{
    CentreOnOwner();
    if (memReport->document()->isEmpty())
        BuildReport();
}

void TfrmZReportPreview::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    FormShow();
}

void TfrmZReportPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    TBaseWindow::keyPressEvent(event);
}

void TfrmZReportPreview::btnPrintClick()
{
    // A failed report leaves its error text in the box; that text is no report to print.
    const QStringList lines = ReportLines();
    if (FVardiyaID <= 0 || lines.isEmpty() || !btnPrint->isEnabled())
        return;
    try {
        if (TPrintService::PrintZReport(FVardiyaID, lines))
            TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"),
                                         QStringLiteral("Z raporu yazdırıldı."), dtInfo);
    } catch (const std::exception& e) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"),
                                     QStringLiteral("Z raporu yazdırılamadı: ") + ErrorMessage(e),
                                     dtError);
    }
}

void TfrmZReportPreview::btnCloseClick()
{
    close();
}
