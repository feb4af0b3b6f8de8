#include "ui/SalesHeader.h"

#include "sales/SalesScreenRules.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"
#include "ui/WindowMover.h"

#include <QLabel>
#include <QMenu>

namespace {
constexpr int kButtonWidth = 124;
} // namespace

TSalesHeader::TSalesHeader(QWidget* window, const TSalesHeaderHandlers& handlers)
    : QWidget(window)
    , lblTitle(TPOSUITheme::CreateStyledLabel(this, QStringLiteral("lblTitle"),
                                              QStringLiteral("KIRVELO - Satış Ekranı"),
                                              TPOSUITheme::SemiboldFont(16, false), Qt::white))
    , lblUser(TPOSUITheme::CreateStyledLabel(this, QStringLiteral("lblUser"),
                                             QStringLiteral("Kullanıcı: -"),
                                             TPOSUITheme::TextFont(10), Qt::white))
    , lblVardiya(TPOSUITheme::CreateStyledLabel(this, QStringLiteral("lblVardiya"), QString(),
                                                TPOSUITheme::SemiboldFont(10, true),
                                                POSPalette::ShiftState))
    , lblMusteri(TPOSUITheme::CreateStyledLabel(this, QStringLiteral("lblMusteri"), QString(),
                                                TPOSUITheme::SemiboldFont(10, true), Qt::white))
    , btnMusteriSec(AddButton("btnMusteriSec", QStringLiteral("Müşteri"), TGlyph::User,
                              handlers.btnMusteriSecClick))
    , btnIade(AddButton("btnIade", QStringLiteral("İade"), TGlyph::Reply, handlers.btnIadeClick))
    , btnHesapMakinesi(AddButton("btnHesapMakinesi", QStringLiteral("Hesap"), TGlyph::Letter,
                                 handlers.btnHesapMakinesiClick))
    , btnMenuVardiya(AddButton("btnMenuVardiya", QStringLiteral("Vardiya"), TGlyph::Clock,
                               handlers.btnMenuVardiyaClick))
    , btnMenuRapor(AddButton("btnMenuRapor", QStringLiteral("Rapor"), TGlyph::Chart,
                             handlers.btnMenuRaporClick))
    , FBtnMenuSatislar(AddButton("btnMenuSatislar", QStringLiteral("Satışlar"), TGlyph::Basket,
                                 handlers.OpenShiftSalesClick))
    , btnParametreler(AddButton("btnParametreler", QStringLiteral("Ayarlar"), TGlyph::Gear,
                                handlers.btnParametrelerClick))
    , btnLogout(
          AddButton("btnLogout", QStringLiteral("Çıkış"), TGlyph::Power, handlers.btnLogoutClick))
    , pmAyarlar(new QMenu(this))
{
    setObjectName(QStringLiteral("pnlTop"));
    TPOSUITheme::StyleHeaderPanel(this);
    for (QWidget* handle : {static_cast<QWidget*>(this), static_cast<QWidget*>(lblTitle),
                            static_cast<QWidget*>(lblUser), static_cast<QWidget*>(lblVardiya),
                            static_cast<QWidget*>(lblMusteri)})
        TWindowMover::Attach(handle, window);
    lblMusteri->hide();
    pmAyarlar->setObjectName(QStringLiteral("pmAyarlar"));
    miParametreler = pmAyarlar->addAction(QStringLiteral("Parametreler"));
    miParametreler->setObjectName(QStringLiteral("miParametreler"));
    GuardedConnect(miParametreler, &QAction::triggered, this, handlers.miParametrelerClick);
}

TPOSButton* TSalesHeader::AddButton(const char* name, const QString& caption, TGlyph glyph,
                                    const std::function<void()>& handler)
{
    TPOSButton* button = TPOSUITheme::CreateLookButton(this, QLatin1String(name), caption, glyph,
                                                       TPOSUITheme::HeaderButtonLook());
    button->setFont(TPOSUITheme::SemiboldFont(10, true));
    GuardedConnect(button, &QPushButton::clicked, this, handler);
    return button;
}

void TSalesHeader::SetUserCaption(const QString& text)
{
    lblUser->setText(text);
}

void TSalesHeader::SetShiftCaption(const QString& text)
{
    lblVardiya->setText(text);
    TPOSUITheme::SetLabelColor(lblVardiya, POSPalette::ShiftState);
}

void TSalesHeader::SetCustomer(const QString& name)
{
    lblMusteri->setText(name.isEmpty() ? QString() : QStringLiteral("Müşteri: ") + name);
    lblMusteri->setVisible(!name.isEmpty());
}

QWidget* TSalesHeader::ShiftMenuAnchor() const
{
    return btnMenuVardiya;
}

QWidget* TSalesHeader::ReportMenuAnchor() const
{
    return btnMenuRapor;
}

void TSalesHeader::PopupSettingsMenu()
{
    pmAyarlar->popup(btnParametreler->mapToGlobal(QPoint(0, btnParametreler->height())));
}

void TSalesHeader::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutBand();
}

void TSalesHeader::LayoutBand()
{
    lblTitle->setGeometry(20, 15, 360, 30);
    lblUser->setGeometry(20, 48, 560, 20);
    lblVardiya->setGeometry(400, 48, 260, 20);
    lblMusteri->setGeometry(400, 15, 360, 20);
    const QList<int> lefts = TSalesScreenRules::HeaderButtonLefts(width());
    const QList<TPOSButton*> buttons{btnLogout,    btnParametreler, FBtnMenuSatislar,
                                     btnMenuRapor, btnMenuVardiya,  btnHesapMakinesi,
                                     btnIade,      btnMusteriSec};
    for (int i = 0; i < buttons.size(); ++i) {
        buttons.at(i)->setGeometry(lefts.at(i), 0, kButtonWidth, Height);
        buttons.at(i)->raise();
    }
}
