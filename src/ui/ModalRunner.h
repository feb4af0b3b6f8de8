#pragma once

#include <QString>

class QDialog;

// Results of the modal windows. A confirmation counts as consent only for mrOk.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// Runs a modal window and returns its result. Every modal window of the program runs through
// RunModal, the one seam where tests take over: the program never installs a runner, so each
// window runs its own event loop (QDialog::exec); a test installs one that answers the window
// instead, acting on its controls as a person would.
class TModalRunner {
public:
    virtual ~TModalRunner() = default;
    virtual int Run(QDialog& dialog) = 0;
};

int RunModal(QDialog& dialog);
// Installs `runner` (null: windows run themselves) and returns the one it replaces. The caller
// keeps ownership and uninstalls it before it goes.
TModalRunner* InstallModalRunner(TModalRunner* runner);
