#include "shifts/VardiyaForm.h"

#include "core/Exceptions.h"
#include "core/POSTextUtils.h"
#include "core/SessionManager.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/WaitCursor.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 560;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 112;
constexpr int kFooterHeight = 76;
constexpr int kClientWidth = kWidth - 2 * kFrame;
constexpr int kClientHeight = kHeight - 2 * kFrame - kHeaderHeight - kFooterHeight;
constexpr int kInputHeight = 104;
constexpr int kCardWidth = kClientWidth - 64;

const QColor kBody{0xF5, 0xF7, 0xFA};
const QColor kClosedRed{0xFF, 0x00, 0x00};
const QColor kOpenGreen{0x00, 0x80, 0x00};
const QColor kDetails{0x63, 0x6D, 0x7B};
const QColor kExpectedGreen{0x34, 0x8B, 0x66};
const QColor kSubTitle{0xC9, 0xD8, 0xE4};

struct TModeTexts {
    const char16_t* Title;
    const char16_t* SubTitle;
    const char16_t* Details;
    const char16_t* InputTitle;
    const char16_t* Action;
};

const TModeTexts kOpenTexts{u"Vardiya Açılışı", u"Kasayı satışa hazırlama",
                            u"Vardiyayı açmadan satış yapılamaz. Kasadaki başlangıç nakdini girin.",
                            u"Açılış Tutarı (TL):", u"Vardiyayı Aç"};
const TModeTexts kCloseTexts{
    u"Vardiya Kapanış", u"Gün sonu nakit ve satış kontrolü",
    u"Beklenen kasa tutarını kontrol edin ve sayılan nakdi girerek vardiyayı kapatın.",
    u"Kapanış Sayımı (Nakit TL):", u"Vardiyayı Kapat"};
} // namespace

TfrmVardiya::TfrmVardiya(QWidget* parent)
    : TFramelessDialog(parent)
    , pnlTop(new QWidget(this))
    , lblTitle(TPOSUITheme::CreateLabel(pnlTop, "lblTitle", 18, true, Qt::white))
    , lblSubTitle(TPOSUITheme::CreateLabel(pnlTop, "lblSubTitle", 10, false, kSubTitle))
    , pnlClient(new QWidget(this))
    , lblStatus(TPOSUITheme::CreateLabel(pnlClient, "lblStatus", 12, true, kClosedRed))
    , lblDetails(TPOSUITheme::CreateLabel(pnlClient, "lblDetails", 10, false, kDetails))
    , pnlStatsCard(new QWidget(pnlClient))
    , lblStatsTitle(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblStatsTitle", 11, true, POSPalette::Header))
    , lblAcilisTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblAcilisTitle", 10, false, kDetails))
    , lblAcilisValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblAcilisValue", 10, true, POSPalette::Text))
    , lblNakitTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblNakitTitle", 10, false, kDetails))
    , lblNakitValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblNakitValue", 10, true, POSPalette::Text))
    , lblKartTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblKartTitle", 10, false, kDetails))
    , lblKartValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblKartValue", 10, true, POSPalette::Text))
    , lblIadeTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblIadeTitle", 10, false, kDetails))
    , lblIadeValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblIadeValue", 10, true, POSPalette::Text))
    , lblBeklenenTitle(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblBeklenenTitle", 10, false, kDetails))
    , lblBeklenenValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblBeklenenValue", 11, true, kExpectedGreen))
    , pnlInput(new QWidget(pnlClient))
    , lblInputTitle(TPOSUITheme::CreateLabel(pnlInput, "lblInputTitle", 10, true, POSPalette::Text))
    , edtAmount(new QLineEdit(pnlInput))
    , pnlBottom(new QWidget(this))
    , btnAction(new TPOSButton(pnlBottom))
    , btnCancel(new TPOSButton(pnlBottom))
{
    FormCreate();
}

void TfrmVardiya::FormCreate()
{
    setObjectName(QStringLiteral("frmVardiya"));
    setWindowTitle(QStringLiteral("Vardiya İşlemleri"));
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlClient->setObjectName(QStringLiteral("pnlClient"));
    pnlStatsCard->setObjectName(QStringLiteral("pnlStatsCard"));
    pnlInput->setObjectName(QStringLiteral("pnlInput"));
    edtAmount->setObjectName(QStringLiteral("edtAmount"));
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    btnAction->setObjectName(QStringLiteral("btnAction"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    SetUpBands({kWidth, kHeight}, kFrame,
               {pnlTop, kHeaderHeight, pnlClient, pnlBottom, kFooterHeight});
    TPOSUITheme::SetColor(pnlClient, QPalette::Window, kBody);
    AddDragHandle(lblTitle);
    AddDragHandle(lblSubTitle);

    lblTitle->setGeometry(32, 22, 420, 34);
    lblSubTitle->setGeometry(34, 58, 460, 22);
    lblStatus->setGeometry(32, 22, kClientWidth - 64, 26);
    lblStatus->setText(QStringLiteral("Durum:"));
    lblDetails->setGeometry(32, 54, kClientWidth - 64, 42);
    lblDetails->setWordWrap(true);
    lblDetails->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    pnlStatsCard->setGeometry(32, 104, kCardWidth, 144);
    pnlStatsCard->setAutoFillBackground(true);
    TPOSUITheme::SetColor(pnlStatsCard, QPalette::Window, POSPalette::Content);
    lblStatsTitle->setText(QStringLiteral("Vardiya Özeti"));
    LayoutCard();

    pnlInput->setGeometry(0, kClientHeight - kInputHeight, kClientWidth, kInputHeight);
    lblInputTitle->setGeometry(32, 12, kCardWidth, 20);
    TPOSUITheme::StyleEdit(edtAmount);
    QFont amountFont = TPOSUITheme::TextFont(20);
    amountFont.setBold(true);
    edtAmount->setFont(amountFont);
    edtAmount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtAmount->setGeometry(32, 38, kCardWidth, 42);
    edtAmount->setText(QStringLiteral("0,00"));
    edtAmount->installEventFilter(this);

    TPOSUITheme::StyleButton(btnAction, QString(), TGlyph::CheckMark, true, false);
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("İptal"), TGlyph::Close, false, false);
    btnCancel->setGeometry(kClientWidth - 24 - 96, 16, 96, 44);
    btnAction->setGeometry(btnCancel->x() - 12 - 168, 16, 168, 44);
    for (TPOSButton* button : {btnAction, btnCancel})
        button->setAutoDefault(false);
    connect(btnAction, &QPushButton::clicked, this, &TfrmVardiya::btnActionClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmVardiya::btnCancelClick);

    SetMode(vmOpen);
}

void TfrmVardiya::LayoutCard()
{
    lblStatsTitle->setGeometry(24, 16, 300, 24);
    const struct {
        QLabel* Title;
        QLabel* Value;
        const char16_t* Caption;
        bool Right;
        int Row;
    } rows[] = {{lblAcilisTitle, lblAcilisValue, u"Açılış Tutarı", false, 0},
                {lblNakitTitle, lblNakitValue, u"Nakit Satış", false, 1},
                {lblKartTitle, lblKartValue, u"Kart Satış", false, 2},
                {lblIadeTitle, lblIadeValue, u"İade Toplam", true, 0},
                {lblBeklenenTitle, lblBeklenenValue, u"Kasadaki Nakit", true, 1}};
    for (const auto& r : rows) {
        const int y = 54 + 30 * r.Row;
        r.Title->setText(QString::fromUtf16(r.Caption));
        if (r.Right) {
            r.Title->setGeometry(330, y, kCardWidth - 150 - 330, 24);
            r.Value->setGeometry(kCardWidth - 150, y, 126, 24);
            r.Value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        } else {
            r.Title->setGeometry(24, y, 150, 24);
            r.Value->setGeometry(178, y, 120, 24);
            r.Value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
}

bool TfrmVardiya::Execute(TVardiyaMode Mode, int& VardiyaID)
{
    TfrmVardiya dialog(DialogOwner());
    dialog.FVardiyaID = VardiyaID;
    dialog.SetMode(Mode);
    if (dialog.exec() != mrOk)
        return false;
    VardiyaID = dialog.FVardiyaID;
    return true;
}

void TfrmVardiya::SetMode(TVardiyaMode Value)
{
    FMode = Value;
    const bool open = Value == vmOpen;
    const TModeTexts& texts = open ? kOpenTexts : kCloseTexts;
    lblTitle->setText(QString::fromUtf16(texts.Title));
    lblSubTitle->setText(QString::fromUtf16(texts.SubTitle));
    lblDetails->setText(QString::fromUtf16(texts.Details));
    lblInputTitle->setText(QString::fromUtf16(texts.InputTitle));
    btnAction->setText(QString::fromUtf16(texts.Action));
    btnCancel->setText(QStringLiteral("İptal"));
    if (open) {
        lblStatus->setText(QStringLiteral("Durum: Kapalı"));
        TPOSUITheme::SetColor(lblStatus, QPalette::WindowText, kClosedRed);
    } else {
        lblStatus->setText(QStringLiteral("Durum: Açık (ID: ") + QString::number(FVardiyaID) +
                           u')');
        TPOSUITheme::SetColor(lblStatus, QPalette::WindowText, kOpenGreen);
    }
    pnlInput->setVisible(true);
    edtAmount->setText(QStringLiteral("0,00"));
    pnlStatsCard->setVisible(!open);
    if (open)
        ShowStats(TVardiyaOzet());
    else
        LoadSummary();
}

void TfrmVardiya::ShowStats(const TVardiyaOzet& Ozet)
{
    lblAcilisValue->setText(FormatMoney(Ozet.AcilisTutar));
    lblNakitValue->setText(FormatMoney(Ozet.NakitSatis));
    lblKartValue->setText(FormatMoney(Ozet.KartSatis));
    lblIadeValue->setText(FormatMoney(Ozet.IadeToplam));
    lblBeklenenValue->setText(FormatMoney(Ozet.BeklenenNakit));
}

void TfrmVardiya::LoadSummary()
{
    TVardiyaOzet ozet;
    if (TShiftManager::LoadVardiyaOzet(FVardiyaID, ozet))
        ShowStats(ozet);
}

void TfrmVardiya::FormShow()
{
    setFixedSize(kWidth, kHeight);
    if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect area = main->frameGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    if (edtAmount->isVisibleTo(this) && edtAmount->isEnabled()) {
        edtAmount->setFocus();
        edtAmount->selectAll();
    }
}

void TfrmVardiya::showEvent(QShowEvent* event)
{
    TFramelessDialog::showEvent(event);
    FormShow();
}

bool TfrmVardiya::ValidateAmount()
{
    if (TShiftManager::IsValidAmount(edtAmount->text()))
        return true;
    TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), TShiftManager::MsgInvalidAmount, dtError);
    return false;
}

void TfrmVardiya::btnActionClick()
{
    if (!ValidateAmount())
        return;
    const double amount = ParseDecimalText(edtAmount->text(), 0);
    const TWaitCursor wait;
    if (FMode == vmClose) {
        done(mrOk);
        return;
    }
    try {
        if (OpenShift(amount))
            done(mrOk);
    } catch (const std::exception& e) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), ErrorMessage(e), dtError);
    }
}

void TfrmVardiya::btnCancelClick()
{
    done(mrCancel);
}

bool TfrmVardiya::OpenShift(double Amount)
{
    const TOpenedShift opened =
        TShiftManager::OpenShift(TSessionManager::Instance().GetSessionInfo(), Amount);
    FVardiyaID = opened.VardiyaID;
    TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"), opened.Message(), dtInfo, 1500);
    return true;
}

void TfrmVardiya::edtAmountKeyPress(QChar& Key)
{
    const char16_t c = Key.unicode();
    if ((c >= u'0' && c <= u'9') || c == u',' || c == u'.' || c == 8)
        return;
    if (c == 13) {
        Key = QChar();
        btnActionClick();
        return;
    }
    Key = QChar();
}

bool TfrmVardiya::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edtAmount || event->type() != QEvent::KeyPress)
        return TFramelessDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // Only characters go through the filter; Esc, Tab, Delete and the arrows keep their usual
    // meaning.
    switch (key->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        break;
    }
    if (key->text().isEmpty())
        return false;
    QChar c = key->text().at(0);
    edtAmountKeyPress(c);
    return c.isNull();
}
