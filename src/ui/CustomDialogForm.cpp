#include "ui/CustomDialogForm.h"

#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QKeyEvent>
#include <QLabel>

namespace {
constexpr int kWidth = 450;
constexpr int kHeight = 250;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 40;
constexpr int kFooterHeight = 60;
constexpr int kButtonWidth = 112;
constexpr int kButtonHeight = 40;

const QColor kRed{0xFF, 0x00, 0x00};
const QColor kOrange{0xFF, 0x80, 0x00}; // BGR 33023
} // namespace

TfrmCustomDialog::TfrmCustomDialog(QWidget* parent)
    : TFramelessDialog(parent)
    , pnlTop(new QWidget(this))
    , lblTitle(new QLabel(pnlTop))
    , pnlContent(new QWidget(this))
    , lblMessage(new QLabel(pnlContent))
    , imgIcon(new QLabel(pnlContent))
    , pnlBottom(new QWidget(this))
    , btnOk(new TPOSButton(pnlBottom))
    , btnCancel(new TPOSButton(pnlBottom))
{
    setObjectName(QStringLiteral("frmCustomDialog"));
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    pnlContent->setObjectName(QStringLiteral("pnlContent"));
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    SetUpBands({kWidth, kHeight}, kFrame,
               {pnlTop, kHeaderHeight, pnlContent, pnlBottom, kFooterHeight});

    StyleHeaderTitle(lblTitle, kHeaderHeight);

    imgIcon->setGeometry(20, 18, 64, 64);
    QFont messageFont = TPOSUITheme::TextFont(10);
    messageFont.setPixelSize(15);
    lblMessage->setFont(messageFont);
    lblMessage->setStyleSheet(QStringLiteral("color: #151C25;"));
    lblMessage->setGeometry(100, 18, 330, 110);
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblMessage->setTextFormat(Qt::PlainText);

    btnOk->setFixedSize(kButtonWidth, kButtonHeight);
    btnCancel->setFixedSize(kButtonWidth, kButtonHeight);

    connect(&FAutoCloseTimer, &QTimer::timeout, this, [this] {
        FAutoCloseTimer.stop();
        done(mrOk);
    });
    connect(btnOk, &QPushButton::clicked, this, &TfrmCustomDialog::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmCustomDialog::btnCancelClick);
}

QColor TfrmCustomDialog::HeaderColor(TDialogType DlgType)
{
    switch (DlgType) {
    case dtError:
        return kRed;
    case dtWarning:
        return kOrange;
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
    QPalette palette = pnlTop->palette();
    palette.setColor(QPalette::Window, header);
    pnlTop->setPalette(palette);
    SetFrame(header, kFrame);

    TPOSUITheme::StyleButton(btnOk, okCaption, TGlyph::None, true, false);
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("Hayır"), TGlyph::None, false, false);
    btnOk->setVisible(true);
    btnCancel->setVisible(withCancel);
    PlaceButtons();

    FAutoCloseTimer.stop();
    if (AutoCloseMs > 0) {
        FAutoCloseTimer.setInterval(AutoCloseMs);
        FAutoCloseTimer.start();
    }
}

void TfrmCustomDialog::PlaceButtons()
{
    const int width = pnlBottom->width() > 0 ? pnlBottom->width() : kWidth - 2 * kFrame;
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
    TFramelessDialog::resizeEvent(event);
    PlaceButtons();
}

TShownDialog TfrmCustomDialog::Describe() const
{
    TShownDialog shown;
    shown.Form = QStringLiteral("TfrmCustomDialog");
    shown.Title = lblTitle->text();
    shown.Text = lblMessage->text();
    shown.DlgType = FDlgType;
    shown.AutoCloseMs = FAutoCloseTimer.isActive() ? FAutoCloseTimer.interval() : 0;
    shown.Buttons << btnOk->text();
    if (btnCancel->isVisibleTo(this))
        shown.Buttons << btnCancel->text();
    return shown;
}

void TfrmCustomDialog::btnOkClick()
{
    FAutoCloseTimer.stop();
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

void TfrmCustomDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (!btnCancel->isVisibleTo(this))
            btnOkClick();
        return;
    default:
        TFramelessDialog::keyPressEvent(event);
    }
}

int TfrmCustomDialog::ShowDialog(const QString& Title, const QString& Msg, TDialogType DlgType,
                                 int AutoCloseMs)
{
    TfrmCustomDialog dialog(DialogOwner());
    dialog.Setup(Title, Msg, DlgType, AutoCloseMs);
    if (!TDialogTestHooks::Intercepting())
        return dialog.exec();
    TDialogTestHooks::Record(dialog.Describe());
    const std::optional<TDialogAnswer> answer = TDialogTestHooks::TakeAnswer();
    if (DlgType != dtConfirmation)
        return mrOk;
    return answer ? answer->Result : mrCancel;
}
