#include "core/AppPaths.h"
#include "core/AppSettingsManager.h"
#include "core/SessionManager.h"
#include "printing/PrintService.h"
#include "support/DialogTestHooks.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/FittedText.h"
#include "ui/Glyphs.h"
#include "ui/MainPOSForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {
const QString kWater = "8690000000001";
const QString kCola = "8690000000002";

QStringList RowTexts(const QTableWidget* grid, int row)
{
    QStringList texts;
    for (int col = 0; col < grid->columnCount(); ++col)
        texts << (grid->item(row, col) ? grid->item(row, col)->text() : QString());
    return texts;
}

// Types like a keyboard or a wedge scanner: every key goes to whatever has the focus now.
void TypeKeys(QWidget* window, const QString& text)
{
    for (const QChar c : text) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(target, c.toLatin1());
    }
}

void PressEnter(QWidget* window)
{
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, Qt::Key_Return);
}
} // namespace

// The sales screen on a real SQLite shop, its dialogs and the payment window answered through
// the test hook.
class TestMainPOSForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void controls();
    void layoutFollowsWidth_data();
    void layoutFollowsWidth();
    void shiftLabel();
    void keyRouting_data();
    void keyRouting();
    void shortcutsTypeNothing();
    void enterAddsLine();
    void scanShapesThroughScreen_data();
    void scanShapesThroughScreen();
    void weightPromptThroughScreen();
    void largeQuantityAsksFirst();
    void notFoundClosesByItselfAndEmptiesField();
    void refusalKeepsCode();
    void emptyField();
    void payPanel();
    void payRefusals();
    void quantityEntry_data();
    void quantityEntry();
    void discountEntry_data();
    void discountEntry();
    void rowActionsNeedLine();
    void deleteAndClear();
    void wholeSale();
    void changeShownUntilTheNextScan();
    void cancelledPaymentKeepsCart();
    void failedSaleKeepsCart();
    void escapeDoesNotClose();
    void logout();
    void closingWithLinesAsksFirst();
    void scanCutsNotFoundMessageShort();
    void scanCutsSaleNoticeShort();
    void markupInNamesShownAsText();
    void unreadableEntryChangesNothing_data();
    void unreadableEntryChangesNothing();
    void cartColumnsFit_data();
    void cartColumnsFit();
    void changedLineIsSelectedAndInView();
    void amountsInTheMoneyFormat();

private:
    void NewForm();
    void Scan(const QString& code);

    std::unique_ptr<TShopFixture> FShop;
    template <typename T> T* Find(const char* name) { return Named<T>(FForm.get(), name); }

    std::unique_ptr<TfrmMainPOS> FForm;
};

void TestMainPOSForm::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
}

void TestMainPOSForm::init()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->AddProduct("SU 0,5 L", kWater, 10, 10, 100);
    FShop->AddProduct("KOLA 1 L", kCola, 36, 20, 50);
    FShop->AddProduct("DOMATES", "12345", 25, 1, 50, true);
    const int battery = FShop->AddProduct("KALEM PIL", "8690000000003", 50, 20);
    FShop->Exec(QString("UPDATE Stok SET IsActive = 0 WHERE StokID = %1").arg(battery));
    FShop->LoginCashier();
    QDir(AppPaths::ReportsFolder()).removeRecursively();
}

void TestMainPOSForm::cleanup()
{
    FForm.reset();
    FShop.reset();
    TSessionManager::Instance().Logout();
}

void TestMainPOSForm::NewForm()
{
    FForm = std::make_unique<TfrmMainPOS>();
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

void TestMainPOSForm::Scan(const QString& code)
{
    Find<QLineEdit>("edtBarkod")->setFocus();
    Find<QLineEdit>("edtBarkod")->setText(code);
    PressEnter(FForm.get());
}

void TestMainPOSForm::controls()
{
    NewForm();
    TfrmMainPOS& form = *FForm;
    QCOMPARE(form.windowTitle(), QString("KIRVELO - Satış Ekranı"));
    QCOMPARE(Find<QLabel>("lblTitle")->text(), QString("KIRVELO - Satış Ekranı"));
    QCOMPARE(Find<QLabel>("lblUser")->text(),
             QString("Kullanıcı : KASA SORUMLUSU (Kasiyer)  |  Şube : MERKEZ"));
    QCOMPARE(Find<QWidget>("pnlTop")->height(), 80);
    QCOMPARE(Find<QWidget>("pnlTop")->palette().color(QPalette::Window), QColor("#1A3A5F"));
    QVERIFY(Find<QLabel>("lblMusteri")->isHidden());
    QCOMPARE(Find<QLineEdit>("edtBarkod")->placeholderText(),
             QString("Barkod okutunuz veya klavyeden giriniz..."));
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());
    QCOMPARE(Find<TPOSButton>("btnStokSec")->text(), QString("Seç"));
    QCOMPARE(Find<TPOSButton>("btnStokSec")->width(), 88);
    QCOMPARE(Find<TPOSButton>("btnStokSec")->Look().Fill, QColor("#145CA8"));
    QCOMPARE(Find<QLabel>("lblBarkod")->text(), QString("Hızlı Barkod Girişi"));
    QCOMPARE(Find<QLabel>("lblBarkodOkuText")->text(), QString("Barkodu Ekle"));
    QCOMPARE(Find<TPOSButton>("btnBarkodOku")->height(), 42);
    QCOMPARE(Find<QWidget>("pnlControlArea")->height(), 450);
    QCOMPARE(Find<QWidget>("pnlActions")->height(), 100);
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->height(), 50);
    QCOMPARE(Find<QLabel>("lblMiktarDegistirText")->text(), QString("Miktar Düzenle"));
    QCOMPARE(Find<QLabel>("lblIndirimYapText")->text(), QString("İndirim Uygula"));
    QCOMPARE(Find<QLabel>("lblSatirSilText")->text(), QString("Satırı Sil"));
    QCOMPARE(Find<QLabel>("lblTemizleText")->text(), QString("Sepeti Temizle"));
    QCOMPARE(Find<TGlyphLabel>("lblMiktarDegistirIcon")->Glyph(), TGlyph::Edit);
    QCOMPARE(Find<TGlyphLabel>("lblTemizleIcon")->Glyph(), TGlyph::Cart);
    QCOMPARE(Find<QLabel>("lblAraToplam")->text(), QString("Ara Toplam:"));
    QCOMPARE(Find<QLabel>("lblGenelToplam")->text(), QString("Genel Toplam:"));
    for (const char* total :
         {"lblAraToplam_Value", "lblKDV_Value", "lblIndirim_Value", "lblGenelToplam_Value"})
        QCOMPARE(Find<QLabel>(total)->text(), QString("0,00 TL"));

    const QList<TPOSButton*> header{
        Find<TPOSButton>("btnMusteriSec"),    Find<TPOSButton>("btnIade"),
        Find<TPOSButton>("btnHesapMakinesi"), Find<TPOSButton>("btnMenuVardiya"),
        Find<TPOSButton>("btnMenuRapor"),     Find<TPOSButton>("btnMenuSatislar"),
        Find<TPOSButton>("btnParametreler"),  Find<TPOSButton>("btnLogout")};
    const QStringList captions{"Müşteri", "İade",     "Hesap",   "Vardiya",
                               "Rapor",   "Satışlar", "Ayarlar", "Çıkış"};
    for (int i = 0; i < header.size(); ++i) {
        QCOMPARE(header.at(i)->text(), captions.at(i));
        QCOMPARE(header.at(i)->size(), QSize(124, 80));
        QCOMPARE(header.at(i)->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(Find<TPOSButton>("btnMenuSatislar")->objectName(), QString("btnMenuSatislar"));

    QCOMPARE(Find<QTableWidget>("gridCart")->columnCount(), 7);
    QStringList titles;
    for (int col = 0; col < 7; ++col)
        titles << Find<QTableWidget>("gridCart")->horizontalHeaderItem(col)->text();
    QCOMPARE(titles, (QStringList{"#", "Ürün Adı", "Miktar", "Birim Fiyat", "İndirim %", "KDV %",
                                  "Toplam"}));
    QVERIFY(Find<QTableWidget>("gridCart")->isColumnHidden(0));
    QCOMPARE(Find<QTableWidget>("gridCart")->verticalHeader()->defaultSectionSize(), 34);
    QVERIFY(Find<QTableWidget>("gridCart")->columnWidth(6) >= 90);
}

void TestMainPOSForm::layoutFollowsWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("cartWidth");
    QTest::newRow("1000") << 1000 << 520;
    QTest::newRow("1600") << 1600 << 544;
    QTest::newRow("2000") << 2000 << 650;
}

void TestMainPOSForm::layoutFollowsWidth()
{
    QFETCH(int, width);
    QFETCH(int, cartWidth);
    NewForm();
    FForm->showNormal();
    FForm->resize(width, 752);
    FForm->FormResize();
    QCOMPARE(Find<QWidget>("pnlLeft")->width(), cartWidth);
    QCOMPARE(Find<QWidget>("pnlCenter")->x(), cartWidth);
    QCOMPARE(Find<TPOSButton>("btnLogout")->x(), width - 132);
    QCOMPARE(Find<TPOSButton>("btnMusteriSec")->x(), width - 132 - 7 * 124);
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->width(), cartWidth - 20);
}

void TestMainPOSForm::shiftLabel()
{
    FShop->Exec(QString("UPDATE Vardiya SET KapanisZamani = GETDATE() WHERE VardiyaID = %1")
                    .arg(FShop->VardiyaID()));
    NewForm();
    QCOMPARE(Find<QLabel>("lblVardiya")->text(), QString("Vardiya: Kapalı"));
    QCOMPARE(FForm->VardiyaID(), -1);
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().VardiyaAcik, false);

    const int shift = FShop->OpenShift();
    FForm->LoadOpenShift();
    QCOMPARE(Find<QLabel>("lblVardiya")->text(), QString("Vardiya: Açık (ID: %1)").arg(shift));
    QCOMPARE(FForm->VardiyaID(), shift);
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().VardiyaID, shift);
    QVERIFY(TSessionManager::Instance().GetSessionInfo().VardiyaAcik);
}

void TestMainPOSForm::keyRouting_data()
{
    QTest::addColumn<QString>("focus"); // the control that has the focus before typing
    QTest::addColumn<QString>("typed"); // already in the barcode field
    QTest::newRow("cart grid") << "gridCart"
                               << "";
    QTest::newRow("window") << ""
                            << "";
    QTest::newRow("barcode field") << "edtBarkod"
                                   << "";
    QTest::newRow("cart grid, field holds the start") << "gridCart"
                                                      << "86";
}

void TestMainPOSForm::keyRouting()
{
    QFETCH(QString, focus);
    QFETCH(QString, typed);
    NewForm();
    TfrmMainPOS& form = *FForm;
    Find<QLineEdit>("edtBarkod")->setText(typed);
    Find<QLineEdit>("edtBarkod")->setCursorPosition(0);
    if (focus.isEmpty() && form.focusWidget())
        form.focusWidget()->clearFocus();
    else if (!focus.isEmpty())
        form.findChild<QWidget*>(focus)->setFocus();

    TypeKeys(&form, QString("8690").mid(typed.size()));
    QCOMPARE(Find<QLineEdit>("edtBarkod")->text(), QString("8690"));
    QCOMPARE(form.focusWidget(), Find<QLineEdit>("edtBarkod"));
    QCOMPARE(form.Cart().Count(), 0);
    TypeKeys(&form, "000000001");
    QCOMPARE(Find<QLineEdit>("edtBarkod")->cursorPosition(), 13);
    PressEnter(&form);
    QCOMPARE(form.Cart().Count(), 1);
    QCOMPARE(form.Cart().Items(0).Barkod(), kWater);
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());
}

void TestMainPOSForm::shortcutsTypeNothing()
{
    NewForm();
    TfrmMainPOS& form = *FForm;
    Find<QTableWidget>("gridCart")->setFocus();
    // The calculator and the product search open; each is closed at once.
    TDialogAnswers answers;
    answers.Step([](QDialog& calculator) { calculator.reject(); }).Step([](QDialog& search) {
        search.reject();
    });
    QTest::keyClick(Find<QTableWidget>("gridCart"), Qt::Key_H, Qt::ControlModifier);
    QTest::keyClick(form.focusWidget(), Qt::Key_F8);
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(answers.Shown().at(0).Form, QString("TfrmCalculator"));
    QCOMPARE(answers.Shown().at(1).Form, QString("TfrmProductSelect"));
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());
    QCOMPARE(form.focusWidget(), Find<QLineEdit>("edtBarkod"));

    // A letter outside ASCII moves the focus but is left to the control that received it.
    Find<QTableWidget>("gridCart")->setFocus();
    QKeyEvent turkish(QEvent::KeyPress, 0, Qt::NoModifier, QString("ş"));
    QApplication::sendEvent(Find<QTableWidget>("gridCart"), &turkish);
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());
    QCOMPARE(form.focusWidget(), Find<QLineEdit>("edtBarkod"));
}

void TestMainPOSForm::enterAddsLine()
{
    NewForm();
    TfrmMainPOS& form = *FForm;
    Scan(kCola);
    Scan(kCola);
    Scan(kWater);
    QCOMPARE(form.Cart().Count(), 2);
    QCOMPARE(Find<QTableWidget>("gridCart")->rowCount(), 2);
    QCOMPARE(RowTexts(Find<QTableWidget>("gridCart"), 0),
             (QStringList{"1", "KOLA 1 L", "2,000 ADET", "30,00 TL", "0,00", "20,00", "72,00 TL"}));
    QCOMPARE(RowTexts(Find<QTableWidget>("gridCart"), 1),
             (QStringList{"2", "SU 0,5 L", "1,000 ADET", "9,09 TL", "0,00", "10,00", "10,00 TL"}));
    QCOMPARE(Find<QLabel>("lblGenelToplam_Value")->text(), QString("82,00 TL"));
    QCOMPARE(Find<QLabel>("lblAraToplam_Value")->text(), QString("69,09 TL"));
    QCOMPARE(Find<QLabel>("lblKDV_Value")->text(), QString("12,91 TL"));
    QCOMPARE(Find<QLabel>("lblIndirim_Value")->text(), QString("0,00 TL"));
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());

    // The button and the typed code do the same.
    Find<QLineEdit>("edtBarkod")->setText("  " + kWater + " ");
    Find<TPOSButton>("btnBarkodOku")->click();
    QCOMPARE(form.Cart().Items(1).Miktar(), 2.0);
}

void TestMainPOSForm::scanShapesThroughScreen_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("quantity");
    QTest::newRow("scale label") << "2712345012508"
                                 << "1,250 KG";
    QTest::newRow("n*code") << "3*" + kWater << "3,000 ADET";
    QTest::newRow("decimal n*code") << "2,5*" + kWater << "2,500 ADET";
}

void TestMainPOSForm::scanShapesThroughScreen()
{
    QFETCH(QString, code);
    QFETCH(QString, quantity);
    TDialogAnswers answers;
    NewForm();
    Scan(code);
    QCOMPARE(answers.Count(), 0);
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(Find<QTableWidget>("gridCart")->item(0, 2)->text(), quantity);
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());
}

void TestMainPOSForm::weightPromptThroughScreen()
{
    TDialogAnswers answers;
    NewForm();
    answers.Input("0,75");
    Scan("12345");
    QCOMPARE(answers.Last().Form, QString("TfrmCustomInput"));
    QCOMPARE(answers.Last().Title, QString("Tartım"));
    QCOMPARE(answers.Last().Text, QString("DOMATES Miktarı (KG):"));
    QCOMPARE(answers.Last().DefaultValue, QString("1"));
    QCOMPARE(Find<QTableWidget>("gridCart")->item(0, 2)->text(), QString("0,750 KG"));

    answers.Input("0");
    Scan("12345");
    QCOMPARE(answers.Last().Text, QString("Geçersiz miktar!"));
    QCOMPARE(Find<QLineEdit>("edtBarkod")->text(), QString("12345"));
    answers.Cancel();
    Scan("12345");
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(Find<QLineEdit>("edtBarkod")->text(), QString("12345"));
}

// A quantity above its bound asks "Miktar Onayı" before it enters the cart, on the scan, the
// weight prompt and the quantity change; one above the hard limit is refused outright.
void TestMainPOSForm::largeQuantityAsksFirst()
{
    TDialogAnswers answers;
    NewForm();
    Scan("10.000*" + kWater); // the confirmation gets the safe answer: no
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Miktar Onayı"));
    QCOMPARE(answers.Last().Text,
             QString("Yüksek miktar: 10.000 ADET SU 0,5 L. Devam edilsin mi?"));
    QCOMPARE(answers.Last().DlgType, int(dtConfirmation));
    QCOMPARE(FForm->Cart().Count(), 0);
    QCOMPARE(Find<QLineEdit>("edtBarkod")->text(), "10.000*" + kWater);

    answers.Ok();
    PressEnter(FForm.get());
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(Find<QTableWidget>("gridCart")->item(0, 2)->text(), QString("10000,000 ADET"));
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());

    Scan("99999999999*" + kCola);
    QCOMPARE(answers.Count(), 3);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Miktar çok yüksek: 99.999.999.999 ADET KOLA 1 L. Bir "
                                          "satırda en fazla 1.000.000 olabilir."));
    QCOMPARE(FForm->Cart().Count(), 1);

    answers.Input("5000").Ok();
    Scan("12345");
    QCOMPARE(answers.Count(), 5);
    QCOMPARE(answers.Shown().at(3).Title, QString("Tartım"));
    QCOMPARE(answers.Last().Text, QString("Yüksek miktar: 5.000 KG DOMATES. Devam edilsin mi?"));
    QCOMPARE(FForm->Cart().Count(), 2);
    QCOMPARE(FForm->Cart().Items(1).Miktar(), 5000.0);

    FForm->SelectLine(0);
    answers.Input("2.000.000");
    FForm->btnMiktarDegistirClick();
    QCOMPARE(answers.Last().Text, QString("Miktar çok yüksek: 2.000.000 ADET SU 0,5 L. Bir "
                                          "satırda en fazla 1.000.000 olabilir."));
    QCOMPARE(FForm->Cart().Items(0).Miktar(), 10000.0);
}

void TestMainPOSForm::notFoundClosesByItselfAndEmptiesField()
{
    TDialogAnswers answers;
    NewForm();
    Scan("8690000009999");
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Barkod bulunamadı: 8690000009999"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(answers.Last().AutoCloseMs, 3000);
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());
    QCOMPARE(FForm->focusWidget(), Find<QLineEdit>("edtBarkod"));

    TAppSettingsManager::SetValue("BarcodeNotFoundMessageSeconds", "90", "");
    Scan("*" + kWater);
    QCOMPARE(answers.Last().Text, QString("Barkod bulunamadı: *" + kWater));
    QCOMPARE(answers.Last().AutoCloseMs, 60000);
    QCOMPARE(FForm->Cart().Count(), 0);
}

void TestMainPOSForm::refusalKeepsCode()
{
    TDialogAnswers answers;
    NewForm();
    Scan("8690000000003");
    QCOMPARE(answers.Last().Text, QString("Ürün satışa kapalı: KALEM PIL"));
    QCOMPARE(answers.Last().AutoCloseMs, 0);
    QCOMPARE(Find<QLineEdit>("edtBarkod")->text(), QString("8690000000003"));
    QCOMPARE(FForm->Cart().Count(), 0);
}

void TestMainPOSForm::emptyField()
{
    TDialogAnswers answers;
    NewForm();
    Scan("   ");
    QCOMPARE(answers.Last().Text, QString("Barkod giriniz!"));
    QCOMPARE(answers.Last().Title, QString("Hata"));
}

void TestMainPOSForm::payPanel()
{
    FShop->Exec(QString("UPDATE Vardiya SET KapanisZamani = GETDATE() WHERE VardiyaID = %1")
                    .arg(FShop->VardiyaID()));
    NewForm();
    TfrmMainPOS& form = *FForm;
    QVERIFY(!Find<TPOSButton>("btnOdemeAl")->isEnabled());
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->text(), QString("ÖDEME AL"));
    QVERIFY(!Find<TPOSButton>("btnTemizle")->isEnabled());
    QVERIFY(!Find<TPOSButton>("btnMiktarDegistir")->isEnabled());
    QVERIFY(!Find<QLabel>("lblMiktarDegistirText")->isEnabled());

    Scan(kCola);
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->text(), QString("Ödeme Al  -  36,00 TL"));
    QVERIFY(!Find<TPOSButton>("btnOdemeAl")->isEnabled());
    QVERIFY(Find<TPOSButton>("btnTemizle")->isEnabled());
    QVERIFY(Find<TPOSButton>("btnSatirSil")->isEnabled());
    QVERIFY(Find<QLabel>("lblSatirSilText")->isEnabled());
    QCOMPARE(Find<TGlyphLabel>("lblSatirSilIcon")->Color(), QColor("#145CA8"));

    FShop->OpenShift();
    form.LoadOpenShift();
    QVERIFY(Find<TPOSButton>("btnOdemeAl")->isEnabled());
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->Look().Fill, QColor("#145CA8"));
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->Look().FillDisabled, QColor("#E7EDF5"));
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->Look().TextDisabled, QColor("#5C6B7E"));
}

void TestMainPOSForm::payRefusals()
{
    FShop->Exec(QString("UPDATE Vardiya SET KapanisZamani = GETDATE() WHERE VardiyaID = %1")
                    .arg(FShop->VardiyaID()));
    TDialogAnswers answers;
    NewForm();
    FForm->btnOdemeAlClick();
    QCOMPARE(answers.Last().Text, QString("Sepet boş!"));
    Scan(kWater);
    FForm->btnOdemeAlClick();
    QCOMPARE(answers.Last().Text, QString("Vardiya açık değil!"));
    QCOMPARE(answers.Count(), 2);
}

void TestMainPOSForm::quantityEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<double>("quantity"); // -1: refused
    QTest::newRow("comma") << "2,5" << 2.5;
    QTest::newRow("point") << "2.5" << 2.5;
    QTest::newRow("zero") << "0" << -1.0;
    QTest::newRow("negative") << "-1" << -1.0;
    QTest::newRow("not a number") << "abc" << -1.0;
    QTest::newRow("letters around a number") << "abc-1e5" << -1.0;
}

void TestMainPOSForm::quantityEntry()
{
    QFETCH(QString, entry);
    QFETCH(double, quantity);
    TDialogAnswers answers;
    NewForm();
    Scan(kWater);
    Scan(kCola);
    FForm->SelectLine(1);
    answers.Input(entry);
    FForm->btnMiktarDegistirClick();
    const TShownDialog prompt = answers.Shown().at(answers.Count() - (quantity < 0 ? 2 : 1));
    QCOMPARE(prompt.Title, QString("Miktar Değiştir"));
    QCOMPARE(prompt.Text, QString("Yeni miktar:"));
    QCOMPARE(prompt.DefaultValue, QString("1"));
    if (quantity < 0) {
        QCOMPARE(answers.Last().Text, QString("Geçersiz miktar!"));
        QCOMPARE(FForm->Cart().Items(1).Miktar(), 1.0);
        return;
    }
    QCOMPARE(FForm->Cart().Items(1).Miktar(), quantity);
    QCOMPARE(FForm->Cart().Items(0).Miktar(), 1.0);
    QCOMPARE(Find<QTableWidget>("gridCart")->item(1, 2)->text(), QString("2,500 ADET"));

    // The prompt offers the line's quantity as typed on this workstation.
    answers.Cancel();
    FForm->btnMiktarDegistirClick();
    QCOMPARE(answers.Last().DefaultValue, QString("2,5"));
    QCOMPARE(FForm->Cart().Items(1).Miktar(), 2.5);
}

void TestMainPOSForm::discountEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<double>("discount"); // -1: refused
    QTest::newRow("100") << "100" << 100.0;
    QTest::newRow("12,5") << "12,5" << 12.5;
    QTest::newRow("100.01") << "100.01" << -1.0;
    QTest::newRow("-1") << "-1" << -1.0;
}

void TestMainPOSForm::discountEntry()
{
    QFETCH(QString, entry);
    QFETCH(double, discount);
    TDialogAnswers answers;
    NewForm();
    Scan(kCola);
    answers.Input(entry);
    FForm->btnIndirimYapClick();
    if (discount < 0) {
        QCOMPARE(answers.Last().Text, QString("Geçersiz indirim oranı!"));
        QCOMPARE(FForm->Cart().Items(0).IndirimOrani(), 0.0);
        return;
    }
    QCOMPARE(answers.Shown().first().Title, QString("İndirim Yap"));
    QCOMPARE(answers.Shown().first().Text, QString("İndirim oranı (%):"));
    QCOMPARE(answers.Shown().first().DefaultValue, QString("0"));
    QCOMPARE(FForm->Cart().Items(0).IndirimOrani(), discount);
    QCOMPARE(Find<QTableWidget>("gridCart")->item(0, 4)->text(),
             QString::number(discount, 'f', 2).replace('.', ','));
    QCOMPARE(Find<QLabel>("lblGenelToplam_Value")->text(),
             discount == 100 ? QString("0,00 TL") : QString("31,50 TL"));
}

void TestMainPOSForm::rowActionsNeedLine()
{
    TDialogAnswers answers;
    NewForm();
    FForm->btnMiktarDegistirClick();
    QCOMPARE(answers.Last().Text, QString("Satır seçiniz!"));
    FForm->btnIndirimYapClick();
    QCOMPARE(answers.Last().Text, QString("Satır seçiniz!"));
    FForm->btnSatirSilClick();
    QCOMPARE(answers.Last().Text, QString("Silinecek satırı seçiniz!"));
    QCOMPARE(answers.Count(), 3);
}

void TestMainPOSForm::deleteAndClear()
{
    TDialogAnswers answers;
    NewForm();
    Scan(kWater);
    Scan(kCola);
    FForm->SelectLine(0);
    answers.Cancel();
    FForm->btnSatirSilClick();
    QCOMPARE(answers.Last().Title, QString("Satır Sil"));
    QCOMPARE(answers.Last().Text, QString("Seçili satırı silmek istediğinizden emin misiniz?"));
    QCOMPARE(FForm->Cart().Count(), 2);
    answers.Ok();
    FForm->btnSatirSilClick();
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(FForm->Cart().Items(0).Barkod(), kCola);
    QCOMPARE(Find<QTableWidget>("gridCart")->rowCount(), 1);

    FForm->btnTemizleClick();
    QCOMPARE(answers.Last().Title, QString("Sepeti Temizle"));
    QCOMPARE(answers.Last().Text, QString("Sepeti temizlemek istediğinizden emin misiniz?"));
    QCOMPARE(FForm->Cart().Count(), 1);
    answers.Ok();
    FForm->btnTemizleClick();
    QCOMPARE(FForm->Cart().Count(), 0);
    QCOMPARE(Find<QTableWidget>("gridCart")->rowCount(), 1);
    QVERIFY(Find<QTableWidget>("gridCart")->item(0, 1)->text().isEmpty());
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->text(), QString("ÖDEME AL"));
    QVERIFY(!Find<TPOSButton>("btnTemizle")->isEnabled());
}

void TestMainPOSForm::wholeSale()
{
    TDialogAnswers answers;
    NewForm();
    Scan("2*" + kCola);
    Scan(kWater);
    answers.Pay("100", "0");
    FForm->btnOdemeAlClick();

    const TShownDialog payment = answers.Shown().at(0);
    QCOMPARE(payment.Form, QString("TfrmPayment"));
    QCOMPARE(payment.Amount, QString("82,00 TL"));
    const TShownDialog notice = answers.Last();
    QCOMPARE(notice.Form, QString("TfrmSaleSuccessDialog"));
    QCOMPARE(notice.Text, QString("FIS-1"));
    QCOMPARE(notice.Amount, QString("82,00 TL"));
    QCOMPARE(notice.Payment, QString("NAKİT"));
    QCOMPARE(notice.AutoCloseMs, 3000);
    QCOMPARE(answers.Count(), 2);

    QCOMPARE(FShop->Count("SatisFis WHERE FisNo = 'FIS-1' AND OdemeTipi = 'NAKIT'"), 1);
    QCOMPARE(FShop->Count("SatisFisSatir WHERE FisID = 1"), 2);
    QCOMPARE(FShop->Scalar("SELECT Tutar FROM SatisOdeme WHERE FisID = 1").toDouble(), 82.0);
    QFile receipt(AppPaths::ReportsFolder() + "Receipt_FIS-1.txt");
    QVERIFY(receipt.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(receipt.readAll()).contains("KOLA 1 L"));
    QCOMPARE(FForm->Cart().Count(), 0);
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->text(), QString("ÖDEME AL"));
    QVERIFY(!Find<TPOSButton>("btnOdemeAl")->isEnabled());
    QCOMPARE(Find<QLabel>("lblGenelToplam_Value")->text(), QString("0,00 TL"));

    TAppSettingsManager::SetValue("SaleSuccessMessageSeconds", "0", "");
    Scan(kWater);
    answers.Pay("0", "10");
    FForm->btnOdemeAlClick();
    QCOMPARE(answers.Last().Text, QString("FIS-2"));
    QCOMPARE(answers.Last().Payment, QString("KART"));
    QCOMPARE(answers.Last().AutoCloseMs, 1000);
}

// The cashier hands the change over after the sale notice has closed: the totals area shows the
// receipt, the cash handed over and the change until the next line enters the cart, and the
// receipt keeps them, printed again the same.
void TestMainPOSForm::changeShownUntilTheNextScan()
{
    TDialogAnswers answers;
    NewForm();
    const auto shownRows = [this] {
        QStringList rows;
        for (int i = 1; i <= 4; ++i) {
            const QLabel* caption =
                Find<QLabel>(qPrintable(QString("lblLastSaleCaption%1").arg(i)));
            if (caption->isVisible())
                rows << caption->text() + ' ' +
                            Find<QLabel>(qPrintable(QString("lblLastSaleValue%1").arg(i)))->text();
        }
        return rows;
    };
    QVERIFY(!Find<QWidget>("pnlLastSale")->isVisible());
    Scan("2*" + kCola);
    Scan(kWater);
    answers.Pay("100", "0");
    FForm->btnOdemeAlClick();
    QVERIFY(Find<QWidget>("pnlLastSale")->isVisible());
    QVERIFY(!Find<QWidget>("pnlTotals")->isVisible());
    QCOMPARE(shownRows(),
             QStringList({"Fiş: FIS-1  82,00 TL", "Verilen: 100,00 TL", "Para Üstü: 18,00 TL"}));

    QFile file(AppPaths::ReportsFolder() + "Receipt_FIS-1.txt");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString printed = QString::fromUtf8(bytes);
    QVERIFY2(printed.contains(QString("VERILEN NAKIT").leftJustified(34) + "     100,00 TL\r\n" +
                              QString("PARA USTU").leftJustified(34) + "      18,00 TL\r\n"),
             qPrintable(printed));
    QStringList again;
    QString fisNo;
    QVERIFY(TPrintService::BuildSaleReceipt(1, again, fisNo));
    QCOMPARE(bytes, "\xEF\xBB\xBF" + QString(again.join("\r\n") + "\r\n").toUtf8());

    // A code that adds nothing leaves the change on the screen; the next line clears it.
    Scan("8690000009999");
    QVERIFY(Find<QWidget>("pnlLastSale")->isVisible());
    Scan(kWater);
    QVERIFY(!Find<QWidget>("pnlLastSale")->isVisible());
    QVERIFY(Find<QWidget>("pnlTotals")->isVisible());
    QCOMPARE(Find<QLabel>("lblGenelToplam_Value")->text(), QString("10,00 TL"));

    // Split: the card part too; a card sale has no change to show.
    answers.Pay("50", "2");
    FForm->btnOdemeAlClick();
    QCOMPARE(shownRows(), QStringList({"Fiş: FIS-2  10,00 TL", "Kart: 2,00 TL", "Verilen: 50,00 TL",
                                       "Para Üstü: 42,00 TL"}));
    Scan(kWater);
    answers.Pay("0", "10");
    FForm->btnOdemeAlClick();
    QVERIFY(!Find<QWidget>("pnlLastSale")->isVisible());
    QVERIFY(Find<QWidget>("pnlTotals")->isVisible());
}

void TestMainPOSForm::cancelledPaymentKeepsCart()
{
    TDialogAnswers answers;
    NewForm();
    Scan(kCola);
    answers.Cancel();
    FForm->btnOdemeAlClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(FShop->Count("SatisFis"), 0);
}

void TestMainPOSForm::failedSaleKeepsCart()
{
    TDialogAnswers answers;
    NewForm();
    Scan(kCola);
    // Closed on another till after this screen found it open.
    FShop->Exec(QString("UPDATE Vardiya SET KapanisZamani = GETDATE() WHERE VardiyaID = %1")
                    .arg(FShop->VardiyaID()));
    answers.Ok();
    FForm->btnOdemeAlClick();
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Satış hatası: Vardiya kapalı veya bulunamadı."));
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(FShop->Count("SatisFis"), 0);
    QVERIFY(!QFile::exists(AppPaths::ReportsFolder() + "Receipt_FIS-1.txt"));
}

void TestMainPOSForm::escapeDoesNotClose()
{
    NewForm();
    Find<QTableWidget>("gridCart")->setFocus();
    QTest::keyClick(Find<QTableWidget>("gridCart"), Qt::Key_Escape);
    QTest::keyClick(FForm.get(), Qt::Key_Escape);
    QVERIFY(FForm->isVisible());
}

void TestMainPOSForm::logout()
{
    TDialogAnswers answers;
    NewForm();
    FForm->btnLogoutClick();
    QCOMPARE(answers.Last().Title, QString("Programdan Çıkış"));
    QCOMPARE(answers.Last().Text, QString("Programdan çıkmak istediğinizden emin misiniz?"));
    QVERIFY(FForm->isVisible());
    QVERIFY(TSessionManager::Instance().GetIsLoggedIn());
    answers.Ok();
    FForm->btnLogoutClick();
    QVERIFY(!FForm->isVisible());
    QCOMPARE(FForm->result(), int(QDialog::Rejected));
    QVERIFY(!TSessionManager::Instance().GetIsLoggedIn());
}

// Alt+F4 or the window's close asks first when the cart holds lines, as "Çıkış" does; with
// an empty cart the window closes at once.
void TestMainPOSForm::closingWithLinesAsksFirst()
{
    TDialogAnswers answers;
    NewForm();
    Scan(kCola);
    answers.Cancel();
    QVERIFY(!FForm->close());
    QCOMPARE(answers.Last().Title, QString("Programdan Çıkış"));
    QCOMPARE(answers.Last().Text, QString("Programdan çıkmak istediğinizden emin misiniz?"));
    QVERIFY(FForm->isVisible());
    QCOMPARE(FForm->Cart().Count(), 1);
    answers.Ok();
    QVERIFY(FForm->close());
    QVERIFY(!FForm->isVisible());
    QVERIFY(!TSessionManager::Instance().GetIsLoggedIn());

    FShop->LoginCashier();
    NewForm();
    const int asked = answers.Count();
    QVERIFY(FForm->close());
    QCOMPARE(answers.Count(), asked);
}

// A scan that follows an unknown code at once arrives while "Barkod bulunamadı" is shown: its
// digits close the message and land in the barcode field, its Enter adds the line.
void TestMainPOSForm::scanCutsNotFoundMessageShort()
{
    TAppSettingsManager::SetValue("BarcodeNotFoundMessageSeconds", "30", "");
    NewForm();
    QApplication::setActiveWindow(FForm.get());
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    QString shown;
    WhenModalOpens([&shown](QWidget* modal) {
        shown = Child<QLabel>(modal, "lblMessage")->text();
        QTest::keyClicks(modal, kCola);
        QTest::keyClick(modal, Qt::Key_Return);
    });
    Scan("8690000009999");
    QCOMPARE(shown, QString("Barkod bulunamadı: 8690000009999"));
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(FForm->Cart().Items(0).Barkod(), kCola);
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());
    QCOMPARE(FForm->focusWidget(), Find<QLineEdit>("edtBarkod"));
}

void TestMainPOSForm::scanCutsSaleNoticeShort()
{
    TDialogAnswers answers;
    NewForm();
    QApplication::setActiveWindow(FForm.get());
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    Scan(kWater);
    answers.Pay("10", "0");
    answers.Step([](QDialog& notice) {
        QTest::keyClicks(&notice, kCola);
        QTest::keyClick(&notice, Qt::Key_Return);
    });
    FForm->btnOdemeAlClick();
    QCOMPARE(answers.Last().Form, QString("TfrmSaleSuccessDialog"));
    QCOMPARE(FShop->Count("SatisFis"), 1);
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(FForm->Cart().Items(0).Barkod(), kCola);
    QVERIFY(Find<QLineEdit>("edtBarkod")->text().isEmpty());
}

// Names from the database are shown as they are written, never read as markup.
void TestMainPOSForm::markupInNamesShownAsText()
{
    const QString markup = "<b>X</b><img src=x.png>";
    auto showsAsWritten = [](const QLabel* label, const QString& text) {
        const int written = QFontMetrics(label->font()).horizontalAdvance(text);
        return label->text().contains(text) && label->textFormat() == Qt::PlainText &&
               label->sizeHint().width() >= written;
    };
    TSessionInfo session = TSessionManager::Instance().GetSessionInfo();
    session.AdSoyad = markup;
    TSessionManager::Instance().Login(session);
    FShop->AddProduct(markup, "8690000000077", 25, 1, 50, true);
    TDialogAnswers answers;
    NewForm();
    QVERIFY(showsAsWritten(Find<QLabel>("lblUser"), markup));

    bool promptAsWritten = false;
    // The prompt wraps a long name onto its second line, so only its text and format tell.
    answers.Step([&](QDialog& prompt) {
        const QLabel* label = Child<QLabel>(&prompt, "lblPrompt");
        promptAsWritten = label->text().contains(markup) && label->textFormat() == Qt::PlainText;
        prompt.reject();
    });
    Scan("8690000000077");
    QVERIFY(promptAsWritten);
}

// Input that cannot be read as a number is refused with the prompt's message and leaves the
// line as it was: "xyz" is no discount of 0.
void TestMainPOSForm::unreadableEntryChangesNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::newRow("discount xyz") << "discount"
                                  << "xyz"
                                  << "Geçersiz indirim oranı!";
    QTest::newRow("discount left empty") << "discount"
                                         << ""
                                         << "Geçersiz indirim oranı!";
    QTest::newRow("quantity xyz") << "quantity"
                                  << "xyz"
                                  << "Geçersiz miktar!";
    QTest::newRow("weight xyz") << "weight"
                                << "xyz"
                                << "Geçersiz miktar!";
}

void TestMainPOSForm::unreadableEntryChangesNothing()
{
    QFETCH(QString, action);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    TDialogAnswers answers;
    NewForm();
    Scan(kCola);
    answers.Input("10");
    FForm->btnIndirimYapClick();
    answers.Input("2");
    FForm->btnMiktarDegistirClick();
    QCOMPARE(FForm->Cart().Items(0).IndirimOrani(), 10.0);
    const int shown = answers.Count();

    answers.Input(entry);
    if (action == "discount")
        FForm->btnIndirimYapClick();
    else if (action == "quantity")
        FForm->btnMiktarDegistirClick();
    else
        Scan("12345");
    QCOMPARE(answers.Count(), shown + 2);
    QCOMPARE(answers.Last().Text, message);
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(FForm->Cart().Items(0).IndirimOrani(), 10.0);
    QCOMPARE(FForm->Cart().Items(0).Miktar(), 2.0);
}

// At 1366 x 768 and wider: no amount and no title cut, a 24-character name readable at least to
// its 20th character, and no horizontal scroll bar, even with six-digit quantities.
void TestMainPOSForm::cartColumnsFit_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1366 x 768") << QSize(1366, 768);
    QTest::newRow("1600 x 900") << QSize(1600, 900);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080);
}

void TestMainPOSForm::cartColumnsFit()
{
    QFETCH(QSize, screen);
    const QStringList names{"İçme Suyu Pet Şişe 0,5 L", "Kola Gazlı İçecek 1L Pet",
                            "Domates Salkım Yerli Kg.", "Ayranyayıktipi200mlşişe!"};
    for (int i = 0; i < names.size(); ++i)
        FShop->AddProduct(names.at(i), QString("86911%1").arg(i), 12.5, 20, 10);
    // A shop that sells six-digit quantities raises its bound, so they enter without a question.
    TAppSettingsManager::SetValue("MaxQuantityUnits", "1000000", "");
    NewForm();
    FForm->showNormal();
    FForm->resize(screen);
    FForm->FormResize();
    Scan("100000*869110");
    Scan("3*869111");
    Scan("250000*869112");
    Scan("869113");
    auto* grid = Find<QTableWidget>("gridCart");
    QCOMPARE(grid->rowCount(), 4);
    QVERIFY(!grid->horizontalScrollBar()->isVisible());
    int columns = 0;
    for (int col = 1; col < grid->columnCount(); ++col)
        columns += grid->columnWidth(col);
    QVERIFY2(columns <= grid->viewport()->width(),
             qPrintable(QString("%1 > %2").arg(columns).arg(grid->viewport()->width())));

    QFont numbers = grid->font();
    numbers.setBold(true);
    QFont name = numbers;
    name.setPointSize(name.pointSize() + 2);
    const QFontMetrics numberMetrics(numbers);
    for (int col = 2; col < grid->columnCount(); ++col) {
        const QString title = grid->horizontalHeaderItem(col)->text();
        const QSize titleBox(grid->columnWidth(col) - 4, grid->horizontalHeader()->height() - 4);
        QCOMPARE(TFittedText::Lines(title, numbers, titleBox).join(' '), title);
        for (int row = 0; row < grid->rowCount(); ++row) {
            const QString text = grid->item(row, col)->text();
            const QSize box(grid->columnWidth(col) - 4, grid->rowHeight(row) - 4);
            QCOMPARE(TFittedText::Lines(text, numbers, box).join(' '), text);
            if (col > 2) // amounts on one line
                QVERIFY2(numberMetrics.horizontalAdvance(text) <= box.width(), qPrintable(text));
        }
    }
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QString text = grid->item(row, 1)->text();
        const QSize box(grid->columnWidth(1) - 4, grid->rowHeight(row) - 4);
        QString shown = TFittedText::Lines(text, name, box).join("");
        QString start = text.left(20);
        QVERIFY2(shown.remove(' ').startsWith(start.remove(' ')), qPrintable(shown));
    }
    QCOMPARE(grid->item(0, 2)->text(), QString("100000,000 ADET"));
}

// With more lines than the grid shows, the line just scanned, touched, or given a new quantity
// or a discount is the current line and lies wholly inside the grid's visible area.
void TestMainPOSForm::changedLineIsSelectedAndInView()
{
    QList<int> products;
    for (int i = 0; i < 14; ++i)
        products << FShop->AddProduct(QString("ÜRÜN %1").arg(i),
                                      QString("86922%1").arg(i, 2, 10, QChar('0')), 5 + i, 20, 10);
    TDialogAnswers answers;
    NewForm();
    auto* grid = Find<QTableWidget>("gridCart");
    const auto inView = [grid](int line) {
        const QRect row = grid->visualItemRect(grid->item(line, 1));
        return grid->viewport()->rect().contains(row);
    };
    for (int i = 0; i < products.size(); ++i) {
        Scan(QString("86922%1").arg(i, 2, 10, QChar('0')));
        QCOMPARE(FForm->SelectedLine(), i);
        QVERIFY2(inView(i), qPrintable(QString("line %1 scanned out of view").arg(i)));
    }
    QVERIFY(grid->verticalScrollBar()->maximum() > 0); // more lines than fit
    QVERIFY(!inView(0));

    // The first product scanned again: its line counts one more and comes back into view.
    Scan("8692200");
    QCOMPARE(FForm->Cart().Count(), products.size());
    QCOMPARE(FForm->SelectedLine(), 0);
    QVERIFY(inView(0));

    // A tile of the last product, from the top of the list.
    FForm->ProductTileClick(products.last());
    QCOMPARE(FForm->SelectedLine(), products.size() - 1);
    QVERIFY(inView(products.size() - 1));
    QCOMPARE(FForm->Cart().Items(products.size() - 1).Miktar(), 2.0);

    // A quantity and a discount of a line scrolled out of view bring it back.
    grid->setCurrentCell(3, 1);
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    QVERIFY(!inView(3));
    answers.Input("4");
    FForm->btnMiktarDegistirClick();
    QCOMPARE(FForm->Cart().Items(3).Miktar(), 4.0);
    QCOMPARE(FForm->SelectedLine(), 3);
    QVERIFY(inView(3));
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    QVERIFY(!inView(3));
    answers.Input("10");
    FForm->btnIndirimYapClick();
    QCOMPARE(FForm->Cart().Items(3).IndirimOrani(), 10.0);
    QVERIFY(inView(3));
}

// The totals, the pay button and the cart's amounts read as the dialogs do: "1.367,75 TL".
void TestMainPOSForm::amountsInTheMoneyFormat()
{
    FShop->AddProduct("TELEVİZYON", "8690000000099", 1367.75, 25, 5);
    FShop->AddProduct("KUPON", "8690000000098", 1000, 0, 5);
    NewForm();
    Scan("8690000000099");
    Scan("2*8690000000098");
    auto* grid = Find<QTableWidget>("gridCart");
    QCOMPARE(grid->item(0, 3)->text(), QString("1.094,20 TL"));
    QCOMPARE(grid->item(0, 6)->text(), QString("1.367,75 TL"));
    QCOMPARE(grid->item(1, 6)->text(), QString("2.000,00 TL"));
    QCOMPARE(Find<QLabel>("lblAraToplam_Value")->text(), QString("3.094,20 TL"));
    QCOMPARE(Find<QLabel>("lblKDV_Value")->text(), QString("273,55 TL"));
    QCOMPARE(Find<QLabel>("lblIndirim_Value")->text(), QString("0,00 TL"));
    QCOMPARE(Find<QLabel>("lblGenelToplam_Value")->text(), QString("3.367,75 TL"));
    QCOMPARE(Find<TPOSButton>("btnOdemeAl")->text(), QString("Ödeme Al  -  3.367,75 TL"));
}

QTEST_MAIN(TestMainPOSForm)
#include "tst_MainPOSForm.moc"
