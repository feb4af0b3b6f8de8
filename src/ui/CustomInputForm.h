#pragma once

#include "ui/DialogTestHooks.h"
#include "ui/FramelessDialog.h"

class QLabel;
class QLineEdit;
class TPOSButton;

// The one-line input dialog. Enter in the edit confirms, "İptal" cancels, Esc means nothing.
// The value is handed back as typed; callers parse and check it themselves.
//
// Tests answer it without a person through TDialogTestHooks / TDialogAnswers.
class TfrmCustomInput : public TFramelessDialog {
    Q_OBJECT
public:
    explicit TfrmCustomInput(QWidget* parent = nullptr);

    // True with Value := the edit's text (not trimmed) when confirmed; false with Value
    // untouched when cancelled.
    static bool ShowInput(const QString& Title, const QString& Prompt, const QString& DefaultValue,
                          QString& Value);

    void Setup(const QString& Title, const QString& Prompt, const QString& DefaultValue);
    TShownDialog Describe() const;

    QWidget* pnlTop;
    QLabel* lblTitle;
    QWidget* pnlContent;
    QLabel* lblPrompt;
    QLineEdit* edtInput;
    QWidget* pnlBottom;
    TPOSButton* btnOk;
    TPOSButton* btnCancel;

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QString FDefaultValue;
};
