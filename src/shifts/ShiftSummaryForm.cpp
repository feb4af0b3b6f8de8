#include "shifts/ShiftSummaryForm.h"

#include "core/POSTextUtils.h"
#include "shifts/ShiftManager.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QLabel>

namespace {
constexpr int kWidth = 560;
constexpr int kHeight = 640;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 112;
constexpr int kFooterHeight = 76;
constexpr int kBodyWidth = kWidth - 2 * kFrame;
constexpr int kCardWidth = kBodyWidth - 48;

const QColor kBody{0xF5, 0xF7, 0xFA};
const QColor kHeaderValue{0xE3, 0xBE, 0x3E};
const QColor kSubTitle{0xC9, 0xD8, 0xE4};
const QColor kCaption{0x63, 0x6D, 0x7B};
const QColor kKasaTeslim{0xDD, 0x73, 0xC8};
const QColor kNetCiro{0x34, 0x8B, 0x66};

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
    : TFramelessDialog(parent)
    , pnlTop(new QWidget(this))
    , lblTitle(TPOSUITheme::CreateLabel(pnlTop, "lblTitle", 18, true, Qt::white))
    , lblSubTitle(TPOSUITheme::CreateLabel(pnlTop, "lblSubTitle", 10, false, kSubTitle))
    , lblVardiya(TPOSUITheme::CreateLabel(pnlTop, "lblVardiya", 10, true, Qt::white))
    , lblVardiyaValue(TPOSUITheme::CreateLabel(pnlTop, "lblVardiyaValue", 10, true, kHeaderValue))
    , lblKasiyer(TPOSUITheme::CreateLabel(pnlTop, "lblKasiyer", 10, true, Qt::white))
    , lblKasiyerValue(TPOSUITheme::CreateLabel(pnlTop, "lblKasiyerValue", 10, true, kHeaderValue))
    , pnlContent(new QWidget(this))
    , pnlSalesCard(MakeCard(pnlContent, "pnlSalesCard", 20, 200))
    , lblSalesTitle(CardTitle(pnlSalesCard, "lblSalesTitle", QStringLiteral("Satış Özeti")))
    , lblAcilisTitle(TPOSUITheme::CreateLabel(pnlSalesCard, "lblAcilisTitle", 10, false, kCaption))
    , lblAcilisValue(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblAcilisValue", 10, true, POSPalette::Text))
    , lblBrutNakitTitle(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblBrutNakitTitle", 10, false, kCaption))
    , lblBrutNakitValue(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblBrutNakitValue", 10, true, POSPalette::Text))
    , lblBrutKartTitle(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblBrutKartTitle", 10, false, kCaption))
    , lblBrutKartValue(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblBrutKartValue", 10, true, POSPalette::Text))
    , lblIadeNakitTitle(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblIadeNakitTitle", 10, false, kCaption))
    , lblIadeNakitValue(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblIadeNakitValue", 10, true, POSPalette::Text))
    , lblIadeToplamTitle(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblIadeToplamTitle", 10, false, kCaption))
    , lblIadeToplamValue(
          TPOSUITheme::CreateLabel(pnlSalesCard, "lblIadeToplamValue", 10, true, POSPalette::Text))
    , pnlResultCard(MakeCard(pnlContent, "pnlResultCard", 236, 112))
    , lblResultTitle(CardTitle(pnlResultCard, "lblResultTitle", QStringLiteral("Kasa Sonucu")))
    , lblKasaTeslimTitle(
          TPOSUITheme::CreateLabel(pnlResultCard, "lblKasaTeslimTitle", 10, false, kCaption))
    , lblKasaTeslimValue(
          TPOSUITheme::CreateLabel(pnlResultCard, "lblKasaTeslimValue", 15, true, kKasaTeslim))
    , lblNetCiroTitle(
          TPOSUITheme::CreateLabel(pnlResultCard, "lblNetCiroTitle", 10, false, kCaption))
    , lblNetCiroValue(
          TPOSUITheme::CreateLabel(pnlResultCard, "lblNetCiroValue", 15, true, kNetCiro))
    , pnlFisCard(MakeCard(pnlContent, "pnlFisCard", 364, 76))
    , lblFisTitle(CardTitle(pnlFisCard, "lblFisTitle", QStringLiteral("Fiş Sayıları")))
    , lblAktifFisTitle(
          TPOSUITheme::CreateLabel(pnlFisCard, "lblAktifFisTitle", 10, false, kCaption))
    , lblAktifFisValue(
          TPOSUITheme::CreateLabel(pnlFisCard, "lblAktifFisValue", 14, true, POSPalette::Text))
    , lblIadeFisTitle(TPOSUITheme::CreateLabel(pnlFisCard, "lblIadeFisTitle", 10, false, kCaption))
    , lblIadeFisValue(
          TPOSUITheme::CreateLabel(pnlFisCard, "lblIadeFisValue", 14, true, POSPalette::Text))
    , pnlBottom(new QWidget(this))
    , btnClose(new TPOSButton(pnlBottom))
{
    FormCreate();
}

void TfrmShiftSummary::FormCreate()
{
    FVardiyaID = -1;
    setObjectName(QStringLiteral("frmShiftSummary"));
    setWindowTitle(QStringLiteral("Vardiya İcmali"));
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlContent->setObjectName(QStringLiteral("pnlContent"));
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    btnClose->setObjectName(QStringLiteral("btnClose"));

    SetUpBands({kWidth, kHeight}, kFrame,
               {pnlTop, kHeaderHeight, pnlContent, pnlBottom, kFooterHeight});
    for (QLabel* label : pnlTop->findChildren<QLabel*>())
        AddDragHandle(label);

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
    btnClose->setAutoDefault(false);
    connect(btnClose, &QPushButton::clicked, this, &TfrmShiftSummary::btnCloseClick);
    ApplyStyle();
}

void TfrmShiftSummary::ApplyStyle()
{
    TPOSUITheme::StyleForm(this);
    TPOSUITheme::StyleHeaderPanel(pnlTop);
    TPOSUITheme::StyleFooterPanel(pnlBottom);
    TPOSUITheme::StyleLightPanel(pnlContent);
    QPalette body = pnlContent->palette();
    body.setColor(QPalette::Window, kBody);
    pnlContent->setPalette(body);
    TPOSUITheme::StyleButton(btnClose, QStringLiteral("Kapat"), TGlyph::Close, false, false);
}

void TfrmShiftSummary::Execute(int VardiyaID)
{
    TfrmShiftSummary summary(DialogOwner());
    summary.SetVardiyaID(VardiyaID);
    summary.exec();
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
    setFixedSize(kWidth, kHeight);
    if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect area = main->frameGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    ApplyStyle();
}

void TfrmShiftSummary::showEvent(QShowEvent* event)
{
    TFramelessDialog::showEvent(event);
    FormShow();
}

void TfrmShiftSummary::btnCloseClick()
{
    close();
}
