#pragma once

#include "ui/PopupMenuForm.h"

#include <functional>

// The sales screen's operations behind the report menu's two items.
struct TReportMenuHandlers {
    std::function<void()> btnReportingClick;
    std::function<void()> btnSonFisClick;
};

// The report menu ("Rapor İşlemleri") dropped down from the sales screen's "Rapor" button.
// It is made the first time it is opened, owned by the window that opens it, and kept.
class TReportMenuPopupForm : public TPopupMenuForm {
    Q_OBJECT
public:
    explicit TReportMenuPopupForm(QWidget* parent = nullptr);
    ~TReportMenuPopupForm() override;

    // The menu, made on the first call with `owner` as its parent; later calls return it.
    static TReportMenuPopupForm* Instance(QWidget* owner);
    // The menu if it has been made, else null.
    static TReportMenuPopupForm* Existing();

    // Choosing runs nothing until a sales screen is set, and again nothing once it is gone.
    void SetSalesScreen(QObject* salesScreen, const TReportMenuHandlers& handlers);
};
