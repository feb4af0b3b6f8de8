#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class TPOSButton;
class TRoundShape;

// The running totals of one shift on three cards: sales, the drawer result and the receipt
// counts, by the same rules and figures as the Z report.
class TfrmShiftSummary : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmShiftSummary(QWidget* parent = nullptr);

    // Loads the figures and shows the window modally. A shift that cannot be loaded raises
    // its error before the window is shown.
    static void Execute(int VardiyaID);

    // Stores the shift and loads its figures at once.
    void SetVardiyaID(int AVardiyaID);
    int VardiyaID() const { return FVardiyaID; }

    void FormShow();
    void btnCloseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void ApplyStyle();
    void LoadSummary();

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblVardiya;
    QLabel* lblVardiyaValue;
    QLabel* lblKasiyer;
    QLabel* lblKasiyerValue;
    TRoundShape* pnlSalesCard;
    QLabel* lblSalesTitle;
    QLabel* lblAcilisTitle;
    QLabel* lblAcilisValue;
    QLabel* lblBrutNakitTitle;
    QLabel* lblBrutNakitValue;
    QLabel* lblBrutKartTitle;
    QLabel* lblBrutKartValue;
    QLabel* lblIadeNakitTitle;
    QLabel* lblIadeNakitValue;
    QLabel* lblIadeToplamTitle;
    QLabel* lblIadeToplamValue;
    TRoundShape* pnlResultCard;
    QLabel* lblResultTitle;
    QLabel* lblKasaTeslimTitle;
    QLabel* lblKasaTeslimValue;
    QLabel* lblNetCiroTitle;
    QLabel* lblNetCiroValue;
    TRoundShape* pnlFisCard;
    QLabel* lblFisTitle;
    QLabel* lblAktifFisTitle;
    QLabel* lblAktifFisValue;
    QLabel* lblIadeFisTitle;
    QLabel* lblIadeFisValue;
    TPOSButton* btnClose;

    int FVardiyaID = -1;
};
