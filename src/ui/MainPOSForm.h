#pragma once

#include "sales/BarcodeResolver.h"
#include "sales/CartManager.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QTableWidget;
class TBarcodeIconBox;
class TGlyphLabel;
class TPOSButton;

// The sales screen: the cart of the sale in progress with its customer, the barcode field, the
// cart actions, the totals and the pay button, and the header from which the other screens are
// reached. It knows the cashier's open shift (FVardiyaID, mirrored into the session).
//
// Keys are seen before the controls: a printable character typed anywhere lands in the barcode
// field, as a keyboard-wedge scanner types, and Enter there adds the code. Ctrl+H and F8 are
// taken by the screen. Closing the window, or "Çıkış" with consent, ends the program.
//
// The handlers are public so that tests drive the same roads as the mouse and keyboard.
class TfrmMainPOS : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMainPOS(QWidget* parent = nullptr);
    ~TfrmMainPOS() override;

    TCartManager& Cart() { return FCart; }
    int VardiyaID() const { return FVardiyaID; }
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

    QWidget* pnlTop;
    QLabel* lblTitle;
    QLabel* lblUser;
    QLabel* lblVardiya;
    QLabel* lblMusteri;
    TPOSButton* btnMusteriSec;
    TPOSButton* btnIade;
    TPOSButton* btnHesapMakinesi;
    TPOSButton* btnMenuVardiya;
    TPOSButton* btnMenuRapor;
    TPOSButton* FBtnMenuSatislar;
    TPOSButton* btnParametreler;
    TPOSButton* btnLogout;
    QMenu* pmAyarlar;
    QAction* miParametreler;

    QWidget* pnlLeft;
    QTableWidget* gridCart;
    QWidget* pnlControlArea;
    QLabel* lblBarkod;
    QWidget* pnlBarcodeInput;
    QLineEdit* edtBarkod;
    TPOSButton* btnStokSec;
    TPOSButton* btnBarkodOku;
    TBarcodeIconBox* pbBarkodOkuIcon;
    QLabel* lblBarkodOkuText;
    QWidget* pnlActions;
    TPOSButton* btnMiktarDegistir;
    TGlyphLabel* lblMiktarDegistirIcon;
    QLabel* lblMiktarDegistirText;
    TPOSButton* btnIndirimYap;
    TGlyphLabel* lblIndirimYapIcon;
    QLabel* lblIndirimYapText;
    TPOSButton* btnSatirSil;
    TGlyphLabel* lblSatirSilIcon;
    QLabel* lblSatirSilText;
    TPOSButton* btnTemizle;
    TGlyphLabel* lblTemizleIcon;
    QLabel* lblTemizleText;
    QWidget* pnlTotals;
    QLabel* lblAraToplam;
    QLabel* lblAraToplam_Value;
    QLabel* lblKDV;
    QLabel* lblKDV_Value;
    QLabel* lblIndirim;
    QLabel* lblIndirim_Value;
    QLabel* lblGenelToplam;
    QLabel* lblGenelToplam_Value;
    TPOSButton* btnOdemeAl;
    // The catalogue's place beside the cashier's column.
    QWidget* pnlCenter;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct TActionButton {
        TPOSButton* Button;
        TGlyphLabel* Icon;
        QLabel* Text;
    };

    void FormCreate();
    void ApplyScreenStyle();
    void SetupHeader();
    void SetupControlArea();
    void SetupActionButton(const TActionButton& action, const QString& name, const QString& text,
                           char16_t icon);
    void SetupTotals();
    void SetupCartGrid();
    void FitCartColumns();
    void LayoutControlArea();
    void LayoutBarcodeButton();
    void LayoutActionButton(const TActionButton& action);
    void gridCartDrawCell(QPainter* painter, int col, int row, const QRect& rect, bool fixed);
    void RefreshTotals();
    void UpdateActionStates();
    void UpdateActionButtonColors();
    QList<TActionButton> ActionButtons() const;

    bool ParseScannedCode(const QString& Code);
    void AddProductByStokID(int StokID);
    void ShowBarcodeNotFound(const QString& Message);
    void SearchProduct();
    void OpenCalculator();
    void CompleteSale(const QString& PaymentType, double NakitTutar, double KartTutar);
    void HideCustomer();
    void FocusBarcode();
    void ShowError(const QString& Text);
    void ShowInfo(const QString& Text);
    void ShowZReport(int VardiyaID);
    bool FormKeyDown(QKeyEvent* event);
    bool FormKeyPress(QObject* receiver, QKeyEvent* event);
    static TQuantityPrompt InputPrompt();

    TCartManager FCart;
    int FVardiyaID = -1;
};
