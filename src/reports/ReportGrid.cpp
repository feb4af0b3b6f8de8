#include "reports/ReportGrid.h"

#include "refunds/SaleReceiptViewForm.h"

#include "ui/POSUITheme.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include <cmath>

TReportGridModel::TReportGridModel(const QStringList& headers, QObject* parent)
    : QAbstractTableModel(parent)
    , FHeaders(headers)
{
}

void TReportGridModel::SetRows(const QList<QStringList>& rows)
{
    SetFirstPage(rows, false, {});
}

void TReportGridModel::SetRowMaker(int count, TRowMaker maker)
{
    beginResetModel();
    FRows = QList<QStringList>(count);
    FMaker = std::move(maker);
    FReader = {};
    FMore = false;
    endResetModel();
}

void TReportGridModel::SetFirstPage(const QList<QStringList>& rows, bool more, TPageReader reader)
{
    beginResetModel();
    FRows = rows;
    FMaker = {};
    FReader = std::move(reader);
    FMore = more && FReader;
    endResetModel();
}

void TReportGridModel::AppendRows(const QList<QStringList>& rows)
{
    if (rows.isEmpty())
        return;
    if (FRows.isEmpty()) {
        // The empty row of an empty list gives way to the data.
        beginResetModel();
        FRows = rows;
        endResetModel();
        return;
    }
    beginInsertRows({}, int(FRows.size()), int(FRows.size() + rows.size()) - 1);
    FRows += rows;
    endInsertRows();
}

QString TReportGridModel::Cell(int row, int col) const
{
    if (row < 0 || row >= FRows.size())
        return {};
    if (FRows.at(row).isEmpty() && FMaker)
        FRows[row] = FMaker(row);
    return FRows.at(row).value(col);
}

int TReportGridModel::CellInt(int row, int col) const
{
    bool ok = false;
    const int value = Cell(row, col).trimmed().toInt(&ok);
    return ok ? value : 0;
}

int TReportGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(1, int(FRows.size()));
}

int TReportGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(FHeaders.size());
}

QVariant TReportGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return Cell(index.row(), index.column());
}

QVariant TReportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return FHeaders.value(section);
}

bool TReportGridModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && FMore;
}

void TReportGridModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || !FMore)
        return;
    // Cleared first: a reader that fails leaves a list that asks no more.
    FMore = false;
    FMore = FReader(*this);
}

QList<int> ShareColumnWidths(int usable, const QList<int>& weights)
{
    QList<int> widths;
    if (usable <= 0 || weights.isEmpty())
        return widths;
    int sum = 0;
    for (const int w : weights)
        sum += w;
    if (sum <= 0)
        return widths;
    int given = 0;
    for (int i = 0; i + 1 < weights.size(); ++i) {
        const int width = int(std::lround(double(weights.at(i)) * usable / sum));
        widths << width;
        given += width;
    }
    widths << std::max(0, usable - given);
    return widths;
}

QList<int> FitColumnWidths(const QList<int>& shared, const QList<int>& needed)
{
    QList<int> widths = shared;
    int deficit = 0;
    int slack = 0;
    for (int i = 0; i < widths.size(); ++i) {
        if (widths.at(i) <= 0)
            continue;
        deficit += std::max(0, needed.value(i) - widths.at(i));
        slack += std::max(0, widths.at(i) - needed.value(i));
    }
    if (deficit == 0)
        return widths;
    const double share = slack > 0 ? std::min(1.0, double(deficit) / slack) : 0.0;
    for (int i = 0; i < widths.size(); ++i) {
        if (widths.at(i) <= 0)
            continue;
        const int room = widths.at(i) - needed.value(i);
        widths[i] = room < 0 ? needed.value(i) : widths.at(i) - int(std::floor(room * share));
    }
    // What rounding left over comes off the column with the most room left.
    if (slack >= deficit) {
        int over = 0;
        int roomiest = -1;
        for (int i = 0; i < widths.size(); ++i) {
            over += widths.at(i) - shared.at(i);
            if (widths.at(i) > 0 &&
                (roomiest < 0 ||
                 widths.at(i) - needed.value(i) > widths.at(roomiest) - needed.value(roomiest)))
                roomiest = i;
        }
        if (over > 0 && roomiest >= 0)
            widths[roomiest] -= over;
    }
    return widths;
}

namespace {
constexpr int kMeasuredRows = 100;

// What each column needs: its bold title and its first rows in bold (a selected row is drawn
// bold), within the cell's 8-pixel insets.
QList<int> NeededWidths(const QTableView* grid)
{
    QFont bold = grid->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QAbstractItemModel* model = grid->model();
    const int rows = std::min(model->rowCount(), kMeasuredRows);
    QList<int> needed;
    for (int col = 0; col < model->columnCount(); ++col) {
        int width = metrics.horizontalAdvance(model->headerData(col, Qt::Horizontal).toString());
        for (int row = 0; row < rows; ++row)
            width = std::max(width,
                             metrics.horizontalAdvance(model->index(row, col).data().toString()));
        needed << width + 18;
    }
    return needed;
}
} // namespace

void ApplyColumnWidths(QTableView* grid, int usable, const QList<int>& weights)
{
    const QList<int> shared = ShareColumnWidths(usable, weights);
    if (shared.isEmpty())
        return;
    const QList<int> widths = FitColumnWidths(shared, NeededWidths(grid));
    int total = 0;
    for (int col = 0; col < widths.size(); ++col) {
        grid->setColumnHidden(col, weights.at(col) == 0);
        if (weights.at(col) != 0) {
            grid->setColumnWidth(col, widths.at(col));
            total += widths.at(col);
        }
    }
    grid->setHorizontalScrollBarPolicy(total > usable ? Qt::ScrollBarAsNeeded
                                                      : Qt::ScrollBarAlwaysOff);
}

void SetUpReportGrid(QTableView* grid, TReportGridModel* model, const QList<int>& rightAligned)
{
    grid->setModel(model);
    TPOSUITheme::StyleGrid(grid);
    TPOSUITheme::InstallGridCellDrawing(grid, rightAligned);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setWordWrap(false);
}

int SelectedDataRow(const QTableView* grid)
{
    const auto* model = qobject_cast<const TReportGridModel*>(grid->model());
    const QModelIndexList rows = grid->selectionModel()->selectedRows();
    if (!model || rows.isEmpty())
        return -1;
    const int row = rows.first().row();
    return row < model->DataRowCount() ? row : -1;
}

void SelectFirstRow(QTableView* grid)
{
    const auto* model = qobject_cast<const TReportGridModel*>(grid->model());
    if (model && model->DataRowCount() > 0)
        grid->selectRow(0);
}

void OpenReceiptViewer(int FisID)
{
    if (FisID > 0)
        TfrmSaleReceiptView::Execute(FisID);
}
