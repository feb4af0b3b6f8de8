#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

// What the keys of the sales screen start.
struct TWedgeKeys {
    std::function<void()> Enter;      // Enter in the barcode field
    std::function<void()> Calculator; // Ctrl+H
    std::function<void()> Search;     // F8
};

// Sees every key pressed in one window before its controls do. A keyboard-wedge scanner types
// into whatever has the focus, so a printable ASCII character typed outside the barcode field is
// appended to it (any other character only moves the focus there) and Enter in the field adds
// the code. Installed on the application, it leaves other windows alone.
class TKeyboardWedgeFilter : public QObject {
    Q_OBJECT
public:
    TKeyboardWedgeFilter(QWidget* window, QLineEdit* barcodeField, TWedgeKeys keys);
    ~TKeyboardWedgeFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FormKeyDown(QKeyEvent* event);
    bool FormKeyPress(QKeyEvent* event);

    QPointer<QWidget> FWindow;
    QPointer<QLineEdit> FBarcodeField;
    TWedgeKeys FKeys;
};
