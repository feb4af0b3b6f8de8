#include "ui/CartGrid.h"

#include "sales/CartManager.h"
#include "sales/SalesScreenRules.h"
#include "ui/FittedText.h"
#include "ui/POSUITheme.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QMap>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kRowHeight = 34;
constexpr int kNameColumn = 1;
constexpr int kQuantityColumn = 2;
constexpr int kPad = 4; // text inset of a cell, 2 px on each side
// Characters a line of the name column holds at least: two lines show the first 20 characters
// of a name even where a word does not fill its line.
constexpr int kNameLineChars = 13;

const QStringList kTitles{QStringLiteral("#"),         QStringLiteral("Ürün Adı"),
                          QStringLiteral("Miktar"),    QStringLiteral("Birim Fiyat"),
                          QStringLiteral("İndirim %"), QStringLiteral("KDV %"),
                          QStringLiteral("Toplam")};
const QList<int> kWidths{0, 250, 100, 70, 60, 50, 90};
// Which number columns get spare room first: the amounts, then the quantity, then the rates.
const QList<int> kWideningOrder{6, 3, 2, 4, 5};

QFont Bold(const QFont& gridFont, int extraPoints)
{
    QFont font = gridFont;
    font.setPointSize(font.pointSize() + extraPoints);
    font.setBold(true);
    return font;
}

int WidestWord(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
        widest = qMax(widest, metrics.horizontalAdvance(word));
    return widest;
}

// A column's width once with its texts on one line, and at least, where its texts may wrap.
struct TColumnNeed {
    int Comfort = 0;
    int Least = 0;
};
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
    // The columns always fit the width (FitColumns); the vertical bar's room is kept free.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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

QFont TCartGrid::CellFont(int col, bool title) const
{
    if (title)
        return Bold(font(), 0);
    return col == kNameColumn ? Bold(font(), 2) : Bold(font(), 0);
}

void TCartGrid::gridCartDrawCell(QPainter* painter, int col, int row, const QRect& rect, bool fixed)
{
    const bool selected = !fixed && FCart.Count() > 0 && row == currentRow();
    painter->save();
    painter->fillRect(rect, fixed      ? POSPalette::CartTitle
                            : selected ? POSPalette::CartSelected
                                       : POSPalette::Content);
    painter->setPen(selected ? POSPalette::Accent : POSPalette::CartText);
    const QString text = fixed            ? kTitles.value(col)
                         : item(row, col) ? item(row, col)->text()
                                          : QString();
    const Qt::Alignment horizontal = col >= 3 ? Qt::AlignRight : Qt::AlignLeft;
    TFittedText::Draw(*painter, rect.adjusted(2, 2, -2, -2), text, CellFont(col, fixed),
                      horizontal | Qt::AlignVCenter);
    painter->restore();
}

bool TCartGrid::FitsOneLine(int row, int col) const
{
    const QTableWidgetItem* cell = item(row, col);
    return !cell || QFontMetrics(CellFont(col, false)).horizontalAdvance(cell->text()) <=
                        columnWidth(col) - kPad;
}

// No amount is ever cut and no title either: a money column is as wide as its widest amount, a
// title may take two lines, and a quantity may put its unit on a second line. The name gets
// room for its first 20 characters on two lines first; what is left widens the number columns
// towards their designed widths or their texts on one line, amounts first, and then the name.
// Rows grow to two lines where a name or a quantity needs them. The columns always fit the
// grid, so there is no horizontal scroll bar.
void TCartGrid::FitColumns()
{
    const QFontMetrics titleMetrics(CellFont(0, true));
    QMap<int, TColumnNeed> needs;
    for (int col = kQuantityColumn; col < columnCount(); ++col) {
        const QFontMetrics metrics(CellFont(col, false));
        TColumnNeed need{titleMetrics.horizontalAdvance(kTitles.at(col)),
                         WidestWord(titleMetrics, kTitles.at(col))};
        for (int row = 0; row < FCart.Count(); ++row) {
            const QTableWidgetItem* cell = item(row, col);
            if (!cell)
                continue;
            const int whole = metrics.horizontalAdvance(cell->text());
            need.Comfort = qMax(need.Comfort, whole);
            need.Least = qMax(need.Least,
                              col == kQuantityColumn ? WidestWord(metrics, cell->text()) : whole);
        }
        // The designed width where there is room for it.
        needs.insert(col, {qMax(kWidths.at(col), need.Comfort + kPad + 4), need.Least + kPad + 4});
    }
    const int room = width() - verticalScrollBar()->sizeHint().width();
    const int nameRoom =
        QFontMetrics(CellFont(kNameColumn, false)).averageCharWidth() * kNameLineChars + kPad;
    int numbers = 0;
    for (const TColumnNeed& need : needs)
        numbers += need.Least;
    int spare = qMax(0, room - numbers - nameRoom);
    for (const int col : kWideningOrder) {
        const TColumnNeed& need = needs[col];
        const int grow = qBound(0, need.Comfort - need.Least, spare);
        spare -= grow;
        numbers += grow;
        setColumnWidth(col, need.Least + grow);
    }
    setColumnWidth(kNameColumn, qMax(0, room - numbers));
    FitRows();
}

void TCartGrid::FitRows()
{
    int titleLines = 1;
    for (int col = kQuantityColumn; col < columnCount(); ++col)
        titleLines = qMax(titleLines, TFittedText::LineCount(kTitles.at(col), CellFont(col, true),
                                                             columnWidth(col) - kPad));
    const int titleSpacing = QFontMetrics(CellFont(0, true)).lineSpacing();
    horizontalHeader()->setFixedHeight(qMax(kRowHeight, titleLines * titleSpacing + 2 * kPad));
    // A name or a quantity too wide for one line takes two: a name is cut off after its second
    // line, and a quantity's number alone always fits its column.
    const int twoLines = qMax(QFontMetrics(CellFont(kNameColumn, false)).lineSpacing(),
                              QFontMetrics(CellFont(kQuantityColumn, false)).lineSpacing()) *
                             2 +
                         2 * kPad;
    for (int row = 0; row < rowCount(); ++row) {
        const bool wraps = !FitsOneLine(row, kNameColumn) || !FitsOneLine(row, kQuantityColumn);
        const int height = wraps ? qMax(kRowHeight, twoLines) : kRowHeight;
        if (rowHeight(row) != height)
            setRowHeight(row, height);
    }
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
    if (QTableWidgetItem* name = item(Index, 1))
        scrollToItem(name, QAbstractItemView::EnsureVisible);
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
