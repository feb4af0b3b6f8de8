#pragma once

#include "core/Calculator.h"
#include "ui/BaseWindow.h"

#include <functional>

class QLabel;
class QLineEdit;
class TPOSButton;

// A four-function desk calculator for the cashier; its value stays here and never reaches the
// sale. The arithmetic and the display text are TCalculator's; this window forwards its keys
// and buttons and shows the display. No button takes the keyboard focus, so every key reaches
// the window.
class TfrmCalculator : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmCalculator(QWidget* parent = nullptr);

    // Creates the window, runs it modally and frees it.
    static void Execute();

    const TCalculator& Calculator() const { return FCalculator; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddKeys();
    void AddKey(const char* name, const QString& caption, int row, int column, int span,
                TButtonVariant variant, const std::function<void()>& action);
    // Runs a key on the calculator and shows the display.
    void Press(const std::function<void()>& action);

    QLabel* lblTitle;
    QLabel* lblSubTitle;
    TPOSButton* btnClose;
    QLineEdit* screen;
    TCalculator FCalculator;
};
