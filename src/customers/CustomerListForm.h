#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class TPOSButton;

// "Müşteri Seçimi": the accounts a sale can be made for, filtered as the cashier types, and the
// way to a new account. Closed with OK after a choice, which SelectedMusteriID and
// SelectedMusteriAdi then hold. Enter takes the current row, Esc cancels.
//
//   TfrmCustomerList list(this);
//   if (list.ShowModal() == mrOk)
//       till.SetCustomer(list.SelectedMusteriID(), list.SelectedMusteriAdi());
class TfrmCustomerList : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmCustomerList(QWidget* parent = nullptr);

    // The chosen account's CariID, -1 until a choice is made, and its name.
    int SelectedMusteriID() const { return FSelectedMusteriID; }
    QString SelectedMusteriAdi() const { return FSelectedMusteriAdi; }

    void FormShow();
    void btnSelectClick();
    void btnAddCustomerClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void ApplyStyle();
    void LoadCustomers(const QString& Filter);
    void ClearGrid();
    void SelectFirstRow();
    void FitColumns();

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLineEdit* edtSearch;
    TPOSButton* btnAddCustomer;
    QTableWidget* gridCustomers;
    QLabel* lblInfo;
    QLabel* lblCount;
    TPOSButton* btnSelect;
    TPOSButton* btnCancel;

    int FSelectedMusteriID = -1;
    QString FSelectedMusteriAdi;
    bool FShown = false; // FormShow has run
};
