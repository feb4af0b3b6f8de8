#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QTimer;
class TPOSButton;

// The kinds of message dialog.
enum TDialogType { dtInfo, dtError, dtConfirmation, dtWarning };

// The message and confirmation dialog every screen uses instead of the system's message boxes.
// The message fills the body, with a margin to the frame all round.
//
// Results: mrOk for "Tamam", "Evet", "Kapat", the auto-close and for Esc when there is no
// second button; mrCancel for "Hayır" and for Esc when "Hayır" is shown. Enter acknowledges a
// one-button message (mrOk) but never answers a confirmation: a barcode scanner ends every
// scan with Enter, and a scan must not consent to anything. A one-button message that closes by
// itself ("Barkod bulunamadı") is not closed by Enter alone, since the next scan may already be
// on its way: a scan typed into it closes it and goes on to the barcode field below.
class TfrmCustomDialog : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmCustomDialog(QWidget* parent = nullptr);

    static int ShowDialog(const QString& Title, const QString& Msg, TDialogType DlgType,
                          int AutoCloseMs = 0);

    // Fills the window for one message (the set-up steps of ShowDialog).
    void Setup(const QString& Title, const QString& Msg, TDialogType DlgType, int AutoCloseMs);
    static QColor HeaderColor(TDialogType DlgType);
    TDialogType DlgType() const { return FDlgType; }

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceButtons();
    // A one-button message that closes by itself.
    bool Timed() const;
    void btnOkClick();
    void btnCancelClick();
    void FAutoCloseTimerTimer();

    QLabel* lblTitle;
    QLabel* lblMessage;
    TPOSButton* btnOk;
    TPOSButton* btnCancel;
    QTimer* FAutoCloseTimer;
    TDialogType FDlgType = dtInfo;
    int FAutoCloseMs = 0;
};

// The box of an error nobody expected (the handlers' guard, the application-wide handler, a
// failed start): the error dialog with `title` (the application's title) in its header and
// one "Kapat" button, over the active window, run through the modal seam.
void ShowErrorBox(const QString& title, const QString& text);
