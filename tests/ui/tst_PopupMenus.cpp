#include "support/TestDatabase.h"
#include "ui/POSUITheme.h"
#include "ui/ReportMenuForm.h"
#include "ui/VardiyeMenuForm.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <memory>

namespace {
// A stand-in sales screen: a window with the button the menu drops down from, counting how
// often each handler ran and whether the menu was already closed when it did.
struct TFakeSalesScreen {
    TFakeSalesScreen()
    {
        window.resize(1000, 600);
        button.setGeometry(100, 10, 120, 40);
        window.show();
    }
    QWidget window;
    QPushButton button{QStringLiteral("Vardiya"), &window};
    QList<int> runs;
    QList<bool> closedWhenRun;

    std::function<void()> Handler(int index, const TPopupMenuForm* menu)
    {
        return [this, index, menu] {
            runs.append(index);
            closedWhenRun.append(!menu->isVisible());
        };
    }
    TShiftMenuHandlers ShiftHandlers(const TPopupMenuForm* menu)
    {
        return {Handler(0, menu), Handler(1, menu), Handler(2, menu), Handler(3, menu)};
    }
};

// The menu's list and title, found by their object names.
QListWidget* List(const TPopupMenuForm& menu)
{
    return menu.findChild<QListWidget*>("scAdvancedListBox1");
}

QLabel* Title(const TPopupMenuForm& menu)
{
    return menu.findChild<QLabel*>("scLabel1");
}

QPoint ItemCentre(const TPopupMenuForm& menu, int row)
{
    QListWidget* list = List(menu);
    return list->visualItemRect(list->item(row)).center();
}

void Release(const TPopupMenuForm& menu, QPoint at)
{
    QWidget* viewport = List(menu)->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
}
} // namespace

// The shift and report drop-down menus: items, choosing by keyboard and mouse exactly once,
// closing without a choice, and their lifetime.
class TestPopupMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void itemsAndSizes_data();
    void itemsAndSizes();
    void itemsFitTheWindow();
    void dropsDownBelowTheButton();
    void staysOnTheScreen();

    void chooseByEnter_data();
    void chooseByEnter();
    void arrowKeysThenEnter();
    void chooseByMouse_data();
    void chooseByMouse();
    void doubleClickRunsOnce();
    void releaseBesideTheItemsRunsNothing();
    void noCurrentItemRunsNothing();
    void reopenedMenuRunsAgainOnce();
    void keepsCurrentItemBetweenOpenings();

    void escapeCloses_data();
    void escapeCloses();
    void clickOutsideCloses();
    void losingActivationCloses();

    void withoutSalesScreenNothingHappens();
    void salesScreenGoneNothingHappens();
    void entryWithoutScreenOnlyCloses();

    void shiftMenuInstance();
    void reportMenuMadeOnce();
    void reportMenuItems();
};

void TestPopupMenus::initTestCase()
{
    UseTurkishLocale();
    UseTestPaths();
    RegisterFontSubstitutions();
}

void TestPopupMenus::cleanup()
{
    delete TReportMenuPopupForm::Existing();
}

void TestPopupMenus::itemsAndSizes_data()
{
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("details");
    QTest::newRow("shift") << true << QSize(497, 208) << "Vardiye İşlemleri"
                           << QStringList{"Vardiye Aç", "Vardiye Kapat", "Vardiye İcmal",
                                          "Geçmiş Vardiye Raporları"}
                           << QStringList{"Vardiye Açılış İşlemleri", "Vardiye Kapanış İşlemleri",
                                          "Vardiye İcmal İşlemleri",
                                          "Vardiye geçmişi ve satış dökümü"};
    QTest::newRow("report") << false << QSize(497, 122) << "Rapor İşlemleri"
                            << QStringList{"Raporlar", "Son Fiş Dökümü"}
                            << QStringList{"Vardiye Raporlama ve Geçmişi", "Son Satış Fişi İzleme"};
}

void TestPopupMenus::itemsAndSizes()
{
    QFETCH(bool, shift);
    QFETCH(QSize, size);
    QFETCH(QString, title);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, details);
    std::unique_ptr<TPopupMenuForm> menu;
    if (shift)
        menu = std::make_unique<TMenuPopupForm>();
    else
        menu = std::make_unique<TReportMenuPopupForm>();
    QCOMPARE(menu->size(), size);
    QVERIFY(menu->windowFlags().testFlag(Qt::Popup));
    QVERIFY(menu->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(Title(*menu)->text(), title);
    QCOMPARE(Title(*menu)->font().family(), QString("Tahoma"));
    QListWidget* list = List(*menu);
    QCOMPARE(list->count(), int(captions.size()));
    for (int i = 0; i < list->count(); ++i) {
        QCOMPARE(list->item(i)->text(), captions[i]);
        QCOMPARE(list->item(i)->data(TPopupMenuItemDelegate::kDetailRole).toString(), details[i]);
    }
    QCOMPARE(list->currentRow(), -1);
    QVERIFY(!menu->isVisible());
}

void TestPopupMenus::itemsFitTheWindow()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.DropDown(&screen.button);
    QListWidget* list = List(menu);
    const QRect first = list->visualItemRect(list->item(0));
    const QRect second = list->visualItemRect(list->item(1));
    const QRect last = list->visualItemRect(list->item(3));
    QCOMPARE(first.height(), 40 + 5);
    QCOMPARE(second.top() - first.top(), 45);
    QCOMPARE(last.height(), 40);
    const int bottom = list->viewport()->mapTo(&menu, last.bottomLeft()).y();
    QVERIFY2(bottom < menu.height(), qPrintable(QString::number(bottom)));
    // The navy strip on the left.
    QCOMPARE(menu.grab().toImage().pixelColor(5, 200).rgb(), POSPalette::Header.rgb());
}

void TestPopupMenus::dropsDownBelowTheButton()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.DropDown(&screen.button);
    QVERIFY(menu.isVisible());
    QCOMPARE(menu.pos(), screen.button.mapToGlobal(QPoint(0, screen.button.height())));
    QCOMPARE(QApplication::activePopupWidget(), &menu);
    QCOMPARE(QApplication::focusWidget(), List(menu));
}

void TestPopupMenus::staysOnTheScreen()
{
    TFakeSalesScreen screen;
    const QRect area = screen.window.screen()->availableGeometry();
    screen.window.move(area.right() - screen.window.width() + 1, area.top());
    screen.button.move(screen.window.width() - 130, 10);
    TMenuPopupForm menu;
    menu.DropDown(&screen.button);
    QVERIFY(menu.geometry().right() <= area.right());
    QCOMPARE(menu.y(), screen.button.mapToGlobal(QPoint(0, screen.button.height())).y());
}

void TestPopupMenus::chooseByEnter_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("key");
    for (int row = 0; row < 4; ++row) {
        QTest::addRow("item %d, Return", row) << row << int(Qt::Key_Return);
        QTest::addRow("item %d, keypad Enter", row) << row << int(Qt::Key_Enter);
    }
}

void TestPopupMenus::chooseByEnter()
{
    QFETCH(int, row);
    QFETCH(int, key);
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    QSignalSpy chosen(&menu, &TPopupMenuForm::ItemChosen);
    menu.DropDown(&screen.button);
    List(menu)->setCurrentRow(row);
    QTest::keyClick(List(menu), Qt::Key(key));
    QTest::keyClick(List(menu), Qt::Key(key));
    QCOMPARE(screen.runs, QList<int>{row});
    QCOMPARE(screen.closedWhenRun, QList<bool>{true});
    QCOMPARE(chosen.count(), 1);
    QVERIFY(!menu.isVisible());
}

void TestPopupMenus::arrowKeysThenEnter()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    menu.DropDown(&screen.button);
    List(menu)->setCurrentRow(0);
    QTest::keyClick(List(menu), Qt::Key_Down);
    QTest::keyClick(List(menu), Qt::Key_Down);
    QTest::keyClick(List(menu), Qt::Key_Up);
    QVERIFY(menu.isVisible());
    QVERIFY(screen.runs.isEmpty());
    QTest::keyClick(List(menu), Qt::Key_Return);
    QCOMPARE(screen.runs, QList<int>{1});
}

void TestPopupMenus::chooseByMouse_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < 4; ++row)
        QTest::addRow("item %d", row) << row;
}

void TestPopupMenus::chooseByMouse()
{
    QFETCH(int, row);
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    menu.DropDown(&screen.button);
    Release(menu, ItemCentre(menu, row));
    QCOMPARE(screen.runs, QList<int>{row});
    QCOMPARE(screen.closedWhenRun, QList<bool>{true});
    QVERIFY(!menu.isVisible());
    QCOMPARE(List(menu)->currentRow(), row);
}

void TestPopupMenus::doubleClickRunsOnce()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    menu.DropDown(&screen.button);
    const QPoint at = ItemCentre(menu, 2);
    QWidget* viewport = List(menu)->viewport();
    // press, release, double-click press, release: as a mouse delivers a double click
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    QCOMPARE(screen.runs, QList<int>{2});
}

void TestPopupMenus::releaseBesideTheItemsRunsNothing()
{
    TFakeSalesScreen screen;
    TReportMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, {screen.Handler(0, &menu), screen.Handler(1, &menu)});
    menu.DropDown(&screen.button);
    List(menu)->setCurrentRow(1);
    QListWidget* list = List(menu);
    const QRect last = list->visualItemRect(list->item(1));
    QVERIFY(last.bottom() + 2 < list->viewport()->height());
    Release(menu, QPoint(last.center().x(), last.bottom() + 2));
    QVERIFY(screen.runs.isEmpty());
    QVERIFY(menu.isVisible());
    // The gap between two items is beside the items too.
    const QRect first = list->visualItemRect(list->item(0));
    Release(menu, QPoint(first.center().x(), first.top() + 42));
    QVERIFY(screen.runs.isEmpty());
}

void TestPopupMenus::noCurrentItemRunsNothing()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    menu.DropDown(&screen.button);
    List(menu)->setCurrentRow(-1);
    menu.ChooseMenuItem();
    QVERIFY(!menu.isVisible());
    QVERIFY(screen.runs.isEmpty());
}

void TestPopupMenus::reopenedMenuRunsAgainOnce()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    menu.DropDown(&screen.button);
    Release(menu, ItemCentre(menu, 0));
    menu.DropDown(&screen.button);
    Release(menu, ItemCentre(menu, 3));
    menu.ChooseMenuItem(); // closed: no second run
    QCOMPARE(screen.runs, (QList<int>{0, 3}));
}

void TestPopupMenus::keepsCurrentItemBetweenOpenings()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    menu.DropDown(&screen.button);
    Release(menu, ItemCentre(menu, 2));
    menu.DropDown(&screen.button);
    QCOMPARE(List(menu)->currentRow(), 2);
    QTest::keyClick(List(menu), Qt::Key_Return);
    QCOMPARE(screen.runs, (QList<int>{2, 2}));
}

void TestPopupMenus::escapeCloses_data()
{
    QTest::addColumn<bool>("shift");
    QTest::newRow("shift menu") << true;
    QTest::newRow("report menu") << false;
}

void TestPopupMenus::escapeCloses()
{
    QFETCH(bool, shift);
    TFakeSalesScreen screen;
    std::unique_ptr<TPopupMenuForm> menu;
    if (shift) {
        auto shiftMenu = std::make_unique<TMenuPopupForm>();
        shiftMenu->SetSalesScreen(&screen.window, screen.ShiftHandlers(shiftMenu.get()));
        menu = std::move(shiftMenu);
    } else {
        auto reportMenu = std::make_unique<TReportMenuPopupForm>();
        reportMenu->SetSalesScreen(&screen.window, {screen.Handler(0, reportMenu.get()),
                                                    screen.Handler(1, reportMenu.get())});
        menu = std::move(reportMenu);
    }
    menu->DropDown(&screen.button);
    List(*menu)->setCurrentRow(1);
    QTest::keyClick(List(*menu), Qt::Key_Escape);
    QVERIFY(!menu->isVisible());
    // Esc seen by the window itself, e.g. with the focus off the list.
    menu->DropDown(&screen.button);
    QTest::keyClick(menu.get(), Qt::Key_Escape);
    QVERIFY(!menu->isVisible());
    QVERIFY(screen.runs.isEmpty());
    QCOMPARE(List(*menu)->currentRow(), 1);
}

void TestPopupMenus::clickOutsideCloses()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    menu.DropDown(&screen.button);
    List(menu)->setCurrentRow(1);
    // While the menu is open every click reaches it; one outside its rectangle closes it.
    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(-20, menu.height() + 20));
    QVERIFY(!menu.isVisible());
    QVERIFY(screen.runs.isEmpty());
}

void TestPopupMenus::losingActivationCloses()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, screen.ShiftHandlers(&menu));
    menu.DropDown(&screen.button);
    List(menu)->setCurrentRow(1);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&menu, &deactivate);
    QVERIFY(!menu.isVisible());
    QVERIFY(screen.runs.isEmpty());
}

void TestPopupMenus::withoutSalesScreenNothingHappens()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    menu.DropDown(&screen.button);
    List(menu)->setCurrentRow(1);
    QTest::keyClick(List(menu), Qt::Key_Return);
    Release(menu, ItemCentre(menu, 0));
    QVERIFY(menu.isVisible());
    QVERIFY(screen.runs.isEmpty());
}

void TestPopupMenus::salesScreenGoneNothingHappens()
{
    TFakeSalesScreen screen;
    TMenuPopupForm menu;
    int runs = 0;
    auto salesScreen = std::make_unique<QObject>();
    menu.SetSalesScreen(salesScreen.get(), {[&runs] { ++runs; }, {}, {}, {}});
    salesScreen.reset();
    menu.DropDown(&screen.button);
    List(menu)->setCurrentRow(0);
    QTest::keyClick(List(menu), Qt::Key_Return);
    QVERIFY(menu.isVisible());
    QCOMPARE(runs, 0);
}

void TestPopupMenus::entryWithoutScreenOnlyCloses()
{
    TFakeSalesScreen screen;
    TReportMenuPopupForm menu;
    menu.SetSalesScreen(&screen.window, {screen.Handler(0, &menu), {}});
    QSignalSpy chosen(&menu, &TPopupMenuForm::ItemChosen);
    menu.DropDown(&screen.button);
    Release(menu, ItemCentre(menu, 1));
    QVERIFY(!menu.isVisible());
    QVERIFY(screen.runs.isEmpty());
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toInt(), 1);
}

void TestPopupMenus::shiftMenuInstance()
{
    QVERIFY(!TMenuPopupForm::Instance());
    auto owner = std::make_unique<QWidget>();
    auto* menu = new TMenuPopupForm(owner.get());
    QCOMPARE(TMenuPopupForm::Instance(), menu);
    QCOMPARE(menu->parentWidget(), owner.get());
    QVERIFY(menu->isWindow());
    owner.reset();
    QVERIFY(!TMenuPopupForm::Instance());
}

void TestPopupMenus::reportMenuMadeOnce()
{
    TFakeSalesScreen screen;
    QVERIFY(!TReportMenuPopupForm::Existing());
    TReportMenuPopupForm* first = TReportMenuPopupForm::Instance(&screen.window);
    first->DropDown(&screen.button);
    QTest::keyClick(List(*first), Qt::Key_Escape);
    TReportMenuPopupForm* second = TReportMenuPopupForm::Instance(&screen.window);
    QCOMPARE(second, first);
    QCOMPARE(TReportMenuPopupForm::Existing(), first);
    QCOMPARE(screen.window.findChildren<TReportMenuPopupForm*>().size(), 1);
    QCOMPARE(first->parentWidget(), &screen.window);
}

void TestPopupMenus::reportMenuItems()
{
    TFakeSalesScreen screen;
    TReportMenuPopupForm* menu = TReportMenuPopupForm::Instance(&screen.window);
    menu->SetSalesScreen(&screen.window, {screen.Handler(0, menu), screen.Handler(1, menu)});
    menu->DropDown(&screen.button);
    Release(*menu, ItemCentre(*menu, 1));
    menu->DropDown(&screen.button);
    List(*menu)->setCurrentRow(0);
    QTest::keyClick(List(*menu), Qt::Key_Return);
    QCOMPARE(screen.runs, (QList<int>{1, 0}));
    QCOMPARE(screen.closedWhenRun, (QList<bool>{true, true}));
}

QTEST_MAIN(TestPopupMenus)
#include "tst_PopupMenus.moc"
