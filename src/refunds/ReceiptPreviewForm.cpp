#include "refunds/ReceiptPreviewForm.h"

#include "refunds/ReceiptDetail.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {
constexpr int kClientWidth = 520;
constexpr int kClientHeight = 620;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 58;
constexpr int kFooterHeight = 76;
constexpr int kButtonWidth = 110;
} // namespace

TfrmReceiptPreview::TfrmReceiptPreview(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(TPOSUITheme::CreateStyledLabel(
          Header(), QStringLiteral("lblTitle"), QStringLiteral("Fiş Önizleme - "),
          TPOSUITheme::SemiboldFont(14, true), POSPalette::HeaderText))
    , pnlContent(Content())
    , memReceipt(new QPlainTextEdit(pnlContent))
    , lblStatus(
          TPOSUITheme::CreateLabel(Footer(), "lblStatus", 9, false, POSPalette::ReceiptStatusText))
    , btnPrint(CreateButton(Footer(), "btnPrint", QStringLiteral("Yazdır"), TGlyph::Print,
                            TButtonVariant::Primary))
    , btnClose(CreateButton(Footer(), "btnClose", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmReceiptPreview::Execute(int AFisID)
{
    TfrmReceiptPreview preview(DialogOwner());
    preview.SetFisID(AFisID);
    preview.ShowModal();
}

void TfrmReceiptPreview::FormCreate()
{
    setObjectName(QStringLiteral("frmReceiptPreview"));
    setWindowTitle(QStringLiteral("Fiş Önizleme"));
    lblTitle->setGeometry(16, 0, kClientWidth - 32, kHeaderHeight);
    AddDragHandle(lblTitle);
    memReceipt->setObjectName(QStringLiteral("memReceipt"));
    memReceipt->setReadOnly(true);
    memReceipt->setLineWrapMode(QPlainTextEdit::NoWrap);
    memReceipt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memReceipt->setFont(TPOSUITheme::PixelFont(QFont(QStringLiteral("Consolas")), 13));
    memReceipt->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: %1; color: %2; }")
            .arg(POSPalette::ReceiptTextBack.name(), POSPalette::Text.name()));
    auto* content = new QVBoxLayout(pnlContent);
    content->setContentsMargins(12, 12, 12, 12);
    content->addWidget(memReceipt);
    lblStatus->setWordWrap(true);
    lblStatus->setGeometry(16, 8, kClientWidth - 2 * kButtonWidth - 56, kFooterHeight - 16);
    btnClose->setGeometry(kClientWidth - 16 - kButtonWidth, 18, kButtonWidth, 40);
    btnPrint->setGeometry(btnClose->x() - 10 - kButtonWidth, 18, kButtonWidth, 40);

    TPOSUITheme::StyleForm(this);
    TPOSUITheme::StyleHeaderPanel(Header());
    TPOSUITheme::StyleLightPanel(pnlContent);
    TPOSUITheme::StyleFooterPanel(Footer());
    TPOSUITheme::StyleButton(btnPrint, QStringLiteral("Yazdır"), TGlyph::Print, true, false);
    TPOSUITheme::StyleButton(btnClose, QStringLiteral("Kapat"), TGlyph::Close, false, false);
    SetStatus(QStringLiteral("Fiş ekranda görüntüleniyor."), POSPalette::ReceiptStatusText);

    GuardedConnect(btnPrint, &QPushButton::clicked, this, &TfrmReceiptPreview::btnPrintClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmReceiptPreview::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    CentreOnOwner();
}

void TfrmReceiptPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        done(mrCancel);
        return;
    }
    TBaseWindow::keyPressEvent(event);
}

void TfrmReceiptPreview::SetFisID(int AFisID)
{
    FFisID = AFisID;
    LoadPreview();
}

void TfrmReceiptPreview::LoadPreview()
{
    FFisNo.clear();
    FLines = TReceiptPrinting::BuildText(FFisID, FFisNo);
    memReceipt->setPlainText(FLines.join(u'\n'));
    lblTitle->setText(QStringLiteral("Fiş Önizleme - ") + FFisNo);
    SetStatus(QStringLiteral("Fiş ekranda görüntüleniyor."), POSPalette::ReceiptStatusText);
    memReceipt->moveCursor(QTextCursor::Start);
}

void TfrmReceiptPreview::SetStatus(const QString& Text, const QColor& Color)
{
    lblStatus->setText(Text);
    TPOSUITheme::SetLabelColor(lblStatus, Color);
}

void TfrmReceiptPreview::btnPrintClick()
{
    const TReceiptPrint print = TReceiptPrinting::Print(FFisNo, FLines);
    switch (print.Outcome) {
    case TPrintOutcome::Printed:
        SetStatus(QStringLiteral("Yazdırma komutu yazıcıya gönderildi."),
                  POSPalette::ReceiptPrinted);
        return;
    case TPrintOutcome::Cancelled:
        SetStatus(QStringLiteral("Yazdırma iptal edildi."), POSPalette::ReceiptStatusText);
        return;
    case TPrintOutcome::Failed:
        SetStatus(QStringLiteral("Yazdırma hatası : ") + print.Message,
                  POSPalette::ReceiptPrintFailed);
        return;
    }
}
