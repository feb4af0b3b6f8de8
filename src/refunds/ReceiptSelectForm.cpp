#include "refunds/ReceiptSelectForm.h"

#include "core/POSTextUtils.h"
#include "core/SessionManager.h"
#include "refunds/ReceiptSearch.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <utility>

namespace {
constexpr int kClientWidth = 980;
constexpr int kClientHeight = 680;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 128;
constexpr int kFooterHeight = 72;
constexpr int kFooterButtonWidth = 130;
constexpr int kMessageMs = 1500;

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

TfrmReceiptSelect::TfrmReceiptSelect(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(TPOSUITheme::CreateStyledLabel(
          Header(), QStringLiteral("lblTitle"), QStringLiteral("FİŞLER"),
          TPOSUITheme::SemiboldFont(18, true), POSPalette::HeaderText))
    , lblSubTitle(
          TPOSUITheme::CreateLabel(Header(), "lblSubTitle", 10, false, POSPalette::ReceiptSubTitle))
    , lblSearch(TPOSUITheme::CreateLabel(Header(), "lblSearch", 10, true, POSPalette::HeaderText))
    , pnlSearchFrame(new QWidget(Header()))
    , shpSearchFrame(new TRoundShape(pnlSearchFrame))
    , edtSearch(new QLineEdit(pnlSearchFrame))
    , pnlGridFrame(new QWidget(Content()))
    , gridReceipts(new QTableWidget(pnlGridFrame))
    , lblInfo(
          TPOSUITheme::CreateLabel(Footer(), "lblInfo", 10, false, POSPalette::ReceiptFooterText))
    , lblCount(
          TPOSUITheme::CreateLabel(Footer(), "lblCount", 10, false, POSPalette::ReceiptFooterText))
    , btnSelect(CreateButton(Footer(), "btnSelect", QStringLiteral("Seç"), TGlyph::CheckMark,
                             TButtonVariant::Primary))
    , btnCancel(CreateButton(Footer(), "btnCancel", QStringLiteral("İptal"), TGlyph::Close,
                             TButtonVariant::Default))
{
    FormCreate();
}

bool TfrmReceiptSelect::Execute(int& AFisID, QString& AFisNo)
{
    AFisID = 0;
    AFisNo.clear();
    TfrmReceiptSelect form(DialogOwner());
    if (form.ShowModal() != mrOk)
        return false;
    AFisID = form.SelectedFisID();
    AFisNo = form.SelectedFisNo();
    return true;
}

void TfrmReceiptSelect::FormCreate()
{
    setObjectName(QStringLiteral("frmReceiptSelect"));
    setWindowTitle(QStringLiteral("Fiş Seçimi"));
    lblTitle->setGeometry(24, 14, 600, 34);
    lblSubTitle->setText(QStringLiteral("İade için satış fişi seçimi"));
    lblSubTitle->setGeometry(26, 46, 600, 20);
    lblSearch->setText(QStringLiteral("Ara"));
    lblSearch->setGeometry(24, 89, 36, 20);
    for (QWidget* label : {static_cast<QWidget*>(lblTitle), static_cast<QWidget*>(lblSubTitle),
                           static_cast<QWidget*>(lblSearch)})
        AddDragHandle(label);
    pnlSearchFrame->setObjectName(QStringLiteral("pnlSearchFrame"));
    shpSearchFrame->setObjectName(QStringLiteral("shpSearchFrame"));
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(QStringLiteral("Fiş no, müşteri veya kasiyer ara..."));
    pnlGridFrame->setObjectName(QStringLiteral("pnlGridFrame"));
    gridReceipts->setObjectName(QStringLiteral("gridReceipts"));
    gridReceipts->verticalHeader()->hide();
    gridReceipts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridReceipts->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridReceipts->setSelectionMode(QAbstractItemView::SingleSelection);
    gridReceipts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gridReceipts->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    gridReceipts->setWordWrap(false);
    gridReceipts->setFrameShape(QFrame::NoFrame);
    TPOSUITheme::InstallGridCellDrawing(gridReceipts, {5});

    lblInfo->setText(QStringLiteral("Enter ile seç, Esc ile kapat. Aşağı ok listeye geçer."));
    lblInfo->setGeometry(24, 14, 520, 20);
    lblCount->setGeometry(24, 38, 520, 20);
    btnCancel->setGeometry(kClientWidth - 24 - kFooterButtonWidth, 16, kFooterButtonWidth, 40);
    btnSelect->setGeometry(btnCancel->x() - 12 - kFooterButtonWidth, 16, kFooterButtonWidth, 40);

    edtSearch->installEventFilter(this);
    gridReceipts->installEventFilter(this);
    GuardedConnect(edtSearch, &QLineEdit::textChanged, this,
                   [this](const QString& text) { LoadReceipts(text); });
    GuardedConnect(gridReceipts, &QTableWidget::cellDoubleClicked, this,
                   &TfrmReceiptSelect::AcceptSelection);
    GuardedConnect(btnSelect, &QPushButton::clicked, this, &TfrmReceiptSelect::AcceptSelection);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmReceiptSelect::FormShow()
{
    FSelectedFisID = 0;
    FSelectedFisNo.clear();
    setWindowTitle(QStringLiteral("Fiş Seçimi"));
    CentreOnOwner();
    TPOSUITheme::StyleForm(this);
    TPOSUITheme::StyleHeaderPanel(Header());
    TPOSUITheme::StyleFooterPanel(Footer());
    TPOSUITheme::StyleRoundFrame(pnlSearchFrame, 7);
    TPOSUITheme::StyleRoundShape(shpSearchFrame);
    TPOSUITheme::FillBackground(pnlGridFrame, POSPalette::Content);
    pnlGridFrame->setStyleSheet(QStringLiteral("#pnlGridFrame { border: 1px solid %1; }")
                                    .arg(POSPalette::FrameLight.name()));
    TPOSUITheme::StyleEdit(edtSearch);
    edtSearch->setFrame(false);
    edtSearch->setStyleSheet(QStringLiteral("QLineEdit { border: none; background: %1; }")
                                 .arg(POSPalette::Content.name()));
    TPOSUITheme::StyleGrid(gridReceipts);
    gridReceipts->setFrameShape(QFrame::NoFrame);
    TPOSUITheme::StyleButton(btnSelect, QStringLiteral("Seç"), TGlyph::CheckMark, true, false);
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("İptal"), TGlyph::Close, false, false);
    FormResize();
    SetupGrid();
    LoadReceipts(QString());
    edtSearch->setFocus();
}

void TfrmReceiptSelect::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    // A window restored after minimising is shown again and keeps what the cashier did on it.
    if (std::exchange(FShown, true))
        return;
    CallGuarded([this] { FormShow(); });
}

void TfrmReceiptSelect::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    FormResize();
}

void TfrmReceiptSelect::FormResize()
{
    pnlSearchFrame->setGeometry(64, 84, qMax(0, Header()->width() - 100), 30);
    shpSearchFrame->setGeometry(pnlSearchFrame->rect());
    edtSearch->setGeometry(10, 4, qMax(0, pnlSearchFrame->width() - 20),
                           qMax(0, pnlSearchFrame->height() - 8));
    pnlGridFrame->setGeometry(Content()->rect().adjusted(16, 12, -16, -12));
    if (pnlGridFrame->width() >= 3 && pnlGridFrame->height() >= 3)
        gridReceipts->setGeometry(pnlGridFrame->rect().adjusted(1, 1, -1, -1));
    FitColumns();
}

void TfrmReceiptSelect::SetupGrid()
{
    gridReceipts->setColumnCount(8);
    gridReceipts->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("Fiş No"),
                                             QStringLiteral("Tarih"), QStringLiteral("Müşteri"),
                                             QStringLiteral("Kasiyer"), QStringLiteral("Tutar"),
                                             QStringLiteral("Ödeme"), QStringLiteral("Durum")});
    ClearGrid();
    FitColumns();
}

void TfrmReceiptSelect::ClearGrid()
{
    gridReceipts->clearContents();
    gridReceipts->setRowCount(1);
}

void TfrmReceiptSelect::LoadReceipts(const QString& Filter)
{
    const QList<TReceiptRow> rows =
        TReceiptSearch::LoadReceipts(Filter, TSessionManager::Instance().GetSessionInfo().SubeID);
    ClearGrid();
    gridReceipts->setRowCount(qMax(1, int(rows.size())));
    for (int r = 0; r < rows.size(); ++r) {
        const TReceiptRow& row = rows.at(r);
        const QStringList cells{QString::number(row.FisID),
                                row.FisNo,
                                row.Tarih.isValid()
                                    ? row.Tarih.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))
                                    : QString(),
                                row.Musteri,
                                row.Kasiyer,
                                FormatMoney(row.GenelToplam),
                                PaymentTypeDisplay(row.OdemeTipi, false),
                                StatusDisplay(row.FisDurumu, false)};
        for (int col = 0; col < cells.size(); ++col)
            gridReceipts->setItem(r, col, new QTableWidgetItem(cells.at(col)));
    }
    SelectFirstRow();
    FitColumns();
    lblCount->setText(QString::number(rows.size()) + QStringLiteral(" fiş listeleniyor"));
}

void TfrmReceiptSelect::SelectFirstRow()
{
    gridReceipts->setCurrentCell(0, 1);
    gridReceipts->scrollToTop();
}

void TfrmReceiptSelect::FitColumns()
{
    const QList<int> widths = TReceiptSearch::ColumnWidths(gridReceipts->viewport()->width() - 2);
    for (int col = 0; col < widths.size() && col < gridReceipts->columnCount(); ++col)
        gridReceipts->setColumnWidth(col, widths.at(col));
}

void TfrmReceiptSelect::AcceptSelection()
{
    const int row = gridReceipts->currentRow();
    const QTableWidgetItem* id = row >= 0 ? gridReceipts->item(row, 0) : nullptr;
    if (!id || id->text().trimmed().isEmpty()) {
        TfrmCustomDialog::ShowDialog(
            QStringLiteral("Hata"), QStringLiteral("Lütfen bir fiş seçiniz."), dtError, kMessageMs);
        return;
    }
    bool ok = false;
    const int fisID = id->text().trimmed().toInt(&ok);
    FSelectedFisID = ok ? fisID : 0;
    const QTableWidgetItem* number = gridReceipts->item(row, 1);
    FSelectedFisNo = number ? number->text() : QString();
    if (FSelectedFisID <= 0) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"),
                                     QStringLiteral("Seçilen fiş geçersiz."), dtError, kMessageMs);
        return;
    }
    done(mrOk);
}

bool TfrmReceiptSelect::FormKeyDown(int key)
{
    if (key == Qt::Key_Escape) {
        done(mrCancel);
        return true;
    }
    if (IsEnter(key)) {
        CallGuarded([this] { AcceptSelection(); });
        return true;
    }
    return false;
}

bool TfrmReceiptSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return TBaseWindow::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (FormKeyDown(key))
        return true;
    if (watched == edtSearch && key == Qt::Key_Down) {
        gridReceipts->setFocus();
        SelectFirstRow();
        return true;
    }
    return TBaseWindow::eventFilter(watched, event);
}

void TfrmReceiptSelect::keyPressEvent(QKeyEvent* event)
{
    if (FormKeyDown(event->key())) {
        event->accept();
        return;
    }
    TBaseWindow::keyPressEvent(event);
}
