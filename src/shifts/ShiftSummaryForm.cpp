#include "shifts/ShiftSummaryForm.h"

#include "core/POSTextUtils.h"
#include "shifts/ShiftManager.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QLabel>

namespace {
constexpr int kWidth = 560;
constexpr int kHeight = 640;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 112;
constexpr int kFooterHeight = 76;
constexpr int kBodyWidth = kWidth - 2 * kFrame;
constexpr int kCardWidth = kBodyWidth - 48;

// A row caption on a card.
QLabel* Caption(QWidget* card, const char* name)
{
    return TPOSUITheme::CreateLabel(card, name, 10, false, POSPalette::CaptionText);
}

// A bold label: the header's captions and figures, the figures on the cards.
QLabel* Bold(QWidget* parent, const char* name, int pointSize, const QColor& color)
{
    return TPOSUITheme::CreateLabel(parent, name, pointSize, true, color);
}

TRoundShape* MakeCard(QWidget* parent, const char* name, int y, int height)
{
    auto* card = new TRoundShape(parent);
    card->setObjectName(QLatin1String(name));
    card->SetShape(POSPalette::Content, POSPalette::FrameLight, 1, 10);
    card->setGeometry(24, y, kCardWidth, height);
    return card;
}

QLabel* CardTitle(TRoundShape* card, const char* name, const QString& text)
{
    QLabel* title = TPOSUITheme::CreateLabel(card, name, 11, true, POSPalette::Header);
    title->setText(text);
    title->setGeometry(24, 12, kCardWidth - 48, 24);
    return title;
}
} // namespace

TfrmShiftSummary::TfrmShiftSummary(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kWidth, kHeight},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(CreateScreenTitle("lblTitle"))
    , lblSubTitle(CreateSubTitle("lblSubTitle"))
    , lblVardiya(Bold(Header(), "lblVardiya", 10, POSPalette::HeaderText))
    , lblVardiyaValue(Bold(Header(), "lblVardiyaValue", 10, POSPalette::HeaderFigure))
    , lblKasiyer(Bold(Header(), "lblKasiyer", 10, POSPalette::HeaderText))
    , lblKasiyerValue(Bold(Header(), "lblKasiyerValue", 10, POSPalette::HeaderFigure))
    , pnlSalesCard(MakeCard(Content(), "pnlSalesCard", 20, 200))
    , lblSalesTitle(CardTitle(pnlSalesCard, "lblSalesTitle", QStringLiteral("Satış Özeti")))
    , lblAcilisTitle(Caption(pnlSalesCard, "lblAcilisTitle"))
    , lblAcilisValue(Bold(pnlSalesCard, "lblAcilisValue", 10, POSPalette::Text))
    , lblBrutNakitTitle(Caption(pnlSalesCard, "lblBrutNakitTitle"))
    , lblBrutNakitValue(Bold(pnlSalesCard, "lblBrutNakitValue", 10, POSPalette::Text))
    , lblBrutKartTitle(Caption(pnlSalesCard, "lblBrutKartTitle"))
    , lblBrutKartValue(Bold(pnlSalesCard, "lblBrutKartValue", 10, POSPalette::Text))
    , lblIadeNakitTitle(Caption(pnlSalesCard, "lblIadeNakitTitle"))
    , lblIadeNakitValue(Bold(pnlSalesCard, "lblIadeNakitValue", 10, POSPalette::Text))
    , lblIadeToplamTitle(Caption(pnlSalesCard, "lblIadeToplamTitle"))
    , lblIadeToplamValue(Bold(pnlSalesCard, "lblIadeToplamValue", 10, POSPalette::Text))
    , pnlResultCard(MakeCard(Content(), "pnlResultCard", 236, 112))
    , lblResultTitle(CardTitle(pnlResultCard, "lblResultTitle", QStringLiteral("Kasa Sonucu")))
    , lblKasaTeslimTitle(Caption(pnlResultCard, "lblKasaTeslimTitle"))
    , lblKasaTeslimValue(Bold(pnlResultCard, "lblKasaTeslimValue", 15, POSPalette::HandOverFigure))
    , lblNetCiroTitle(Caption(pnlResultCard, "lblNetCiroTitle"))
    , lblNetCiroValue(Bold(pnlResultCard, "lblNetCiroValue", 15, POSPalette::CashFigure))
    , pnlFisCard(MakeCard(Content(), "pnlFisCard", 364, 76))
    , lblFisTitle(CardTitle(pnlFisCard, "lblFisTitle", QStringLiteral("Fiş Sayıları")))
    , lblAktifFisTitle(Caption(pnlFisCard, "lblAktifFisTitle"))
    , lblAktifFisValue(Bold(pnlFisCard, "lblAktifFisValue", 14, POSPalette::Text))
    , lblIadeFisTitle(Caption(pnlFisCard, "lblIadeFisTitle"))
    , lblIadeFisValue(Bold(pnlFisCard, "lblIadeFisValue", 14, POSPalette::Text))
    , btnClose(CreateButton(Footer(), "btnClose", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmShiftSummary::FormCreate()
{
    FVardiyaID = -1;
    setObjectName(QStringLiteral("frmShiftSummary"));
    setWindowTitle(QStringLiteral("Vardiya İcmali"));

    lblTitle->setText(QStringLiteral("VARDİYA İCMALİ"));
    lblTitle->setGeometry(24, 18, 480, 32);
    lblSubTitle->setText(QStringLiteral("Gün sonu satış ve kasa özeti"));
    lblSubTitle->setGeometry(26, 50, 480, 22);
    lblVardiya->setText(QStringLiteral("Vardiya:"));
    lblVardiya->setGeometry(26, 80, 62, 22);
    lblVardiyaValue->setGeometry(88, 80, 76, 22);
    lblKasiyer->setText(QStringLiteral("Kasiyer:"));
    lblKasiyer->setGeometry(166, 80, 60, 22);
    lblKasiyerValue->setGeometry(226, 80, kBodyWidth - 24 - 226, 22);

    const struct {
        QLabel* Caption;
        QLabel* Value;
        const char16_t* Text;
    } salesRows[] = {{lblAcilisTitle, lblAcilisValue, u"Açılış Tutarı"},
                     {lblBrutNakitTitle, lblBrutNakitValue, u"Brüt Nakit"},
                     {lblBrutKartTitle, lblBrutKartValue, u"Brüt Kart"},
                     {lblIadeNakitTitle, lblIadeNakitValue, u"İade Nakit"},
                     {lblIadeToplamTitle, lblIadeToplamValue, u"İade Toplamı"}};
    int y = 48;
    for (const auto& row : salesRows) {
        row.Caption->setText(QString::fromUtf16(row.Text));
        row.Caption->setGeometry(24, y, 160, 24);
        row.Value->setGeometry(kCardWidth - 24 - 152, y, 152, 24);
        row.Value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        y += 30;
    }

    lblKasaTeslimTitle->setText(QStringLiteral("Kasa Teslim (Beklenen)"));
    lblKasaTeslimTitle->setGeometry(24, 44, 190, 24);
    lblKasaTeslimValue->setGeometry(216, 38, kCardWidth - 24 - 216, 32);
    lblKasaTeslimValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblNetCiroTitle->setText(QStringLiteral("Net Ciro"));
    lblNetCiroTitle->setGeometry(24, 78, 190, 24);
    lblNetCiroValue->setGeometry(216, 72, kCardWidth - 24 - 216, 32);
    lblNetCiroValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    lblAktifFisTitle->setText(QStringLiteral("Aktif Fiş"));
    lblAktifFisTitle->setGeometry(32, 42, 86, 24);
    lblAktifFisValue->setGeometry(120, 34, 80, 32);
    lblIadeFisTitle->setText(QStringLiteral("İade Fiş"));
    lblIadeFisTitle->setGeometry(288, 42, 86, 24);
    lblIadeFisValue->setGeometry(376, 34, 80, 32);
    for (QLabel* count : {lblAktifFisValue, lblIadeFisValue})
        count->setAlignment(Qt::AlignCenter);

    btnClose->setGeometry(kBodyWidth - 24 - 124, 16, 124, 40);
    GuardedConnect(btnClose, &QPushButton::clicked, this, &TfrmShiftSummary::btnCloseClick);
    ApplyStyle();
}

void TfrmShiftSummary::ApplyStyle()
{
    TPOSUITheme::StyleForm(this);
    TPOSUITheme::StyleHeaderPanel(Header());
    TPOSUITheme::StyleFooterPanel(Footer());
    TPOSUITheme::StyleLightPanel(Content());
    TPOSUITheme::SetColor(Content(), QPalette::Window, POSPalette::Body);
    TPOSUITheme::StyleButton(btnClose, QStringLiteral("Kapat"), TGlyph::Close, false, false);
}

void TfrmShiftSummary::Execute(int VardiyaID)
{
    TfrmShiftSummary summary(DialogOwner());
    summary.SetVardiyaID(VardiyaID);
    summary.ShowModal();
}

void TfrmShiftSummary::SetVardiyaID(int AVardiyaID)
{
    FVardiyaID = AVardiyaID;
    LoadSummary();
}

void TfrmShiftSummary::LoadSummary()
{
    const TShiftSummaryData data = TShiftManager::LoadShiftSummary(FVardiyaID);
    const TShiftFigures& f = data.Figures;
    lblVardiyaValue->setText(QString::number(data.VardiyaID));
    lblKasiyerValue->setText(data.Kasiyer);
    lblAcilisValue->setText(FormatMoney(f.AcilisTutar));
    lblBrutNakitValue->setText(FormatMoney(f.BrutNakit));
    lblBrutKartValue->setText(FormatMoney(f.BrutKart));
    lblIadeNakitValue->setText(FormatMoney(f.IadeNakit));
    lblIadeToplamValue->setText(FormatMoney(f.IadeToplam));
    lblKasaTeslimValue->setText(FormatMoney(f.KasadaOlmasiGereken()));
    lblNetCiroValue->setText(FormatMoney(f.NetCiro()));
    lblAktifFisValue->setText(QString::number(f.AktifFis));
    lblIadeFisValue->setText(QString::number(f.IadeFis));
}

void TfrmShiftSummary::FormShow()
{
    CentreOnOwner();
    ApplyStyle();
}

void TfrmShiftSummary::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    FormShow();
}

void TfrmShiftSummary::btnCloseClick()
{
    close();
}
