#pragma once

#include "admin/ParameterStore.h"
#include "ui/BaseWindow.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class TPOSButton;

// The parameters editor: the seconds of the barcode-not-found notice in a box of its own, and
// every row of table SistemParametre in a grid edited in place, where new rows can be added.
// Nothing is stored before "Kaydet"; a value the program reads as a number is checked first.
class TfrmParameters : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmParameters(QWidget* parent = nullptr);

    static void Execute();

    // Handlers, public so that tests drive the same roads.
    void btnKaydetClick();
    void btnYeniClick();
    void btnKapatClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void SetupGrid();
    void LoadParameters();
    // False when a value was refused (the refusal is shown and nothing is stored).
    bool SaveParameters();
    QList<TParameterRow> GridRows() const;
    QString CellText(int row, int col) const;
    // Ends an edit under way in the grid, keeping what was typed.
    void CommitGridEdit();

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblMsgSeconds;
    QLabel* lblMsgHelp;
    QLineEdit* edtMsgSeconds;
    QLabel* lblGridTitle;
    QTableWidget* gridParams;
    TPOSButton* btnKaydet;
    TPOSButton* btnYeni;
    TPOSButton* btnKapat;
};
