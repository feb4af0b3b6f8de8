#pragma once

#include "ui/Glyphs.h"

#include <QWidget>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class TPOSButton;

// What the header's buttons and menu item run.
struct TSalesHeaderHandlers {
    std::function<void()> btnMusteriSecClick;
    std::function<void()> btnIadeClick;
    std::function<void()> btnHesapMakinesiClick;
    std::function<void()> btnMenuVardiyaClick;
    std::function<void()> btnMenuRaporClick;
    std::function<void()> OpenShiftSalesClick;
    std::function<void()> btnParametrelerClick;
    std::function<void()> btnLogoutClick;
    std::function<void()> miParametrelerClick;
};

// The navy band across the top of the sales screen ("pnlTop"): title, user, shift and customer
// captions, and eight header buttons packed right to left from "Çıkış". Dragging the band or its
// captions moves the window.
class TSalesHeader : public QWidget {
    Q_OBJECT
public:
    TSalesHeader(QWidget* window, const TSalesHeaderHandlers& handlers);

    static constexpr int Height = 80;

    void SetUserCaption(const QString& text);
    void SetShiftCaption(const QString& text);
    // Shows "Müşteri: " and the customer's name; an empty name hides the caption.
    void SetCustomer(const QString& name);

    // The buttons the drop-down menus hang from.
    QWidget* ShiftMenuAnchor() const;
    QWidget* ReportMenuAnchor() const;
    // Drops the settings menu down below "Ayarlar".
    void PopupSettingsMenu();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TPOSButton* AddButton(const char* name, const QString& caption, TGlyph glyph,
                          const std::function<void()>& handler);
    void LayoutBand();

    QLabel* lblTitle;
    QLabel* lblUser;
    QLabel* lblVardiya;
    QLabel* lblMusteri;
    TPOSButton* btnMusteriSec;
    TPOSButton* btnIade;
    TPOSButton* btnHesapMakinesi;
    TPOSButton* btnMenuVardiya;
    TPOSButton* btnMenuRapor;
    TPOSButton* FBtnMenuSatislar;
    TPOSButton* btnParametreler;
    TPOSButton* btnLogout;
    QMenu* pmAyarlar;
    QAction* miParametreler;
};
