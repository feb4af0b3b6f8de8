#pragma once

#include "sales/Till.h"

#include "ui/BaseWindow.h"

class QAction;
class QLineEdit;
class QMenu;
class TCartGrid;
class TKeyboardWedgeFilter;
class TProductCatalogue;
class TSalesControlPanel;
class TSalesHeader;

// The sales screen: the cart of the sale in progress with its customer, the barcode field, the
// cart actions, the totals and the pay button, and the header from which the other screens are
// reached. Its state and operations are the till's (TTill); the screen asks the cashier, shows
// outcomes and repaints. It is made of the header band, the cart grid and the control area, and
// a keyboard-wedge filter sends every typed code into the barcode field. The centre is the touch
// catalogue; "Seç" and F8 open the product search, "Hesap" and Ctrl+H the calculator. Closing the
// window, or "Çıkış" with consent, ends the program; closing it with lines in the cart asks first.
//
// The handlers are public so that tests drive the same roads as the mouse and keyboard; the
// controls are found by their object names.
class TfrmMainPOS : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmMainPOS(QWidget* parent = nullptr);
    ~TfrmMainPOS() override;

    TTill& Till() { return FTill; }
    TCartManager& Cart() { return FTill.Cart(); }
    int VardiyaID() const { return FTill.VardiyaID(); }
    // The cart line the row actions work on (0-based), -1 when none.
    int SelectedLine() const;
    void SelectLine(int Index);

    void FormShow();
    void FormResize();
    void btnBarkodOkuClick();
    void btnStokSecClick();
    void btnMiktarDegistirClick();
    void btnIndirimYapClick();
    void btnSatirSilClick();
    void btnTemizleClick();
    void btnOdemeAlClick();
    void btnMusteriSecClick();
    void btnIadeClick();
    void btnHesapMakinesiClick();
    void btnMenuVardiyaClick();
    void btnMenuRaporClick();
    void OpenShiftSalesClick();
    void btnParametrelerClick();
    void miParametrelerClick();
    void miStokGorselUretClick();
    void btnLogoutClick();
    void btnVardiyaAcClick();
    void btnVardiyaKapatClick();
    void btnIcmalClick();
    void btnPastShiftReportsClick();
    void btnReportingClick();
    void btnSonFisClick();
    void LoadOpenShift();
    void UpdateShiftLabel();
    void RefreshCart();
    void ProductTileClick(int StokID);
    bool TablerIconsFontLoaded() const { return FTablerIconsFontLoaded; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The confirmation of "Çıkış"; true on consent.
    bool ConfirmExit();
    void FormCreate();
    // RefreshCart with the line just added or changed selected and scrolled into view.
    void RefreshCartAtChange();
    void UpdateActionStates();
    void AddProductByStokID(int StokID);
    void SearchProduct();
    void OpenCalculator();
    void CompleteSale(const QString& PaymentType, double NakitTutar, double KartTutar);
    void ShowCustomer();
    void FocusBarcode();
    // The catalogue's icon font, for this process only, from the first of its places.
    void LoadIconFont();
    void UnloadIconFont();
    static QString FindIconFontFile();
    // Shows a refusal (or the timed "not found" message); true when the outcome is done.
    bool Report(const TTillOutcome& Outcome);
    void ShowError(const QString& Text);
    void ShowInfo(const QString& Text);
    static TQuantityPrompt InputPrompt();
    // Asks "Miktar Onayı" before a quantity above its bound enters the cart.
    static TQuantityConfirm QuantityConfirmation();

    TTill FTill;
    TSalesHeader* pnlTop;
    QWidget* pnlLeft;
    TCartGrid* gridCart;
    TSalesControlPanel* pnlControlArea;
    TProductCatalogue* pnlCenter;
    QLineEdit* edtBarkod;
    TKeyboardWedgeFilter* FKeyboardWedge;
    bool FTablerIconsFontLoaded = false;
    QString FTablerIconsFontPath;
    // A popup menu that no control shows, holding the stock image generator.
    QMenu* pmStokGorsel;
    QAction* miStokGorselUret;
};
