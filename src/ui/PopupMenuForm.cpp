#include "ui/PopupMenuForm.h"

#include "ui/Glyphs.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {
constexpr int kStripWidth = 50;
constexpr int kTitleTop = 10;
constexpr int kTitleHeight = 23;
constexpr int kOpeningMs = 120;
const QString kMenuFont = QStringLiteral("Tahoma");

QFont MenuFont(int pixelSize, bool bold)
{
    QFont font(kMenuFont);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

bool IsEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}
} // namespace

void TPopupMenuItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    const QRect item(option.rect.topLeft(), QSize(option.rect.width(), kItemHeight));
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    if (selected)
        painter->fillRect(item, POSPalette::Selected);
    const QRect text = item.adjusted(10, 3, -10, -3);
    painter->setFont(MenuFont(13, true));
    painter->setPen(selected ? POSPalette::Header : POSPalette::Text);
    painter->drawText(QRect(text.left(), text.top(), text.width(), 18),
                      Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    painter->setFont(MenuFont(11, false));
    painter->setPen(POSPalette::MenuDetailText);
    painter->drawText(QRect(text.left(), text.top() + 18, text.width(), 16),
                      Qt::AlignLeft | Qt::AlignVCenter, index.data(kDetailRole).toString());
    painter->restore();
}

QSize TPopupMenuItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    const bool last = index.row() == index.model()->rowCount(index.parent()) - 1;
    return {option.rect.width(), kItemHeight + (last ? 0 : kItemGap)};
}

TPopupMenuForm::TPopupMenuForm(QWidget* parent, QSize clientSize, const QString& title,
                               const QList<TPopupMenuItem>& items)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , scLabel1(new QLabel(title, this))
    , scAdvancedListBox1(new QListWidget(this))
    , FOpening(new QPropertyAnimation(this, "windowOpacity", this))
{
    setFixedSize(clientSize);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, POSPalette::Content);
    setPalette(background);
    TPOSUITheme::StyleForm(this);

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("pnlStrip"));
    strip->setGeometry(0, 0, kStripWidth, clientSize.height());
    TPOSUITheme::StyleHeaderPanel(strip);
    int top = 10;
    for (TGlyph glyph : {TGlyph::Clock, TGlyph::Chart, TGlyph::Gear}) {
        auto* icon = new TGlyphLabel(glyph, strip);
        icon->setGeometry((kStripWidth - 30) / 2, top, 30, 30);
        icon->SetColors(POSPalette::StripGlyph, POSPalette::StripGlyphDisabled);
        icon->SetGlyphSize(18);
        top += 38;
    }

    const int contentLeft = kStripWidth + 10;
    const int contentWidth = clientSize.width() - contentLeft - 10;
    scLabel1->setObjectName(QStringLiteral("scLabel1"));
    scLabel1->setFont(MenuFont(18, true));
    TPOSUITheme::SetLabelColor(scLabel1, POSPalette::Header);
    scLabel1->setGeometry(contentLeft, kTitleTop, contentWidth, kTitleHeight);

    scAdvancedListBox1->setObjectName(QStringLiteral("scAdvancedListBox1"));
    const int listTop = kTitleTop + kTitleHeight;
    scAdvancedListBox1->setGeometry(contentLeft, listTop, contentWidth,
                                    clientSize.height() - listTop);
    scAdvancedListBox1->setFrameShape(QFrame::NoFrame);
    scAdvancedListBox1->setStyleSheet(QStringLiteral("QListWidget { background: transparent; }"));
    scAdvancedListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scAdvancedListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scAdvancedListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    scAdvancedListBox1->setItemDelegate(new TPopupMenuItemDelegate(scAdvancedListBox1));
    for (const TPopupMenuItem& entry : items) {
        auto* item = new QListWidgetItem(entry.Caption, scAdvancedListBox1);
        item->setData(TPopupMenuItemDelegate::kDetailRole, entry.Detail);
    }
    scAdvancedListBox1->installEventFilter(this);
    scAdvancedListBox1->viewport()->installEventFilter(this);

    FOpening->setDuration(kOpeningMs);
    FOpening->setStartValue(0.0);
    FOpening->setEndValue(1.0);
}

TPopupMenuForm::~TPopupMenuForm() = default;

void TPopupMenuForm::SetHandlers(QObject* salesScreen, std::vector<std::function<void()>> handlers)
{
    FSalesScreen = salesScreen;
    FHandlers = std::move(handlers);
}

void TPopupMenuForm::DropDown(QWidget* control)
{
    if (!control)
        return;
    QPoint at = control->mapToGlobal(QPoint(0, control->height()));
    if (const QScreen* screen = control->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - width())));
        at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - height())));
    }
    move(at);
    show();
    // A modal sales screen must not block its own drop-down.
    if (QWindow* owner = control->window()->windowHandle(); owner && windowHandle())
        windowHandle()->setTransientParent(owner);
    scAdvancedListBox1->setFocus();
    FOpening->stop();
    FOpening->start();
}

void TPopupMenuForm::ChooseMenuItem()
{
    if (!FSalesScreen || !IsOpen())
        return;
    const int index = scAdvancedListBox1->currentRow();
    hide();
    Q_EMIT ItemChosen(index);
    if (index < 0 || index >= int(FHandlers.size()) || !FHandlers[size_t(index)])
        return;
    CallGuarded(FHandlers[size_t(index)]);
}

bool TPopupMenuForm::FormKeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    hide();
    return true;
}

QListWidgetItem* TPopupMenuForm::ItemUnder(QPoint at) const
{
    QListWidgetItem* item = scAdvancedListBox1->itemAt(at);
    if (!item)
        return nullptr;
    const int intoItem = at.y() - scAdvancedListBox1->visualItemRect(item).top();
    return intoItem < TPopupMenuItemDelegate::kItemHeight ? item : nullptr;
}

bool TPopupMenuForm::scAdvancedListBox1MouseUp(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    // Only a release on an item chooses: the marked item of an earlier opening must not run
    // because the list was touched beside the items.
    QListWidgetItem* item = ItemUnder(event->position().toPoint());
    if (!item)
        return false;
    scAdvancedListBox1->setCurrentItem(item);
    ChooseMenuItem();
    return true;
}

void TPopupMenuForm::scAdvancedListBox1DblClick()
{
    ChooseMenuItem();
}

bool TPopupMenuForm::scAdvancedListBox1KeyDown(QKeyEvent* event)
{
    if (FormKeyDown(event))
        return true;
    if (!IsEnter(event))
        return false;
    ChooseMenuItem();
    return true;
}

bool TPopupMenuForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scAdvancedListBox1 && event->type() == QEvent::KeyPress)
        return scAdvancedListBox1KeyDown(static_cast<QKeyEvent*>(event));
    if (watched != scAdvancedListBox1->viewport())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease)
        return scAdvancedListBox1MouseUp(static_cast<QMouseEvent*>(event));
    if (event->type() == QEvent::MouseButtonDblClick) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (ItemUnder(mouse->position().toPoint()))
            scAdvancedListBox1DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TPopupMenuForm::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyDown(event))
        QWidget::keyPressEvent(event);
}

void TPopupMenuForm::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(POSPalette::FrameLight);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool TPopupMenuForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        hide();
    return QWidget::event(event);
}
