#pragma once

class QWidget;

// The back-office look, used by the customer card editor. Stateless.
class TERPUITheme {
public:
    TERPUITheme() = delete;

    // Form font "Segoe UI" 10 pt, as the till's theme; a null form is ignored.
    static void StyleForm(QWidget* form);
};
