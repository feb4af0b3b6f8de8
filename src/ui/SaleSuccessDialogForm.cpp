#include "ui/SaleSuccessDialogForm.h"

#include "core/POSTextUtils.h"
#include "ui/Glyphs.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {
constexpr int kWidth = 474;
constexpr int kHeight = 333;
constexpr int kFrame = 2;
constexpr int kInnerWidth = kWidth - 2 * kFrame;
constexpr int kHeaderHeight = 64;
constexpr int kFooterHeight = 60;
constexpr int kCircle = 52;

QPixmap CheckCircle()
{
    QPixmap pixmap(kCircle * 2, kCircle * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(POSPalette::Success);
    painter.drawEllipse(QRectF(0, 0, kCircle, kCircle));
    const qreal glyph = 32;
    const qreal offset = (kCircle - glyph) / 2;
    Glyphs::Paint(painter, QRectF(offset, offset, glyph, glyph), Glyphs::FromMdl2(0xE73E),
                  POSPalette::BadgeGlyph, 3);
    return pixmap;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, int pixelSize, bool bold,
                  const QColor& color, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = bold ? TPOSUITheme::SemiboldFont(10) : TPOSUITheme::TextFont(10);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(color.name()));
    label->setTextFormat(Qt::PlainText);
    return label;
}

TRoundShape* MakeCard(QWidget* parent, const QString& name, const QRect& bounds)
{
    auto* card = new TRoundShape(parent);
    card->setObjectName(name);
    card->setGeometry(bounds);
    TPOSUITheme::StyleRoundShape(card);
    return card;
}
} // namespace

TCountdownBar::TCountdownBar(QWidget* parent)
    : QWidget(parent)
{
}

void TCountdownBar::SetFillWidth(int width)
{
    FFillWidth = width;
    update();
}

void TCountdownBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(POSPalette::FrameLight);
    painter.drawRoundedRect(rect(), 2, 2);
    if (FFillWidth <= 0)
        return;
    painter.setBrush(POSPalette::Success);
    painter.drawRoundedRect(QRect(0, 0, FFillWidth, height()), 2, 2);
}

TfrmSaleSuccessDialog::TfrmSaleSuccessDialog(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kWidth, kHeight},
                   kFrame,
                   "pnlHeader",
                   kHeaderHeight,
                   "pnlBody",
                   "pnlFooter",
                   kFooterHeight})
    , lblHeaderTitle(MakeLabel(Header(), QStringLiteral("lblHeaderTitle"), 18, true,
                               POSPalette::HeaderText, QStringLiteral("SATIŞ TAMAMLANDI")))
    , lblHeaderSubtitle(MakeLabel(Header(), QStringLiteral("lblHeaderSubtitle"), 13, false,
                                  POSPalette::HeaderSubText,
                                  QStringLiteral("İşlem başarıyla kaydedildi")))
    , pnlCheckCircle(new QLabel(Content()))
    , lblSuccessText(MakeLabel(Content(), QStringLiteral("lblSuccessText"), 16, true,
                               POSPalette::Text, QStringLiteral("Fiş başarıyla oluşturuldu")))
    , shpAmountCard(MakeCard(Content(), QStringLiteral("shpAmountCard"), {24, 80, 422, 58}))
    , lblAmount(MakeLabel(Content(), QStringLiteral("lblAmount"), 28, true, POSPalette::Success))
    , shpFisCard(MakeCard(Content(), QStringLiteral("shpFisCard"), {24, 148, 205, 50}))
    , lblFisCaption(MakeLabel(Content(), QStringLiteral("lblFisCaption"), 12, false,
                              POSPalette::MutedText, QStringLiteral("Fiş No")))
    , lblFisValue(MakeLabel(Content(), QStringLiteral("lblFisValue"), 14, true, POSPalette::Text))
    , shpPaymentCard(MakeCard(Content(), QStringLiteral("shpPaymentCard"), {241, 148, 205, 50}))
    , lblPaymentCaption(MakeLabel(Content(), QStringLiteral("lblPaymentCaption"), 12, false,
                                  POSPalette::MutedText, QStringLiteral("Ödeme")))
    , lblPaymentValue(
          MakeLabel(Content(), QStringLiteral("lblPaymentValue"), 14, true, POSPalette::Text))
    , pbCountdown(new TCountdownBar(Footer()))
    , btnOk(CreateButton(Footer(), "btnOk", QStringLiteral("Tamam"), TGlyph::None,
                         TButtonVariant::Primary))
    , FTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSaleSuccessDialog"));
    pnlCheckCircle->setObjectName(QStringLiteral("pnlCheckCircle"));
    pbCountdown->setObjectName(QStringLiteral("pbCountdown"));
    FTimer->setObjectName(QStringLiteral("tmrCountdown"));

    lblHeaderTitle->setGeometry(24, 10, kInnerWidth - 48, 26);
    lblHeaderSubtitle->setGeometry(24, 36, kInnerWidth - 48, 20);

    pnlCheckCircle->setGeometry(24, 16, kCircle, kCircle);
    pnlCheckCircle->setPixmap(CheckCircle());
    lblSuccessText->setGeometry(24 + kCircle + 16, 16, 340, kCircle);
    lblSuccessText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    lblAmount->setGeometry(shpAmountCard->geometry());
    lblAmount->setAlignment(Qt::AlignCenter);
    for (auto [card, caption, value] :
         {std::tuple{shpFisCard, lblFisCaption, lblFisValue},
          std::tuple{shpPaymentCard, lblPaymentCaption, lblPaymentValue}}) {
        const QRect box = card->geometry();
        caption->setGeometry(box.left() + 14, box.top() + 5, box.width() - 28, 18);
        value->setGeometry(box.left() + 14, box.top() + 23, box.width() - 28, 22);
    }

    const int trackTop = (kFooterHeight - 4) / 2;
    pbCountdown->setGeometry(24, trackTop, TrackWidth, 4);
    btnOk->setGeometry(kInnerWidth - 24 - 112, (kFooterHeight - 40) / 2, 112, 40);

    FTimer->setInterval(TickMs);
    GuardedConnect(FTimer, &QTimer::timeout, this, &TfrmSaleSuccessDialog::tmrCountdownTimer);
    GuardedConnect(btnOk, &QPushButton::clicked, this, &TfrmSaleSuccessDialog::CloseNow);
}

void TfrmSaleSuccessDialog::Setup(const QString& AFisNo, double ATotal, const QString& APaymentType,
                                  int AAutoCloseMs)
{
    lblFisValue->setText(AFisNo);
    lblAmount->setText(FormatMoney(ATotal));
    lblPaymentValue->setText(PaymentTypeDisplay(APaymentType, true));
    FAutoCloseMs = AAutoCloseMs;
    FElapsedMs = 0;
    pbCountdown->setVisible(FAutoCloseMs > 0);
    pbCountdown->SetFillWidth(ProgressFillWidth());
    FTimer->stop();
    if (FAutoCloseMs > 0)
        FTimer->start();
}

bool TfrmSaleSuccessDialog::CountdownActive() const
{
    return FTimer->isActive();
}

int TfrmSaleSuccessDialog::ProgressFillWidth() const
{
    if (FAutoCloseMs <= 0)
        return TrackWidth;
    const double left = std::max(0, FAutoCloseMs - FElapsedMs);
    return int(std::lround(TrackWidth * left / FAutoCloseMs));
}

void TfrmSaleSuccessDialog::tmrCountdownTimer()
{
    FElapsedMs += TickMs;
    pbCountdown->SetFillWidth(ProgressFillWidth());
    if (FElapsedMs < FAutoCloseMs)
        return;
    FTimer->stop();
    done(mrOk);
}

void TfrmSaleSuccessDialog::CloseNow()
{
    FTimer->stop();
    done(mrOk);
}

void TfrmSaleSuccessDialog::reject()
{
    CloseNow();
}

void TfrmSaleSuccessDialog::keyPressEvent(QKeyEvent* event)
{
    if (PassScanToOwner(event)) {
        event->accept();
        CloseNow();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        CloseNow();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The Enter of a scan that follows the sale must not close the notice unseen.
        event->accept();
        return;
    default:
        TBaseWindow::keyPressEvent(event);
    }
}

void TfrmSaleSuccessDialog::ShowSale(const QString& AFisNo, double ATotal,
                                     const QString& APaymentType, int AAutoCloseMs)
{
    TfrmSaleSuccessDialog dialog(DialogOwner());
    dialog.Setup(AFisNo, ATotal, APaymentType, AAutoCloseMs);
    dialog.ShowModal();
}
