#include "ui/MainPOSForm.h"

#include "core/AppSettingsManager.h"
#include "core/Exceptions.h"
#include "core/POSTextUtils.h"
#include "core/SessionManager.h"
#include "printing/PrintService.h"
#include "sales/SalesScreenRules.h"
#include "shifts/ShiftManager.h"
#include "shifts/ShiftSummaryForm.h"
#include "shifts/VardiyaForm.h"
#include "shifts/ZReportPreviewForm.h"
#include "ui/CustomDialogForm.h"
#include "ui/CustomInputForm.h"
#include "ui/Glyphs.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/PaymentForm.h"
#include "ui/ReportMenuForm.h"
#include "ui/SaleSuccessDialogForm.h"
#include "ui/VardiyeMenuForm.h"
#include "ui/WaitCursor.h"
#include "ui/WindowMover.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

#include <iterator>
#include <optional>

namespace {
constexpr int kTopHeight = 80;
constexpr int kHeaderButtonWidth = 124;
constexpr int kControlAreaHeight = 450;
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
constexpr int kCategoryWidth = 213;
constexpr int kGridRowHeight = 34;

const QColor kBackground{0xF5, 0xF7, 0xFA};
const QColor kLeftPanel{0xF0, 0xF3, 0xF8};
const QColor kAmber{0xF0, 0xA5, 0x00};
const QColor kAccent{0x14, 0x5C, 0xA8};
const QColor kAccentHot{0x1C, 0x69, 0xBC};
const QColor kAccentPressed{0x10, 0x4D, 0x91};
const QColor kActionText{0x16, 0x3E, 0x6E};
const QColor kActionIconDisabled{0x96, 0xA2, 0xB0};
const QColor kActionTextDisabled{0x87, 0x94, 0xA3};
const QColor kPayDisabledFill{0xE7, 0xED, 0xF5};
const QColor kPayDisabledText{0x5C, 0x6B, 0x7E};
const QColor kGridText{0x1C, 0x2A, 0x3D};
const QColor kGridTitle{0xF2, 0xF6, 0xFB};
const QColor kGridSelected{0xE1, 0xEF, 0xFF};
const QColor kGridLines{0xE1, 0xE6, 0xED};
const QColor kTotalCaption{0x5C, 0x6B, 0x7E};
const QColor kDiscount{0xD8, 0x35, 0x3C};
const QColor kGrandTotal{0x16, 0x78, 0x40};

const QStringList kGridTitles{QStringLiteral("#"),         QStringLiteral("Ürün Adı"),
                              QStringLiteral("Miktar"),    QStringLiteral("Birim Fiyat"),
                              QStringLiteral("İndirim %"), QStringLiteral("KDV %"),
                              QStringLiteral("Toplam")};
const QList<int> kGridWidths{0, 250, 100, 70, 60, 50, 90};
constexpr int kNameColumnMinWidth = 60;

QFont Semibold(int pointSize, bool bold)
{
    QFont font = TPOSUITheme::SemiboldFont(pointSize);
    font.setBold(bold);
    return font;
}

QFont PixelFont(const QFont& base, int pixelSize)
{
    QFont font = base;
    font.setPixelSize(pixelSize);
    return font;
}

void SetPanelColor(QWidget* panel, const QColor& color)
{
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, color);
    panel->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                  const QColor& color)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    TPOSUITheme::SetLabelColor(label, color);
    return label;
}

// Transparent over the navy band, a faint white when hot or pressed.
TButtonLook HeaderButtonLook()
{
    TButtonLook look;
    look.Fill = look.FillFocused = look.FillDisabled = Qt::transparent;
    look.FillHot = QColor(255, 255, 255, 24);
    look.FillPressed = QColor(255, 255, 255, 42);
    look.Frame = look.FrameHot = look.FramePressed = look.FrameFocused = look.FrameDisabled =
        Qt::transparent;
    look.Text = look.TextHot = look.TextPressed = Qt::white;
    look.TextDisabled = QColor(255, 255, 255, 125);
    look.FrameWidth = 0;
    look.Radius = 0;
    look.GlyphSize = 26;
    look.GlyphThickness = 1.8;
    look.GlyphSpacing = 8;
    return look;
}

// The white buttons of the control area: barcode, quantity, discount, delete, clear.
TButtonLook WhiteButtonLook()
{
    TButtonLook look;
    look.Fill = look.FillFocused = Qt::white;
    look.FillHot = QColor(0xF9, 0xFB, 0xFD);
    look.FillPressed = QColor(0xEE, 0xF4, 0xFB);
    look.Frame = look.FrameFocused = QColor(0xDB, 0xE2, 0xEB);
    look.FrameHot = QColor(0x9B, 0xBD, 0xE2);
    look.FramePressed = QColor(0x69, 0x9D, 0xD6);
    look.FillDisabled = Qt::white;
    look.FrameDisabled = QColor(0xE4, 0xE9, 0xEF);
    look.Text = look.TextHot = look.TextPressed = kActionText;
    look.TextDisabled = kActionTextDisabled;
    look.FrameWidth = 1;
    look.Radius = 7;
    return look;
}

TButtonLook FilledLook(int radius)
{
    TButtonLook look;
    look.Fill = look.FillFocused = kAccent;
    look.FillHot = kAccentHot;
    look.FillPressed = kAccentPressed;
    look.Frame = look.FrameFocused = look.FrameHot = look.FramePressed = Qt::transparent;
    look.Text = look.TextHot = look.TextPressed = Qt::white;
    look.FillDisabled = kPayDisabledFill;
    look.FrameDisabled = Qt::transparent;
    look.TextDisabled = kPayDisabledText;
    look.FrameWidth = 0;
    look.Radius = radius;
    look.GlyphSize = 20;
    look.GlyphSpacing = 6;
    return look;
}

TPOSButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, TGlyph glyph,
                       const TButtonLook& look)
{
    auto* button = new TPOSButton(caption, parent);
    button->setObjectName(name);
    button->SetGlyph(glyph);
    button->SetLook(look);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

bool IsPrintableAscii(const QString& text)
{
    return text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0).unicode() <= 126;
}
} // namespace

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
        painter.fillRect(rect(), Qt::white);
        int x = 2;
        for (int i = 0; i < int(std::size(kBars)); ++i) {
            if (i % 2 == 0)
                painter.fillRect(QRect(x, 4, kBars[i], height() - 9), kAccent);
            x += kBars[i] + 1;
        }
        painter.setPen(kAccent);
        painter.drawLine(1, height() - 3, width() - 2, height() - 3);
    }
};

TfrmMainPOS::TfrmMainPOS(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint)
    , pnlTop(new QWidget(this))
    , lblTitle(MakeLabel(pnlTop, QStringLiteral("lblTitle"),
                         QStringLiteral("KIRVELO - Satış Ekranı"), Semibold(16, false), Qt::white))
    , lblUser(MakeLabel(pnlTop, QStringLiteral("lblUser"), QStringLiteral("Kullanıcı: -"),
                        TPOSUITheme::TextFont(10), Qt::white))
    , lblVardiya(
          MakeLabel(pnlTop, QStringLiteral("lblVardiya"), QString(), Semibold(10, true), kAmber))
    , lblMusteri(
          MakeLabel(pnlTop, QStringLiteral("lblMusteri"), QString(), Semibold(10, true), Qt::white))
    , pmAyarlar(new QMenu(this))
    , pnlLeft(new QWidget(this))
    , gridCart(new QTableWidget(pnlLeft))
    , pnlControlArea(new QWidget(pnlLeft))
    , pnlCenter(new QWidget(this))
{
    FormCreate();
}

TfrmMainPOS::~TfrmMainPOS() = default;

void TfrmMainPOS::FormCreate()
{
    FVardiyaID = -1;
    setObjectName(QStringLiteral("frmMainPOS"));
    setWindowTitle(QStringLiteral("KIRVELO - Satış Ekranı"));
    resize(1314, 752);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    ApplyScreenStyle();
    SetupCartGrid();
    qApp->installEventFilter(this);
}

void TfrmMainPOS::ApplyScreenStyle()
{
    TPOSUITheme::StyleForm(this);
    SetPanelColor(this, kBackground);
    SetupHeader();
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    SetPanelColor(pnlLeft, kLeftPanel);
    SetupControlArea();
    pnlCenter->setObjectName(QStringLiteral("pnlCenter"));
    SetPanelColor(pnlCenter, kBackground);
    FormResize();
}

void TfrmMainPOS::SetupHeader()
{
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    TPOSUITheme::StyleHeaderPanel(pnlTop);
    for (QWidget* handle : {static_cast<QWidget*>(pnlTop), static_cast<QWidget*>(lblTitle),
                            static_cast<QWidget*>(lblUser), static_cast<QWidget*>(lblVardiya),
                            static_cast<QWidget*>(lblMusteri)})
        TWindowMover::Attach(handle, this);
    lblMusteri->hide();

    const TButtonLook look = HeaderButtonLook();
    const auto header = [&](const QString& name, const QString& caption, TGlyph glyph) {
        TPOSButton* button = MakeButton(pnlTop, name, caption, glyph, look);
        button->setFont(Semibold(10, true));
        return button;
    };
    btnMusteriSec =
        header(QStringLiteral("btnMusteriSec"), QStringLiteral("Müşteri"), TGlyph::User);
    btnIade = header(QStringLiteral("btnIade"), QStringLiteral("İade"), TGlyph::Reply);
    btnHesapMakinesi =
        header(QStringLiteral("btnHesapMakinesi"), QStringLiteral("Hesap"), TGlyph::Letter);
    btnMenuVardiya =
        header(QStringLiteral("btnMenuVardiya"), QStringLiteral("Vardiya"), TGlyph::Clock);
    btnMenuRapor = header(QStringLiteral("btnMenuRapor"), QStringLiteral("Rapor"), TGlyph::Chart);
    FBtnMenuSatislar =
        header(QStringLiteral("btnMenuSatislar"), QStringLiteral("Satışlar"), TGlyph::Basket);
    btnParametreler =
        header(QStringLiteral("btnParametreler"), QStringLiteral("Ayarlar"), TGlyph::Gear);
    btnLogout = header(QStringLiteral("btnLogout"), QStringLiteral("Çıkış"), TGlyph::Power);

    connect(btnMusteriSec, &QPushButton::clicked, this, &TfrmMainPOS::btnMusteriSecClick);
    connect(btnIade, &QPushButton::clicked, this, &TfrmMainPOS::btnIadeClick);
    connect(btnHesapMakinesi, &QPushButton::clicked, this, &TfrmMainPOS::btnHesapMakinesiClick);
    connect(btnMenuVardiya, &QPushButton::clicked, this, &TfrmMainPOS::btnMenuVardiyaClick);
    connect(btnMenuRapor, &QPushButton::clicked, this, &TfrmMainPOS::btnMenuRaporClick);
    connect(FBtnMenuSatislar, &QPushButton::clicked, this, &TfrmMainPOS::OpenShiftSalesClick);
    connect(btnParametreler, &QPushButton::clicked, this, &TfrmMainPOS::btnParametrelerClick);
    connect(btnLogout, &QPushButton::clicked, this, &TfrmMainPOS::btnLogoutClick);

    pmAyarlar->setObjectName(QStringLiteral("pmAyarlar"));
    miParametreler = pmAyarlar->addAction(QStringLiteral("Parametreler"));
    miParametreler->setObjectName(QStringLiteral("miParametreler"));
    connect(miParametreler, &QAction::triggered, this, &TfrmMainPOS::miParametrelerClick);
}

void TfrmMainPOS::SetupControlArea()
{
    pnlControlArea->setObjectName(QStringLiteral("pnlControlArea"));
    SetPanelColor(pnlControlArea, kLeftPanel);

    lblBarkod = MakeLabel(pnlControlArea, QStringLiteral("lblBarkod"),
                          QStringLiteral("Hızlı Barkod Girişi"), PixelFont(Semibold(10, true), 13),
                          kActionText);

    pnlBarcodeInput = new QWidget(pnlControlArea);
    pnlBarcodeInput->setObjectName(QStringLiteral("pnlBarcodeInput"));
    edtBarkod = new QLineEdit(pnlBarcodeInput);
    edtBarkod->setObjectName(QStringLiteral("edtBarkod"));
    TPOSUITheme::StyleEdit(edtBarkod);
    edtBarkod->setFont(TPOSUITheme::TextFont(14));
    edtBarkod->setStyleSheet(
        QStringLiteral("QLineEdit { background: white; color: #151C25; border: 1px solid "
                       "#C9D8E4; border-radius: 6px; padding: 0 8px; }"
                       "QLineEdit:focus { border-color: #699DD6; }"));
    edtBarkod->clear();
    edtBarkod->setPlaceholderText(QStringLiteral("Barkod okutunuz veya klavyeden giriniz..."));
    btnStokSec = MakeButton(pnlBarcodeInput, QStringLiteral("btnStokSec"), QStringLiteral("Seç"),
                            TGlyph::Search, FilledLook(6));
    btnStokSec->setFont(Semibold(10, true));
    connect(btnStokSec, &QPushButton::clicked, this, &TfrmMainPOS::btnStokSecClick);

    btnBarkodOku = MakeButton(pnlControlArea, QStringLiteral("btnBarkodOku"), QString(),
                              TGlyph::None, WhiteButtonLook());
    pbBarkodOkuIcon = new TBarcodeIconBox(btnBarkodOku);
    pbBarkodOkuIcon->setObjectName(QStringLiteral("pbBarkodOkuIcon"));
    lblBarkodOkuText = MakeLabel(btnBarkodOku, QStringLiteral("lblBarkodOkuText"),
                                 QStringLiteral("Barkodu Ekle"), Semibold(10, true), kActionText);
    lblBarkodOkuText->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblBarkodOkuText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(btnBarkodOku, &QPushButton::clicked, this, &TfrmMainPOS::btnBarkodOkuClick);

    pnlActions = new QWidget(pnlControlArea);
    pnlActions->setObjectName(QStringLiteral("pnlActions"));
    btnMiktarDegistir = MakeButton(pnlActions, {}, {}, TGlyph::None, WhiteButtonLook());
    btnIndirimYap = MakeButton(pnlActions, {}, {}, TGlyph::None, WhiteButtonLook());
    btnSatirSil = MakeButton(pnlActions, {}, {}, TGlyph::None, WhiteButtonLook());
    btnTemizle = MakeButton(pnlActions, {}, {}, TGlyph::None, WhiteButtonLook());
    lblMiktarDegistirIcon = new TGlyphLabel(TGlyph::None, btnMiktarDegistir);
    lblMiktarDegistirText = new QLabel(btnMiktarDegistir);
    lblIndirimYapIcon = new TGlyphLabel(TGlyph::None, btnIndirimYap);
    lblIndirimYapText = new QLabel(btnIndirimYap);
    lblSatirSilIcon = new TGlyphLabel(TGlyph::None, btnSatirSil);
    lblSatirSilText = new QLabel(btnSatirSil);
    lblTemizleIcon = new TGlyphLabel(TGlyph::None, btnTemizle);
    lblTemizleText = new QLabel(btnTemizle);
    SetupActionButton({btnMiktarDegistir, lblMiktarDegistirIcon, lblMiktarDegistirText},
                      QStringLiteral("MiktarDegistir"), QStringLiteral("Miktar Düzenle"), 0xE70F);
    SetupActionButton({btnIndirimYap, lblIndirimYapIcon, lblIndirimYapText},
                      QStringLiteral("IndirimYap"), QStringLiteral("İndirim Uygula"), 0xE8EC);
    SetupActionButton({btnSatirSil, lblSatirSilIcon, lblSatirSilText}, QStringLiteral("SatirSil"),
                      QStringLiteral("Satırı Sil"), 0xE74D);
    SetupActionButton({btnTemizle, lblTemizleIcon, lblTemizleText}, QStringLiteral("Temizle"),
                      QStringLiteral("Sepeti Temizle"), 0xE7BF);
    connect(btnMiktarDegistir, &QPushButton::clicked, this, &TfrmMainPOS::btnMiktarDegistirClick);
    connect(btnIndirimYap, &QPushButton::clicked, this, &TfrmMainPOS::btnIndirimYapClick);
    connect(btnSatirSil, &QPushButton::clicked, this, &TfrmMainPOS::btnSatirSilClick);
    connect(btnTemizle, &QPushButton::clicked, this, &TfrmMainPOS::btnTemizleClick);

    SetupTotals();

    btnOdemeAl = MakeButton(pnlControlArea, QStringLiteral("btnOdemeAl"),
                            QStringLiteral("ÖDEME AL"), TGlyph::None, FilledLook(8));
    btnOdemeAl->setFont(Semibold(18, false));
    connect(btnOdemeAl, &QPushButton::clicked, this, &TfrmMainPOS::btnOdemeAlClick);
}

void TfrmMainPOS::SetupActionButton(const TActionButton& action, const QString& name,
                                    const QString& text, char16_t icon)
{
    action.Button->setObjectName(QStringLiteral("btn") + name);
    action.Icon->setObjectName(QStringLiteral("lbl") + name + QStringLiteral("Icon"));
    action.Icon->SetGlyph(Glyphs::FromMdl2(icon));
    action.Icon->SetGlyphSize(16);
    action.Icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    action.Text->setObjectName(QStringLiteral("lbl") + name + QStringLiteral("Text"));
    action.Text->setText(text);
    action.Text->setFont(Semibold(10, true));
    action.Text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    action.Text->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TfrmMainPOS::SetupTotals()
{
    pnlTotals = new QWidget(pnlControlArea);
    pnlTotals->setObjectName(QStringLiteral("pnlTotals"));
    SetPanelColor(pnlTotals, Qt::white);
    const QFont caption = Semibold(11, false);
    const QFont value = PixelFont(Semibold(10, true), 20);
    const auto pair = [&](const QString& name, const QString& text, const QColor& color,
                          QLabel*& captionLabel, QLabel*& valueLabel) {
        captionLabel =
            MakeLabel(pnlTotals, QStringLiteral("lbl") + name, text, caption, kTotalCaption);
        captionLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        valueLabel = MakeLabel(pnlTotals, QStringLiteral("lbl") + name + QStringLiteral("_Value"),
                               QStringLiteral("0.00₺"), value, color);
        valueLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    pair(QStringLiteral("AraToplam"), QStringLiteral("Ara Toplam:"), kGridText, lblAraToplam,
         lblAraToplam_Value);
    pair(QStringLiteral("KDV"), QStringLiteral("KDV:"), kGridText, lblKDV, lblKDV_Value);
    pair(QStringLiteral("Indirim"), QStringLiteral("İndirim:"), kDiscount, lblIndirim,
         lblIndirim_Value);
    pair(QStringLiteral("GenelToplam"), QStringLiteral("Genel Toplam:"), kGrandTotal,
         lblGenelToplam, lblGenelToplam_Value);
}

void TfrmMainPOS::SetupCartGrid()
{
    gridCart->setObjectName(QStringLiteral("gridCart"));
    gridCart->setColumnCount(int(kGridTitles.size()));
    gridCart->setHorizontalHeaderLabels(kGridTitles);
    gridCart->setRowCount(1);
    gridCart->verticalHeader()->hide();
    gridCart->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridCart->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridCart->setSelectionMode(QAbstractItemView::SingleSelection);
    gridCart->setWordWrap(false);
    gridCart->setFrameShape(QFrame::NoFrame);
    gridCart->setFont(TPOSUITheme::TextFont(10));
    gridCart->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    gridCart->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridCart->horizontalHeader()->setFixedHeight(kGridRowHeight);
    gridCart->horizontalHeader()->setMinimumSectionSize(0);
    gridCart->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    gridCart->setStyleSheet(
        QStringLiteral("QTableWidget { background: white; gridline-color: %1; }")
            .arg(kGridLines.name()));
    for (int col = 0; col < kGridWidths.size(); ++col)
        gridCart->setColumnWidth(col, kGridWidths.at(col));
    gridCart->setColumnHidden(0, true);
    TPOSUITheme::InstallGridCellDrawer(gridCart, [this](QPainter* painter, int col, int row,
                                                        const QRect& rect, TGridCellState state) {
        gridCartDrawCell(painter, col, row, rect, state.Fixed);
    });
    gridCart->setCurrentCell(0, 1);
    connect(gridCart, &QTableWidget::currentCellChanged, this, [this] {
        UpdateActionStates();
        gridCart->viewport()->update();
    });
    connect(gridCart, &QTableWidget::cellDoubleClicked, this, &TfrmMainPOS::btnMiktarDegistirClick);
}

void TfrmMainPOS::gridCartDrawCell(QPainter* painter, int col, int row, const QRect& rect,
                                   bool fixed)
{
    const bool selected = !fixed && FCart.Count() > 0 && row == gridCart->currentRow();
    painter->save();
    painter->fillRect(rect, fixed ? kGridTitle : selected ? kGridSelected : QColor(Qt::white));
    QFont font = gridCart->font();
    if (!fixed)
        font.setPointSize(font.pointSize() + 2);
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(selected ? kAccent : kGridText);
    const QString text = fixed                      ? kGridTitles.value(col)
                         : gridCart->item(row, col) ? gridCart->item(row, col)->text()
                                                    : QString();
    const Qt::Alignment horizontal = col >= 3 ? Qt::AlignRight : Qt::AlignLeft;
    const QRect textRect = rect.adjusted(2, 2, -2, -2);
    const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
    painter->drawText(textRect, int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
    painter->restore();
}

// The number columns keep their designed widths unless a title or an amount needs more in the
// fonts this machine has: an amount must never be cut. The product name takes what is left and
// is shortened with an ellipsis when it does not fit.
void TfrmMainPOS::FitCartColumns()
{
    QFont titleFont = gridCart->font();
    titleFont.setBold(true);
    QFont cellFont = titleFont;
    cellFont.setPointSize(titleFont.pointSize() + 2);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics cellMetrics(cellFont);
    int numbers = 0;
    for (int col = 2; col < gridCart->columnCount(); ++col) {
        int needed = titleMetrics.horizontalAdvance(kGridTitles.at(col));
        for (int row = 0; row < FCart.Count(); ++row) {
            if (const QTableWidgetItem* item = gridCart->item(row, col))
                needed = qMax(needed, cellMetrics.horizontalAdvance(item->text()));
        }
        const int width = qMax(kGridWidths.at(col), needed + 8);
        gridCart->setColumnWidth(col, width);
        numbers += width;
    }
    const int scrollBar =
        gridCart->verticalScrollBar()->isVisible() ? gridCart->verticalScrollBar()->width() : 0;
    gridCart->setColumnWidth(1, qMax(kNameColumnMinWidth, gridCart->width() - scrollBar - numbers));
}

void TfrmMainPOS::FormResize()
{
    const int width = this->width();
    const int height = this->height();
    pnlTop->setGeometry(0, 0, width, kTopHeight);
    lblTitle->setGeometry(20, 15, 360, 30);
    lblUser->setGeometry(20, 48, 560, 20);
    lblVardiya->setGeometry(400, 48, 260, 20);
    lblMusteri->setGeometry(400, 15, 360, 20);
    const QList<int> lefts = TSalesScreenRules::HeaderButtonLefts(width);
    const QList<TPOSButton*> buttons{btnLogout,    btnParametreler, FBtnMenuSatislar,
                                     btnMenuRapor, btnMenuVardiya,  btnHesapMakinesi,
                                     btnIade,      btnMusteriSec};
    for (int i = 0; i < buttons.size(); ++i) {
        buttons.at(i)->setGeometry(lefts.at(i), 0, kHeaderButtonWidth, kTopHeight);
        buttons.at(i)->raise();
    }

    const int leftWidth = TSalesScreenRules::CartPanelWidth(width);
    const int bodyHeight = qMax(0, height - kTopHeight);
    pnlLeft->setGeometry(0, kTopHeight, leftWidth, bodyHeight);
    pnlCenter->setGeometry(leftWidth, kTopHeight, qMax(0, width - leftWidth), bodyHeight);
    const int gridHeight = qMax(0, bodyHeight - kControlAreaHeight - kPadLeft);
    gridCart->setGeometry(kPadLeft, kPadLeft, leftWidth - kPadLeft - kPadRight, gridHeight);
    pnlControlArea->setGeometry(0, kPadLeft + gridHeight, leftWidth, kControlAreaHeight);
    FitCartColumns();
    LayoutControlArea();
    LayoutBarcodeButton();
    for (const TActionButton& action : ActionButtons())
        LayoutActionButton(action);
}

void TfrmMainPOS::LayoutControlArea()
{
    const int inner = pnlControlArea->width() - kPadLeft - kPadRight;
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
    const int cellWidth = (inner - kActionsGap) / 2;
    const int cellHeight = (kActionsHeight - kActionsGap) / 2;
    btnMiktarDegistir->setGeometry(0, 0, cellWidth, cellHeight);
    btnIndirimYap->setGeometry(cellWidth + kActionsGap, 0, inner - cellWidth - kActionsGap,
                               cellHeight);
    btnSatirSil->setGeometry(0, cellHeight + kActionsGap, cellWidth,
                             kActionsHeight - cellHeight - kActionsGap);
    btnTemizle->setGeometry(cellWidth + kActionsGap, cellHeight + kActionsGap,
                            inner - cellWidth - kActionsGap,
                            kActionsHeight - cellHeight - kActionsGap);
    y += kActionsHeight + kActionsMargin;

    const int payTop = kControlAreaHeight - kPadBottom - kPayHeight;
    btnOdemeAl->setGeometry(kPadLeft, payTop, inner, kPayHeight);
    pnlTotals->setGeometry(kPadLeft, y, inner, qMax(0, payTop - kPayMargin - y));
    const QList<std::pair<QLabel*, QLabel*>> rows{{lblAraToplam, lblAraToplam_Value},
                                                  {lblKDV, lblKDV_Value},
                                                  {lblIndirim, lblIndirim_Value},
                                                  {lblGenelToplam, lblGenelToplam_Value}};
    const int rowHeight = (pnlTotals->height() - 8) / int(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const int top = 4 + i * rowHeight;
        rows.at(i).first->setGeometry(14, top, inner / 2, rowHeight);
        rows.at(i).second->setGeometry(inner / 2, top, inner / 2 - 14, rowHeight);
    }
}

void TfrmMainPOS::LayoutBarcodeButton()
{
    const int w =
        QFontMetrics(lblBarkodOkuText->font()).horizontalAdvance(lblBarkodOkuText->text());
    const int x = qMax(14, (btnBarkodOku->width() - (w + 38)) / 2);
    pbBarkodOkuIcon->setGeometry(x, (btnBarkodOku->height() - 24) / 2, 28, 24);
    lblBarkodOkuText->setGeometry(x + 38, 0, w + 8, btnBarkodOku->height());
    pbBarkodOkuIcon->update();
}

void TfrmMainPOS::LayoutActionButton(const TActionButton& action)
{
    const int w = QFontMetrics(action.Text->font()).horizontalAdvance(action.Text->text());
    const int clientWidth = action.Button->width();
    const int x = qMax(14, (clientWidth - (w + 32)) / 2);
    action.Icon->setGeometry(x, 0, 24, action.Button->height());
    action.Text->setGeometry(x + 32, 0, qMax(0, clientWidth - x - 40), action.Button->height());
}

QList<TfrmMainPOS::TActionButton> TfrmMainPOS::ActionButtons() const
{
    return {{btnMiktarDegistir, lblMiktarDegistirIcon, lblMiktarDegistirText},
            {btnIndirimYap, lblIndirimYapIcon, lblIndirimYapText},
            {btnSatirSil, lblSatirSilIcon, lblSatirSilText},
            {btnTemizle, lblTemizleIcon, lblTemizleText}};
}

void TfrmMainPOS::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmMainPOS::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmMainPOS::FormShow()
{
    if (TSessionManager::Instance().GetIsLoggedIn())
        lblUser->setText(
            TSalesScreenRules::UserCaption(TSessionManager::Instance().GetSessionInfo()));
    UpdateShiftLabel();
    LoadOpenShift();
    FocusBarcode();
}

void TfrmMainPOS::keyPressEvent(QKeyEvent* event)
{
    // Esc must not close the till: only the window's close or "Çıkış" end the program.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmMainPOS::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (FormKeyDown(key))
        return true;
    if (widget == edtBarkod && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        btnBarkodOkuClick();
        return true;
    }
    return FormKeyPress(watched, key);
}

bool TfrmMainPOS::FormKeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_H && event->modifiers() == Qt::ControlModifier) {
        OpenCalculator();
        return true;
    }
    if (event->key() == Qt::Key_F8 && event->modifiers() == Qt::NoModifier) {
        SearchProduct();
        return true;
    }
    return false;
}

// A scanner types into whatever has the focus; its characters belong in the barcode field.
bool TfrmMainPOS::FormKeyPress(QObject*, QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || focusWidget() == edtBarkod)
        return false;
    edtBarkod->setFocus();
    if (!IsPrintableAscii(text) || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    // Setting the text leaves the caret at its end, where the next character goes.
    edtBarkod->setText(edtBarkod->text() + text);
    return true;
}

void TfrmMainPOS::FocusBarcode()
{
    if (edtBarkod->isEnabled())
        edtBarkod->setFocus();
}

int TfrmMainPOS::SelectedLine() const
{
    const int row = gridCart->currentRow();
    return row >= 0 && row < FCart.Count() ? row : -1;
}

void TfrmMainPOS::SelectLine(int Index)
{
    gridCart->setCurrentCell(Index, 1);
}

void TfrmMainPOS::RefreshCart()
{
    const int current = gridCart->currentRow();
    gridCart->setRowCount(qMax(FCart.Count(), 1));
    if (FCart.Count() == 0) {
        for (int col = 0; col < gridCart->columnCount(); ++col)
            gridCart->setItem(0, col, new QTableWidgetItem());
    }
    for (int i = 0; i < FCart.Count(); ++i) {
        const QStringList texts = TSalesScreenRules::CartRowTexts(FCart.Items(i), i);
        for (int col = 0; col < texts.size(); ++col) {
            QTableWidgetItem* item = gridCart->item(i, col);
            if (item)
                item->setText(texts.at(col));
            else
                gridCart->setItem(i, col, new QTableWidgetItem(texts.at(col)));
        }
    }
    if (current < 0 || current >= gridCart->rowCount())
        gridCart->setCurrentCell(qBound(0, current, gridCart->rowCount() - 1), 1);
    FitCartColumns();
    gridCart->viewport()->update();
    RefreshTotals();
    UpdateActionStates();
}

void TfrmMainPOS::RefreshTotals()
{
    const QString pattern = QStringLiteral("0.00 TL");
    lblAraToplam_Value->setText(FormatFloat(pattern, FCart.AraToplam()));
    lblKDV_Value->setText(FormatFloat(pattern, FCart.ToplamKDV()));
    lblIndirim_Value->setText(FormatFloat(pattern, FCart.ToplamIndirim()));
    lblGenelToplam_Value->setText(FormatFloat(pattern, FCart.GenelToplam()));
}

void TfrmMainPOS::UpdateActionStates()
{
    btnOdemeAl->setEnabled(TSalesScreenRules::PayEnabled(FCart, FVardiyaID));
    btnOdemeAl->setText(TSalesScreenRules::PayCaption(FCart));
    const bool hasLines = FCart.Count() > 0;
    const bool lineChosen = hasLines && SelectedLine() >= 0;
    btnTemizle->setEnabled(hasLines);
    btnSatirSil->setEnabled(lineChosen);
    btnMiktarDegistir->setEnabled(lineChosen);
    btnIndirimYap->setEnabled(lineChosen);
    UpdateActionButtonColors();
}

void TfrmMainPOS::UpdateActionButtonColors()
{
    for (const TActionButton& action : ActionButtons()) {
        const bool enabled = action.Button->isEnabled();
        action.Icon->setEnabled(enabled);
        action.Text->setEnabled(enabled);
        action.Icon->SetColors(enabled ? kAccent : kActionIconDisabled, kActionIconDisabled);
        TPOSUITheme::SetLabelColor(action.Text, enabled ? kActionText : kActionTextDisabled);
    }
}

void TfrmMainPOS::LoadOpenShift()
{
    const TSessionInfo session = TSessionManager::Instance().GetSessionInfo();
    FVardiyaID = TSalesScreenRules::FindOpenShift(session.KullaniciID, session.SubeID);
    TSessionManager::Instance().UpdateVardiyaInfo(FVardiyaID, FVardiyaID > 0);
    UpdateShiftLabel();
}

void TfrmMainPOS::UpdateShiftLabel()
{
    lblVardiya->setText(TSalesScreenRules::ShiftCaption(FVardiyaID));
    TPOSUITheme::SetLabelColor(lblVardiya, kAmber);
    UpdateActionStates();
}

TQuantityPrompt TfrmMainPOS::InputPrompt()
{
    return [](const QString& title, const QString& prompt, const QString& def, QString& value) {
        return TfrmCustomInput::ShowInput(title, prompt, def, value);
    };
}

void TfrmMainPOS::btnBarkodOkuClick()
{
    const QString code = edtBarkod->text().trimmed();
    if (code.isEmpty()) {
        ShowError(QStringLiteral("Barkod giriniz!"));
        return;
    }
    if (!ParseScannedCode(code))
        return;
    edtBarkod->clear();
    FocusBarcode();
}

bool TfrmMainPOS::ParseScannedCode(const QString& Code)
{
    const TAddResult result = TBarcodeResolver::ParseScannedCode(
        FCart, TSessionManager::Instance().GetSessionInfo().SubeID, Code, InputPrompt());
    switch (result.Status) {
    case TAddStatus::Added:
        RefreshCart();
        return true;
    case TAddStatus::NotFound:
        ShowBarcodeNotFound(result.Message);
        return false;
    case TAddStatus::Refused:
        ShowError(result.Message);
        return false;
    case TAddStatus::NothingAdded:
        return false;
    }
    return false;
}

void TfrmMainPOS::AddProductByStokID(int StokID)
{
    const TAddResult result =
        TBarcodeResolver::AddProductByStokID(FCart, FVardiyaID, StokID, InputPrompt());
    if (result.Added())
        RefreshCart();
    else if (result.Status == TAddStatus::Refused)
        ShowError(result.Message);
}

void TfrmMainPOS::ShowBarcodeNotFound(const QString& Message)
{
    const int seconds =
        TAppSettingsManager::GetInt(QStringLiteral("BarcodeNotFoundMessageSeconds"), 3, 1, 60);
    TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), Message, dtError, seconds * 1000);
    edtBarkod->clear();
    FocusBarcode();
}

void TfrmMainPOS::ShowError(const QString& Text)
{
    TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), Text, dtError);
}

void TfrmMainPOS::ShowInfo(const QString& Text)
{
    TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"), Text, dtInfo);
}

void TfrmMainPOS::btnStokSecClick()
{
    SearchProduct();
}

// The product search dialog is not part of the till yet; its choice will go through
// AddProductByStokID.
void TfrmMainPOS::SearchProduct()
{
    FocusBarcode();
}

// The calculator is not part of the till yet.
void TfrmMainPOS::OpenCalculator()
{
    FocusBarcode();
}

void TfrmMainPOS::btnMiktarDegistirClick()
{
    const int line = SelectedLine();
    if (line < 0) {
        ShowError(QStringLiteral("Satır seçiniz!"));
        return;
    }
    QString entry;
    if (!TfrmCustomInput::ShowInput(
            QStringLiteral("Miktar Değiştir"), QStringLiteral("Yeni miktar:"),
            TSalesScreenRules::QuantityText(FCart.Items(line).Miktar()), entry))
        return;
    const TEntryCheck check = TSalesScreenRules::CheckQuantityEntry(entry);
    if (!check.Value) {
        ShowError(check.Message);
        return;
    }
    FCart.UpdateQuantity(line, *check.Value);
    RefreshCart();
}

void TfrmMainPOS::btnIndirimYapClick()
{
    const int line = SelectedLine();
    if (line < 0) {
        ShowError(QStringLiteral("Satır seçiniz!"));
        return;
    }
    QString entry;
    if (!TfrmCustomInput::ShowInput(QStringLiteral("İndirim Yap"),
                                    QStringLiteral("İndirim oranı (%):"), QStringLiteral("0"),
                                    entry))
        return;
    const TEntryCheck check = TSalesScreenRules::CheckDiscountEntry(entry);
    if (!check.Value) {
        ShowError(check.Message);
        return;
    }
    FCart.UpdateDiscount(line, *check.Value);
    RefreshCart();
}

void TfrmMainPOS::btnSatirSilClick()
{
    const int line = SelectedLine();
    if (line < 0) {
        ShowError(QStringLiteral("Silinecek satırı seçiniz!"));
        return;
    }
    if (TfrmCustomDialog::ShowDialog(
            QStringLiteral("Satır Sil"),
            QStringLiteral("Seçili satırı silmek istediğinizden emin misiniz?"),
            dtConfirmation) != mrOk)
        return;
    FCart.RemoveItem(line);
    RefreshCart();
}

void TfrmMainPOS::btnTemizleClick()
{
    if (TfrmCustomDialog::ShowDialog(
            QStringLiteral("Sepeti Temizle"),
            QStringLiteral("Sepeti temizlemek istediğinizden emin misiniz?"),
            dtConfirmation) != mrOk)
        return;
    FCart.Clear();
    HideCustomer();
    RefreshCart();
}

void TfrmMainPOS::HideCustomer()
{
    lblMusteri->clear();
    lblMusteri->hide();
}

void TfrmMainPOS::btnOdemeAlClick()
{
    if (FCart.Count() == 0) {
        ShowError(QStringLiteral("Sepet boş!"));
        return;
    }
    if (FVardiyaID <= 0) {
        ShowError(QStringLiteral("Vardiya açık değil!"));
        return;
    }
    const TPaymentResult paid = TfrmPayment::Execute(FCart.GenelToplam());
    if (paid.Accepted)
        CompleteSale(paid.PaymentType, paid.PaymentNakit, paid.PaymentKart);
}

void TfrmMainPOS::CompleteSale(const QString& PaymentType, double NakitTutar, double KartTutar)
{
    std::optional<TWaitCursor> wait(std::in_place);
    const TSaleResult result =
        TSalesScreenRules::CompleteSale(FCart, TSessionManager::Instance().GetSessionInfo(),
                                        FVardiyaID, PaymentType, NakitTutar, KartTutar);
    if (!result.Success) {
        wait.reset();
        ShowError(result.Message);
        return;
    }
    HideCustomer();
    RefreshCart();
    const int seconds =
        TAppSettingsManager::GetInt(QStringLiteral("SaleSuccessMessageSeconds"), 3, 1, 60);
    wait.reset();
    TfrmSaleSuccessDialog::ShowSale(result.FisNo, result.GenelToplam, PaymentType, seconds * 1000);
    FocusBarcode();
}

// The customer list is not part of the till yet.
void TfrmMainPOS::btnMusteriSecClick() {}

// The refund screen is not part of the till yet.
void TfrmMainPOS::btnIadeClick() {}

void TfrmMainPOS::btnHesapMakinesiClick()
{
    OpenCalculator();
}

void TfrmMainPOS::btnMenuVardiyaClick()
{
    TMenuPopupForm* menu = TMenuPopupForm::Instance();
    if (!menu)
        return;
    TShiftMenuHandlers handlers;
    handlers.btnVardiyaAcClick = [this] {
        btnVardiyaAcClick();
    };
    handlers.btnVardiyaKapatClick = [this] {
        btnVardiyaKapatClick();
    };
    handlers.btnIcmalClick = [this] {
        btnIcmalClick();
    };
    handlers.btnPastShiftReportsClick = [this] {
        btnPastShiftReportsClick();
    };
    menu->SetSalesScreen(this, handlers);
    menu->DropDown(btnMenuVardiya);
}

void TfrmMainPOS::btnMenuRaporClick()
{
    TReportMenuHandlers handlers;
    handlers.btnReportingClick = [this] {
        btnReportingClick();
    };
    handlers.btnSonFisClick = [this] {
        btnSonFisClick();
    };
    TReportMenuPopupForm* menu = TReportMenuPopupForm::Instance(this);
    menu->SetSalesScreen(this, handlers);
    menu->DropDown(btnMenuRapor);
}

void TfrmMainPOS::OpenShiftSalesClick()
{
    if (FVardiyaID <= 0)
        ShowError(QStringLiteral("Aktif vardiya bulunmuyor."));
    FocusBarcode();
}

void TfrmMainPOS::btnParametrelerClick()
{
    pmAyarlar->popup(btnParametreler->mapToGlobal(QPoint(0, btnParametreler->height())));
}

// The parameters editor is not part of the till yet.
void TfrmMainPOS::miParametrelerClick()
{
    FocusBarcode();
}

void TfrmMainPOS::btnLogoutClick()
{
    if (TfrmCustomDialog::ShowDialog(
            QStringLiteral("Programdan Çıkış"),
            QStringLiteral("Programdan çıkmak istediğinizden emin misiniz?"),
            dtConfirmation) != mrOk)
        return;
    TSessionManager::Instance().Logout();
    done(QDialog::Rejected);
}

void TfrmMainPOS::btnVardiyaAcClick()
{
    if (FVardiyaID > 0) {
        ShowError(QStringLiteral(
            "Açık vardiya bulunuyor. Önce vardiya kapatma işlemini gerçekleştiriniz."));
        return;
    }
    int vardiyaID = 0;
    if (!TfrmVardiya::Execute(vmOpen, vardiyaID))
        return;
    FVardiyaID = vardiyaID;
    TSessionManager::Instance().UpdateVardiyaInfo(FVardiyaID, true);
    UpdateShiftLabel();
}

void TfrmMainPOS::btnVardiyaKapatClick()
{
    if (FVardiyaID <= 0) {
        ShowError(QStringLiteral("Açık vardiya yok!"));
        return;
    }
    double counted = 0;
    {
        TfrmVardiya dialog(this);
        dialog.FVardiyaID = FVardiyaID;
        dialog.SetMode(vmClose);
        if (dialog.exec() != mrOk)
            return;
        counted = ParseDecimalText(dialog.edtAmount->text(), 0);
    }
    std::optional<TWaitCursor> wait(std::in_place);
    const TCloseShiftResult closed = TShiftManager::CloseShift(
        FVardiyaID, counted, TSessionManager::Instance().GetSessionInfo().KullaniciID);
    wait.reset();
    if (!closed.Success) {
        ShowError(closed.Message);
        return;
    }
    // The cashier reads the closed shift's report while the screen still names that shift.
    ShowZReport(FVardiyaID);
    FVardiyaID = -1;
    TSessionManager::Instance().UpdateVardiyaInfo(-1, false);
    UpdateShiftLabel();
}

void TfrmMainPOS::ShowZReport(int VardiyaID)
{
    TfrmZReportPreview::Execute(VardiyaID);
}

void TfrmMainPOS::btnIcmalClick()
{
    if (FVardiyaID <= 0) {
        ShowError(QStringLiteral("Aktif vardiya bulunmuyor."));
        return;
    }
    TfrmShiftSummary::Execute(FVardiyaID);
}

// The past shift reports are not part of the till yet.
void TfrmMainPOS::btnPastShiftReportsClick()
{
    FocusBarcode();
}

// The reporting screen is not part of the till yet.
void TfrmMainPOS::btnReportingClick() {}

void TfrmMainPOS::btnSonFisClick()
{
    if (FVardiyaID <= 0)
        return;
    try {
        if (TPrintService::GetLastReceiptID(FVardiyaID) <= 0)
            ShowInfo(QStringLiteral("Yazdırılacak fiş bulunamadı."));
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("Yazdırma hatası: ") + ErrorMessage(e));
    }
}
