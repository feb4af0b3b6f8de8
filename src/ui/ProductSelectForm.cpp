#include "ui/ProductSelectForm.h"

#include "core/POSTextUtils.h"
#include "core/SessionManager.h"
#include "sales/BranchStockManager.h"
#include "sales/ProductSearch.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kClientWidth = 1062;
constexpr int kClientHeight = 718;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 128;
constexpr int kFooterHeight = 72;
constexpr int kButtonWidth = 130;
constexpr int kButtonHeight = 40;
constexpr int kSearchLeft = 64;
constexpr int kSearchTop = 84;
constexpr int kSearchHeight = 36;
constexpr int kMessageMs = 1500;

const QStringList kTitles{QStringLiteral("ID"),        QStringLiteral("Barkod"),
                          QStringLiteral("Stok Kodu"), QStringLiteral("Ürün Adı"),
                          QStringLiteral("Birim"),     QStringLiteral("Fiyat"),
                          QStringLiteral("Stok")};
const QList<int> kWidths{0, 130, 100, 320, 70, 100, 80};

QLabel* HeaderLabel(QWidget* header, const char* name, const QString& text, int pixelSize,
                    bool bold, const QColor& color)
{
    QLabel* label = TPOSUITheme::CreateLabel(header, name, 10, bold, color);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    label->setText(text);
    return label;
}

QStringList RowTexts(const TProductSearchRow& row)
{
    return {QString::number(row.StokID),
            row.Barkod,
            row.StokKodu,
            row.StokAdi,
            row.Birim,
            FormatFloat(QStringLiteral("#,##0.00 TL"), row.SatisFiyati),
            FormatFloat(QStringLiteral("#,##0.###"), row.MevcutStok)};
}

void ShowError(const QString& text)
{
    TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), text, dtError, kMessageMs);
}
} // namespace

TfrmProductSelect::TfrmProductSelect(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(HeaderLabel(Header(), "lblTitle", QStringLiteral("ÜRÜN SEÇ"), 21, true,
                           POSPalette::HeaderText))
    , lblSubTitle(HeaderLabel(Header(), "lblSubTitle",
                              QStringLiteral("Stok kartlarından ürün seçimi"), 13, false,
                              POSPalette::HeaderSubText))
    , lblSearch(HeaderLabel(Header(), "lblSearch", QStringLiteral("Ara"), 13, true,
                            POSPalette::HeaderText))
    , edtSearch(new QLineEdit(Header()))
    , btnSearch(
          CreateButton(Header(), "btnSearch", QString(), TGlyph::None, TButtonVariant::Default))
    , gridProducts(new QTableWidget(Content()))
    , lblInfo(TPOSUITheme::CreateLabel(Footer(), "lblInfo", 10, false, POSPalette::Text))
    , lblCount(TPOSUITheme::CreateLabel(Footer(), "lblCount", 9, false, POSPalette::CaptionText))
    , btnSelect(
          CreateButton(Footer(), "btnSelect", QString(), TGlyph::None, TButtonVariant::Primary))
    , btnCancel(
          CreateButton(Footer(), "btnCancel", QString(), TGlyph::None, TButtonVariant::Default))
    , tmrSearch(new QTimer(this))
{
    setObjectName(QStringLiteral("frmProductSelect"));
    setWindowTitle(QStringLiteral("Ürün Seç"));
    lblTitle->setGeometry(24, 18, 400, 30);
    lblSubTitle->setGeometry(26, 50, 400, 22);
    lblSearch->setGeometry(24, 90, 36, 24);
    for (QLabel* label : {lblTitle, lblSubTitle, lblSearch})
        AddDragHandle(label);

    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(QStringLiteral("Ürün adı, barkod veya stok kodu ara..."));
    edtSearch->setGeometry(kSearchLeft, kSearchTop, 600, kSearchHeight);

    gridProducts->setObjectName(QStringLiteral("gridProducts"));
    auto* column = new QVBoxLayout(Content());
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(gridProducts);

    lblInfo->setText(QStringLiteral("Enter ile seç, Esc ile kapat. Aşağı ok listeye geçer."));
    lblInfo->setGeometry(24, 16, 600, 20);
    lblCount->setText(QStringLiteral("0 ürün listeleniyor"));
    lblCount->setGeometry(24, 39, 600, 20);
    const int buttonTop = (kFooterHeight - kButtonHeight) / 2;
    btnCancel->setGeometry(kClientWidth - 24 - kButtonWidth, buttonTop, kButtonWidth,
                           kButtonHeight);
    btnSelect->setGeometry(btnCancel->x() - 12 - kButtonWidth, buttonTop, kButtonWidth,
                           kButtonHeight);

    edtSearch->installEventFilter(this);
    gridProducts->installEventFilter(this);
    tmrSearch->setSingleShot(true);
    tmrSearch->setInterval(0);
    GuardedConnect(edtSearch, &QLineEdit::textChanged, this, &TfrmProductSelect::edtSearchChange);
    GuardedConnect(tmrSearch, &QTimer::timeout, this, &TfrmProductSelect::tmrSearchTimer);
    GuardedConnect(btnSearch, &QPushButton::clicked, this, &TfrmProductSelect::btnSearchClick);
    GuardedConnect(btnSelect, &QPushButton::clicked, this, &TfrmProductSelect::btnSelectClick);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, &TfrmProductSelect::btnCancelClick);
    GuardedConnect(gridProducts, &QTableWidget::cellDoubleClicked, this,
                   &TfrmProductSelect::gridProductsDblClick);
}

void TfrmProductSelect::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    CallGuarded([this] { FormShow(); });
}

void TfrmProductSelect::FormShow()
{
    SelectedStokID = -1;
    TBranchStockManager::EnsureBranchStockRows(TSessionManager::Instance().GetSessionInfo().SubeID);
    TPOSUITheme::StyleForm(this);
    TPOSUITheme::StyleHeaderPanel(Header());
    TPOSUITheme::StyleFooterPanel(Footer());
    TPOSUITheme::StyleEdit(edtSearch);
    QFont searchFont = edtSearch->font();
    searchFont.setPixelSize(16);
    edtSearch->setFont(searchFont);
    TPOSUITheme::StyleGrid(gridProducts);
    TPOSUITheme::StyleButton(btnSelect, QStringLiteral("Seç"), TGlyph::CheckMark, true, false);
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("İptal"), TGlyph::Close, false, false);
    TPOSUITheme::StyleHeaderButton(btnSearch, QStringLiteral("Ara"), TGlyph::Search);
    PlaceSearch();
    SetupGrid();
    SearchProducts(QString());
    edtSearch->setFocus();
}

void TfrmProductSelect::PlaceSearch()
{
    btnSearch->resize(btnCancel->size());
    btnSearch->move(Header()->width() - btnSearch->width() - 34,
                    edtSearch->y() + (edtSearch->height() - btnSearch->height()) / 2);
    edtSearch->resize(btnSearch->x() - edtSearch->x() - 12, edtSearch->height());
}

void TfrmProductSelect::SetupGrid()
{
    gridProducts->setColumnCount(int(kTitles.size()));
    gridProducts->setHorizontalHeaderLabels(kTitles);
    gridProducts->verticalHeader()->hide();
    gridProducts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridProducts->setWordWrap(false);
    gridProducts->horizontalHeader()->setMinimumSectionSize(0);
    for (int col = 0; col < kWidths.size(); ++col)
        gridProducts->setColumnWidth(col, kWidths.at(col));
    gridProducts->setColumnHidden(0, true);
    TPOSUITheme::InstallGridCellDrawing(gridProducts, {5, 6});
}

void TfrmProductSelect::SearchProducts(const QString& Filter)
{
    const QList<TProductSearchRow> rows =
        TProductSearch::Search(Filter, TSessionManager::Instance().GetSessionInfo().SubeID);
    gridProducts->setUpdatesEnabled(false);
    gridProducts->clearContents();
    gridProducts->setRowCount(qMax(1, int(rows.size())));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList texts = RowTexts(rows.at(r));
        for (int col = 0; col < texts.size(); ++col)
            gridProducts->setItem(r, col, new QTableWidgetItem(texts.at(col)));
    }
    if (!rows.isEmpty())
        gridProducts->setCurrentCell(0, 1);
    gridProducts->setUpdatesEnabled(true);
    lblCount->setText(QString::number(rows.size()) + QStringLiteral(" Ürün listeleniyor"));
}

void TfrmProductSelect::SelectCurrent()
{
    const int row = gridProducts->currentRow();
    const QTableWidgetItem* id = row >= 0 ? gridProducts->item(row, 0) : nullptr;
    if (!id || id->text().trimmed().isEmpty()) {
        ShowError(QStringLiteral("Lütfen bir ürün seçiniz."));
        return;
    }
    bool ok = false;
    const int stokID = id->text().trimmed().toInt(&ok);
    SelectedStokID = ok ? stokID : -1;
    if (SelectedStokID > 0) {
        done(mrOk);
        return;
    }
    ShowError(QStringLiteral("Seçilen ürün geçersiz."));
}

void TfrmProductSelect::edtSearchChange()
{
    tmrSearch->start();
}

void TfrmProductSelect::tmrSearchTimer()
{
    SearchProducts(edtSearch->text());
}

void TfrmProductSelect::FlushSearch()
{
    if (!tmrSearch->isActive())
        return;
    tmrSearch->stop();
    SearchProducts(edtSearch->text());
}

void TfrmProductSelect::btnSearchClick()
{
    tmrSearch->stop();
    SearchProducts(edtSearch->text());
    gridProducts->setFocus();
}

void TfrmProductSelect::btnSelectClick()
{
    SelectCurrent();
}

void TfrmProductSelect::btnCancelClick()
{
    done(mrCancel);
}

void TfrmProductSelect::gridProductsDblClick()
{
    SelectCurrent();
}

void TfrmProductSelect::FocusList()
{
    gridProducts->setFocus();
    if (gridProducts->item(0, 0) && !gridProducts->item(0, 0)->text().isEmpty())
        gridProducts->setCurrentCell(0, 1);
}

bool TfrmProductSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        FormKeyDown(watched, static_cast<QKeyEvent*>(event)->key()))
        return true;
    return TBaseWindow::eventFilter(watched, event);
}

bool TfrmProductSelect::FormKeyDown(QObject* watched, int key)
{
    switch (key) {
    case Qt::Key_Escape:
        done(mrCancel);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CallGuarded([this] {
            FlushSearch();
            SelectCurrent();
        });
        return true;
    case Qt::Key_Down:
        if (watched != edtSearch)
            return false;
        CallGuarded([this] {
            FlushSearch();
            FocusList();
        });
        return true;
    default:
        return false;
    }
}

bool TfrmProductSelect::Execute(int& AStokID)
{
    AStokID = -1;
    TfrmProductSelect form(DialogOwner());
    if (form.ShowModal() != mrOk)
        return false;
    AStokID = form.SelectedStokID;
    return true;
}
