#pragma once

#include <QList>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPropertyAnimation;

// One entry of a drop-down menu: a bold caption over a grey detail line.
struct TPopupMenuItem {
    QString Caption;
    QString Detail;
};

// The drop-down windows of the sales screen's header buttons: a navy strip, a title and a list
// of large items. Choosing an item closes the window first and then runs the sales screen's
// handler for it, so the handler may open its own modal windows. A choice runs at most once
// per opening, whichever of release, double-click and Enter arrives first; Esc, a click
// outside or the window losing the focus close it without running anything.
class TPopupMenuForm : public QWidget {
    Q_OBJECT
public:
    TPopupMenuForm(QWidget* parent, QSize clientSize, const QString& title,
                   const QList<TPopupMenuItem>& items);
    ~TPopupMenuForm() override;

    // Shows the menu below `control`, left-aligned with it, kept on the control's screen.
    void DropDown(QWidget* control);
    bool IsOpen() const { return isVisible(); }

    // Runs the handler of the current item (none for -1 or an index beyond the items); does
    // nothing at all while no sales screen is set.
    void ChooseMenuItem();

Q_SIGNALS:
    // After the menu has closed, with the index whose handler is about to run.
    void ItemChosen(int index);

protected:
    // The sales screen and its handlers, one per item in item order. An empty handler is an
    // entry whose screen does not exist yet: choosing it only closes the menu.
    void SetHandlers(QObject* salesScreen, std::vector<std::function<void()>> handlers);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Esc closes the menu; true when the key was taken.
    bool FormKeyDown(QKeyEvent* event);
    // The item drawn at `at` in the list's viewport; none in the gaps between items.
    QListWidgetItem* ItemUnder(QPoint at) const;
    bool scAdvancedListBox1MouseUp(QMouseEvent* event);
    void scAdvancedListBox1DblClick();
    bool scAdvancedListBox1KeyDown(QKeyEvent* event);

    QLabel* scLabel1;
    QListWidget* scAdvancedListBox1;
    QPointer<QObject> FSalesScreen;
    std::vector<std::function<void()>> FHandlers;
    QPropertyAnimation* FOpening;
};

// Paints a menu item: caption in bold, detail in grey below it, the selection colour behind a
// chosen item, no focus rectangle, a 5-pixel gap under every item but the last.
class TPopupMenuItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int kItemHeight = 40;
    static constexpr int kItemGap = 5;
    static constexpr int kDetailRole = Qt::UserRole + 1;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
