#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <functional>

class QTableView;

// The text cells of a report window's grid. Like the string grids of the report windows it
// never shows fewer than one data row: an empty list is one empty row. A list read a page at a
// time asks its page reader for more when the view is scrolled to its end.
class TReportGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Appends the next page's rows to the model and says whether more may follow.
    using TPageReader = std::function<bool(TReportGridModel&)>;
    // The cells of one row, made when the row is first read.
    using TRowMaker = std::function<QStringList(int)>;

    TReportGridModel(const QStringList& headers, QObject* parent);

    // Replaces every row; no rows shows one empty row. Stops reading further pages.
    void SetRows(const QList<QStringList>& rows);
    // Replaces every row with `count` rows whose cells are made as they are first shown: a list
    // of thousands of rows is ready without formatting every amount in it.
    void SetRowMaker(int count, TRowMaker maker);
    // Replaces every row with a first page and reads the next ones through `reader`.
    void SetFirstPage(const QList<QStringList>& rows, bool more, TPageReader reader);
    void AppendRows(const QList<QStringList>& rows);

    // Rows holding data (the empty row of an empty list is none).
    int DataRowCount() const { return int(FRows.size()); }
    QString Cell(int row, int col) const;
    // The cell read as an integer; 0 when it is no number or the row holds no data.
    int CellInt(int row, int col) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    QStringList FHeaders;
    mutable QList<QStringList> FRows; // an empty entry is a row not made yet
    TRowMaker FMaker;
    TPageReader FReader;
    bool FMore = false;
};

// The widths of a report grid's columns: a usable width shared out by weights, each column but
// the last getting weight × usable ÷ sum of weights (rounded), the last the rest; a column of
// weight 0 is hidden. Nothing changes while the usable width is zero or less.
QList<int> ShareColumnWidths(int usable, const QList<int>& weights);
// The shared widths, where a column would cut its title or one of its first rows in this
// machine's fonts (a cut amount shows other digits than it holds) widened to fit, the width
// taken from the columns with room to spare; when there is not enough room the grid scrolls.
QList<int> FitColumnWidths(const QList<int>& shared, const QList<int>& needed);
void ApplyColumnWidths(QTableView* grid, int usable, const QList<int>& weights);

// A report grid: the theme's look and cell drawing, one title row, no row numbers, whole-row
// selection, the vertical scroll bar always there.
void SetUpReportGrid(QTableView* grid, TReportGridModel* model, const QList<int>& rightAligned);
// The selected data row, or -1.
int SelectedDataRow(const QTableView* grid);
// Selects the first data row when the grid holds data.
void SelectFirstRow(QTableView* grid);

// Opens a receipt chosen in a report list (id above 0) in the receipt viewer; a receipt that
// cannot be loaded raises "Fiş bulunamadı." to the handler.
void OpenReceiptViewer(int FisID);
