#pragma once

#include "ui/PopupMenuForm.h"

#include <functional>

// The sales screen's operations behind the shift menu's four items.
struct TShiftMenuHandlers {
    std::function<void()> btnVardiyaAcClick;
    std::function<void()> btnVardiyaKapatClick;
    std::function<void()> btnIcmalClick;
    std::function<void()> btnPastShiftReportsClick;
};

// The shift menu ("Vardiye İşlemleri") dropped down from the sales screen's "Vardiya" button.
// One is made at start-up and lives for the whole run; the sales screen finds it through
// Instance() and hands it its handlers.
class TMenuPopupForm : public TPopupMenuForm {
    Q_OBJECT
public:
    explicit TMenuPopupForm(QWidget* parent = nullptr);
    ~TMenuPopupForm() override;

    // The menu made at start-up; null while none exists.
    static TMenuPopupForm* Instance();

    // Choosing runs nothing until a sales screen is set, and again nothing once it is gone.
    void SetSalesScreen(QObject* salesScreen, const TShiftMenuHandlers& handlers);
};
