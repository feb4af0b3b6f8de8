#pragma once

#include <QTableWidget>

class TCartManager;

// The cart grid of the sales screen ("gridCart"): one row per cart line with its seven cells
// ("#" hidden), drawn by its own cell drawer. An empty cart keeps one blank row. The number
// columns are drawn in the grid's font, the name two points larger. The columns always fit
// the grid's width: amounts are never cut, titles and quantities take a second line where they
// must, and the name takes the rest on up to two lines, shortened with an ellipsis beyond.
class TCartGrid : public QTableWidget {
    Q_OBJECT
public:
    TCartGrid(const TCartManager& cart, QWidget* parent);

    // Shows the cart's lines, keeping the current line where it still exists.
    void Refresh();
    // The cart line the row actions work on (0-based), -1 when none.
    int SelectedLine() const;
    // Makes the line current and scrolls it into view.
    void SelectLine(int Index);
    void FitColumns();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void gridCartDrawCell(QPainter* painter, int col, int row, const QRect& rect, bool fixed);
    QFont CellFont(int col, bool title) const;
    // Whether the cell's text fits one line of its column at its present width.
    bool FitsOneLine(int row, int col) const;
    void FitRows();

    const TCartManager& FCart;
};
