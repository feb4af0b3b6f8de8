#include "ui/MainPOSForm.h"

#include "admin/ParametersForm.h"
#include "admin/PosStockImageGeneratorForm.h"
#include "core/AppPaths.h"
#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/SessionManager.h"
#include "customers/CustomerListForm.h"
#include "printing/PrintService.h"
#include "refunds/ReceiptPreviewForm.h"
#include "refunds/RefundForm.h"
#include "reports/OpenShiftSalesForm.h"
#include "reports/PastShiftReportsForm.h"
#include "reports/ReportingForm.h"
#include "sales/CatalogueRules.h"
#include "sales/SalesScreenRules.h"
#include "shifts/ShiftSummaryForm.h"
#include "shifts/VardiyaForm.h"
#include "shifts/ZReportPreviewForm.h"
#include "ui/CalculatorForm.h"
#include "ui/CartGrid.h"
#include "ui/CatalogueIcons.h"
#include "ui/CustomDialogForm.h"
#include "ui/CustomInputForm.h"
#include "ui/KeyboardWedgeFilter.h"
#include "ui/POSUITheme.h"
#include "ui/PaymentForm.h"
#include "ui/ProductCatalogue.h"
#include "ui/ProductSelectForm.h"
#include "ui/ReportMenuForm.h"
#include "ui/SaleSuccessDialogForm.h"
#include "ui/SalesControlPanel.h"
#include "ui/SalesHeader.h"
#include "ui/SlotGuard.h"
#include "ui/VardiyeMenuForm.h"
#include "ui/WaitCursor.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QMenu>

#include <optional>

TfrmMainPOS::TfrmMainPOS(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Main, TWindowLayout::Screen({1314, 752}))
    , pnlTop(new TSalesHeader(this, {.btnMusteriSecClick = [this] { btnMusteriSecClick(); },
                                     .btnIadeClick = [this] { btnIadeClick(); },
                                     .btnHesapMakinesiClick = [this] { btnHesapMakinesiClick(); },
                                     .btnMenuVardiyaClick = [this] { btnMenuVardiyaClick(); },
                                     .btnMenuRaporClick = [this] { btnMenuRaporClick(); },
                                     .OpenShiftSalesClick = [this] { OpenShiftSalesClick(); },
                                     .btnParametrelerClick = [this] { btnParametrelerClick(); },
                                     .btnLogoutClick = [this] { btnLogoutClick(); },
                                     .miParametrelerClick =
                                         [this] {
                                             miParametrelerClick();
                                         }}))
    , pnlLeft(new QWidget(this))
    , gridCart(new TCartGrid(FTill.Cart(), pnlLeft))
    , pnlControlArea(new TSalesControlPanel(
          pnlLeft, {.btnStokSecClick = [this] { btnStokSecClick(); },
                    .btnBarkodOkuClick = [this] { btnBarkodOkuClick(); },
                    .btnMiktarDegistirClick = [this] { btnMiktarDegistirClick(); },
                    .btnIndirimYapClick = [this] { btnIndirimYapClick(); },
                    .btnSatirSilClick = [this] { btnSatirSilClick(); },
                    .btnTemizleClick = [this] { btnTemizleClick(); },
                    .btnOdemeAlClick =
                        [this] {
                            btnOdemeAlClick();
                        }}))
    , pnlCenter(new TProductCatalogue(this, [this](int StokID) { ProductTileClick(StokID); }))
    , edtBarkod(pnlControlArea->BarcodeField())
    , FKeyboardWedge(new TKeyboardWedgeFilter(this, edtBarkod,
                                              {.Enter = [this] { btnBarkodOkuClick(); },
                                               .Calculator = [this] { OpenCalculator(); },
                                               .Search =
                                                   [this] {
                                                       SearchProduct();
                                                   }}))
    , pmStokGorsel(new QMenu(this))
    , miStokGorselUret(pmStokGorsel->addAction(QStringLiteral("Stok Gorsel Uret")))
{
    FormCreate();
}

TfrmMainPOS::~TfrmMainPOS()
{
    UnloadIconFont();
}

void TfrmMainPOS::FormCreate()
{
    setObjectName(QStringLiteral("frmMainPOS"));
    setWindowTitle(QStringLiteral("KIRVELO - Satış Ekranı"));
    TPOSUITheme::StyleForm(this);
    TPOSUITheme::FillBackground(this, POSPalette::ScreenBackground);
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    TPOSUITheme::FillBackground(pnlLeft, POSPalette::CashierPanel);
    GuardedConnect(gridCart, &QTableWidget::currentCellChanged, this,
                   &TfrmMainPOS::UpdateActionStates);
    GuardedConnect(gridCart, &QTableWidget::cellDoubleClicked, this,
                   &TfrmMainPOS::btnMiktarDegistirClick);
    LoadIconFont();
    pmStokGorsel->setObjectName(QStringLiteral("pmStokGorsel"));
    miStokGorselUret->setObjectName(QStringLiteral("miStokGorselUret"));
    GuardedConnect(miStokGorselUret, &QAction::triggered, this,
                   &TfrmMainPOS::miStokGorselUretClick);
    FormResize();
}

void TfrmMainPOS::FormResize()
{
    const int width = this->width();
    const int height = this->height();
    pnlTop->setGeometry(0, 0, width, TSalesHeader::Height);
    const int leftWidth = TSalesScreenRules::CartPanelWidth(width);
    const int bodyHeight = qMax(0, height - TSalesHeader::Height);
    constexpr int kPad = 10;
    pnlLeft->setGeometry(0, TSalesHeader::Height, leftWidth, bodyHeight);
    pnlCenter->setGeometry(leftWidth, TSalesHeader::Height, qMax(0, width - leftWidth), bodyHeight);
    const int gridHeight = qMax(0, bodyHeight - TSalesControlPanel::Height - kPad);
    gridCart->setGeometry(kPad, kPad, leftWidth - 2 * kPad, gridHeight);
    pnlControlArea->setGeometry(0, kPad + gridHeight, leftWidth, TSalesControlPanel::Height);
    pnlCenter->RoundCategoryButtons();
}

void TfrmMainPOS::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    FormShow();
}

void TfrmMainPOS::resizeEvent(QResizeEvent* event)
{
    TBaseWindow::resizeEvent(event);
    FormResize();
}

void TfrmMainPOS::FormShow()
{
    pnlTop->SetUserCaption(FTill.UserCaption());
    FTill.PrepareBranchStock();
    LoadOpenShift();
    pnlCenter->LoadCategories();
    FocusBarcode();
    pnlCenter->RoundCategoryButtons();
}

QString TfrmMainPOS::FindIconFontFile()
{
    return CatalogueRules::FindIconFontFile(AppPaths::ProgramFolder(), QDir::currentPath() + u'/');
}

void TfrmMainPOS::LoadIconFont()
{
    if (FTablerIconsFontLoaded)
        return;
    FTablerIconsFontPath = FindIconFontFile();
    FTablerIconsFontLoaded = TIconFont::Load(FTablerIconsFontPath);
    pnlCenter->SetIconFontLoaded(FTablerIconsFontLoaded);
}

void TfrmMainPOS::UnloadIconFont()
{
    if (!FTablerIconsFontLoaded)
        return;
    TIconFont::Unload();
    FTablerIconsFontLoaded = false;
    FTablerIconsFontPath.clear();
}

void TfrmMainPOS::FocusBarcode()
{
    if (edtBarkod->isEnabled())
        edtBarkod->setFocus();
}

int TfrmMainPOS::SelectedLine() const
{
    return gridCart->SelectedLine();
}

void TfrmMainPOS::SelectLine(int Index)
{
    gridCart->SelectLine(Index);
}

void TfrmMainPOS::RefreshCart()
{
    gridCart->Refresh();
    pnlControlArea->ShowTotals(FTill.Cart());
    pnlControlArea->ShowLastSale(FTill.LastSale() ? TSalesScreenRules::ChangeRows(*FTill.LastSale())
                                                  : QList<TCaptionRow>());
    UpdateActionStates();
}

void TfrmMainPOS::RefreshCartAtChange()
{
    RefreshCart();
    if (FTill.Cart().LastChangedLine() >= 0)
        SelectLine(FTill.Cart().LastChangedLine());
}

void TfrmMainPOS::UpdateActionStates()
{
    const bool hasLines = FTill.Cart().Count() > 0;
    pnlControlArea->ShowActions(hasLines, hasLines && SelectedLine() >= 0, FTill.PayEnabled(),
                                FTill.PayCaption());
}

void TfrmMainPOS::LoadOpenShift()
{
    FTill.LoadOpenShift();
    UpdateShiftLabel();
}

void TfrmMainPOS::UpdateShiftLabel()
{
    pnlTop->SetShiftCaption(FTill.ShiftCaption());
    UpdateActionStates();
}

void TfrmMainPOS::ShowCustomer()
{
    pnlTop->SetCustomer(FTill.CustomerName());
}

bool TfrmMainPOS::Report(const TTillOutcome& Outcome)
{
    switch (Outcome.Status) {
    case TTillStatus::Done:
        return true;
    case TTillStatus::Refused:
        ShowError(Outcome.Message);
        break;
    case TTillStatus::NotFound:
        // Emptied first: the next scan may cut the message short and type into the field.
        edtBarkod->clear();
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), Outcome.Message, dtError,
                                     TTill::NotFoundMessageMs());
        FocusBarcode();
        break;
    case TTillStatus::Nothing:
        break;
    }
    return false;
}

void TfrmMainPOS::ShowError(const QString& Text)
{
    TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), Text, dtError);
}

void TfrmMainPOS::ShowInfo(const QString& Text)
{
    TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"), Text, dtInfo);
}

TQuantityPrompt TfrmMainPOS::InputPrompt()
{
    return [](const QString& title, const QString& prompt, const QString& def, QString& value) {
        return TfrmCustomInput::ShowInput(title, prompt, def, value);
    };
}

TQuantityConfirm TfrmMainPOS::QuantityConfirmation()
{
    return [](const QString& message) {
        return TfrmCustomDialog::ShowDialog(QStringLiteral("Miktar Onayı"), message,
                                            dtConfirmation) == mrOk;
    };
}

void TfrmMainPOS::btnBarkodOkuClick()
{
    if (!Report(FTill.Scan(edtBarkod->text(), InputPrompt(), QuantityConfirmation())))
        return;
    RefreshCartAtChange();
    edtBarkod->clear();
    FocusBarcode();
}

void TfrmMainPOS::AddProductByStokID(int StokID)
{
    if (Report(FTill.AddProduct(StokID, InputPrompt(), QuantityConfirmation())))
        RefreshCartAtChange();
}

void TfrmMainPOS::ProductTileClick(int StokID)
{
    AddProductByStokID(StokID);
}

void TfrmMainPOS::btnStokSecClick()
{
    SearchProduct();
}

void TfrmMainPOS::SearchProduct()
{
    int stokID = -1;
    if (TfrmProductSelect::Execute(stokID))
        AddProductByStokID(stokID);
    FocusBarcode();
}

void TfrmMainPOS::OpenCalculator()
{
    TfrmCalculator::Execute();
    FocusBarcode();
}

void TfrmMainPOS::btnMiktarDegistirClick()
{
    const int line = SelectedLine();
    if (!Report(FTill.CheckLineToEdit(line)))
        return;
    QString entry;
    if (!TfrmCustomInput::ShowInput(QStringLiteral("Miktar Değiştir"),
                                    QStringLiteral("Yeni miktar:"), FTill.QuantityText(line),
                                    entry))
        return;
    if (Report(FTill.ChangeQuantity(line, entry, QuantityConfirmation())))
        RefreshCartAtChange();
}

void TfrmMainPOS::btnIndirimYapClick()
{
    const int line = SelectedLine();
    if (!Report(FTill.CheckLineToEdit(line)))
        return;
    QString entry;
    if (!TfrmCustomInput::ShowInput(QStringLiteral("İndirim Yap"),
                                    QStringLiteral("İndirim oranı (%):"), QStringLiteral("0"),
                                    entry))
        return;
    if (Report(FTill.ApplyDiscount(line, entry)))
        RefreshCartAtChange();
}

void TfrmMainPOS::btnSatirSilClick()
{
    const int line = SelectedLine();
    if (!Report(FTill.CheckLineToDelete(line)))
        return;
    if (TfrmCustomDialog::ShowDialog(
            QStringLiteral("Satır Sil"),
            QStringLiteral("Seçili satırı silmek istediğinizden emin misiniz?"),
            dtConfirmation) != mrOk)
        return;
    FTill.DeleteLine(line);
    RefreshCart();
}

void TfrmMainPOS::btnTemizleClick()
{
    if (TfrmCustomDialog::ShowDialog(
            QStringLiteral("Sepeti Temizle"),
            QStringLiteral("Sepeti temizlemek istediğinizden emin misiniz?"),
            dtConfirmation) != mrOk)
        return;
    FTill.ClearCart();
    ShowCustomer();
    RefreshCart();
}

void TfrmMainPOS::btnOdemeAlClick()
{
    if (!Report(FTill.CheckPayable()))
        return;
    const TPaymentResult paid = TfrmPayment::Execute(FTill.Cart().GenelToplam());
    if (paid.Accepted)
        CompleteSale(paid.PaymentType, paid.VerilenNakit, paid.PaymentKart);
}

void TfrmMainPOS::CompleteSale(const QString& PaymentType, double NakitTutar, double KartTutar)
{
    std::optional<TWaitCursor> wait(std::in_place);
    const TSaleResult result = FTill.CompleteSale(PaymentType, NakitTutar, KartTutar);
    if (!result.Success) {
        wait.reset();
        ShowError(result.Message);
        return;
    }
    ShowCustomer();
    RefreshCart();
    const int noticeMs = TTill::SaleNoticeMs();
    wait.reset();
    TfrmSaleSuccessDialog::ShowSale(result.FisNo, result.GenelToplam, PaymentType, noticeMs);
    FocusBarcode();
}

void TfrmMainPOS::btnMusteriSecClick()
{
    TfrmCustomerList list(this);
    if (list.ShowModal() == mrOk)
        FTill.SetCustomer(list.SelectedMusteriID(), list.SelectedMusteriAdi());
    else if (FTill.HasCustomer() &&
             TfrmCustomDialog::ShowDialog(
                 QStringLiteral("Müşteri İptal"),
                 QStringLiteral("Seçili müşteriyi kaldırmak istiyor musunuz?"),
                 dtConfirmation) == mrOk)
        FTill.RemoveCustomer();
    ShowCustomer();
    FocusBarcode();
}

void TfrmMainPOS::btnIadeClick()
{
    TfrmRefund refund(this);
    refund.ShowModal();
    FocusBarcode();
}

void TfrmMainPOS::btnHesapMakinesiClick()
{
    OpenCalculator();
}

void TfrmMainPOS::btnMenuVardiyaClick()
{
    TMenuPopupForm* menu = TMenuPopupForm::Instance();
    if (!menu)
        return;
    TShiftMenuHandlers handlers;
    handlers.btnVardiyaAcClick = [this] {
        btnVardiyaAcClick();
    };
    handlers.btnVardiyaKapatClick = [this] {
        btnVardiyaKapatClick();
    };
    handlers.btnIcmalClick = [this] {
        btnIcmalClick();
    };
    handlers.btnPastShiftReportsClick = [this] {
        btnPastShiftReportsClick();
    };
    menu->SetSalesScreen(this, handlers);
    menu->DropDown(pnlTop->ShiftMenuAnchor());
}

void TfrmMainPOS::btnMenuRaporClick()
{
    TReportMenuHandlers handlers;
    handlers.btnReportingClick = [this] {
        btnReportingClick();
    };
    handlers.btnSonFisClick = [this] {
        btnSonFisClick();
    };
    TReportMenuPopupForm* menu = TReportMenuPopupForm::Instance(this);
    menu->SetSalesScreen(this, handlers);
    menu->DropDown(pnlTop->ReportMenuAnchor());
}

void TfrmMainPOS::OpenShiftSalesClick()
{
    if (Report(FTill.CheckShiftForReports()))
        TfrmOpenShiftSales::Execute(FTill.VardiyaID());
    FocusBarcode();
}

void TfrmMainPOS::btnParametrelerClick()
{
    pnlTop->PopupSettingsMenu();
}

void TfrmMainPOS::miParametrelerClick()
{
    TfrmParameters::Execute();
    FocusBarcode();
}

void TfrmMainPOS::miStokGorselUretClick()
{
    TfrmPosStockImageGenerator::Execute();
    FocusBarcode();
}

void TfrmMainPOS::btnLogoutClick()
{
    if (!ConfirmExit())
        return;
    TSessionManager::Instance().Logout();
    done(QDialog::Rejected);
}

bool TfrmMainPOS::ConfirmExit()
{
    return TfrmCustomDialog::ShowDialog(
               QStringLiteral("Programdan Çıkış"),
               QStringLiteral("Programdan çıkmak istediğinizden emin misiniz?"),
               dtConfirmation) == mrOk;
}

// Closing the window ends the program; a cart with lines is not dropped without asking.
void TfrmMainPOS::closeEvent(QCloseEvent* event)
{
    if (FTill.Cart().Count() > 0) {
        if (!ConfirmExit()) {
            event->ignore();
            return;
        }
        TSessionManager::Instance().Logout();
    }
    TBaseWindow::closeEvent(event);
}

void TfrmMainPOS::btnVardiyaAcClick()
{
    if (!Report(FTill.CheckCanOpenShift()))
        return;
    int vardiyaID = 0;
    if (!TfrmVardiya::Execute(vmOpen, vardiyaID))
        return;
    FTill.ShiftOpened(vardiyaID);
    UpdateShiftLabel();
}

void TfrmMainPOS::btnVardiyaKapatClick()
{
    if (!Report(FTill.CheckCanCloseShift()))
        return;
    double counted = 0;
    if (!TfrmVardiya::ExecuteClose(FTill.VardiyaID(), counted))
        return;
    std::optional<TWaitCursor> wait(std::in_place);
    const TCloseShiftResult closed = FTill.CloseShift(counted);
    wait.reset();
    if (!closed.Success) {
        ShowError(closed.Message);
        return;
    }
    // The cashier reads the closed shift's report while the screen still names that shift.
    TfrmZReportPreview::Execute(FTill.ClosedVardiyaID());
    UpdateShiftLabel();
}

void TfrmMainPOS::btnIcmalClick()
{
    if (Report(FTill.CheckShiftForReports()))
        TfrmShiftSummary::Execute(FTill.VardiyaID());
}

void TfrmMainPOS::btnPastShiftReportsClick()
{
    TfrmPastShiftReports::Execute();
    FocusBarcode();
}

void TfrmMainPOS::btnReportingClick()
{
    TfrmReporting::Execute();
}

void TfrmMainPOS::btnSonFisClick()
{
    if (FTill.VardiyaID() <= 0)
        return;
    try {
        const int fisID = TPrintService::GetLastReceiptID(FTill.VardiyaID());
        if (fisID > 0)
            TfrmReceiptPreview::Execute(fisID);
        else
            ShowInfo(QStringLiteral("Yazdırılacak fiş bulunamadı."));
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("Yazdırma hatası: ") + ErrorMessage(e));
    }
}
