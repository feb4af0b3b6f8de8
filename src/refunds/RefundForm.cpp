#include "refunds/RefundForm.h"

#include "core/Exceptions.h"
#include "core/POSTextUtils.h"
#include "core/SessionManager.h"
#include "refunds/ReceiptSelectForm.h"
#include "refunds/RefundGrid.h"
#include "ui/CustomDialogForm.h"
#include "ui/CustomInputForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"
#include "ui/WaitCursor.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace {
constexpr int kClientWidth = 928;
constexpr int kClientHeight = 687;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 142;
constexpr int kFooterHeight = 72;
constexpr int kMargin = 24;
constexpr int kFooterButtonWidth = 140;
constexpr int kReceiptsWidth = 116;
constexpr int kMinFisNoWidth = 140;

QLabel* InfoLabel(QWidget* header, const char* name, const QString& text, int x, int width)
{
    QLabel* label = TPOSUITheme::CreateLabel(header, name, 10, false, POSPalette::HeaderText);
    label->setText(text);
    label->setGeometry(x, 116, width, 20);
    return label;
}
} // namespace

TfrmRefund::TfrmRefund(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(TPOSUITheme::CreateStyledLabel(
          Header(), QStringLiteral("lblTitle"), QStringLiteral("FİŞ SORGULA"),
          TPOSUITheme::SemiboldFont(18, true), POSPalette::HeaderText))
    , lblSubTitle(
          TPOSUITheme::CreateLabel(Header(), "lblSubTitle", 10, false, POSPalette::ReceiptSubTitle))
    , edtFisNo(new QLineEdit(Header()))
    , btnSearch(CreateButton(Header(), "btnSearch", QStringLiteral("Ara"), TGlyph::Search,
                             TButtonVariant::Default))
    , btnReceipts(CreateButton(Header(), "btnReceipts", QStringLiteral("Fişler"), TGlyph::Search,
                               TButtonVariant::Default))
    , lblReceiptInfo(InfoLabel(Header(), "lblReceiptInfo", QStringLiteral("Fiş:"), kMargin, 34))
    , lblReceiptValue(InfoLabel(Header(), "lblReceiptValue", QStringLiteral("-"), 60, 190))
    , lblDateInfo(InfoLabel(Header(), "lblDateInfo", QStringLiteral("Tarih:"), 262, 42))
    , lblDateValue(InfoLabel(Header(), "lblDateValue", QStringLiteral("-"), 306, 190))
    , lblCustomerInfo(InfoLabel(Header(), "lblCustomerInfo", QStringLiteral("Müşteri:"), 506, 60))
    , lblCustomerValue(InfoLabel(Header(), "lblCustomerValue", QStringLiteral("-"), 568, 336))
    , gridItems(new QTableWidget(Content()))
    , lblSelectedCount(TPOSUITheme::CreateLabel(Footer(), "lblSelectedCount", 10, false,
                                                POSPalette::ReceiptFooterText))
    , lblRefundTotal(
          TPOSUITheme::CreateLabel(Footer(), "lblRefundTotal", 12, true, POSPalette::RefundTotal))
    , btnRefund(CreateButton(Footer(), "btnRefund", QStringLiteral("İADE AL"), TGlyph::Reply,
                             TButtonVariant::Primary))
    , btnCancel(CreateButton(Footer(), "btnCancel", QStringLiteral("İptal"), TGlyph::Close,
                             TButtonVariant::Default))
{
    FormCreate();
}

void TfrmRefund::FormCreate()
{
    setObjectName(QStringLiteral("frmRefund"));
    setWindowTitle(QStringLiteral("Ürün İade"));
    lblTitle->setGeometry(kMargin, 14, 560, 34);
    lblSubTitle->setText(QStringLiteral("Fiş Üzerinden İade İşlemi"));
    lblSubTitle->setGeometry(kMargin + 2, 46, 560, 20);
    for (QWidget* label : Header()->findChildren<QLabel*>())
        AddDragHandle(label);
    edtFisNo->setObjectName(QStringLiteral("edtFisNo"));
    edtFisNo->setPlaceholderText(QStringLiteral("Fiş No Giriniz (FIS-123)..."));
    edtFisNo->setTextMargins(6, 0, 6, 0);
    edtFisNo->setGeometry(kMargin, 72, 400, 34);
    edtFisNo->installEventFilter(this);

    gridItems->setObjectName(QStringLiteral("gridItems"));
    auto* content = new QVBoxLayout(Content());
    content->setContentsMargins(0, 0, 0, 0);
    content->addWidget(gridItems);
    gridItems->verticalHeader()->hide();
    gridItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridItems->setSelectionMode(QAbstractItemView::SingleSelection);
    gridItems->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gridItems->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    gridItems->setWordWrap(false);
    TPOSUITheme::InstallGridCellDrawing(gridItems, TRefundGrid::FigureColumns());

    lblSelectedCount->setGeometry(kMargin, 14, 300, 20);
    lblRefundTotal->setGeometry(kMargin, 36, 360, 24);
    btnCancel->setGeometry(kClientWidth - kMargin - kFooterButtonWidth, 16, kFooterButtonWidth, 40);
    btnRefund->setGeometry(btnCancel->x() - 12 - kFooterButtonWidth, 16, kFooterButtonWidth, 40);

    GuardedConnect(btnSearch, &QPushButton::clicked, this, &TfrmRefund::btnSearchClick);
    GuardedConnect(btnReceipts, &QPushButton::clicked, this, &TfrmRefund::btnReceiptsClick);
    GuardedConnect(gridItems, &QTableWidget::cellDoubleClicked, this,
                   &TfrmRefund::gridItemsDblClick);
    GuardedConnect(btnRefund, &QPushButton::clicked, this, &TfrmRefund::btnRefundClick);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmRefund::ApplyStyle()
{
    TPOSUITheme::StyleForm(this);
    TPOSUITheme::StyleHeaderPanel(Header());
    TPOSUITheme::StyleFooterPanel(Footer());
    TPOSUITheme::StyleEdit(edtFisNo);
    TPOSUITheme::StyleGrid(gridItems);
    TPOSUITheme::StyleButton(btnRefund, QStringLiteral("İADE AL"), TGlyph::Reply, true, false);
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("İptal"), TGlyph::Close, false, false);
    TPOSUITheme::StyleHeaderButton(btnSearch, QStringLiteral("Ara"), TGlyph::Search);
    TPOSUITheme::StyleHeaderButton(btnReceipts, QStringLiteral("Fişler"), TGlyph::Search);
}

void TfrmRefund::ApplyInfoLabelColors()
{
    for (QLabel* label : {lblReceiptInfo, lblDateInfo, lblCustomerInfo})
        TPOSUITheme::SetLabelColor(label, POSPalette::HeaderText);
    for (QLabel* label : {lblReceiptValue, lblDateValue, lblCustomerValue})
        TPOSUITheme::SetLabelColor(label, POSPalette::HeaderFigure);
}

void TfrmRefund::FormShow()
{
    edtFisNo->clear();
    edtFisNo->setFocus();
    FCurrentFisID = 0;
    FLines.clear();
    FAmounts = {};
    CentreOnOwner();
    ApplyStyle();
    ApplyInfoLabelColors();
    ArrangeHeader();
    gridItems->setColumnCount(TRefundGrid::ColumnCount);
    gridItems->setHorizontalHeaderLabels(TRefundGrid::Titles());
    ShowLines();
    for (QLabel* value : {lblReceiptValue, lblDateValue, lblCustomerValue})
        value->setText(QStringLiteral("-"));
    UpdateSummary();
}

void TfrmRefund::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    // A window restored after minimising is shown again and keeps what the cashier did on it.
    if (std::exchange(FShown, true))
        return;
    CallGuarded([this] { FormShow(); });
}

void TfrmRefund::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    ArrangeHeader();
    FitColumns();
}

bool TfrmRefund::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtFisNo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CallGuarded([this] { btnSearchClick(); });
            return true;
        }
    }
    return TBaseWindow::eventFilter(watched, event);
}

void TfrmRefund::ArrangeHeader()
{
    btnSearch->resize(btnCancel->size());
    btnReceipts->resize(kReceiptsWidth, btnCancel->height());
    const int top = edtFisNo->y() + (edtFisNo->height() - btnCancel->height()) / 2;
    btnReceipts->move(Header()->width() - kMargin - kReceiptsWidth, top);
    btnSearch->move(btnReceipts->x() - 12 - btnSearch->width(), top);
    const int width = btnSearch->x() - 12 - edtFisNo->x();
    if (width > kMinFisNoWidth)
        edtFisNo->setFixedWidth(width);
}

void TfrmRefund::FitColumns()
{
    const QList<int> widths = TRefundGrid::ColumnWidths(gridItems->viewport()->width() -
                                                        (TRefundGrid::ColumnCount + 1) - 2);
    for (int col = 0; col < widths.size(); ++col)
        gridItems->setColumnWidth(col, widths.at(col));
}

void TfrmRefund::btnSearchClick()
{
    const QString text = edtFisNo->text().trimmed();
    if (text.isEmpty())
        return;
    const int fisID =
        TRefundManager::ResolveFisID(text, TSessionManager::Instance().GetSessionInfo().SubeID);
    if (fisID <= 0) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), QStringLiteral("Geçersiz Fiş No!"),
                                     dtError);
        return;
    }
    LoadReceipt(fisID);
}

void TfrmRefund::btnReceiptsClick()
{
    int fisID = 0;
    QString fisNo;
    if (!TfrmReceiptSelect::Execute(fisID, fisNo))
        return;
    edtFisNo->setText(fisNo.trimmed().isEmpty() ? QStringLiteral("FIS-%1").arg(fisID) : fisNo);
    edtFisNo->setFocus();
    edtFisNo->end(false);
}

void TfrmRefund::LoadReceipt(int FisID)
{
    TRefundReceipt receipt;
    try {
        if (!TRefundManager::LoadReceipt(FisID, TSessionManager::Instance().GetSessionInfo().SubeID,
                                         receipt)) {
            TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"),
                                         QStringLiteral("Kayıt bulunamadı."), dtInfo);
            return;
        }
    } catch (const Exception& e) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), e.Message(), dtError);
        return;
    }
    FCurrentFisID = receipt.FisID;
    FLines = receipt.Lines;
    FAmounts = receipt.Amounts;
    lblReceiptValue->setText(receipt.FisNo);
    lblDateValue->setText(receipt.Tarih);
    lblCustomerValue->setText(receipt.Musteri);
    ShowLines();
    UpdateSummary();
}

void TfrmRefund::ShowLines()
{
    gridItems->clearContents();
    gridItems->setRowCount(qMax(1, int(FLines.size())));
    for (int row = 0; row < FLines.size(); ++row)
        ShowLine(row);
    FitColumns();
}

void TfrmRefund::ShowLine(int Row)
{
    const QStringList cells = TRefundGrid::Cells(FLines.at(Row));
    for (int col = 0; col < cells.size(); ++col)
        gridItems->setItem(Row, col, new QTableWidgetItem(cells.at(col)));
}

void TfrmRefund::gridItemsDblClick()
{
    const int row = gridItems->currentRow();
    if (row < 0)
        return;
    const double limit = row < FLines.size() ? FLines.at(row).Kalan : 0;
    QString typed;
    if (!TfrmCustomInput::ShowInput(QStringLiteral("İade Miktarı"),
                                    TRefundManager::QuantityPrompt(limit), QStringLiteral("1"),
                                    typed))
        return;
    const double quantity = TRefundManager::ParseQuantity(typed);
    if (!TRefundManager::QuantityAllowed(quantity, limit)) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), QStringLiteral("Geçersiz miktar!"),
                                     dtError);
        return;
    }
    FLines[row].IadeMiktar = quantity;
    // A product's later lines count on from its earlier ones: every amount may change.
    TRefundManager::Price(FAmounts, FLines);
    for (int line = 0; line < FLines.size(); ++line)
        ShowLine(line);
    UpdateSummary();
}

void TfrmRefund::UpdateSummary()
{
    lblSelectedCount->setText(QStringLiteral("Seçili ürün: ") +
                              QString::number(TRefundManager::ChosenCount(FLines)));
    lblRefundTotal->setText(QStringLiteral("İade Toplamı: ") +
                            FormatMoney(TRefundManager::RefundTotal(FLines)));
}

void TfrmRefund::btnRefundClick()
{
    if (FCurrentFisID == 0 || FBooked)
        return;
    if (TRefundManager::ChosenCount(FLines) == 0) {
        TfrmCustomDialog::ShowDialog(
            QStringLiteral("Uyarı"),
            QStringLiteral("Lütfen iade edilecek ürünleri seçin (çift tıklayarak)."), dtWarning);
        return;
    }
    const TSessionInfo session = TSessionManager::Instance().GetSessionInfo();
    if (session.VardiyaID <= 0) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), TRefundManager::MsgNoShift, dtError);
        return;
    }
    if (TfrmCustomDialog::ShowDialog(QStringLiteral("Onay"),
                                     QStringLiteral("İade işlemini onaylıyor musunuz?"),
                                     dtConfirmation) != mrOk)
        return;
    TRefundResult result;
    try {
        const TWaitCursor wait;
        result = TRefundManager::CompleteRefund(FCurrentFisID, session.KullaniciID,
                                                session.VardiyaID, FLines);
    } catch (const std::exception& e) {
        TfrmCustomDialog::ShowDialog(
            QStringLiteral("Hata"),
            QStringLiteral("İşlem sırasında bir hata oluştu: ") + ErrorMessage(e), dtError);
        return;
    }
    if (!result.Success) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), result.Message, dtError);
        return;
    }
    Booked(result.Message);
}

void TfrmRefund::Booked(const QString& Message)
{
    FBooked = true;
    btnRefund->setEnabled(false);
    const auto close = qScopeGuard([this] { done(mrOk); });
    TfrmCustomDialog::ShowDialog(QStringLiteral("Başarılı"), Message, dtInfo);
}
