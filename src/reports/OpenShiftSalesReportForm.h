#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QPlainTextEdit;
class TPOSButton;

// The open shift's sales as a 118-column report in a fixed-pitch font, printed in landscape by
// the window itself.
class TfrmOpenShiftSalesReport : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmOpenShiftSalesReport(QWidget* parent = nullptr);

    // Builds the report before the window shows; an error ends Execute there and passes on.
    static void Execute(int AVardiyaID);

    void SetVardiyaID(int AVardiyaID);
    QStringList ReportLines() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void BuildReport();
    bool PrintReport();
    void btnPrintClick();
    void btnCloseClick();

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblVardiya;
    QLabel* lblVardiyaValue;
    QLabel* lblKasiyer;
    QLabel* lblKasiyerValue;
    QLabel* lblAcilis;
    QLabel* lblAcilisValue;
    QPlainTextEdit* memReport;
    QLabel* lblHint;
    TPOSButton* btnPrint;
    TPOSButton* btnClose;
    int FVardiyaID = -1;
};
