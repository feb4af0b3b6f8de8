#include "ui/ProductCatalogue.h"

#include "sales/CatalogueRules.h"
#include "ui/CatalogueIcons.h"
#include "ui/CategoryButton.h"
#include "ui/POSUITheme.h"
#include "ui/ProductTileView.h"
#include "ui/SlotGuard.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>

namespace {
constexpr int kButtonLeft = 6;
constexpr int kButtonWidth = 200;
constexpr int kButtonHeight = 48;
constexpr int kButtonStep = 55;
constexpr int kCaptionSize = 9;
constexpr int kCaptionMinimum = 7;
constexpr int kCaptionRoom = 152;
// Windows regions of the category buttons have corners of 22 x 22.
constexpr int kRegionRadius = 11;

QString AllProductsName()
{
    return QStringLiteral("TÜMÜ");
}

QFont CaptionFont(int pointSize, bool bold)
{
    return TPOSUITheme::SemiboldFont(pointSize, bold);
}

// The caption in size 9, smaller down to 7 while it is 153 pixels or wider, then cut to fit
// 152 pixels with "...".
void FitCaption(QPushButton& button, const QString& name, bool bold)
{
    QString text = CatalogueRules::NormalizeCaption(name);
    int size = kCaptionSize;
    while (QFontMetrics(CaptionFont(size, bold)).horizontalAdvance(text) >= kCaptionRoom + 1 &&
           size > kCaptionMinimum)
        --size;
    const QFontMetrics metrics(CaptionFont(size, bold));
    if (metrics.horizontalAdvance(text) > kCaptionRoom) {
        const QString dots = QStringLiteral("...");
        while (text.size() >= 4 && metrics.horizontalAdvance(text + dots) > kCaptionRoom)
            text.chop(1);
        if (text.size() > 3)
            text += dots;
    }
    button.setFont(CaptionFont(size, bold));
    button.setText(text);
}

struct TButtonColors {
    QColor Fill;
    QColor Border;
};

TButtonColors ColorsFor(bool selected, TButtonState state)
{
    switch (state) {
    case TButtonState::Disabled:
        return {POSPalette::CategoryFillDisabled, POSPalette::CategoryFrameDisabled};
    case TButtonState::Hot:
    case TButtonState::Focused:
        return selected ? TButtonColors{POSPalette::AccentHot, POSPalette::AccentHot}
                        : TButtonColors{POSPalette::CategoryFillHot, POSPalette::CategoryFrame};
    case TButtonState::Pressed:
        return selected ? TButtonColors{POSPalette::AccentPressed, POSPalette::AccentPressed}
                        : TButtonColors{POSPalette::CategoryFillPressed, POSPalette::CategoryFrame};
    case TButtonState::Normal:
        break;
    }
    return selected ? TButtonColors{POSPalette::Accent, POSPalette::Accent}
                    : TButtonColors{POSPalette::Content, POSPalette::CategoryFrame};
}

QScrollArea* MakeScrollArea(QWidget* parent, const char* name)
{
    auto* area = new QScrollArea(parent);
    area->setObjectName(QLatin1String(name));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TPOSUITheme::FillBackground(area->viewport(), POSPalette::ScreenBackground);
    return area;
}
} // namespace

TProductCatalogue::TProductCatalogue(QWidget* parent,
                                     std::function<void(int StokID)> productTileClick)
    : QWidget(parent)
    , pnlCategoryContainer(new QWidget(this))
    , scrollCategories(MakeScrollArea(pnlCategoryContainer, "scrollCategories"))
    , FCategoryList(new QWidget())
    , pnlProductContainer(new QWidget(this))
    , scrollProducts(MakeScrollArea(pnlProductContainer, "scrollProducts"))
    , flowProducts(new TProductTileView())
{
    setObjectName(QStringLiteral("pnlCenter"));
    pnlCategoryContainer->setObjectName(QStringLiteral("pnlCategoryContainer"));
    pnlProductContainer->setObjectName(QStringLiteral("pnlProductContainer"));
    for (QWidget* panel :
         {static_cast<QWidget*>(this), pnlCategoryContainer, pnlProductContainer, FCategoryList})
        TPOSUITheme::FillBackground(panel, POSPalette::ScreenBackground);
    pnlCategoryContainer->setFixedWidth(CategoryColumnWidth);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(pnlCategoryContainer);
    row->addWidget(pnlProductContainer, 1);
    for (auto [panel, area] : {std::pair{pnlCategoryContainer, scrollCategories},
                               std::pair{pnlProductContainer, scrollProducts}}) {
        auto* fill = new QHBoxLayout(panel);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(area);
    }
    FCategoryList->setObjectName(QStringLiteral("pnlCategoryList"));
    scrollCategories->setWidget(FCategoryList);
    scrollProducts->setWidget(flowProducts);
    scrollProducts->viewport()->installEventFilter(this);
    flowProducts->SetClickHandler(std::move(productTileClick));

    FPartTimer.setSingleShot(true);
    FPartTimer.setInterval(0);
    connect(&FPartTimer, &QTimer::timeout, this,
            [this] { CallGuarded([this] { LoadNextPart(); }); });
}

QList<TCategoryGPButton*> TProductCatalogue::CategoryButtons() const
{
    return FCategoryList->findChildren<TCategoryGPButton*>(Qt::FindDirectChildrenOnly);
}

void TProductCatalogue::LoadCategories()
{
    qDeleteAll(CategoryButtons());
    int top = 6;
    AddCategoryButton(0, AllProductsName(), top);
    for (const TCatalogueCategory& category : TCatalogue::LoadCategories()) {
        top += kButtonStep;
        AddCategoryButton(category.KategoriID, category.KategoriAdi, top);
    }
    FCategoryList->resize(CategoryColumnWidth, top + kButtonStep);
    LoadProducts(0);
}

void TProductCatalogue::AddCategoryButton(int tag, const QString& name, int top)
{
    auto* button = new TCategoryGPButton(
        FCategoryList, [this](TCategoryGPButton& b, QPainter& p, TButtonState state) {
            DrawCategoryButton(b, p, state);
        });
    button->Tag = tag;
    button->setObjectName(QStringLiteral("btnKategori%1").arg(tag));
    button->setToolTip(name);
    button->setProperty("Hint", name);
    button->setGeometry(kButtonLeft, top, kButtonWidth, kButtonHeight);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    FitCaption(*button, name, tag == FSelectedCategoryID);
    TPOSUITheme::SetRoundedRegion(button, kRegionRadius);
    GuardedConnect(button, &QPushButton::clicked, this, [this, tag] { CategoryClick(tag); });
    button->show();
}

void TProductCatalogue::CategoryClick(int KategoriID)
{
    FSelectedCategoryID = KategoriID;
    UpdateCategoryButtons();
    LoadProducts(FSelectedCategoryID);
}

void TProductCatalogue::UpdateCategoryButtons()
{
    for (TCategoryGPButton* button : CategoryButtons()) {
        QFont font = button->font();
        font.setBold(button->Tag == FSelectedCategoryID);
        button->setFont(font);
        button->update();
    }
}

void TProductCatalogue::RoundCategoryButtons()
{
    for (TCategoryGPButton* button : CategoryButtons())
        TPOSUITheme::SetRoundedRegion(button, kRegionRadius);
}

void TProductCatalogue::SetIconFontLoaded(bool loaded)
{
    FIconFontLoaded = loaded;
    flowProducts->SetIconFontLoaded(loaded);
    for (TCategoryGPButton* button : CategoryButtons())
        button->update();
}

// The tiles are rebuilt out of sight and shown again whatever happens; a category's first part
// is painted before the rest is read.
void TProductCatalogue::LoadProducts(int CategoryID)
{
    FPartTimer.stop();
    flowProducts->setUpdatesEnabled(false);
    const auto showAgain = qScopeGuard([this] { flowProducts->setUpdatesEnabled(true); });
    flowProducts->SetTiles({});
    scrollProducts->verticalScrollBar()->setValue(0);
    if (CategoryID <= 0) {
        flowProducts->SetTiles(TCatalogue::LoadAllProducts());
        return;
    }
    FPartsCategory = CategoryID;
    FCursor = TTileCursor();
    flowProducts->SetTiles(TCatalogue::LoadCategoryPart(CategoryID, FCursor));
    if (!FCursor.Done)
        FPartTimer.start();
}

void TProductCatalogue::LoadNextPart()
{
    if (FPartsCategory != FSelectedCategoryID || FCursor.Done)
        return;
    flowProducts->AppendTiles(TCatalogue::LoadCategoryPart(FPartsCategory, FCursor));
    if (!FCursor.Done)
        FPartTimer.start();
}

void TProductCatalogue::FitTiles()
{
    const int width = scrollProducts->viewport()->width();
    flowProducts->resize(width, flowProducts->HeightForWidth(width));
}

bool TProductCatalogue::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scrollProducts->viewport() && event->type() == QEvent::Resize)
        FitTiles();
    return QWidget::eventFilter(watched, event);
}

void TProductCatalogue::DrawCategoryButton(TCategoryGPButton& button, QPainter& painter,
                                           TButtonState state)
{
    const QRect area = button.rect();
    painter.fillRect(area, POSPalette::ScreenBackground);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool selected = button.Tag == FSelectedCategoryID;
    const bool isAll = button.Tag == 0;
    const QString name = button.property("Hint").toString();
    const TButtonColors colors = ColorsFor(selected, state);
    painter.setPen(QPen(colors.Border, 1));
    painter.setBrush(colors.Fill);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);

    QColor iconColor;
    QColor textColor;
    if (state == TButtonState::Disabled) {
        iconColor = textColor = POSPalette::ActionTextDisabled;
    } else if (selected) {
        iconColor = CatalogueIcons::CategoryIconColor(name, isAll);
        textColor = POSPalette::HeaderText;
    } else {
        iconColor = isAll ? POSPalette::Accent : CatalogueIcons::CategoryIconColor(name, false);
        textColor = POSPalette::CategoryText;
    }
    const int height = area.height();
    painter.setPen(Qt::NoPen);
    painter.setBrush(selected ? POSPalette::Content : POSPalette::CategoryIconBox);
    painter.drawRoundedRect(QRectF(12, (height - 28) / 2, 28, 28), 4, 4);
    CatalogueIcons::DrawCategoryIcon(painter, QRectF(14, 0, 24, height),
                                     CatalogueRules::CategoryIconName(name, isAll), iconColor,
                                     FIconFontLoaded);

    painter.setFont(button.font());
    painter.setPen(textColor);
    const QRect caption(50, 0, area.width() - 60, height);
    painter.drawText(
        caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        painter.fontMetrics().elidedText(button.text(), Qt::ElideRight, caption.width()));
}
