#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class TPOSButton;
class TRoundShape;

// "Fiş Seçimi": the branch's newest sale receipts, filtered as the cashier types; returns the
// chosen receipt's id and number. Built for the keyboard: typing filters, the down arrow moves
// into the list, Enter takes the current row (once), Esc closes.
//
//   int fisID = 0;
//   QString fisNo;
//   if (TfrmReceiptSelect::Execute(fisID, fisNo))
//       edtFisNo->setText(fisNo);
class TfrmReceiptSelect : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmReceiptSelect(QWidget* parent = nullptr);

    // Runs the search over the active window; true with the choice after "Seç" or Enter.
    static bool Execute(int& AFisID, QString& AFisNo);

    int SelectedFisID() const { return FSelectedFisID; }
    QString SelectedFisNo() const { return FSelectedFisNo; }

    void FormShow();
    void AcceptSelection();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void FormResize();
    void SetupGrid();
    void LoadReceipts(const QString& Filter);
    void ClearGrid();
    void SelectFirstRow();
    void FitColumns();
    // Esc and Enter, wherever the focus is; true when the key was taken.
    bool FormKeyDown(int key);

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblSearch;
    QWidget* pnlSearchFrame;
    TRoundShape* shpSearchFrame;
    QLineEdit* edtSearch;
    QWidget* pnlGridFrame;
    QTableWidget* gridReceipts;
    QLabel* lblInfo;
    QLabel* lblCount;
    TPOSButton* btnSelect;
    TPOSButton* btnCancel;

    int FSelectedFisID = 0;
    bool FShown = false; // FormShow has run
    QString FSelectedFisNo;
};
