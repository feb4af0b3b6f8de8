#include "ui/POSUITheme.h"

#include "ui/POSButton.h"

#include <QDateEdit>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTableView>

namespace {
constexpr int kGridRowHeight = 34;

void SetBackground(QWidget* widget, const QColor& color)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
}

void RemoveBevel(QWidget* panel)
{
    if (auto* frame = qobject_cast<QFrame*>(panel))
        frame->setFrameShape(QFrame::NoFrame);
}

void StyleBackgroundPanel(QWidget* panel, const QColor& color)
{
    if (!panel)
        return;
    RemoveBevel(panel);
    SetBackground(panel, color);
}

void SetTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

// Carries the sizes and settings of the title row a grid had into the one that replaces it.
void ReplaceTitleRow(QTableView* grid, TGridTitleRow* titleRow)
{
    QHeaderView* old = grid->horizontalHeader();
    QList<int> sizes;
    QList<bool> hidden;
    for (int i = 0; i < old->count(); ++i) {
        sizes << old->sectionSize(i);
        hidden << old->isSectionHidden(i);
    }
    titleRow->setDefaultSectionSize(old->defaultSectionSize());
    titleRow->setMinimumSectionSize(old->minimumSectionSize());
    titleRow->setStretchLastSection(old->stretchLastSection());
    titleRow->setHighlightSections(false);
    titleRow->setSectionsClickable(false);
    titleRow->setFont(old->font());
    titleRow->setPalette(old->palette());
    if (old->minimumHeight() == old->maximumHeight() && old->minimumHeight() > 0)
        titleRow->setFixedHeight(old->minimumHeight());
    titleRow->setVisible(!old->isHidden());
    grid->setHorizontalHeader(titleRow);
    for (int i = 0; i < sizes.size() && i < titleRow->count(); ++i) {
        titleRow->resizeSection(i, sizes.at(i));
        titleRow->setSectionHidden(i, hidden.at(i));
    }
}
} // namespace

void RegisterFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("Segoe UI"),
                               {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Segoe UI Semibold"),
                               {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Open Sans")});
    QFont::insertSubstitutions(QStringLiteral("Consolas"),
                               {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Inconsolata"),
                                QStringLiteral("Noto Mono")});
}

QFont TPOSUITheme::TextFont(int pointSize)
{
    return QFont(QStringLiteral("Segoe UI"), pointSize);
}

QFont TPOSUITheme::SemiboldFont(int pointSize)
{
    // The stand-in families carry the semibold face as a weight of the regular family.
    return QFont(QStringLiteral("Segoe UI Semibold"), pointSize, QFont::DemiBold);
}

QLabel* TPOSUITheme::CreateLabel(QWidget* parent, const char* name, int pointSize, bool bold,
                                 const QColor& color)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    QFont font = TextFont(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    SetColor(label, QPalette::WindowText, color);
    return label;
}

void TPOSUITheme::FillBackground(QWidget* panel, const QColor& color)
{
    SetBackground(panel, color);
}

QLabel* TPOSUITheme::CreateStyledLabel(QWidget* parent, const QString& name, const QString& text,
                                       const QFont& font, const QColor& color)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    SetLabelColor(label, color);
    return label;
}

TPOSButton* TPOSUITheme::CreateLookButton(QWidget* parent, const QString& name,
                                          const QString& caption, TGlyph glyph,
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

QFont TPOSUITheme::SemiboldFont(int pointSize, bool bold)
{
    QFont font = SemiboldFont(pointSize);
    font.setBold(bold);
    return font;
}

QFont TPOSUITheme::PixelFont(const QFont& base, int pixelSize)
{
    QFont font = base;
    font.setPixelSize(pixelSize);
    return font;
}

void TPOSUITheme::SetColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

void TPOSUITheme::SetLabelColor(QLabel* label, const QColor& color)
{
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(color.name()));
}

void TPOSUITheme::SetFittedText(QLabel* label, const QString& text, int pixelSize)
{
    constexpr int kSmallest = 9;
    QFont font = label->font();
    int size = pixelSize;
    for (; size > kSmallest; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= label->contentsRect().width())
            break;
    }
    font.setPixelSize(size);
    label->setFont(font);
    label->setText(text);
}

void TPOSUITheme::StyleForm(QWidget* form)
{
    if (form)
        form->setFont(TextFont(10));
}

void TPOSUITheme::StyleHeaderPanel(QWidget* panel)
{
    StyleBackgroundPanel(panel, POSPalette::Header);
}

void TPOSUITheme::StyleLightPanel(QWidget* panel)
{
    StyleBackgroundPanel(panel, POSPalette::Content);
}

void TPOSUITheme::StyleFooterPanel(QWidget* panel)
{
    StyleBackgroundPanel(panel, POSPalette::Footer);
}

void TPOSUITheme::StyleRoundFrame(QWidget* panel, int radius)
{
    if (!panel)
        return;
    RemoveBevel(panel);
    panel->setAutoFillBackground(false);
    panel->setAttribute(Qt::WA_NoSystemBackground);
    panel->setAttribute(Qt::WA_OpaquePaintEvent, false);
    panel->setProperty("frameRadius", radius);
}

void TPOSUITheme::StyleRoundShape(TRoundShape* shape)
{
    if (!shape)
        return;
    // The corners follow the rounded frame the shape sits in.
    const QVariant radius =
        shape->parentWidget() ? shape->parentWidget()->property("frameRadius") : QVariant();
    shape->SetShape(POSPalette::Content, POSPalette::FrameLight, 1,
                    radius.isValid() ? radius.toInt() : 8);
    shape->lower();
}

void TPOSUITheme::StyleEdit(QLineEdit* edit)
{
    if (!edit)
        return;
    edit->setFont(TextFont(11));
    SetTextColor(edit, POSPalette::Text);
}

void TPOSUITheme::StyleDatePicker(QDateEdit* picker)
{
    if (!picker)
        return;
    picker->setFont(TextFont(10));
    QPalette palette = picker->palette();
    palette.setColor(QPalette::Text, POSPalette::Text);
    palette.setColor(QPalette::Base, POSPalette::Content);
    picker->setPalette(palette);
    picker->setFrame(false);
}

void TPOSUITheme::StyleGrid(QTableView* grid)
{
    if (!grid)
        return;
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, POSPalette::Content);
    palette.setColor(QPalette::Text, POSPalette::Text);
    grid->setPalette(palette);
    grid->setFont(TextFont(10));
    grid->setFrameShape(QFrame::NoFrame);
    grid->setShowGrid(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* titleRow = grid->horizontalHeader();
    QPalette titlePalette = titleRow->palette();
    titlePalette.setColor(QPalette::Button, POSPalette::GridTitle);
    titlePalette.setColor(QPalette::Window, POSPalette::GridTitle);
    titleRow->setPalette(titlePalette);
    titleRow->setFixedHeight(kGridRowHeight);
    titleRow->setHighlightSections(false);
}

void TPOSUITheme::SetRoundedRegion(QWidget* widget, int radius)
{
    if (!widget)
        return;
    QPainterPath path;
    path.addRoundedRect(QRectF(widget->rect()), radius, radius);
    widget->setMask(QRegion(path.toFillPolygon().toPolygon()));
}

TButtonVariant TPOSUITheme::ButtonVariant(bool primary, bool danger)
{
    if (primary)
        return TButtonVariant::Primary;
    return danger ? TButtonVariant::Danger : TButtonVariant::Default;
}

TButtonLook TPOSUITheme::HeaderButtonLook()
{
    TButtonLook look;
    look.Fill = look.FillFocused = look.FillDisabled = Qt::transparent;
    look.FillHot = POSPalette::HeaderButtonHot;
    look.FillPressed = POSPalette::HeaderButtonPressed;
    look.Frame = look.FrameHot = look.FramePressed = look.FrameFocused = look.FrameDisabled =
        Qt::transparent;
    look.Text = look.TextHot = look.TextPressed = Qt::white;
    look.TextDisabled = POSPalette::HeaderButtonDisabledText;
    look.FrameWidth = 0;
    look.Radius = 0;
    look.GlyphSize = 26;
    look.GlyphThickness = 1.8;
    look.GlyphSpacing = 8;
    return look;
}

TButtonLook TPOSUITheme::ActionButtonLook()
{
    TButtonLook look;
    look.Fill = look.FillFocused = look.FillDisabled = POSPalette::Content;
    look.FillHot = POSPalette::ActionFillHot;
    look.FillPressed = POSPalette::ActionFillPressed;
    look.Frame = look.FrameFocused = POSPalette::ActionFrame;
    look.FrameHot = POSPalette::ActionFrameHot;
    look.FramePressed = POSPalette::ActionFramePressed;
    look.FrameDisabled = POSPalette::ActionFrameDisabled;
    look.Text = look.TextHot = look.TextPressed = POSPalette::ActionText;
    look.TextDisabled = POSPalette::ActionTextDisabled;
    look.FrameWidth = 1;
    look.Radius = 7;
    return look;
}

TButtonLook TPOSUITheme::AccentButtonLook(int radius)
{
    TButtonLook look;
    look.Fill = look.FillFocused = POSPalette::Accent;
    look.FillHot = POSPalette::AccentHot;
    look.FillPressed = POSPalette::AccentPressed;
    look.Frame = look.FrameFocused = look.FrameHot = look.FramePressed = look.FrameDisabled =
        Qt::transparent;
    look.Text = look.TextHot = look.TextPressed = Qt::white;
    look.FillDisabled = POSPalette::PayDisabledFill;
    look.TextDisabled = POSPalette::MutedText;
    look.FrameWidth = 0;
    look.Radius = radius;
    look.GlyphSize = 20;
    look.GlyphSpacing = 6;
    return look;
}

TButtonLook TPOSUITheme::ButtonLook(TButtonVariant variant)
{
    TButtonLook look;
    switch (variant) {
    case TButtonVariant::Primary:
        look.Fill = look.FillFocused = look.FillPressed = POSPalette::Primary;
        look.FillHot = POSPalette::PrimaryHot;
        look.Frame = POSPalette::Primary;
        look.Text = POSPalette::PrimaryText;
        break;
    case TButtonVariant::Danger:
        look.Fill = look.FillFocused = POSPalette::Content;
        look.FillHot = POSPalette::DangerHot;
        look.FillPressed = POSPalette::FrameLight;
        look.Frame = POSPalette::FrameLight;
        look.Text = POSPalette::Danger;
        break;
    case TButtonVariant::Default:
        look.Fill = look.FillFocused = POSPalette::Content;
        look.FillHot = POSPalette::Footer;
        look.FillPressed = POSPalette::FrameLight;
        look.Frame = POSPalette::FrameLight;
        look.Text = POSPalette::Header;
        break;
    }
    look.FrameHot = look.FramePressed = look.FrameFocused = look.Frame;
    look.TextHot = look.TextPressed = look.Text;
    look.FillDisabled = POSPalette::DisabledFill;
    look.FrameDisabled = POSPalette::DisabledFrame;
    look.TextDisabled = POSPalette::DisabledText;
    look.FrameWidth = 1;
    look.Radius = 8;
    look.GlyphSize = 17;
    look.GlyphThickness = 2;
    look.GlyphAlphaDisabled = 125;
    look.GlyphSpacing = 5;
    return look;
}

void TPOSUITheme::StyleButton(TPOSButton* button, const QString& caption, TGlyph glyph,
                              bool primary, bool danger)
{
    if (!button)
        return;
    button->setText(caption);
    button->SetGlyph(glyph);
    button->SetLook(ButtonLook(ButtonVariant(primary, danger)));
    button->setFont(SemiboldFont(10));
    button->setFocusPolicy(Qt::NoFocus);
    button->setMenu(nullptr);
}

void TPOSUITheme::StyleHeaderButton(TPOSButton* button, const QString& caption, TGlyph glyph)
{
    StyleButton(button, caption, glyph, false, false);
}

TGridCellLook TPOSUITheme::GridCellLook(TGridCellState state, const QColor& gridColor,
                                        const QColor& fontColor)
{
    if (state.Fixed)
        return {POSPalette::GridTitle, fontColor, true};
    if (state.Selected)
        return {POSPalette::Selected, POSPalette::Header, true};
    return {gridColor, fontColor, false};
}

QRect TPOSUITheme::GridCellTextRect(const QRect& cell)
{
    return cell.adjusted(8, 2, -8, -2);
}

void TPOSUITheme::DrawGridCell(QTableView* grid, QPainter* painter, int col, int row,
                               const QRect& rect, TGridCellState state,
                               const QList<int>& rightAlignedCols)
{
    if (!grid || !painter || !grid->model())
        return;
    const QAbstractItemModel* model = grid->model();
    const QString text = state.Fixed
                             ? model->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString()
                             : model->data(model->index(row, col), Qt::DisplayRole).toString();
    const TGridCellLook look = GridCellLook(state, grid->palette().color(QPalette::Base),
                                            grid->palette().color(QPalette::Text));
    painter->save();
    painter->fillRect(rect, look.Brush);
    QFont font = grid->font();
    font.setBold(look.Bold);
    painter->setFont(font);
    painter->setPen(look.TextColor);
    const QRect textRect = GridCellTextRect(rect);
    const Qt::Alignment horizontal =
        rightAlignedCols.contains(col) ? Qt::AlignRight : Qt::AlignLeft;
    painter->drawText(textRect, int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine, text);
    painter->restore();
}

void TPOSUITheme::InstallGridCellDrawing(QTableView* grid, const QList<int>& rightAlignedCols)
{
    if (!grid)
        return;
    InstallGridCellDrawer(grid, [grid, rightAlignedCols](QPainter* painter, int col, int row,
                                                         const QRect& rect, TGridCellState state) {
        DrawGridCell(grid, painter, col, row, rect, state, rightAlignedCols);
    });
}

void TPOSUITheme::InstallGridCellDrawer(QTableView* grid, TGridCellDrawer drawer)
{
    if (!grid)
        return;
    grid->setItemDelegate(new TGridCellDelegate(drawer, grid));
    ReplaceTitleRow(grid, new TGridTitleRow(drawer, grid));
}

TRoundShape::TRoundShape(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TRoundShape::SetShape(const QColor& fill, const QColor& outline, int outlineWidth, int radius)
{
    FFill = fill;
    FOutline = outline;
    FOutlineWidth = outlineWidth;
    FRadius = radius;
    update();
}

void TRoundShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal half = FOutlineWidth / 2.0;
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), FRadius, FRadius);
    painter.fillPath(path, FFill);
    if (FOutlineWidth > 0)
        painter.strokePath(path, QPen(FOutline, FOutlineWidth));
}

TGridCellDelegate::TGridCellDelegate(TGridCellDrawer drawer, QObject* parent)
    : QStyledItemDelegate(parent)
    , FDrawer(std::move(drawer))
{
}

void TGridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    TGridCellState state;
    state.Selected = option.state.testFlag(QStyle::State_Selected);
    FDrawer(painter, index.column(), index.row(), option.rect, state);
}

TGridTitleRow::TGridTitleRow(TGridCellDrawer drawer, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
    , FDrawer(std::move(drawer))
{
}

void TGridTitleRow::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    TGridCellState state;
    state.Fixed = true;
    FDrawer(painter, logicalIndex, -1, rect, state);
}
