#pragma once

#include "sales/SalesScreenRules.h"

#include <QList>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class TCartManager;
class TGlyphLabel;
class TPOSButton;

// What the control area's buttons run.
struct TSalesControlHandlers {
    std::function<void()> btnStokSecClick;
    std::function<void()> btnBarkodOkuClick;
    std::function<void()> btnMiktarDegistirClick;
    std::function<void()> btnIndirimYapClick;
    std::function<void()> btnSatirSilClick;
    std::function<void()> btnTemizleClick;
    std::function<void()> btnOdemeAlClick;
};

// The cashier's controls below the cart ("pnlControlArea", 450 pixels high): the barcode field
// with "Seç", "Barkodu Ekle", the four line actions, the totals and the pay button.
class TSalesControlPanel : public QWidget {
    Q_OBJECT
public:
    TSalesControlPanel(QWidget* parent, const TSalesControlHandlers& handlers);

    static constexpr int Height = 450;

    QLineEdit* BarcodeField() const { return edtBarkod; }
    void ShowTotals(const TCartManager& cart);
    // The sale just completed ("pnlLastSale", over the totals, rows "lblLastSaleCaption1".. and
    // "lblLastSaleValue1"..; the last, the change, large): shown while there are rows, the
    // totals again once there are none.
    void ShowLastSale(const QList<TCaptionRow>& rows);
    // Enables the line actions (their glyphs and captions follow) and the pay button.
    void ShowActions(bool hasLines, bool lineChosen, bool payEnabled, const QString& payCaption);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TActionButton {
        TPOSButton* Button;
        TGlyphLabel* Icon;
        QLabel* Text;
    };
    struct TTotalRow {
        QLabel* Caption;
        QLabel* Value;
    };

    void SetupBarcodeInput(const TSalesControlHandlers& handlers);
    void SetupBarcodeButton(const TSalesControlHandlers& handlers);
    TActionButton AddAction(const QString& name, const QString& text, char16_t icon,
                            const std::function<void()>& handler);
    TTotalRow AddTotal(const QString& name, const QString& text, const QColor& color);
    TTotalRow AddLastSaleRow(int number);
    void LayoutRows(const QList<TTotalRow>& rows, int inner) const;
    void LayoutLastSale(int inner);
    void LayoutArea();
    void LayoutActions(int inner);
    void LayoutBarcodeButton();
    static void LayoutActionButton(const TActionButton& action);
    QList<TActionButton> Actions() const;
    QList<TTotalRow> Totals() const;

    QLabel* lblBarkod;
    QWidget* pnlBarcodeInput;
    QLineEdit* edtBarkod;
    TPOSButton* btnStokSec;
    TPOSButton* btnBarkodOku;
    QWidget* pbBarkodOkuIcon;
    QLabel* lblBarkodOkuText;
    QWidget* pnlActions;
    TActionButton FMiktarDegistir;
    TActionButton FIndirimYap;
    TActionButton FSatirSil;
    TActionButton FTemizle;
    QWidget* pnlTotals;
    TTotalRow FAraToplam;
    TTotalRow FKDV;
    TTotalRow FIndirim;
    TTotalRow FGenelToplam;
    QWidget* pnlLastSale;
    QList<TTotalRow> FLastSaleRows;
    QList<TCaptionRow> FLastSale;
    TPOSButton* btnOdemeAl;
};
