#pragma once

#include "ui/POSButton.h"

#include <QPushButton>

#include <functional>

// A category button of the catalogue: a push button whose painting is done by the screen that
// owns it (the catalogue's DrawCategoryButton); without a painter it paints as any button.
// Tag is the KategoriID, 0 for all products; the tooltip holds the category's whole name.
class TCategoryGPButton : public QPushButton {
    Q_OBJECT
public:
    using TPainter = std::function<void(TCategoryGPButton&, QPainter&, TButtonState)>;

    TCategoryGPButton(QWidget* parent, TPainter painter);

    int Tag = 0;
    // The state the button is drawn in now.
    TButtonState State() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TPainter FPainter;
};
