#include "customers/CustomerListForm.h"

#include "core/POSTextUtils.h"
#include "customers/CustomerList.h"
#include "customers/NewCariCardForm.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace {
constexpr int kClientWidth = 908;
constexpr int kClientHeight = 677;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 116;
constexpr int kFooterHeight = 68;
constexpr int kMargin = 24;
constexpr int kAddWidth = 170;
constexpr int kFooterButtonWidth = 130;

QLabel* FooterLabel(QWidget* footer, const char* name)
{
    return TPOSUITheme::CreateLabel(footer, name, 10, false, POSPalette::ListFooterText);
}
} // namespace

TfrmCustomerList::TfrmCustomerList(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(TPOSUITheme::CreateStyledLabel(
          Header(), QStringLiteral("lblTitle"), QStringLiteral("Müşteri Seçimi"),
          TPOSUITheme::SemiboldFont(18, true), POSPalette::HeaderText))
    , lblSubTitle(
          TPOSUITheme::CreateLabel(Header(), "lblSubTitle", 10, false, POSPalette::ListSubTitle))
    , edtSearch(new QLineEdit(Header()))
    , btnAddCustomer(CreateButton(Header(), "btnAddCustomer", QStringLiteral("Yeni Müşteri"),
                                  TGlyph::User, TButtonVariant::Default))
    , gridCustomers(new QTableWidget(Content()))
    , lblInfo(FooterLabel(Footer(), "lblInfo"))
    , lblCount(FooterLabel(Footer(), "lblCount"))
    , btnSelect(CreateButton(Footer(), "btnSelect", QStringLiteral("Seç"), TGlyph::CheckMark,
                             TButtonVariant::Primary))
    , btnCancel(CreateButton(Footer(), "btnCancel", QStringLiteral("İptal"), TGlyph::Close,
                             TButtonVariant::Default))
{
    FormCreate();
}

void TfrmCustomerList::FormCreate()
{
    setObjectName(QStringLiteral("frmCustomerList"));
    setWindowTitle(QStringLiteral("Müşteri Seçimi"));
    lblTitle->setGeometry(kMargin, 14, 560, 34);
    lblSubTitle->setText(QStringLiteral("Cari Kartlardan Müşteri Seçimi"));
    lblSubTitle->setGeometry(kMargin + 2, 46, 560, 20);
    AddDragHandle(lblTitle);
    AddDragHandle(lblSubTitle);

    btnAddCustomer->setGeometry(kClientWidth - kMargin - kAddWidth, 70, kAddWidth, 36);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(QStringLiteral("Müşteri ara (Ad, Telefon)..."));
    edtSearch->setTextMargins(6, 0, 6, 0);
    edtSearch->setGeometry(kMargin, 71, 0, 34);

    gridCustomers->setObjectName(QStringLiteral("gridCustomers"));
    auto* content = new QVBoxLayout(Content());
    content->setContentsMargins(0, 0, 0, 0);
    content->addWidget(gridCustomers);
    gridCustomers->verticalHeader()->hide();
    gridCustomers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridCustomers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gridCustomers->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    gridCustomers->setWordWrap(false);
    TPOSUITheme::InstallGridCellDrawing(gridCustomers, {0, 4});

    lblInfo->setText(QStringLiteral("Enter: Seçim    Esc: İptal"));
    lblInfo->setGeometry(kMargin, 12, 360, 20);
    lblCount->setGeometry(kMargin, 36, 360, 20);
    btnCancel->setGeometry(kClientWidth - kMargin - kFooterButtonWidth, 14, kFooterButtonWidth, 40);
    btnSelect->setGeometry(btnCancel->x() - 12 - kFooterButtonWidth, 14, kFooterButtonWidth, 40);

    GuardedConnect(edtSearch, &QLineEdit::textChanged, this,
                   [this](const QString& text) { LoadCustomers(text.trimmed()); });
    GuardedConnect(gridCustomers, &QTableWidget::cellDoubleClicked, this,
                   &TfrmCustomerList::btnSelectClick);
    GuardedConnect(btnSelect, &QPushButton::clicked, this, &TfrmCustomerList::btnSelectClick);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    GuardedConnect(btnAddCustomer, &QPushButton::clicked, this,
                   &TfrmCustomerList::btnAddCustomerClick);
}

void TfrmCustomerList::ApplyStyle()
{
    TPOSUITheme::StyleForm(this);
    TPOSUITheme::StyleHeaderPanel(Header());
    TPOSUITheme::StyleFooterPanel(Footer());
    TPOSUITheme::StyleEdit(edtSearch);
    TPOSUITheme::StyleGrid(gridCustomers);
    TPOSUITheme::StyleButton(btnSelect, QStringLiteral("Seç"), TGlyph::CheckMark, true, false);
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("İptal"), TGlyph::Close, false, false);
    TPOSUITheme::StyleHeaderButton(btnAddCustomer, QStringLiteral("Yeni Müşteri"), TGlyph::User);
}

void TfrmCustomerList::FormShow()
{
    FSelectedMusteriID = -1;
    FSelectedMusteriAdi.clear();
    setWindowTitle(QStringLiteral("Müşteri Seçimi"));
    CentreOnOwner();
    ApplyStyle();
    edtSearch->setFixedWidth(btnAddCustomer->x() - 12 - edtSearch->x());
    gridCustomers->setColumnCount(5);
    gridCustomers->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("Cari Kodu"),
                                              QStringLiteral("Cari Ünvanı"),
                                              QStringLiteral("Telefon"), QStringLiteral("Bakiye")});
    FitColumns();
    TCustomerList::EnsureCariKartTable();
    LoadCustomers(QString());
    edtSearch->setFocus();
}

void TfrmCustomerList::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    // A window restored after minimising is shown again and keeps what the cashier did on it.
    if (std::exchange(FShown, true))
        return;
    CallGuarded([this] { FormShow(); });
}

void TfrmCustomerList::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    FitColumns();
}

void TfrmCustomerList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        CallGuarded([this] { btnSelectClick(); });
        return;
    }
    TBaseWindow::keyPressEvent(event);
}

void TfrmCustomerList::ClearGrid()
{
    gridCustomers->clearContents();
    gridCustomers->setRowCount(1);
}

void TfrmCustomerList::LoadCustomers(const QString& Filter)
{
    const QList<TCustomerRow> rows = TCustomerList::LoadCustomers(Filter);
    ClearGrid();
    gridCustomers->setRowCount(qMax(1, int(rows.size())));
    for (int r = 0; r < rows.size(); ++r) {
        const TCustomerRow& row = rows.at(r);
        const QStringList cells{QString::number(row.CariID), row.CariKodu, row.CariAdi, row.Telefon,
                                FormatMoney(row.Bakiye)};
        for (int col = 0; col < cells.size(); ++col)
            gridCustomers->setItem(r, col, new QTableWidgetItem(cells.at(col)));
    }
    SelectFirstRow();
    FitColumns();
    lblCount->setText(QString::number(rows.size()) + QStringLiteral(" Müşteri Listeleniyor"));
}

void TfrmCustomerList::SelectFirstRow()
{
    gridCustomers->setCurrentCell(0, 0);
    gridCustomers->scrollToTop();
}

void TfrmCustomerList::FitColumns()
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QList<int> widths = TCustomerList::ColumnWidths(gridCustomers->width() - scrollBar - 6);
    for (int col = 0; col < widths.size() && col < gridCustomers->columnCount(); ++col)
        gridCustomers->setColumnWidth(col, widths.at(col));
}

void TfrmCustomerList::btnSelectClick()
{
    const int row = gridCustomers->currentRow();
    const QTableWidgetItem* id = row >= 0 ? gridCustomers->item(row, 0) : nullptr;
    if (!id || id->text().trimmed().isEmpty()) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"),
                                     QStringLiteral("Lütfen Bir Müşteri Seçiniz."), dtError);
        return;
    }
    bool ok = false;
    const int cariID = id->text().trimmed().toInt(&ok);
    FSelectedMusteriID = ok ? cariID : -1;
    const QTableWidgetItem* name = gridCustomers->item(row, 2);
    FSelectedMusteriAdi = name ? name->text() : QString();
    done(mrOk);
}

void TfrmCustomerList::btnAddCustomerClick()
{
    TCustomerList::EnsureCariKartTable();
    if (TfrmNewCariCard::Execute(QString()))
        LoadCustomers(edtSearch->text().trimmed());
}
