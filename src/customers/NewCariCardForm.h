#pragma once

#include "customers/CariCard.h"
#include "ui/BaseWindow.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class TPOSButton;
class TRoundShape;

// "Cari Kart": one customer or supplier account on five pages (general, address and contact,
// tax, limit and risk, notes) with a summary column beside them. A new card proposes a free
// code and only ever inserts; a card loaded by its code updates that account only. "Kaydet"
// saves and closes with OK; "Vazgec", "Kapat" and the close button close with Cancel.
class TfrmNewCariCard : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmNewCariCard(QWidget* parent = nullptr);

    // Opens the card for the account with `ACariKodu` (a new card when it is empty or not
    // found), runs it modally and tells whether it closed after a save.
    static bool Execute(const QString& ACariKodu);

    // Loads the account with this code into the card; a code that is not found leaves the card
    // as it is.
    void LoadCard(const QString& ACariKodu);
    // What the card holds now, as typed.
    TCariCardData CardData() const;
    // The code the card proposed for a new account; empty in edit mode.
    QString ProposedCode() const { return FProposedCode; }

    void btnKaydetClick();
    void NewCard();
    void TabButtonClick(int Page);
    void UpdateSummaryCards();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void BuildHeader();
    void BuildGeneralPage();
    void BuildAddressPage();
    void BuildTaxPage();
    void BuildLimitPage();
    void BuildNotesPage();
    void BuildSummary();
    void BuildActions();
    void WireFieldChanges();
    void ApplyTabButtonStyles();
    void LayoutCards();
    void SetTitles(const QString& caption, const QString& title);
    void TopMaximizeClick();

    TRoundShape* pnlHeaderIcon;
    QLabel* lblTitle;
    QLabel* lblSubTitle;
    TPOSButton* btnTopMinimize;
    TPOSButton* btnTopMaximize;
    TPOSButton* btnTopClose;
    TRoundShape* pnlFormCard;
    TRoundShape* pnlSummary;
    QList<TPOSButton*> FTabButtons;
    QStackedWidget* pcCari;

    QLineEdit* edtCariKodu = nullptr;
    TPOSButton* btnCariKoduSearch = nullptr;
    QLineEdit* edtCariAdi = nullptr;
    QComboBox* cmbCariTipi = nullptr;
    QLineEdit* edtYetkili = nullptr;
    QLineEdit* edtTelefon = nullptr;
    QLineEdit* edtEmail = nullptr;
    QLineEdit* edtVKN = nullptr;
    QLineEdit* edtVergiDairesi = nullptr;
    QComboBox* cmbParaBirimi = nullptr;
    QCheckBox* chkAktif = nullptr;
    QPlainTextEdit* memAdres = nullptr;
    QLineEdit* edtIl = nullptr;
    QLineEdit* edtIlce = nullptr;
    QLineEdit* edtPostaKodu = nullptr;
    QLineEdit* edtTCKN = nullptr;
    QCheckBox* chkEFatura = nullptr;
    QCheckBox* chkEIrsaliye = nullptr;
    QLineEdit* edtRiskLimiti = nullptr;
    QLineEdit* edtVadeGunu = nullptr;
    QPlainTextEdit* memNotlar = nullptr;

    QLabel* lblBakiyeValue = nullptr;
    QLabel* lblRiskValue = nullptr;
    QLabel* lblVadeValue = nullptr;
    QLabel* lblSonIslemValue = nullptr;

    TPOSButton* btnKaydet = nullptr;
    TPOSButton* btnYeniAction = nullptr;
    TPOSButton* btnSilAction = nullptr;
    TPOSButton* btnIptal = nullptr;
    TPOSButton* btnKapatAction = nullptr;

    // The account the card was loaded from; -1 for a new card.
    int FCariID = -1;
    QString FProposedCode;
};
