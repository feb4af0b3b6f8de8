#include "ui/PaymentForm.h"

#include "core/POSTextUtils.h"
#include "sales/PaymentCalculator.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kWidth = 499;
constexpr int kHeight = 448;
constexpr int kFrame = 1;
constexpr int kInnerWidth = kWidth - 2 * kFrame;
constexpr int kHeaderHeight = 96;
constexpr int kFooterHeight = 72;
constexpr int kMargin = 24;
constexpr int kEditWidth = 330;
constexpr int kEditHeight = 50;
constexpr int kSummaryHeight = 80;
constexpr int kSummaryPixels = 18; // the summary amounts, smaller where millions need it

QString AmountEditStyle()
{
    return QStringLiteral("QLineEdit { border: 1px solid %1; border-radius: 8px; background: %2;"
                          " color: %3; padding: 0 12px; }"
                          " QLineEdit:focus { border: 2px solid %4; padding: 0 11px; }")
        .arg(POSPalette::FrameLight.name(), POSPalette::Content.name(), POSPalette::Text.name(),
             POSPalette::Primary.name());
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int pixelSize,
                  bool bold, const QColor& color)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = bold ? TPOSUITheme::SemiboldFont(10) : TPOSUITheme::TextFont(10);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    TPOSUITheme::SetLabelColor(label, color);
    return label;
}

QLineEdit* MakeAmountEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(QStringLiteral("0.00"), parent);
    edit->setObjectName(name);
    TPOSUITheme::StyleEdit(edit);
    QFont font = edit->font();
    font.setPixelSize(24);
    font.setBold(true);
    edit->setFont(font);
    edit->setStyleSheet(AmountEditStyle());
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    return edit;
}

bool IsEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}
} // namespace

TfrmPayment::TfrmPayment(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kWidth, kHeight},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlInput",
                   "pnlBottom",
                   kFooterHeight})
    , lblTotalTitle(MakeLabel(Header(), QStringLiteral("lblTotalTitle"),
                              QStringLiteral("TOPLAM TUTAR"), 13, true, POSPalette::HeaderSubText))
    , lblTotalAmount(MakeLabel(Header(), QStringLiteral("lblTotalAmount"), FormatMoney(0), 34, true,
                               POSPalette::HeaderText))
    , lblNakit(MakeLabel(Content(), QStringLiteral("lblNakit"), QStringLiteral("ALINAN NAKİT"), 13,
                         true, POSPalette::Header))
    , edtNakit(MakeAmountEdit(Content(), QStringLiteral("edtNakit")))
    , btnNakitTam(CreateButton(Content(), "btnNakitTam", QStringLiteral("Tümü"), TGlyph::None,
                               TButtonVariant::Default))
    , lblKart(MakeLabel(Content(), QStringLiteral("lblKart"), QStringLiteral("KREDİ KARTI"), 13,
                        true, POSPalette::Header))
    , edtKart(MakeAmountEdit(Content(), QStringLiteral("edtKart")))
    , btnKartTam(CreateButton(Content(), "btnKartTam", QStringLiteral("Tümü"), TGlyph::None,
                              TButtonVariant::Default))
    , pnlSummary(new QWidget(Content()))
    , lblPaidTitle(MakeLabel(pnlSummary, QStringLiteral("lblPaidTitle"),
                             QStringLiteral("ALINAN NAKİT"), 12, false, POSPalette::MutedText))
    , lblPaidAmount(MakeLabel(pnlSummary, QStringLiteral("lblPaidAmount"), FormatMoney(0),
                              kSummaryPixels, true, POSPalette::Text))
    , lblChangeTitle(MakeLabel(pnlSummary, QStringLiteral("lblChangeTitle"),
                               QStringLiteral("PARA ÜSTÜ"), 12, false, POSPalette::MutedText))
    , lblChangeAmount(MakeLabel(pnlSummary, QStringLiteral("lblChangeAmount"), FormatMoney(0),
                                kSummaryPixels, true, POSPalette::ChangeDue))
    , lblRemaining(MakeLabel(pnlSummary, QStringLiteral("lblRemaining"), QStringLiteral("KALAN"),
                             12, false, POSPalette::MutedText))
    , lblRemainingAmount(MakeLabel(pnlSummary, QStringLiteral("lblRemainingAmount"), FormatMoney(0),
                                   kSummaryPixels, true, POSPalette::Success))
    , btnCancel(CreateButton(Footer(), "btnCancel", QStringLiteral("İptal"), TGlyph::Close,
                             TButtonVariant::Default))
    , btnComplete(CreateButton(Footer(), "btnComplete", QStringLiteral("Satışı Tamamla"),
                               TGlyph::CheckMark, TButtonVariant::Primary))
{
    setObjectName(QStringLiteral("frmPayment"));
    setWindowTitle(QStringLiteral("Ödeme"));
    pnlSummary->setObjectName(QStringLiteral("pnlSummary"));

    lblTotalTitle->setGeometry(kMargin, 14, kInnerWidth - 2 * kMargin, 20);
    lblTotalAmount->setGeometry(kMargin, 36, kInnerWidth - 2 * kMargin, 46);

    const int buttonLeft = kMargin + kEditWidth + 12;
    const int buttonWidth = kInnerWidth - kMargin - buttonLeft;
    lblNakit->setGeometry(kMargin + 2, 14, kEditWidth, 20);
    edtNakit->setGeometry(kMargin, 36, kEditWidth, kEditHeight);
    btnNakitTam->setGeometry(buttonLeft, 36, buttonWidth, kEditHeight);
    lblKart->setGeometry(kMargin + 2, 98, kEditWidth, 20);
    edtKart->setGeometry(kMargin, 120, kEditWidth, kEditHeight);
    btnKartTam->setGeometry(buttonLeft, 120, buttonWidth, kEditHeight);

    pnlSummary->setGeometry(kMargin, 190, kInnerWidth - 2 * kMargin, kSummaryHeight);
    TPOSUITheme::StyleRoundFrame(pnlSummary, 8);
    auto* shpSummary = new TRoundShape(pnlSummary);
    shpSummary->setObjectName(QStringLiteral("shpSummary"));
    shpSummary->setGeometry(0, 0, pnlSummary->width(), kSummaryHeight);
    TPOSUITheme::StyleRoundShape(shpSummary);
    const int column = pnlSummary->width() / 3;
    int left = 16;
    for (auto [title, amount] :
         {std::pair{lblPaidTitle, lblPaidAmount}, std::pair{lblChangeTitle, lblChangeAmount},
          std::pair{lblRemaining, lblRemainingAmount}}) {
        title->setGeometry(left, 12, column - 20, 18);
        amount->setGeometry(left, 34, column - 20, 30);
        left += column;
    }

    const int footerTop = (kFooterHeight - 42) / 2;
    btnCancel->setGeometry(kMargin, footerTop, 140, 42);
    btnComplete->setGeometry(kInnerWidth - kMargin - 220, footerTop, 220, 42);

    for (QLineEdit* edit : {edtNakit, edtKart}) {
        edit->installEventFilter(this);
        GuardedConnect(edit, &QLineEdit::textChanged, this, &TfrmPayment::RefreshPaymentSummary);
    }
    GuardedConnect(btnNakitTam, &QPushButton::clicked, this, &TfrmPayment::btnNakitTamClick);
    GuardedConnect(btnKartTam, &QPushButton::clicked, this, &TfrmPayment::btnKartTamClick);
    GuardedConnect(btnComplete, &QPushButton::clicked, this, &TfrmPayment::btnCompleteClick);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, &TfrmPayment::btnCancelClick);
}

void TfrmPayment::SetTotal(double Amount)
{
    FTotalAmount = Amount;
    lblTotalAmount->setText(FormatMoney(Amount));
    edtNakit->setText(TPaymentCalculator::EntryText(Amount));
    edtKart->setText(TPaymentCalculator::EntryText(0));
    RefreshPaymentSummary();
}

void TfrmPayment::RefreshPaymentSummary()
{
    const TPaymentSummary summary =
        TPaymentCalculator::Summarize(FTotalAmount, edtNakit->text(), edtKart->text());
    TPOSUITheme::SetFittedText(lblPaidAmount, FormatMoney(summary.Cash), kSummaryPixels);
    TPOSUITheme::SetFittedText(lblChangeAmount, FormatMoney(summary.Change), kSummaryPixels);
    TPOSUITheme::SetFittedText(lblRemainingAmount, FormatMoney(summary.Remaining), kSummaryPixels);
    SetRemainingLook(summary.Due);
    btnComplete->setEnabled(summary.CanComplete);
}

void TfrmPayment::SetRemainingLook(bool due)
{
    TPOSUITheme::SetLabelColor(lblRemainingAmount,
                               due ? POSPalette::AmountDue : POSPalette::Success);
}

void TfrmPayment::btnNakitTamClick()
{
    edtNakit->setText(TPaymentCalculator::RestOfTotal(FTotalAmount, edtKart->text()));
}

void TfrmPayment::btnKartTamClick()
{
    edtKart->setText(TPaymentCalculator::RestOfTotal(FTotalAmount, edtNakit->text()));
}

void TfrmPayment::btnCompleteClick()
{
    const TPaymentOutcome outcome =
        TPaymentCalculator::Complete(FTotalAmount, edtNakit->text(), edtKart->text());
    if (outcome.Invalid) {
        ShowInvalidAmount();
        return;
    }
    PaymentNakit = outcome.PaymentNakit;
    PaymentKart = outcome.PaymentKart;
    VerilenNakit = outcome.VerilenNakit;
    if (outcome.Short) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Eksik Tutar"),
                                     QStringLiteral("Ödeme tutarı eksik!"), dtError);
        return;
    }
    PaymentType = outcome.PaymentType;
    done(mrOk);
}

void TfrmPayment::btnCancelClick()
{
    done(mrCancel);
}

void TfrmPayment::reject()
{
    done(mrCancel);
}

bool TfrmPayment::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || (edit != edtNakit && edit != edtKart))
        return TBaseWindow::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return AmountKeyPress(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut)
        AmountExit(edit);
    return TBaseWindow::eventFilter(watched, event);
}

// True when the key is consumed here: Enter completes where it may; every other key is the
// box's own.
bool TfrmPayment::AmountKeyPress(const QKeyEvent* event)
{
    if (!IsEnter(event))
        return false;
    if (TPaymentCalculator::Summarize(FTotalAmount, edtNakit->text(), edtKart->text()).Invalid)
        ShowInvalidAmount();
    else if (btnComplete->isEnabled())
        btnComplete->click();
    return true;
}

void TfrmPayment::ShowInvalidAmount()
{
    TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), TPaymentCalculator::MsgInvalidAmount,
                                 dtError);
}

void TfrmPayment::AmountExit(QLineEdit* edit)
{
    edit->setText(TPaymentCalculator::NormalisedEntry(edit->text()));
}

void TfrmPayment::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    edtNakit->setFocus();
    edtNakit->selectAll();
}

TPaymentResult TfrmPayment::Execute(double Total)
{
    TfrmPayment form(DialogOwner());
    form.SetTotal(Total);
    if (form.ShowModal() != mrOk)
        return {};
    return {true, form.PaymentNakit, form.PaymentKart, form.PaymentType, form.VerilenNakit};
}
