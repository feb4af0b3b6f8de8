#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QPlainTextEdit;
class TPOSButton;

// The Z report of one shift on screen, 118 columns in a fixed-pitch font, with printing through
// the print service (which also saves the report file). The text comes from the core
// (TZReport), so the box holds exactly the lines that are printed.
class TfrmZReportPreview : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmZReportPreview(QWidget* parent = nullptr);

    static void Execute(int AVardiyaID);

    // Stores the shift and builds the report at once.
    void SetVardiyaID(int AVardiyaID);
    int VardiyaID() const { return FVardiyaID; }
    // The report as the box holds it, line by line.
    QStringList ReportLines() const;

    // Handlers, public so that tests drive the same road.
    void FormShow();
    void btnPrintClick();
    void btnCloseClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void BuildReport();
    void ClearHeader();

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblVardiya;
    QLabel* lblVardiyaValue;
    QLabel* lblKasiyer;
    QLabel* lblKasiyerValue;
    QLabel* lblKapanis;
    QLabel* lblKapanisValue;
    QLabel* lblDurum;
    QLabel* lblDurumValue;
    QPlainTextEdit* memReport;
    QLabel* lblHint;
    TPOSButton* btnPrint;
    TPOSButton* btnClose;
    int FVardiyaID = -1;
};
