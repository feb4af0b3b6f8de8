#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class QTimer;
class TPOSButton;

// Finds a product by part of its name, barcode or stock code and picks it from a list, for
// goods whose barcode cannot be scanned. The list follows the typing: the first 250 matches by
// name with their price and this branch's stock (TProductSearch). A change of the text is
// searched once the window has taken the keys already waiting, so keys that arrive while a
// search runs are not searched one by one: the text as it is then is searched next. Enter picks
// the current row wherever the focus is, Down moves from the search box into the list (both
// after the search of the text typed so far), Esc closes.
//
//   int stokID = -1;
//   if (TfrmProductSelect::Execute(stokID))
//       ... AddProductByStokID(stokID);
class TfrmProductSelect : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmProductSelect(QWidget* parent = nullptr);

    // Sets AStokID to -1, runs the window modally; true exactly when it closed with OK, and
    // then AStokID is the chosen product.
    static bool Execute(int& AStokID);

    // The chosen product's StokID; -1 until a valid choice is made.
    int SelectedStokID = -1;

    void FormShow();
    void SearchProducts(const QString& Filter);
    void SelectCurrent();
    void edtSearchChange();
    void tmrSearchTimer();
    void btnSearchClick();
    void btnSelectClick();
    void btnCancelClick();
    void gridProductsDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void SetupGrid();
    void PlaceSearch();
    // Keys seen before the controls: Esc closes, Enter picks, Down leaves the search box.
    bool FormKeyDown(QObject* watched, int key);
    void FocusList();
    // The search of a change still waiting runs now, before a key acts on the list.
    void FlushSearch();

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblSearch;
    QLineEdit* edtSearch;
    TPOSButton* btnSearch;
    QTableWidget* gridProducts;
    QLabel* lblInfo;
    QLabel* lblCount;
    TPOSButton* btnSelect;
    TPOSButton* btnCancel;
    QTimer* tmrSearch;
};
