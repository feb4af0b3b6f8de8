#include "ui/CustomDialogForm.h"

#include "ui/MessageLabel.h"
#include "ui/POSButton.h"
#include "ui/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {
constexpr int kWidth = 450;
constexpr int kHeight = 250;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 40;
constexpr int kFooterHeight = 60;
constexpr int kButtonWidth = 112;
constexpr int kButtonHeight = 40;
// The message keeps this margin from the window's frame on both sides, and kMessageTop above
// and below: a long text wraps before it reaches the frame.
constexpr int kMessageMargin = 24;
constexpr int kMessageTop = 16;
} // namespace

TfrmCustomDialog::TfrmCustomDialog(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kWidth, kHeight},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(CreateTitle("lblTitle"))
    , lblMessage(new TMessageLabel(Content()))
    , btnOk(CreateButton(Footer(), "btnOk", QStringLiteral("Tamam"), TGlyph::None,
                         TButtonVariant::Primary))
    , btnCancel(CreateButton(Footer(), "btnCancel", QStringLiteral("Hayır"), TGlyph::None,
                             TButtonVariant::Default))
    , FAutoCloseTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmCustomDialog"));
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    FAutoCloseTimer->setObjectName(QStringLiteral("tmrAutoClose"));

    QFont messageFont = TPOSUITheme::TextFont(10);
    messageFont.setPixelSize(15);
    lblMessage->setFont(messageFont);
    lblMessage->setStyleSheet(QStringLiteral("color: %1;").arg(POSPalette::Text.name()));
    constexpr int contentWidth = kWidth - 2 * kFrame;
    constexpr int contentHeight = kHeight - 2 * kFrame - kHeaderHeight - kFooterHeight;
    lblMessage->setGeometry(kMessageMargin, kMessageTop, contentWidth - 2 * kMessageMargin,
                            contentHeight - 2 * kMessageTop);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    btnOk->setFixedSize(kButtonWidth, kButtonHeight);
    btnCancel->setFixedSize(kButtonWidth, kButtonHeight);

    GuardedConnect(FAutoCloseTimer, &QTimer::timeout, this,
                   &TfrmCustomDialog::FAutoCloseTimerTimer);
    GuardedConnect(btnOk, &QPushButton::clicked, this, &TfrmCustomDialog::btnOkClick);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, &TfrmCustomDialog::btnCancelClick);
}

QColor TfrmCustomDialog::HeaderColor(TDialogType DlgType)
{
    switch (DlgType) {
    case dtError:
        return POSPalette::ErrorHeader;
    case dtWarning:
        return POSPalette::WarningHeader;
    case dtInfo:
    case dtConfirmation:
        break;
    }
    return POSPalette::Header; // BGR 6240794
}

void TfrmCustomDialog::Setup(const QString& Title, const QString& Msg, TDialogType DlgType,
                             int AutoCloseMs)
{
    FDlgType = DlgType;
    lblTitle->setText(Title);
    lblMessage->setText(Msg);
    setWindowTitle(Title);
    QString okCaption = QStringLiteral("Tamam");
    bool withCancel = false;
    if (DlgType == dtError)
        okCaption = QStringLiteral("Kapat");
    if (DlgType == dtConfirmation) {
        okCaption = QStringLiteral("Evet");
        withCancel = true;
    }
    const QColor header = HeaderColor(DlgType);
    TPOSUITheme::SetColor(Header(), QPalette::Window, header);
    SetFrame(header, kFrame);

    TPOSUITheme::StyleButton(btnOk, okCaption, TGlyph::None, true, false);
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("Hayır"), TGlyph::None, false, false);
    btnOk->setVisible(true);
    btnCancel->setVisible(withCancel);
    PlaceButtons();

    FAutoCloseTimer->stop();
    FAutoCloseMs = AutoCloseMs;
    if (AutoCloseMs > 0) {
        FAutoCloseTimer->setInterval(AutoCloseMs);
        FAutoCloseTimer->start();
    }
}

void TfrmCustomDialog::PlaceButtons()
{
    const int width = Footer()->width() > 0 ? Footer()->width() : kWidth - 2 * kFrame;
    const int top = (kFooterHeight - kButtonHeight) / 2;
    if (btnCancel->isVisibleTo(this)) {
        const int cancelLeft = width - 20 - kButtonWidth;
        btnCancel->move(cancelLeft, top);
        btnOk->move(cancelLeft - 10 - kButtonWidth, top);
        return;
    }
    btnOk->move((width - kButtonWidth) / 2, top);
}

void TfrmCustomDialog::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    PlaceButtons();
}

void TfrmCustomDialog::FAutoCloseTimerTimer()
{
    FAutoCloseTimer->stop();
    done(mrOk);
}

void TfrmCustomDialog::btnOkClick()
{
    FAutoCloseTimer->stop();
    done(mrOk);
}

void TfrmCustomDialog::btnCancelClick()
{
    done(mrCancel);
}

void TfrmCustomDialog::reject()
{
    // Closing the window by other means answers as Esc does.
    done(btnCancel->isVisibleTo(this) ? mrCancel : mrOk);
}

bool TfrmCustomDialog::Timed() const
{
    return FAutoCloseMs > 0 && !btnCancel->isVisibleTo(this);
}

void TfrmCustomDialog::keyPressEvent(QKeyEvent* event)
{
    if (Timed() && PassScanToOwner(event)) {
        event->accept();
        btnOkClick();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (!btnCancel->isVisibleTo(this) && !Timed())
            btnOkClick();
        return;
    default:
        TBaseWindow::keyPressEvent(event);
    }
}

int TfrmCustomDialog::ShowDialog(const QString& Title, const QString& Msg, TDialogType DlgType,
                                 int AutoCloseMs)
{
    TfrmCustomDialog dialog(DialogOwner());
    dialog.Setup(Title, Msg, DlgType, AutoCloseMs);
    return dialog.ShowModal();
}

void ShowErrorBox(const QString& title, const QString& text)
{
    TfrmCustomDialog::ShowDialog(title, text, dtError);
}
