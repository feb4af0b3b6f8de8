#include "ui/PaymentForm.h"

#include "core/POSTextUtils.h"
#include "sales/PaymentCalculator.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

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

const QColor kMuted{0x5C, 0x6B, 0x7E};
const QColor kHeaderMuted = POSPalette::FrameLight;
const QColor kChange{0x1E, 0x6F, 0xD0};
const QColor kDue = POSPalette::Danger;
const QColor kSettled{0x16, 0x78, 0x40};

const QString kEditStyle =
    QStringLiteral("QLineEdit { border: 1px solid #C9D8E4; border-radius: 8px; background: #FFFFFF;"
                   " color: #151C25; padding: 0 12px; }"
                   " QLineEdit:focus { border: 2px solid #224A78; padding: 0 11px; }");

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
    edit->setStyleSheet(kEditStyle);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    return edit;
}

bool IsEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Keys the boxes leave to Qt: moving the caret or the focus, deleting forward, Esc.
bool PassesFilter(const QKeyEvent* event)
{
    if (IsEnter(event))
        return false;
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return true;
    default:
        return event->text().isEmpty();
    }
}
} // namespace

TfrmPayment::TfrmPayment(QWidget* parent)
    : TFramelessDialog(parent)
    , pnlTop(new QWidget(this))
    , lblTotalTitle(MakeLabel(pnlTop, QStringLiteral("lblTotalTitle"),
                              QStringLiteral("TOPLAM TUTAR"), 13, true, kHeaderMuted))
    , lblTotalAmount(
          MakeLabel(pnlTop, QStringLiteral("lblTotalAmount"), FormatMoney(0), 34, true, Qt::white))
    , pnlInput(new QWidget(this))
    , lblNakit(MakeLabel(pnlInput, QStringLiteral("lblNakit"), QStringLiteral("ALINAN NAKİT"), 13,
                         true, POSPalette::Header))
    , edtNakit(MakeAmountEdit(pnlInput, QStringLiteral("edtNakit")))
    , btnNakitTam(new TPOSButton(pnlInput))
    , lblKart(MakeLabel(pnlInput, QStringLiteral("lblKart"), QStringLiteral("KREDİ KARTI"), 13,
                        true, POSPalette::Header))
    , edtKart(MakeAmountEdit(pnlInput, QStringLiteral("edtKart")))
    , btnKartTam(new TPOSButton(pnlInput))
    , pnlSummary(new QWidget(pnlInput))
    , lblPaidTitle(MakeLabel(pnlSummary, QStringLiteral("lblPaidTitle"),
                             QStringLiteral("ALINAN NAKİT"), 12, false, kMuted))
    , lblPaidAmount(MakeLabel(pnlSummary, QStringLiteral("lblPaidAmount"), FormatMoney(0), 18, true,
                              POSPalette::Text))
    , lblChangeTitle(MakeLabel(pnlSummary, QStringLiteral("lblChangeTitle"),
                               QStringLiteral("PARA ÜSTÜ"), 12, false, kMuted))
    , lblChangeAmount(MakeLabel(pnlSummary, QStringLiteral("lblChangeAmount"), FormatMoney(0), 18,
                                true, kChange))
    , lblRemaining(MakeLabel(pnlSummary, QStringLiteral("lblRemaining"), QStringLiteral("KALAN"),
                             12, false, kMuted))
    , lblRemainingAmount(MakeLabel(pnlSummary, QStringLiteral("lblRemainingAmount"), FormatMoney(0),
                                   18, true, kSettled))
    , pnlBottom(new QWidget(this))
    , btnCancel(new TPOSButton(pnlBottom))
    , btnComplete(new TPOSButton(pnlBottom))
{
    setObjectName(QStringLiteral("frmPayment"));
    setWindowTitle(QStringLiteral("Ödeme"));
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlInput->setObjectName(QStringLiteral("pnlInput"));
    pnlSummary->setObjectName(QStringLiteral("pnlSummary"));
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    btnNakitTam->setObjectName(QStringLiteral("btnNakitTam"));
    btnKartTam->setObjectName(QStringLiteral("btnKartTam"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnComplete->setObjectName(QStringLiteral("btnComplete"));

    SetUpBands({kWidth, kHeight}, kFrame,
               {pnlTop, kHeaderHeight, pnlInput, pnlBottom, kFooterHeight});
    AddDragHandle(lblTotalTitle);
    AddDragHandle(lblTotalAmount);

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
    TPOSUITheme::StyleButton(btnNakitTam, QStringLiteral("Tümü"), TGlyph::None, false, false);
    TPOSUITheme::StyleButton(btnKartTam, QStringLiteral("Tümü"), TGlyph::None, false, false);

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
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("İptal"), TGlyph::Close, false, false);
    TPOSUITheme::StyleButton(btnComplete, QStringLiteral("Satışı Tamamla"), TGlyph::CheckMark, true,
                             false);

    for (QLineEdit* edit : {edtNakit, edtKart}) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, &TfrmPayment::RefreshPaymentSummary);
    }
    connect(btnNakitTam, &QPushButton::clicked, this, &TfrmPayment::btnNakitTamClick);
    connect(btnKartTam, &QPushButton::clicked, this, &TfrmPayment::btnKartTamClick);
    connect(btnComplete, &QPushButton::clicked, this, &TfrmPayment::btnCompleteClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmPayment::btnCancelClick);
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
    lblPaidAmount->setText(FormatMoney(summary.Cash));
    lblChangeAmount->setText(FormatMoney(summary.Change));
    lblRemainingAmount->setText(FormatMoney(summary.Remaining));
    SetRemainingLook(summary.Due);
    btnComplete->setEnabled(summary.CanComplete);
}

void TfrmPayment::SetRemainingLook(bool due)
{
    TPOSUITheme::SetLabelColor(lblRemainingAmount, due ? kDue : kSettled);
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
    PaymentNakit = outcome.PaymentNakit;
    PaymentKart = outcome.PaymentKart;
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
        return TFramelessDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return AmountKeyPress(edit, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut)
        AmountExit(edit);
    return TFramelessDialog::eventFilter(watched, event);
}

// True when the key is consumed here.
bool TfrmPayment::AmountKeyPress(QLineEdit* edit, QKeyEvent* event)
{
    if (PassesFilter(event))
        return false;
    const QChar typed = IsEnter(event) ? QChar(u'\r') : event->text().at(0);
    const QChar separator = QLocale().decimalPoint().at(0);
    const bool selected = edit->hasSelectedText();
    const int start = selected ? edit->selectionStart() : edit->cursorPosition();
    const int length = selected ? int(edit->selectedText().size()) : 0;
    switch (TPaymentCalculator::FilterKey(typed, edit->text(), start, length, separator).Action) {
    case TAmountKeyDecision::Accept:
        return false;
    case TAmountKeyDecision::Separator:
        edit->insert(QString(separator));
        return true;
    case TAmountKeyDecision::Complete:
        if (btnComplete->isEnabled())
            btnComplete->click();
        return true;
    case TAmountKeyDecision::Swallow:
        return true;
    }
    return true;
}

void TfrmPayment::AmountExit(QLineEdit* edit)
{
    edit->setText(TPaymentCalculator::NormalisedEntry(edit->text()));
}

void TfrmPayment::showEvent(QShowEvent* event)
{
    TFramelessDialog::showEvent(event);
    edtNakit->setFocus();
    edtNakit->selectAll();
}

TShownDialog TfrmPayment::Describe() const
{
    TShownDialog shown;
    shown.Form = QStringLiteral("TfrmPayment");
    shown.Title = lblTotalTitle->text();
    shown.Amount = lblTotalAmount->text();
    shown.DefaultValue = edtNakit->text();
    shown.Buttons << btnCancel->text() << btnComplete->text();
    return shown;
}

TPaymentResult TfrmPayment::Execute(double Total)
{
    TfrmPayment form(DialogOwner());
    form.SetTotal(Total);
    int modalResult = mrCancel;
    if (TDialogTestHooks::Intercepting()) {
        TDialogTestHooks::Record(form.Describe());
        const std::optional<TDialogAnswer> answer = TDialogTestHooks::TakeAnswer();
        if (answer && answer->Result == mrOk) {
            form.edtNakit->setText(answer->Value.value_or(form.edtNakit->text()));
            form.edtKart->setText(answer->CardValue.value_or(form.edtKart->text()));
            if (form.btnComplete->isEnabled())
                form.btnCompleteClick();
            modalResult = form.result();
        }
    } else {
        modalResult = form.exec();
    }
    if (modalResult != mrOk)
        return {};
    return {true, form.PaymentNakit, form.PaymentKart, form.PaymentType};
}
