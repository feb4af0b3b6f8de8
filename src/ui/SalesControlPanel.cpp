#include "ui/SalesControlPanel.h"

#include "core/POSTextUtils.h"
#include "sales/CartManager.h"
#include "ui/Glyphs.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <iterator>

namespace {
constexpr int kPadLeft = 10;
constexpr int kPadTop = 5;
constexpr int kPadRight = 10;
constexpr int kPadBottom = 10;
constexpr int kBarcodeLabelHeight = 22;
constexpr int kBarcodeInputHeight = 34;
constexpr int kStokSecWidth = 88;
constexpr int kStokSecGap = 6;
constexpr int kBarkodOkuHeight = 42;
constexpr int kActionsHeight = 100;
constexpr int kActionsMargin = 10;
constexpr int kActionsGap = 8;
constexpr int kPayHeight = 50;
constexpr int kPayMargin = 10;
constexpr int kGap = 8;
constexpr int kLastSaleRows = 4;
// The totals read as money from the start, before the cart first changes.

QFont CaptionFont()
{
    return TPOSUITheme::SemiboldFont(10, true);
}

QString BarcodeFieldStyle()
{
    return QStringLiteral("QLineEdit { background: %1; color: %2; border: 1px solid %3; "
                          "border-radius: 6px; padding: 0 8px; }"
                          "QLineEdit:focus { border-color: %4; }")
        .arg(POSPalette::Content.name(), POSPalette::Text.name(), POSPalette::FrameLight.name(),
             POSPalette::ActionFramePressed.name());
}

// The small painted barcode inside "Barkodu Ekle".
class TBarcodeIconBox : public QWidget {
public:
    explicit TBarcodeIconBox(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        static constexpr int kBars[] = {2, 1, 1, 2, 3, 1, 1, 1, 2, 3, 1, 2, 1};
        QPainter painter(this);
        painter.fillRect(rect(), POSPalette::Content);
        int x = 2;
        for (int i = 0; i < int(std::size(kBars)); ++i) {
            if (i % 2 == 0)
                painter.fillRect(QRect(x, 4, kBars[i], height() - 9), POSPalette::Accent);
            x += kBars[i] + 1;
        }
        painter.setPen(POSPalette::Accent);
        painter.drawLine(1, height() - 3, width() - 2, height() - 3);
    }
};
} // namespace

TSalesControlPanel::TSalesControlPanel(QWidget* parent, const TSalesControlHandlers& handlers)
    : QWidget(parent)
    , lblBarkod(TPOSUITheme::CreateStyledLabel(
          this, QStringLiteral("lblBarkod"), QStringLiteral("Hızlı Barkod Girişi"),
          TPOSUITheme::PixelFont(CaptionFont(), 13), POSPalette::ActionText))
    , pnlBarcodeInput(new QWidget(this))
    , edtBarkod(new QLineEdit(pnlBarcodeInput))
    , btnStokSec(TPOSUITheme::CreateLookButton(pnlBarcodeInput, QStringLiteral("btnStokSec"),
                                               QStringLiteral("Seç"), TGlyph::Search,
                                               TPOSUITheme::AccentButtonLook(6)))
    , btnBarkodOku(TPOSUITheme::CreateLookButton(this, QStringLiteral("btnBarkodOku"), QString(),
                                                 TGlyph::None, TPOSUITheme::ActionButtonLook()))
    , pbBarkodOkuIcon(new TBarcodeIconBox(btnBarkodOku))
    , lblBarkodOkuText(TPOSUITheme::CreateStyledLabel(
          btnBarkodOku, QStringLiteral("lblBarkodOkuText"), QStringLiteral("Barkodu Ekle"),
          CaptionFont(), POSPalette::ActionText))
    , pnlActions(new QWidget(this))
    , FMiktarDegistir(AddAction(QStringLiteral("MiktarDegistir"), QStringLiteral("Miktar Düzenle"),
                                0xE70F, handlers.btnMiktarDegistirClick))
    , FIndirimYap(AddAction(QStringLiteral("IndirimYap"), QStringLiteral("İndirim Uygula"), 0xE8EC,
                            handlers.btnIndirimYapClick))
    , FSatirSil(AddAction(QStringLiteral("SatirSil"), QStringLiteral("Satırı Sil"), 0xE74D,
                          handlers.btnSatirSilClick))
    , FTemizle(AddAction(QStringLiteral("Temizle"), QStringLiteral("Sepeti Temizle"), 0xE7BF,
                         handlers.btnTemizleClick))
    , pnlTotals(new QWidget(this))
    , FAraToplam(AddTotal(QStringLiteral("AraToplam"), QStringLiteral("Ara Toplam:"),
                          POSPalette::CartText))
    , FKDV(AddTotal(QStringLiteral("KDV"), QStringLiteral("KDV:"), POSPalette::CartText))
    , FIndirim(AddTotal(QStringLiteral("Indirim"), QStringLiteral("İndirim:"), POSPalette::Danger))
    , FGenelToplam(AddTotal(QStringLiteral("GenelToplam"), QStringLiteral("Genel Toplam:"),
                            POSPalette::GrandTotal))
    , pnlLastSale(new QWidget(this))
    , btnOdemeAl(TPOSUITheme::CreateLookButton(this, QStringLiteral("btnOdemeAl"),
                                               QStringLiteral("ÖDEME AL"), TGlyph::None,
                                               TPOSUITheme::AccentButtonLook(8)))
{
    setObjectName(QStringLiteral("pnlControlArea"));
    TPOSUITheme::FillBackground(this, POSPalette::CashierPanel);
    SetupBarcodeInput(handlers);
    SetupBarcodeButton(handlers);
    pnlActions->setObjectName(QStringLiteral("pnlActions"));
    pnlTotals->setObjectName(QStringLiteral("pnlTotals"));
    TPOSUITheme::FillBackground(pnlTotals, POSPalette::Content);
    pnlLastSale->setObjectName(QStringLiteral("pnlLastSale"));
    TPOSUITheme::FillBackground(pnlLastSale, POSPalette::Content);
    for (int i = 1; i <= kLastSaleRows; ++i)
        FLastSaleRows << AddLastSaleRow(i);
    pnlLastSale->hide();
    btnOdemeAl->setFont(TPOSUITheme::SemiboldFont(18, false));
    GuardedConnect(btnOdemeAl, &QPushButton::clicked, this, handlers.btnOdemeAlClick);
}

void TSalesControlPanel::SetupBarcodeInput(const TSalesControlHandlers& handlers)
{
    pnlBarcodeInput->setObjectName(QStringLiteral("pnlBarcodeInput"));
    edtBarkod->setObjectName(QStringLiteral("edtBarkod"));
    TPOSUITheme::StyleEdit(edtBarkod);
    edtBarkod->setFont(TPOSUITheme::TextFont(14));
    edtBarkod->setStyleSheet(BarcodeFieldStyle());
    edtBarkod->setPlaceholderText(QStringLiteral("Barkod okutunuz veya klavyeden giriniz..."));
    btnStokSec->setFont(CaptionFont());
    GuardedConnect(btnStokSec, &QPushButton::clicked, this, handlers.btnStokSecClick);
}

void TSalesControlPanel::SetupBarcodeButton(const TSalesControlHandlers& handlers)
{
    pbBarkodOkuIcon->setObjectName(QStringLiteral("pbBarkodOkuIcon"));
    lblBarkodOkuText->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblBarkodOkuText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    GuardedConnect(btnBarkodOku, &QPushButton::clicked, this, handlers.btnBarkodOkuClick);
}

TSalesControlPanel::TActionButton
TSalesControlPanel::AddAction(const QString& name, const QString& text, char16_t icon,
                              const std::function<void()>& handler)
{
    TActionButton action{TPOSUITheme::CreateLookButton(pnlActions, QStringLiteral("btn") + name, {},
                                                       TGlyph::None,
                                                       TPOSUITheme::ActionButtonLook()),
                         nullptr, nullptr};
    action.Icon = new TGlyphLabel(Glyphs::FromMdl2(icon), action.Button);
    action.Icon->setObjectName(QStringLiteral("lbl") + name + QStringLiteral("Icon"));
    action.Icon->SetGlyphSize(16);
    action.Icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    action.Text = new QLabel(text, action.Button);
    action.Text->setObjectName(QStringLiteral("lbl") + name + QStringLiteral("Text"));
    action.Text->setFont(CaptionFont());
    action.Text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    action.Text->setAttribute(Qt::WA_TransparentForMouseEvents);
    GuardedConnect(action.Button, &QPushButton::clicked, this, handler);
    return action;
}

TSalesControlPanel::TTotalRow TSalesControlPanel::AddTotal(const QString& name, const QString& text,
                                                           const QColor& color)
{
    TTotalRow row{TPOSUITheme::CreateStyledLabel(pnlTotals, QStringLiteral("lbl") + name, text,
                                                 TPOSUITheme::SemiboldFont(11, false),
                                                 POSPalette::MutedText),
                  TPOSUITheme::CreateStyledLabel(
                      pnlTotals, QStringLiteral("lbl") + name + QStringLiteral("_Value"),
                      FormatMoney(0), TPOSUITheme::PixelFont(CaptionFont(), 20), color)};
    row.Caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row.Value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

TSalesControlPanel::TTotalRow TSalesControlPanel::AddLastSaleRow(int number)
{
    const QString n = QString::number(number);
    TTotalRow row{TPOSUITheme::CreateStyledLabel(
                      pnlLastSale, QStringLiteral("lblLastSaleCaption") + n, QString(),
                      TPOSUITheme::SemiboldFont(11, false), POSPalette::MutedText),
                  TPOSUITheme::CreateStyledLabel(
                      pnlLastSale, QStringLiteral("lblLastSaleValue") + n, QString(),
                      TPOSUITheme::PixelFont(CaptionFont(), 20), POSPalette::CartText)};
    row.Caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row.Value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

QList<TSalesControlPanel::TActionButton> TSalesControlPanel::Actions() const
{
    return {FMiktarDegistir, FIndirimYap, FSatirSil, FTemizle};
}

QList<TSalesControlPanel::TTotalRow> TSalesControlPanel::Totals() const
{
    return {FAraToplam, FKDV, FIndirim, FGenelToplam};
}

void TSalesControlPanel::ShowTotals(const TCartManager& cart)
{
    FAraToplam.Value->setText(FormatMoney(cart.AraToplam()));
    FKDV.Value->setText(FormatMoney(cart.ToplamKDV()));
    FIndirim.Value->setText(FormatMoney(cart.ToplamIndirim()));
    FGenelToplam.Value->setText(FormatMoney(cart.GenelToplam()));
}

void TSalesControlPanel::ShowLastSale(const QList<TCaptionRow>& rows)
{
    FLastSale = rows.mid(0, FLastSaleRows.size());
    for (int i = 0; i < FLastSaleRows.size(); ++i) {
        const TTotalRow& row = FLastSaleRows.at(i);
        const bool shown = i < FLastSale.size();
        const bool change = i == FLastSale.size() - 1;
        row.Caption->setText(shown ? FLastSale.at(i).Caption : QString());
        row.Caption->setVisible(shown);
        row.Value->setVisible(shown);
        TPOSUITheme::SetLabelColor(row.Value,
                                   change ? POSPalette::ChangeDue : POSPalette::CartText);
    }
    pnlLastSale->setVisible(!FLastSale.isEmpty());
    pnlTotals->setVisible(FLastSale.isEmpty());
    LayoutLastSale(width() - kPadLeft - kPadRight);
}

void TSalesControlPanel::ShowActions(bool hasLines, bool lineChosen, bool payEnabled,
                                     const QString& payCaption)
{
    btnOdemeAl->setEnabled(payEnabled);
    btnOdemeAl->setText(payCaption);
    FTemizle.Button->setEnabled(hasLines);
    FSatirSil.Button->setEnabled(lineChosen);
    FMiktarDegistir.Button->setEnabled(lineChosen);
    FIndirimYap.Button->setEnabled(lineChosen);
    for (const TActionButton& action : Actions()) {
        const bool enabled = action.Button->isEnabled();
        action.Icon->setEnabled(enabled);
        action.Text->setEnabled(enabled);
        action.Icon->SetColors(enabled ? POSPalette::Accent : POSPalette::ActionGlyphDisabled,
                               POSPalette::ActionGlyphDisabled);
        TPOSUITheme::SetLabelColor(action.Text, enabled ? POSPalette::ActionText
                                                        : POSPalette::ActionTextDisabled);
    }
}

void TSalesControlPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutArea();
    LayoutBarcodeButton();
    for (const TActionButton& action : Actions())
        LayoutActionButton(action);
}

void TSalesControlPanel::LayoutArea()
{
    const int inner = width() - kPadLeft - kPadRight;
    int y = kPadTop;
    lblBarkod->setGeometry(kPadLeft, y, inner, kBarcodeLabelHeight);
    y += kBarcodeLabelHeight + 4;
    pnlBarcodeInput->setGeometry(kPadLeft, y, inner, kBarcodeInputHeight);
    edtBarkod->setGeometry(0, 0, inner - kStokSecWidth - kStokSecGap, kBarcodeInputHeight);
    btnStokSec->setGeometry(inner - kStokSecWidth, 0, kStokSecWidth, kBarcodeInputHeight);
    y += kBarcodeInputHeight + kGap;
    btnBarkodOku->setGeometry(kPadLeft, y, inner, kBarkodOkuHeight);
    y += kBarkodOkuHeight + kActionsMargin;
    pnlActions->setGeometry(kPadLeft, y, inner, kActionsHeight);
    LayoutActions(inner);
    y += kActionsHeight + kActionsMargin;

    const int payTop = Height - kPadBottom - kPayHeight;
    btnOdemeAl->setGeometry(kPadLeft, payTop, inner, kPayHeight);
    pnlTotals->setGeometry(kPadLeft, y, inner, qMax(0, payTop - kPayMargin - y));
    pnlLastSale->setGeometry(pnlTotals->geometry());
    LayoutRows(Totals(), inner);
    LayoutLastSale(inner);
}

// The figures are fitted to their labels once these have their width: an amount is never cut.
void TSalesControlPanel::LayoutLastSale(int inner)
{
    LayoutRows(FLastSaleRows.mid(0, FLastSale.size()), inner);
    for (int i = 0; i < FLastSale.size(); ++i)
        TPOSUITheme::SetFittedText(FLastSaleRows.at(i).Value, FLastSale.at(i).Value,
                                   i == FLastSale.size() - 1 ? 26 : 20);
}

void TSalesControlPanel::LayoutRows(const QList<TTotalRow>& rows, int inner) const
{
    if (rows.isEmpty())
        return;
    const int rowHeight = (pnlTotals->height() - 8) / int(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const int top = 4 + i * rowHeight;
        rows.at(i).Caption->setGeometry(14, top, inner / 2, rowHeight);
        rows.at(i).Value->setGeometry(inner / 2, top, inner / 2 - 14, rowHeight);
    }
}

void TSalesControlPanel::LayoutActions(int inner)
{
    const int cellWidth = (inner - kActionsGap) / 2;
    const int cellHeight = (kActionsHeight - kActionsGap) / 2;
    const int rightWidth = inner - cellWidth - kActionsGap;
    const int lowerHeight = kActionsHeight - cellHeight - kActionsGap;
    FMiktarDegistir.Button->setGeometry(0, 0, cellWidth, cellHeight);
    FIndirimYap.Button->setGeometry(cellWidth + kActionsGap, 0, rightWidth, cellHeight);
    FSatirSil.Button->setGeometry(0, cellHeight + kActionsGap, cellWidth, lowerHeight);
    FTemizle.Button->setGeometry(cellWidth + kActionsGap, cellHeight + kActionsGap, rightWidth,
                                 lowerHeight);
}

void TSalesControlPanel::LayoutBarcodeButton()
{
    const int w =
        QFontMetrics(lblBarkodOkuText->font()).horizontalAdvance(lblBarkodOkuText->text());
    const int x = qMax(14, (btnBarkodOku->width() - (w + 38)) / 2);
    pbBarkodOkuIcon->setGeometry(x, (btnBarkodOku->height() - 24) / 2, 28, 24);
    lblBarkodOkuText->setGeometry(x + 38, 0, w + 8, btnBarkodOku->height());
    pbBarkodOkuIcon->update();
}

void TSalesControlPanel::LayoutActionButton(const TActionButton& action)
{
    const int w = QFontMetrics(action.Text->font()).horizontalAdvance(action.Text->text());
    const int clientWidth = action.Button->width();
    const int x = qMax(14, (clientWidth - (w + 32)) / 2);
    action.Icon->setGeometry(x, 0, 24, action.Button->height());
    action.Text->setGeometry(x + 32, 0, qMax(0, clientWidth - x - 40), action.Button->height());
}
