#include "customers/NewCariCardForm.h"

#include "core/DataModule.h"
#include "core/POSTextUtils.h"
#include "ui/CustomDialogForm.h"
#include "ui/ERPUITheme.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>

namespace {
constexpr int kClientWidth = 1600;
constexpr int kClientHeight = 960;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 116;
constexpr int kFooterHeight = 84;
constexpr int kMargin = 24;
constexpr int kSummaryWidth = 340;
constexpr int kCardGap = 20;
constexpr int kTabHeight = 44;
constexpr int kColumnWidth = 540;
constexpr int kColumnGap = 48;
constexpr int kRowHeight = 92;
constexpr int kBoxHeight = 46;

// A field's caption and the white rounded box below it, at `x`, `y` of `page`.
TRoundShape* FieldBox(QWidget* page, const char* captionName, const QString& caption, int x, int y,
                      int width, int boxHeight = kBoxHeight)
{
    QLabel* label = TPOSUITheme::CreateLabel(page, captionName, 10, true, POSPalette::Header);
    label->setText(caption);
    label->setGeometry(x, y, width, 22);
    auto* box = new TRoundShape(page);
    box->SetShape(POSPalette::Content, POSPalette::FrameLight, 1, 7);
    box->setGeometry(x, y + 26, width, boxHeight);
    return box;
}

// The left inset of a box's editor: after the glyph when the box shows one.
int EditorLeft(TRoundShape* box, TGlyph glyph)
{
    if (glyph == TGlyph::None)
        return 14;
    auto* icon = new TGlyphLabel(glyph, box);
    icon->SetColors(POSPalette::Primary, POSPalette::DisabledText);
    icon->SetGlyphSize(20);
    icon->setGeometry(12, (box->height() - 24) / 2, 24, 24);
    return 46;
}

QLineEdit* BoxEdit(TRoundShape* box, const char* name, TGlyph glyph = TGlyph::None,
                   int rightInset = 12)
{
    const int left = EditorLeft(box, glyph);
    auto* edit = new QLineEdit(box);
    edit->setObjectName(QLatin1String(name));
    edit->setFrame(false);
    edit->setFont(TPOSUITheme::TextFont(12));
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: %1; }")
                            .arg(POSPalette::Text.name()));
    edit->setGeometry(left, 4, box->width() - left - rightInset, box->height() - 8);
    return edit;
}

QComboBox* BoxCombo(TRoundShape* box, const char* name, TGlyph glyph, const QStringList& items)
{
    const int left = EditorLeft(box, glyph);
    auto* combo = new QComboBox(box);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setFrame(false);
    combo->setFont(TPOSUITheme::TextFont(12));
    combo->addItems(items);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Flat like the edits beside it; the box draws its own chevron over the drop-down part.
    combo->setStyleSheet(QStringLiteral("QComboBox { background: transparent; border: none; color: "
                                        "%1; } QComboBox::drop-down { border: none; width: 36px; "
                                        "} QComboBox::down-arrow { image: none; }")
                             .arg(POSPalette::Text.name()));
    combo->setGeometry(left, 4, box->width() - left - 8, box->height() - 8);
    auto* chevron = new TGlyphLabel(TGlyph::ChevronDown, box);
    chevron->SetColors(POSPalette::Primary, POSPalette::DisabledText);
    chevron->SetGlyphSize(18);
    chevron->setGeometry(box->width() - 40, (box->height() - 24) / 2, 24, 24);
    return combo;
}

QPlainTextEdit* BoxMemo(TRoundShape* box, const char* name)
{
    auto* memo = new QPlainTextEdit(box);
    memo->setObjectName(QLatin1String(name));
    memo->setFrameShape(QFrame::NoFrame);
    memo->setFont(TPOSUITheme::TextFont(12));
    memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; color: %1; }")
                            .arg(POSPalette::Text.name()));
    memo->setGeometry(10, 8, box->width() - 20, box->height() - 16);
    return memo;
}

QCheckBox* CheckBox(QWidget* page, const char* name, const QString& caption, int x, int y)
{
    auto* check = new QCheckBox(caption, page);
    check->setObjectName(QLatin1String(name));
    check->setFont(TPOSUITheme::TextFont(11));
    check->setGeometry(x, y, kColumnWidth, 30);
    return check;
}

QWidget* Page(QStackedWidget* pages, const char* name)
{
    auto* page = new QWidget(pages);
    page->setObjectName(QLatin1String(name));
    TPOSUITheme::FillBackground(page, POSPalette::Content);
    pages->addWidget(page);
    return page;
}

int Column(int index)
{
    return index * (kColumnWidth + kColumnGap);
}

int Row(int index)
{
    return 8 + index * kRowHeight;
}

TButtonLook TabLook(bool active)
{
    TButtonLook look = TPOSUITheme::ButtonLook(TButtonVariant::Default);
    look.Fill = look.FillFocused = look.FillHot = POSPalette::Content;
    look.FillPressed = POSPalette::Footer;
    look.Frame = look.FrameFocused = active ? POSPalette::Primary : POSPalette::FrameLight;
    look.FrameHot = look.FramePressed = POSPalette::Primary;
    look.Text = look.TextHot = look.TextPressed = active ? POSPalette::Text : POSPalette::Header;
    look.Radius = 0;
    return look;
}

TButtonLook WindowButtonLook()
{
    TButtonLook look = TPOSUITheme::HeaderButtonLook();
    look.GlyphSize = 18;
    look.GlyphThickness = 2;
    look.Radius = 6;
    return look;
}
} // namespace

TfrmNewCariCard::TfrmNewCariCard(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlMain",
                   "pnlActions",
                   kFooterHeight})
    , pnlHeaderIcon(new TRoundShape(Header()))
    , lblTitle(TPOSUITheme::CreateStyledLabel(
          Header(), QStringLiteral("lblTitle"), QStringLiteral("CARİ KART"),
          TPOSUITheme::PixelFont(TPOSUITheme::SemiboldFont(18, true), 25), POSPalette::HeaderText))
    , lblSubTitle(
          TPOSUITheme::CreateLabel(Header(), "lblSubTitle", 10, false, POSPalette::CardSubTitle))
    , btnTopMinimize(TPOSUITheme::CreateLookButton(Header(), QStringLiteral("btnTopMinimize"),
                                                   QString(), TGlyph::Minimize, WindowButtonLook()))
    , btnTopMaximize(TPOSUITheme::CreateLookButton(Header(), QStringLiteral("btnTopMaximize"),
                                                   QString(), TGlyph::Maximize, WindowButtonLook()))
    , btnTopClose(TPOSUITheme::CreateLookButton(Header(), QStringLiteral("btnTopClose"), QString(),
                                                TGlyph::Close, WindowButtonLook()))
    , pnlFormCard(new TRoundShape(Content()))
    , pnlSummary(new TRoundShape(Content()))
    , pcCari(new QStackedWidget(pnlFormCard))
{
    FormCreate();
}

void TfrmNewCariCard::FormCreate()
{
    setObjectName(QStringLiteral("frmNewCariCard"));
    if (dmMain && !dmMain->Connected())
        dmMain->Connect();
    TCariCard::EnsureCariKartColumns();
    TERPUITheme::StyleForm(this);
    TPOSUITheme::FillBackground(Content(), POSPalette::Body);
    TPOSUITheme::FillBackground(Footer(), POSPalette::Body);
    BuildHeader();
    for (TRoundShape* card : {pnlFormCard, pnlSummary})
        card->SetShape(POSPalette::Content, POSPalette::FrameLight, 1, 4);
    pnlFormCard->setObjectName(QStringLiteral("pnlFormCard"));
    pnlSummary->setObjectName(QStringLiteral("pnlSummary"));
    pcCari->setObjectName(QStringLiteral("pcCari"));
    const QStringList tabs{QStringLiteral("Genel Bilgiler"), QStringLiteral("Adres & Iletisim"),
                           QStringLiteral("Vergi & Finans"), QStringLiteral("Limit & Risk"),
                           QStringLiteral("Notlar")};
    const char* tabNames[] = {"btnTabGenel", "btnTabAdres", "btnTabVergi", "btnTabLimit",
                              "btnTabNotlar"};
    for (int i = 0; i < tabs.size(); ++i) {
        TPOSButton* tab = TPOSUITheme::CreateLookButton(pnlFormCard, QLatin1String(tabNames[i]),
                                                        tabs.at(i), TGlyph::None, TabLook(false));
        tab->setGeometry(kCardGap + i * 188, kCardGap, 180, kTabHeight);
        GuardedConnect(tab, &QPushButton::clicked, this, [this, i] { TabButtonClick(i); });
        FTabButtons << tab;
    }
    LayoutCards();
    BuildGeneralPage();
    BuildAddressPage();
    BuildTaxPage();
    BuildLimitPage();
    BuildNotesPage();
    BuildSummary();
    BuildActions();
    WireFieldChanges();
    SetTitles(QStringLiteral("Cari Kart"), QStringLiteral("CARİ KART"));
    if (edtCariKodu->text().trimmed().isEmpty())
        edtCariKodu->setText(TCariCard::GenerateCariKodu());
    FProposedCode = edtCariKodu->text().trimmed();
    ApplyTabButtonStyles();
    UpdateSummaryCards();
}

void TfrmNewCariCard::BuildHeader()
{
    TRoundShape* icon = pnlHeaderIcon;
    icon->setObjectName(QStringLiteral("pnlHeaderIcon"));
    icon->SetShape(POSPalette::Header, POSPalette::HeaderText, 2, 12);
    icon->setGeometry(kMargin, 26, 64, 64);
    auto* glyph = new TGlyphLabel(TGlyph::User, icon);
    glyph->SetColors(POSPalette::HeaderText, POSPalette::HeaderText);
    glyph->SetGlyphSize(34);
    glyph->setGeometry(0, 0, 64, 64);
    lblTitle->setGeometry(kMargin + 84, 24, 600, 40);
    lblSubTitle->setGeometry(kMargin + 86, 64, 600, 22);
    for (QWidget* handle : {static_cast<QWidget*>(icon), static_cast<QWidget*>(lblTitle),
                            static_cast<QWidget*>(lblSubTitle)})
        AddDragHandle(handle);
    GuardedConnect(btnTopMinimize, &QPushButton::clicked, this, [this] { showMinimized(); });
    GuardedConnect(btnTopMaximize, &QPushButton::clicked, this, &TfrmNewCariCard::TopMaximizeClick);
    GuardedConnect(btnTopClose, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmNewCariCard::BuildGeneralPage()
{
    QWidget* page = Page(pcCari, "tabGenel");
    TRoundShape* kodu =
        FieldBox(page, "lblCariKodu", QStringLiteral("Cari Kodu"), Column(0), Row(0), kColumnWidth);
    edtCariKodu = BoxEdit(kodu, "edtCariKodu", TGlyph::None, 56);
    btnCariKoduSearch = TPOSUITheme::CreateLookButton(kodu, QStringLiteral("btnCariKoduSearch"),
                                                      QString(), TGlyph::Search, TabLook(false));
    btnCariKoduSearch->setGeometry(kColumnWidth - 46, 5, 40, kBoxHeight - 10);
    btnCariKoduSearch->setToolTip(QStringLiteral("Boştaki ilk kodu öner"));
    GuardedConnect(btnCariKoduSearch, &QPushButton::clicked, this,
                   [this] { edtCariKodu->setText(TCariCard::GenerateCariKodu()); });
    edtCariAdi = BoxEdit(FieldBox(page, "lblCariAdi", QStringLiteral("Cari Ünvanı"), Column(1),
                                  Row(0), kColumnWidth),
                         "edtCariAdi");
    cmbCariTipi = BoxCombo(
        FieldBox(page, "lblCariTipi", QStringLiteral("Cari Tipi"), Column(0), Row(1), kColumnWidth),
        "cmbCariTipi", TGlyph::User,
        {QStringLiteral("MUSTERI"), QStringLiteral("TEDARIKCI"), QStringLiteral("BAYI"),
         QStringLiteral("PERSONEL"), QStringLiteral("DIGER")});
    edtYetkili = BoxEdit(FieldBox(page, "lblYetkili", QStringLiteral("Yetkili Kişi"), Column(1),
                                  Row(1), kColumnWidth),
                         "edtYetkili");
    edtTelefon = BoxEdit(
        FieldBox(page, "lblTelefon", QStringLiteral("Telefon"), Column(0), Row(2), kColumnWidth),
        "edtTelefon", TGlyph::Details);
    edtEmail = BoxEdit(
        FieldBox(page, "lblEmail", QStringLiteral("E-posta"), Column(1), Row(2), kColumnWidth),
        "edtEmail", TGlyph::Inbox);
    edtVKN = BoxEdit(
        FieldBox(page, "lblVKN", QStringLiteral("Vergi No"), Column(0), Row(3), kColumnWidth),
        "edtVKN");
    edtVergiDairesi = BoxEdit(FieldBox(page, "lblVergiDairesi", QStringLiteral("Vergi Dairesi"),
                                       Column(1), Row(3), kColumnWidth),
                              "edtVergiDairesi");
    cmbParaBirimi = BoxCombo(FieldBox(page, "lblParaBirimi", QStringLiteral("Para Birimi"),
                                      Column(0), Row(4), kColumnWidth),
                             "cmbParaBirimi", TGlyph::Basket,
                             {QStringLiteral("TRY"), QStringLiteral("USD"), QStringLiteral("EUR"),
                              QStringLiteral("GBP")});
    chkAktif = CheckBox(page, "chkAktif", QStringLiteral("Aktif olarak kullanılsın"), Column(1),
                        Row(4) + 34);
    chkAktif->setChecked(true);
}

void TfrmNewCariCard::BuildAddressPage()
{
    QWidget* page = Page(pcCari, "tabAdres");
    const int fullWidth = 2 * kColumnWidth + kColumnGap;
    memAdres = BoxMemo(
        FieldBox(page, "lblAdres", QStringLiteral("Adres"), 0, Row(0), fullWidth, 180), "memAdres");
    const int third = (fullWidth - 2 * 24) / 3;
    const int y = Row(0) + 230;
    edtIl = BoxEdit(FieldBox(page, "lblIl", QStringLiteral("Il"), 0, y, third), "edtIl");
    edtIlce =
        BoxEdit(FieldBox(page, "lblIlce", QStringLiteral("Ilce"), third + 24, y, third), "edtIlce");
    edtPostaKodu = BoxEdit(
        FieldBox(page, "lblPostaKodu", QStringLiteral("Posta Kodu"), 2 * (third + 24), y, third),
        "edtPostaKodu");
}

void TfrmNewCariCard::BuildTaxPage()
{
    QWidget* page = Page(pcCari, "tabVergi");
    edtTCKN =
        BoxEdit(FieldBox(page, "lblTCKN", QStringLiteral("TCKN"), Column(0), Row(0), kColumnWidth),
                "edtTCKN");
    chkEFatura =
        CheckBox(page, "chkEFatura", QStringLiteral("e-Fatura mukellefi"), Column(0), Row(1) + 10);
    chkEIrsaliye = CheckBox(page, "chkEIrsaliye", QStringLiteral("e-Irsaliye mukellefi"), Column(0),
                            Row(1) + 50);
}

void TfrmNewCariCard::BuildLimitPage()
{
    QWidget* page = Page(pcCari, "tabLimit");
    edtRiskLimiti = BoxEdit(FieldBox(page, "lblRiskLimiti", QStringLiteral("Risk Limiti"),
                                     Column(0), Row(0), kColumnWidth),
                            "edtRiskLimiti");
    edtRiskLimiti->setText(QStringLiteral("0,00"));
    edtVadeGunu = BoxEdit(
        FieldBox(page, "lblVadeGunu", QStringLiteral("Vade Gunu"), Column(1), Row(0), kColumnWidth),
        "edtVadeGunu");
    edtVadeGunu->setText(QStringLiteral("0"));
}

void TfrmNewCariCard::BuildNotesPage()
{
    QWidget* page = Page(pcCari, "tabNotlar");
    memNotlar = BoxMemo(FieldBox(page, "lblNotlar", QStringLiteral("Notlar"), 0, Row(0),
                                 2 * kColumnWidth + kColumnGap, 420),
                        "memNotlar");
}

void TfrmNewCariCard::BuildSummary()
{
    const struct {
        const char* Caption;
        const char* Value;
        const char16_t* Text;
        TGlyph Glyph;
        QColor Color;
        QLabel** Target;
    } rows[] = {
        {"lblBakiye", "lblBakiyeValue", u"Bakiye", TGlyph::Tag, POSPalette::BalanceFigure,
         &lblBakiyeValue},
        {"lblRisk", "lblRiskValue", u"Risk Limiti", TGlyph::Lock, POSPalette::RiskFigure,
         &lblRiskValue},
        {"lblVade", "lblVadeValue", u"Vade Günü", TGlyph::Clock, POSPalette::Header, &lblVadeValue},
        {"lblSonIslem", "lblSonIslemValue", u"Son İşlem", TGlyph::Chart, POSPalette::Header,
         &lblSonIslemValue},
    };
    int y = 28;
    for (const auto& row : rows) {
        auto* circle = new TRoundShape(pnlSummary);
        circle->SetShape(POSPalette::GridTitle, POSPalette::FrameLight, 1, 26);
        circle->setGeometry(24, y, 52, 52);
        auto* glyph = new TGlyphLabel(row.Glyph, circle);
        glyph->SetColors(row.Color, row.Color);
        glyph->SetGlyphSize(24);
        glyph->setGeometry(0, 0, 52, 52);
        QLabel* caption =
            TPOSUITheme::CreateLabel(pnlSummary, row.Caption, 10, false, POSPalette::CaptionText);
        caption->setText(QString::fromUtf16(row.Text));
        caption->setGeometry(92, y + 2, kSummaryWidth - 110, 20);
        QLabel* value = TPOSUITheme::CreateLabel(pnlSummary, row.Value, 15, true, row.Color);
        value->setGeometry(92, y + 22, kSummaryWidth - 110, 30);
        *row.Target = value;
        y += 96;
    }
    lblBakiyeValue->setText(QStringLiteral("0,00 TL"));
    lblSonIslemValue->setText(QStringLiteral("-"));
}

void TfrmNewCariCard::BuildActions()
{
    const struct {
        const char* Name;
        const char16_t* Caption;
        TGlyph Glyph;
        TButtonVariant Variant;
        TPOSButton** Target;
    } actions[] = {
        {"btnKaydet", u"Kaydet", TGlyph::Save, TButtonVariant::Primary, &btnKaydet},
        {"btnYeniAction", u"Yeni", TGlyph::NewFile, TButtonVariant::Default, &btnYeniAction},
        {"btnSilAction", u"Sil", TGlyph::Delete, TButtonVariant::Danger, &btnSilAction},
        {"btnIptal", u"Vazgec", TGlyph::Undo, TButtonVariant::Default, &btnIptal},
        {"btnKapatAction", u"Kapat", TGlyph::Close, TButtonVariant::Default, &btnKapatAction},
    };
    int x = kMargin;
    for (const auto& action : actions) {
        *action.Target = CreateButton(Footer(), action.Name, QString::fromUtf16(action.Caption),
                                      action.Glyph, action.Variant);
        (*action.Target)->setGeometry(x, 18, 150, 46);
        x += 162;
    }
    // Accounts are never deleted by the program; the button stays for the layout.
    btnSilAction->setEnabled(false);
    GuardedConnect(btnKaydet, &QPushButton::clicked, this, &TfrmNewCariCard::btnKaydetClick);
    GuardedConnect(btnYeniAction, &QPushButton::clicked, this, &TfrmNewCariCard::NewCard);
    GuardedConnect(btnIptal, &QPushButton::clicked, this, [this] { done(mrCancel); });
    GuardedConnect(btnKapatAction, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmNewCariCard::WireFieldChanges()
{
    for (QLineEdit* edit : {edtCariKodu, edtCariAdi, edtYetkili, edtRiskLimiti, edtVadeGunu})
        GuardedConnect(edit, &QLineEdit::textChanged, this, &TfrmNewCariCard::UpdateSummaryCards);
    for (QComboBox* combo : {cmbCariTipi, cmbParaBirimi})
        GuardedConnect(combo, &QComboBox::currentTextChanged, this,
                       &TfrmNewCariCard::UpdateSummaryCards);
    GuardedConnect(chkAktif, &QCheckBox::toggled, this, &TfrmNewCariCard::UpdateSummaryCards);
}

void TfrmNewCariCard::LayoutCards()
{
    const QSize body = Content()->size();
    const int cardHeight = qMax(0, body.height() - 2 * kCardGap);
    const int summaryLeft = body.width() - kMargin - kSummaryWidth;
    pnlFormCard->setGeometry(kMargin, kCardGap, summaryLeft - kCardGap - kMargin, cardHeight);
    pnlSummary->setGeometry(summaryLeft, kCardGap, kSummaryWidth, cardHeight);
    const int pagesTop = kCardGap + kTabHeight + 24;
    pcCari->setGeometry(kCardGap, pagesTop, pnlFormCard->width() - 2 * kCardGap,
                        qMax(0, cardHeight - pagesTop - kCardGap));
    btnTopClose->setGeometry(width() - 2 * kFrame - 16 - 48, 14, 48, 40);
    btnTopMaximize->setGeometry(btnTopClose->x() - 52, 14, 48, 40);
    btnTopMinimize->setGeometry(btnTopMaximize->x() - 52, 14, 48, 40);
}

void TfrmNewCariCard::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    LayoutCards();
}

void TfrmNewCariCard::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    if (!isMaximized())
        CentreOnScreen();
    LayoutCards();
}

void TfrmNewCariCard::TopMaximizeClick()
{
    if (isMaximized()) {
        showNormal();
        setFixedSize(kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame);
        return;
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showMaximized();
}

void TfrmNewCariCard::SetTitles(const QString& caption, const QString& title)
{
    setWindowTitle(caption);
    lblTitle->setText(title);
    lblSubTitle->setText(QStringLiteral("Müşteri / Tedarikçi Bilgileri"));
}

void TfrmNewCariCard::ApplyTabButtonStyles()
{
    for (int i = 0; i < FTabButtons.size(); ++i) {
        const bool active = i == pcCari->currentIndex();
        FTabButtons.at(i)->SetLook(TabLook(active));
        QFont font = TPOSUITheme::TextFont(12);
        font.setBold(active);
        FTabButtons.at(i)->setFont(font);
    }
}

void TfrmNewCariCard::TabButtonClick(int Page)
{
    pcCari->setCurrentIndex(Page);
    ApplyTabButtonStyles();
}

void TfrmNewCariCard::UpdateSummaryCards()
{
    const std::optional<double> risk = TCariCard::ParseMoney(edtRiskLimiti->text());
    lblRiskValue->setText(risk ? FormatMoney(*risk) : QStringLiteral("Okunamadı"));
    lblVadeValue->setText(edtVadeGunu->text().trimmed() + QStringLiteral(" gün"));
}

TCariCardData TfrmNewCariCard::CardData() const
{
    TCariCardData card;
    card.CariID = FCariID;
    card.CariKodu = edtCariKodu->text();
    card.CariAdi = edtCariAdi->text();
    card.CariTipi = cmbCariTipi->currentText();
    card.YetkiliKisi = edtYetkili->text();
    card.Telefon = edtTelefon->text();
    card.Email = edtEmail->text();
    card.VKN = edtVKN->text();
    card.VergiDairesi = edtVergiDairesi->text();
    card.ParaBirimi = cmbParaBirimi->currentText();
    card.IsActive = chkAktif->isChecked();
    card.Adres = memAdres->toPlainText();
    card.Il = edtIl->text();
    card.Ilce = edtIlce->text();
    card.PostaKodu = edtPostaKodu->text();
    card.TCKN = edtTCKN->text();
    card.EFaturaMukellefi = chkEFatura->isChecked();
    card.EIrsaliyeMukellefi = chkEIrsaliye->isChecked();
    card.RiskLimiti = edtRiskLimiti->text();
    card.VadeGunu = edtVadeGunu->text();
    card.Notlar = memNotlar->toPlainText();
    return card;
}

void TfrmNewCariCard::LoadCard(const QString& ACariKodu)
{
    const std::optional<TCariCardData> found = TCariCard::LoadCard(ACariKodu);
    if (!found)
        return;
    const TCariCardData& card = *found;
    FCariID = card.CariID;
    FProposedCode.clear();
    SetTitles(QStringLiteral("Cari Karti"), QStringLiteral("CARI KART"));
    edtCariKodu->setText(card.CariKodu);
    edtCariAdi->setText(card.CariAdi);
    cmbCariTipi->setCurrentText(card.CariTipi);
    edtYetkili->setText(card.YetkiliKisi);
    edtTelefon->setText(card.Telefon);
    edtEmail->setText(card.Email);
    edtVKN->setText(card.VKN);
    edtVergiDairesi->setText(card.VergiDairesi);
    cmbParaBirimi->setCurrentText(card.ParaBirimi);
    chkAktif->setChecked(card.IsActive);
    memAdres->setPlainText(card.Adres);
    edtIl->setText(card.Il);
    edtIlce->setText(card.Ilce);
    edtPostaKodu->setText(card.PostaKodu);
    edtTCKN->setText(card.TCKN);
    chkEFatura->setChecked(card.EFaturaMukellefi);
    chkEIrsaliye->setChecked(card.EIrsaliyeMukellefi);
    edtRiskLimiti->setText(card.RiskLimiti);
    edtVadeGunu->setText(card.VadeGunu);
    memNotlar->setPlainText(card.Notlar);
    edtCariKodu->setEnabled(false);
    btnCariKoduSearch->setEnabled(false);
    UpdateSummaryCards();
}

void TfrmNewCariCard::NewCard()
{
    FCariID = -1;
    SetTitles(QStringLiteral("Yeni Cari Karti"), QStringLiteral("CARI KART"));
    edtCariKodu->setEnabled(true);
    btnCariKoduSearch->setEnabled(true);
    for (QLineEdit* edit : {edtCariAdi, edtYetkili, edtTelefon, edtEmail, edtVKN, edtVergiDairesi,
                            edtIl, edtIlce, edtPostaKodu, edtTCKN})
        edit->clear();
    memAdres->clear();
    memNotlar->clear();
    cmbCariTipi->setCurrentIndex(0);
    cmbCariTipi->setEditText(cmbCariTipi->itemText(0));
    cmbParaBirimi->setCurrentIndex(0);
    cmbParaBirimi->setEditText(cmbParaBirimi->itemText(0));
    chkEFatura->setChecked(false);
    chkEIrsaliye->setChecked(false);
    chkAktif->setChecked(true);
    edtRiskLimiti->setText(QStringLiteral("0,00"));
    edtVadeGunu->setText(QStringLiteral("0"));
    edtCariKodu->setText(TCariCard::GenerateCariKodu());
    FProposedCode = edtCariKodu->text().trimmed();
    TabButtonClick(0);
    UpdateSummaryCards();
}

void TfrmNewCariCard::btnKaydetClick()
{
    const TCariSaveResult saved = TCariCard::SaveCard(CardData(), FProposedCode);
    edtCariKodu->setText(saved.CariKodu);
    if (saved.CodeMoved)
        TfrmCustomDialog::ShowDialog(
            QStringLiteral("Bilgi"),
            QStringLiteral("Cari kart %1 koduyla kaydedildi; önerilen kod bu arada başka bir "
                           "kartta kullanıldı.")
                .arg(saved.CariKodu),
            dtInfo);
    done(mrOk);
}

bool TfrmNewCariCard::Execute(const QString& ACariKodu)
{
    TfrmNewCariCard card(DialogOwner());
    if (!ACariKodu.trimmed().isEmpty())
        card.LoadCard(ACariKodu);
    return card.ShowModal() == mrOk;
}
