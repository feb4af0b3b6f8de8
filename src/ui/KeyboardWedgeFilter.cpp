#include "ui/KeyboardWedgeFilter.h"

#include "ui/SlotGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
bool IsPrintableAscii(const QString& text)
{
    return text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0).unicode() <= 126;
}

bool IsEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}
} // namespace

TKeyboardWedgeFilter::TKeyboardWedgeFilter(QWidget* window, QLineEdit* barcodeField,
                                           TWedgeKeys keys)
    : QObject(window)
    , FWindow(window)
    , FBarcodeField(barcodeField)
    , FKeys(std::move(keys))
{
    qApp->installEventFilter(this);
}

TKeyboardWedgeFilter::~TKeyboardWedgeFilter()
{
    qApp->removeEventFilter(this);
}

bool TKeyboardWedgeFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !FWindow || !FBarcodeField)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != FWindow)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (FormKeyDown(key))
        return true;
    if (widget == FBarcodeField && IsEnter(key)) {
        CallGuarded(FKeys.Enter);
        return true;
    }
    return FormKeyPress(key);
}

bool TKeyboardWedgeFilter::FormKeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_H && event->modifiers() == Qt::ControlModifier) {
        CallGuarded(FKeys.Calculator);
        return true;
    }
    if (event->key() == Qt::Key_F8 && event->modifiers() == Qt::NoModifier) {
        CallGuarded(FKeys.Search);
        return true;
    }
    return false;
}

bool TKeyboardWedgeFilter::FormKeyPress(QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || FWindow->focusWidget() == FBarcodeField)
        return false;
    FBarcodeField->setFocus();
    if (!IsPrintableAscii(text) || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    // Setting the text leaves the caret at its end, where the next character goes.
    FBarcodeField->setText(FBarcodeField->text() + text);
    return true;
}
