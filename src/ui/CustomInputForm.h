#pragma once

#include "ui/BaseWindow.h"

class QLabel;
class QLineEdit;
class TPOSButton;

// The one-line input dialog. Enter in the edit confirms, "İptal" cancels, Esc means nothing.
// The value is handed back as typed; callers parse and check it themselves.
class TfrmCustomInput : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmCustomInput(QWidget* parent = nullptr);

    // True with Value := the edit's text (not trimmed) when confirmed; false with Value
    // untouched when cancelled.
    static bool ShowInput(const QString& Title, const QString& Prompt, const QString& DefaultValue,
                          QString& Value);

    void Setup(const QString& Title, const QString& Prompt, const QString& DefaultValue);

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* lblTitle;
    QLabel* lblPrompt;
    QLineEdit* edtInput;
    TPOSButton* btnOk;
    TPOSButton* btnCancel;
};
