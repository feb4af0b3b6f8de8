#include "ui/SaleSuccessDialogForm.h"

#include "core/POSTextUtils.h"
#include "ui/Glyphs.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

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

const QColor kGreen{0x16, 0x78, 0x40};
const QColor kMuted{0x5C, 0x6B, 0x7E};

QPixmap CheckCircle()
{
    QPixmap pixmap(kCircle * 2, kCircle * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGreen);
    painter.drawEllipse(QRectF(0, 0, kCircle, kCircle));
    const qreal glyph = 32;
    const qreal offset = (kCircle - glyph) / 2;
    Glyphs::Paint(painter, QRectF(offset, offset, glyph, glyph), Glyphs::FromMdl2(0xE73E),
                  Qt::white, 3);
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
    painter.setBrush(kGreen);
    painter.drawRoundedRect(QRect(0, 0, FFillWidth, height()), 2, 2);
}

TfrmSaleSuccessDialog::TfrmSaleSuccessDialog(QWidget* parent)
    : TFramelessDialog(parent)
    , pnlHeader(new QWidget(this))
    , lblHeaderTitle(MakeLabel(pnlHeader, QStringLiteral("lblHeaderTitle"), 18, true, Qt::white,
                               QStringLiteral("SATIŞ TAMAMLANDI")))
    , lblHeaderSubtitle(MakeLabel(pnlHeader, QStringLiteral("lblHeaderSubtitle"), 13, false,
                                  POSPalette::FrameLight,
                                  QStringLiteral("İşlem başarıyla kaydedildi")))
    , pnlBody(new QWidget(this))
    , pnlCheckCircle(new QLabel(pnlBody))
    , lblSuccessText(MakeLabel(pnlBody, QStringLiteral("lblSuccessText"), 16, true,
                               POSPalette::Text, QStringLiteral("Fiş başarıyla oluşturuldu")))
    , shpAmountCard(MakeCard(pnlBody, QStringLiteral("shpAmountCard"), {24, 80, 422, 58}))
    , lblAmount(MakeLabel(pnlBody, QStringLiteral("lblAmount"), 28, true, kGreen))
    , shpFisCard(MakeCard(pnlBody, QStringLiteral("shpFisCard"), {24, 148, 205, 50}))
    , lblFisCaption(MakeLabel(pnlBody, QStringLiteral("lblFisCaption"), 12, false, kMuted,
                              QStringLiteral("Fiş No")))
    , lblFisValue(MakeLabel(pnlBody, QStringLiteral("lblFisValue"), 14, true, POSPalette::Text))
    , shpPaymentCard(MakeCard(pnlBody, QStringLiteral("shpPaymentCard"), {241, 148, 205, 50}))
    , lblPaymentCaption(MakeLabel(pnlBody, QStringLiteral("lblPaymentCaption"), 12, false, kMuted,
                                  QStringLiteral("Ödeme")))
    , lblPaymentValue(
          MakeLabel(pnlBody, QStringLiteral("lblPaymentValue"), 14, true, POSPalette::Text))
    , pnlFooter(new QWidget(this))
    , pbCountdown(new TCountdownBar(pnlFooter))
    , btnOk(new TPOSButton(pnlFooter))
{
    setObjectName(QStringLiteral("frmSaleSuccessDialog"));
    pnlHeader->setObjectName(QStringLiteral("pnlHeader"));
    pnlBody->setObjectName(QStringLiteral("pnlBody"));
    pnlCheckCircle->setObjectName(QStringLiteral("pnlCheckCircle"));
    pnlFooter->setObjectName(QStringLiteral("pnlFooter"));
    pbCountdown->setObjectName(QStringLiteral("pbCountdown"));
    btnOk->setObjectName(QStringLiteral("btnOk"));

    SetUpBands({kWidth, kHeight}, kFrame,
               {pnlHeader, kHeaderHeight, pnlBody, pnlFooter, kFooterHeight});

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
    TPOSUITheme::StyleButton(btnOk, QStringLiteral("Tamam"), TGlyph::None, true, false);

    FTimer.setInterval(TickMs);
    connect(&FTimer, &QTimer::timeout, this, &TfrmSaleSuccessDialog::tmrCountdownTimer);
    connect(btnOk, &QPushButton::clicked, this, &TfrmSaleSuccessDialog::CloseNow);
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
    FTimer.stop();
    if (FAutoCloseMs > 0)
        FTimer.start();
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
    FTimer.stop();
    done(mrOk);
}

void TfrmSaleSuccessDialog::CloseNow()
{
    FTimer.stop();
    done(mrOk);
}

void TfrmSaleSuccessDialog::reject()
{
    CloseNow();
}

void TfrmSaleSuccessDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        CloseNow();
        return;
    default:
        TFramelessDialog::keyPressEvent(event);
    }
}

TShownDialog TfrmSaleSuccessDialog::Describe() const
{
    TShownDialog shown;
    shown.Form = QStringLiteral("TfrmSaleSuccessDialog");
    shown.Title = lblHeaderTitle->text();
    shown.Text = lblFisValue->text();
    shown.AutoCloseMs = FAutoCloseMs;
    shown.Buttons << btnOk->text();
    shown.Amount = lblAmount->text();
    shown.Payment = lblPaymentValue->text();
    return shown;
}

void TfrmSaleSuccessDialog::ShowSale(const QString& AFisNo, double ATotal,
                                     const QString& APaymentType, int AAutoCloseMs)
{
    TfrmSaleSuccessDialog dialog(DialogOwner());
    dialog.Setup(AFisNo, ATotal, APaymentType, AAutoCloseMs);
    if (TDialogTestHooks::Intercepting()) {
        TDialogTestHooks::Record(dialog.Describe());
        TDialogTestHooks::TakeAnswer();
        return;
    }
    dialog.exec();
}
