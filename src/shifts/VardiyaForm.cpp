#include "shifts/VardiyaForm.h"

#include "core/Exceptions.h"
#include "core/POSTextUtils.h"
#include "core/SessionManager.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"
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
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kWidth, kHeight},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlClient",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(CreateScreenTitle("lblTitle"))
    , lblSubTitle(CreateSubTitle("lblSubTitle"))
    , lblStatus(TPOSUITheme::CreateLabel(Content(), "lblStatus", 12, true, POSPalette::ShiftClosed))
    , lblDetails(
          TPOSUITheme::CreateLabel(Content(), "lblDetails", 10, false, POSPalette::CaptionText))
    , pnlStatsCard(new QWidget(Content()))
    , lblStatsTitle(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblStatsTitle", 11, true, POSPalette::Header))
    , lblAcilisTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblAcilisTitle", 10, false,
                                              POSPalette::CaptionText))
    , lblAcilisValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblAcilisValue", 10, true, POSPalette::Text))
    , lblNakitTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblNakitTitle", 10, false,
                                             POSPalette::CaptionText))
    , lblNakitValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblNakitValue", 10, true, POSPalette::Text))
    , lblKartTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblKartTitle", 10, false,
                                            POSPalette::CaptionText))
    , lblKartValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblKartValue", 10, true, POSPalette::Text))
    , lblIadeTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblIadeTitle", 10, false,
                                            POSPalette::CaptionText))
    , lblIadeValue(
          TPOSUITheme::CreateLabel(pnlStatsCard, "lblIadeValue", 10, true, POSPalette::Text))
    , lblBeklenenTitle(TPOSUITheme::CreateLabel(pnlStatsCard, "lblBeklenenTitle", 10, false,
                                                POSPalette::CaptionText))
    , lblBeklenenValue(TPOSUITheme::CreateLabel(pnlStatsCard, "lblBeklenenValue", 11, true,
                                                POSPalette::CashFigure))
    , pnlInput(new QWidget(Content()))
    , lblInputTitle(TPOSUITheme::CreateLabel(pnlInput, "lblInputTitle", 10, true, POSPalette::Text))
    , edtAmount(new QLineEdit(pnlInput))
    , btnAction(CreateButton(Footer(), "btnAction", QString(), TGlyph::CheckMark,
                             TButtonVariant::Primary))
    , btnCancel(CreateButton(Footer(), "btnCancel", QStringLiteral("İptal"), TGlyph::Close,
                             TButtonVariant::Default))
{
    FormCreate();
}

void TfrmVardiya::FormCreate()
{
    setObjectName(QStringLiteral("frmVardiya"));
    setWindowTitle(QStringLiteral("Vardiya İşlemleri"));
    pnlStatsCard->setObjectName(QStringLiteral("pnlStatsCard"));
    pnlInput->setObjectName(QStringLiteral("pnlInput"));
    edtAmount->setObjectName(QStringLiteral("edtAmount"));

    TPOSUITheme::SetColor(Content(), QPalette::Window, POSPalette::Body);

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

    btnCancel->setGeometry(kClientWidth - 24 - 96, 16, 96, 44);
    btnAction->setGeometry(btnCancel->x() - 12 - 168, 16, 168, 44);
    GuardedConnect(btnAction, &QPushButton::clicked, this, &TfrmVardiya::btnActionClick);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, &TfrmVardiya::btnCancelClick);

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
    if (dialog.ShowModal() != mrOk)
        return false;
    VardiyaID = dialog.FVardiyaID;
    return true;
}

bool TfrmVardiya::ExecuteClose(int VardiyaID, double& Counted)
{
    TfrmVardiya dialog(DialogOwner());
    dialog.FVardiyaID = VardiyaID;
    dialog.SetMode(vmClose);
    if (dialog.ShowModal() != mrOk)
        return false;
    Counted = TShiftManager::ReadAmount(dialog.edtAmount->text()).value_or(0);
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
        TPOSUITheme::SetColor(lblStatus, QPalette::WindowText, POSPalette::ShiftClosed);
    } else {
        lblStatus->setText(QStringLiteral("Durum: Açık (ID: ") + QString::number(FVardiyaID) +
                           u')');
        TPOSUITheme::SetColor(lblStatus, QPalette::WindowText, POSPalette::ShiftOpen);
    }
    pnlInput->setVisible(true);
    edtAmount->setText(QStringLiteral("0,00"));
    pnlStatsCard->setVisible(!open);
    FBeklenenNakit.reset();
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
    if (!TShiftManager::LoadVardiyaOzet(FVardiyaID, ozet))
        return;
    ShowStats(ozet);
    FBeklenenNakit = ozet.BeklenenNakit;
}

void TfrmVardiya::FormShow()
{
    CentreOnOwner();
    if (edtAmount->isVisibleTo(this) && edtAmount->isEnabled()) {
        edtAmount->setFocus();
        edtAmount->selectAll();
    }
}

void TfrmVardiya::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
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
    const double amount = TShiftManager::ReadAmount(edtAmount->text()).value_or(0);
    if (FMode == vmClose) {
        if (ConfirmCount(amount))
            done(mrOk);
        return;
    }
    const TWaitCursor wait;
    try {
        if (OpenShift(amount))
            done(mrOk);
    } catch (const std::exception& e) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), ErrorMessage(e), dtError);
    }
}

bool TfrmVardiya::ConfirmCount(double Counted)
{
    if (!FBeklenenNakit)
        return true;
    const QString question = TShiftManager::CashDifferenceQuestion(*FBeklenenNakit, Counted);
    if (question.isEmpty() || TfrmCustomDialog::ShowDialog(TShiftManager::MsgCashDifferenceTitle,
                                                           question, dtConfirmation) == mrOk)
        return true;
    edtAmount->setFocus();
    edtAmount->selectAll();
    return false;
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
    if (Key.unicode() != 13)
        return;
    Key = QChar();
    CallGuarded([this] { btnActionClick(); });
}

bool TfrmVardiya::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edtAmount || event->type() != QEvent::KeyPress)
        return TBaseWindow::eventFilter(watched, event);
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
