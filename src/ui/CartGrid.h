#pragma once

#include <QTableWidget>

class TCartManager;

// The cart grid of the sales screen ("gridCart"): one row per cart line with its seven cells
// ("#" hidden), drawn by its own cell drawer. An empty cart keeps one blank row. The number
// columns widen when a title or an amount would be cut in this machine's fonts; the product
// name takes the rest and is shortened with an ellipsis.
class TCartGrid : public QTableWidget {
    Q_OBJECT
public:
    TCartGrid(const TCartManager& cart, QWidget* parent);

    // Shows the cart's lines, keeping the current line where it still exists.
    void Refresh();
    // The cart line the row actions work on (0-based), -1 when none.
    int SelectedLine() const;
    void SelectLine(int Index);
    void FitColumns();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void gridCartDrawCell(QPainter* painter, int col, int row, const QRect& rect, bool fixed);

    const TCartManager& FCart;
};
