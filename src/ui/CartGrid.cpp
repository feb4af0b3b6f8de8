#include "ui/CartGrid.h"

#include "sales/CartManager.h"
#include "sales/SalesScreenRules.h"
#include "ui/POSUITheme.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kRowHeight = 34;
constexpr int kNameColumnMinWidth = 60;

const QStringList kTitles{QStringLiteral("#"),         QStringLiteral("Ürün Adı"),
                          QStringLiteral("Miktar"),    QStringLiteral("Birim Fiyat"),
                          QStringLiteral("İndirim %"), QStringLiteral("KDV %"),
                          QStringLiteral("Toplam")};
const QList<int> kWidths{0, 250, 100, 70, 60, 50, 90};

QFont CellFont(const QFont& gridFont, bool title)
{
    QFont font = gridFont;
    if (!title)
        font.setPointSize(font.pointSize() + 2);
    font.setBold(true);
    return font;
}
} // namespace

TCartGrid::TCartGrid(const TCartManager& cart, QWidget* parent)
    : QTableWidget(parent)
    , FCart(cart)
{
    setObjectName(QStringLiteral("gridCart"));
    setColumnCount(int(kTitles.size()));
    setHorizontalHeaderLabels(kTitles);
    setRowCount(1);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setFont(TPOSUITheme::TextFont(10));
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setFixedHeight(kRowHeight);
    horizontalHeader()->setMinimumSectionSize(0);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setStyleSheet(QStringLiteral("QTableWidget { background: white; gridline-color: %1; }")
                      .arg(POSPalette::CartLines.name()));
    for (int col = 0; col < kWidths.size(); ++col)
        setColumnWidth(col, kWidths.at(col));
    setColumnHidden(0, true);
    TPOSUITheme::InstallGridCellDrawer(
        this, [this](QPainter* painter, int col, int row, const QRect& rect, TGridCellState state) {
            gridCartDrawCell(painter, col, row, rect, state.Fixed);
        });
    setCurrentCell(0, 1);
    connect(this, &QTableWidget::currentCellChanged, this, [this] { viewport()->update(); });
}

void TCartGrid::gridCartDrawCell(QPainter* painter, int col, int row, const QRect& rect, bool fixed)
{
    const bool selected = !fixed && FCart.Count() > 0 && row == currentRow();
    painter->save();
    painter->fillRect(rect, fixed      ? POSPalette::CartTitle
                            : selected ? POSPalette::CartSelected
                                       : POSPalette::Content);
    painter->setFont(CellFont(font(), fixed));
    painter->setPen(selected ? POSPalette::Accent : POSPalette::CartText);
    const QString text = fixed            ? kTitles.value(col)
                         : item(row, col) ? item(row, col)->text()
                                          : QString();
    const Qt::Alignment horizontal = col >= 3 ? Qt::AlignRight : Qt::AlignLeft;
    const QRect textRect = rect.adjusted(2, 2, -2, -2);
    const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
    painter->drawText(textRect, int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
    painter->restore();
}

// An amount must never be cut, so the number columns grow with their longest text; the name
// column takes what is left.
void TCartGrid::FitColumns()
{
    const QFontMetrics titleMetrics(CellFont(font(), true));
    const QFontMetrics cellMetrics(CellFont(font(), false));
    int numbers = 0;
    for (int col = 2; col < columnCount(); ++col) {
        int needed = titleMetrics.horizontalAdvance(kTitles.at(col));
        for (int row = 0; row < FCart.Count(); ++row) {
            if (const QTableWidgetItem* cell = item(row, col))
                needed = qMax(needed, cellMetrics.horizontalAdvance(cell->text()));
        }
        const int width = qMax(kWidths.at(col), needed + 8);
        setColumnWidth(col, width);
        numbers += width;
    }
    const int scrollBar = verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0;
    setColumnWidth(1, qMax(kNameColumnMinWidth, width() - scrollBar - numbers));
}

void TCartGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    FitColumns();
}

int TCartGrid::SelectedLine() const
{
    const int row = currentRow();
    return row >= 0 && row < FCart.Count() ? row : -1;
}

void TCartGrid::SelectLine(int Index)
{
    setCurrentCell(Index, 1);
}

void TCartGrid::Refresh()
{
    const int current = currentRow();
    setRowCount(qMax(FCart.Count(), 1));
    if (FCart.Count() == 0) {
        for (int col = 0; col < columnCount(); ++col)
            setItem(0, col, new QTableWidgetItem());
    }
    for (int i = 0; i < FCart.Count(); ++i) {
        const QStringList texts = TSalesScreenRules::CartRowTexts(FCart.Items(i), i);
        for (int col = 0; col < texts.size(); ++col) {
            if (QTableWidgetItem* cell = item(i, col))
                cell->setText(texts.at(col));
            else
                setItem(i, col, new QTableWidgetItem(texts.at(col)));
        }
    }
    if (current < 0 || current >= rowCount())
        setCurrentCell(qBound(0, current, rowCount() - 1), 1);
    FitColumns();
    viewport()->update();
}
