#pragma once

#include "shifts/ShiftManager.h"
#include "ui/BaseWindow.h"

#include <optional>

class QLabel;
class QLineEdit;
class TPOSButton;
class TfrmMainPOS;

enum TVardiyaMode { vmOpen = 0, vmClose = 1 };

// The shift dialog. Open mode takes the counted opening cash and opens the shift (the checks
// and the insert run in the core, one transaction); close mode shows the shift's cash summary
// and takes the counted closing cash, which ExecuteClose hands back for the closing routine; a
// count that differs from the cash expected is confirmed first. The dialog writes nothing in
// close mode.
class TfrmVardiya : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmVardiya(QWidget* parent = nullptr);

    // Runs the dialog modally. True exactly for the OK result; only then is VardiyaID set to
    // the dialog's shift (the new one in open mode, the one given in close mode).
    static bool Execute(TVardiyaMode Mode, int& VardiyaID);
    // Runs the dialog in close mode for the shift. True for the OK result, and then Counted is
    // the counted closing cash as typed (TShiftManager::ReadAmount); false leaves it as it was.
    static bool ExecuteClose(int VardiyaID, double& Counted);

    void SetMode(TVardiyaMode Value);
    TVardiyaMode Mode() const { return FMode; }

    // The shift shown (close mode) or the shift just opened (open mode). Set it before
    // SetMode(vmClose).
    int FVardiyaID = 0;

    // Handlers and operations, public so that tests drive them.
    void FormShow();
    void btnActionClick();
    void btnCancelClick();
    // The key filter of edtAmount: Enter (#13) runs the action and becomes #0; every other
    // character stays as typed, so text that is no amount is refused whole, never read in part.
    void edtAmountKeyPress(QChar& Key);
    bool ValidateAmount();
    bool OpenShift(double Amount);
    void LoadSummary();
    void ShowStats(const TVardiyaOzet& Ozet);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void LayoutCard();
    // A count that is not the cash expected in the drawer is confirmed first, naming the
    // difference; "Hayır" leaves the dialog open with the count selected for a recount.
    bool ConfirmCount(double Counted);

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    QLabel* lblStatus;
    QLabel* lblDetails;
    QWidget* pnlStatsCard;
    QLabel* lblStatsTitle;
    QLabel* lblAcilisTitle;
    QLabel* lblAcilisValue;
    QLabel* lblNakitTitle;
    QLabel* lblNakitValue;
    QLabel* lblKartTitle;
    QLabel* lblKartValue;
    QLabel* lblIadeTitle;
    QLabel* lblIadeValue;
    QLabel* lblBeklenenTitle;
    QLabel* lblBeklenenValue;
    QWidget* pnlInput;
    QLabel* lblInputTitle;
    QLineEdit* edtAmount;
    TPOSButton* btnAction;
    TPOSButton* btnCancel;
    TVardiyaMode FMode = vmOpen;
    // The cash expected in the drawer of the shift shown in close mode; none when the shift has
    // no summary.
    std::optional<double> FBeklenenNakit;
};
