#include "CustomerFixture.h"

#include "core/ErrorLog.h"
#include "customers/CustomerListForm.h"
#include "customers/NewCariCardForm.h"
#include "support/DialogTestHooks.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using CustomerFixture::AddAccount;

namespace {
QStringList Column(const QTableWidget* grid, int col)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << (grid->item(row, col) ? grid->item(row, col)->text() : QString());
    return texts;
}

// Types `text` into the box as the keyboard would (non-ASCII letters arrive as one insertion).
void TypeInto(QWidget* window, const char* name, const QString& text)
{
    auto* edit = Named<QLineEdit>(window, name);
    edit->selectAll();
    edit->insert(text);
}
} // namespace

// The customer list and the customer card as windows, answered through the modal seam.
class TestCustomerForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void listShowsAndFilters();
    void emptyListHasNothingToTake();
    void restoredListKeepsItsFilter();
    void takingARow_data();
    void takingARow();
    void newCustomerFromTheList();
    void cardPagesAndSummary();
    void cardSavesNewAccount();
    void cardRefusalKeepsItOpen_data();
    void cardRefusalKeepsItOpen();
    void cardTellsTheCodeItGot();
    void cardEditsLoadedAccount();

private:
    std::unique_ptr<TShopFixture> FShop;
    std::unique_ptr<TfrmCustomerList> FList;

    void ShowList();
};

void TestCustomerForms::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
}

void TestCustomerForms::init()
{
    FShop = std::make_unique<TShopFixture>();
    AddAccount(TAccountRow("C00001", "İSTANBUL GIDA").Telefon("0212 444 00 00"));
    AddAccount(TAccountRow("C00002", "Ayşe Yılmaz").Telefon("0555 123 45 67"));
    AddAccount(TAccountRow("C00003", "Çınar Ltd.").VKN("4540536920"));
    AddAccount(TAccountRow("T00001", "Toptancı").Tipi("TEDARIKCI"));
}

void TestCustomerForms::cleanup()
{
    FList.reset();
    FShop.reset();
}

void TestCustomerForms::ShowList()
{
    FList = std::make_unique<TfrmCustomerList>();
    FList->show();
    QVERIFY(QTest::qWaitForWindowExposed(FList.get()));
}

void TestCustomerForms::listShowsAndFilters()
{
    ShowList();
    auto* grid = Named<QTableWidget>(FList.get(), "gridCustomers");
    QCOMPARE(FList->windowTitle(), QString("Müşteri Seçimi"));
    QCOMPARE(FList->size(), QSize(912, 681));
    QCOMPARE(grid->columnCount(), 5);
    QCOMPARE(grid->horizontalHeaderItem(2)->text(), QString("Cari Ünvanı"));
    QCOMPARE(Column(grid, 2), (QStringList{"Ayşe Yılmaz", "Çınar Ltd.", "İSTANBUL GIDA"}));
    QCOMPARE(Column(grid, 4), (QStringList{"0,00 TL", "0,00 TL", "0,00 TL"}));
    QCOMPARE(grid->currentRow(), 0);
    QCOMPARE(Named<QLabel>(FList.get(), "lblCount")->text(), QString("3 Müşteri Listeleniyor"));
    QVERIFY(Named<QLineEdit>(FList.get(), "edtSearch")->hasFocus());
    const int available =
        grid->width() - FList->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 6;
    int widths = 0;
    for (int col = 0; col < 5; ++col)
        widths += grid->columnWidth(col);
    QCOMPARE(widths, available);

    TypeInto(FList.get(), "edtSearch", "istanbul");
    QCOMPARE(Column(grid, 1), QStringList{"C00001"});
    TypeInto(FList.get(), "edtSearch", "454053");
    QCOMPARE(Column(grid, 1), QStringList{"C00003"});
    TypeInto(FList.get(), "edtSearch", "Toptancı");
    QCOMPARE(Column(grid, 0), QStringList{""});
    QCOMPARE(Named<QLabel>(FList.get(), "lblCount")->text(), QString("0 Müşteri Listeleniyor"));
}

void TestCustomerForms::emptyListHasNothingToTake()
{
    TDialogAnswers answers;
    ShowList();
    TypeInto(FList.get(), "edtSearch", "%'[");
    Named<TPOSButton>(FList.get(), "btnSelect")->click();
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Lütfen Bir Müşteri Seçiniz."));
    QVERIFY(FList->isVisible());
    QCOMPARE(FList->SelectedMusteriID(), -1);
    QVERIFY(FList->SelectedMusteriAdi().isEmpty());
}

// Minimising and restoring (or hiding and showing) the list shows it again: the filter, the
// rows it leaves and the current row stay.
void TestCustomerForms::restoredListKeepsItsFilter()
{
    ShowList();
    auto* grid = Named<QTableWidget>(FList.get(), "gridCustomers");
    TypeInto(FList.get(), "edtSearch", "5");
    QCOMPARE(Column(grid, 2), (QStringList{"Ayşe Yılmaz", "Çınar Ltd."}));
    grid->setCurrentCell(1, 1);
    FList->showMinimized();
    FList->showNormal();
    FList->hide();
    FList->show();
    QVERIFY(QTest::qWaitForWindowExposed(FList.get()));
    QCOMPARE(Named<QLineEdit>(FList.get(), "edtSearch")->text(), QString("5"));
    QCOMPARE(Column(grid, 2), (QStringList{"Ayşe Yılmaz", "Çınar Ltd."}));
    QCOMPARE(grid->currentRow(), 1);
    Named<TPOSButton>(FList.get(), "btnSelect")->click();
    QCOMPARE(FList->SelectedMusteriAdi(), QString("Çınar Ltd."));
}

void TestCustomerForms::takingARow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Seç") << "button";
    QTest::newRow("double-click") << "double";
    QTest::newRow("Enter in the filter box") << "enter";
}

void TestCustomerForms::takingARow()
{
    QFETCH(QString, how);
    ShowList();
    auto* grid = Named<QTableWidget>(FList.get(), "gridCustomers");
    TypeInto(FList.get(), "edtSearch", "ÇINAR");
    if (how == "button")
        Named<TPOSButton>(FList.get(), "btnSelect")->click();
    else if (how == "double")
        Q_EMIT grid->cellDoubleClicked(0, 1);
    else
        QTest::keyClick(Named<QLineEdit>(FList.get(), "edtSearch"), Qt::Key_Return);
    QCOMPARE(FList->result(), int(mrOk));
    QCOMPARE(FList->SelectedMusteriID(), 3);
    QCOMPARE(FList->SelectedMusteriAdi(), QString("Çınar Ltd."));
}

void TestCustomerForms::newCustomerFromTheList()
{
    TDialogAnswers answers;
    ShowList();
    TypeInto(FList.get(), "edtSearch", "Yılmaz");
    answers.Step([](QDialog& card) {
        QCOMPARE(Named<QLineEdit>(&card, "edtCariKodu")->text(), QString("C00005"));
        TypeInto(&card, "edtCariAdi", "Mehmet Yılmaz");
        Named<TPOSButton>(&card, "btnKaydet")->click();
    });
    FList->btnAddCustomerClick();
    QCOMPARE(answers.Last().Form, QString("TfrmNewCariCard"));
    auto* grid = Named<QTableWidget>(FList.get(), "gridCustomers");
    QCOMPARE(Column(grid, 2), (QStringList{"Ayşe Yılmaz", "Mehmet Yılmaz"}));
    QCOMPARE(grid->currentRow(), 0);
    QVERIFY(FList->isVisible());

    // A new account that the filter does not match is not listed.
    TypeInto(FList.get(), "edtSearch", "Ayşe");
    answers.Step([](QDialog& card) {
        TypeInto(&card, "edtCariAdi", "Zeki Demir");
        Named<TPOSButton>(&card, "btnKaydet")->click();
    });
    FList->btnAddCustomerClick();
    QCOMPARE(Column(grid, 2), QStringList{"Ayşe Yılmaz"});
    QCOMPARE(FShop->Count("CariKart WHERE CariAdi = 'Zeki Demir' AND CariKodu = 'C00006'"), 1);

    answers.Step([](QDialog& card) { Named<TPOSButton>(&card, "btnIptal")->click(); });
    FList->btnAddCustomerClick();
    QCOMPARE(FShop->Count("CariKart"), 6);
}

void TestCustomerForms::cardPagesAndSummary()
{
    TfrmNewCariCard card;
    QCOMPARE(card.size(), QSize(1604, 964));
    QCOMPARE(card.windowTitle(), QString("Cari Kart"));
    QCOMPARE(Named<QLabel>(&card, "lblTitle")->text(), QString("CARİ KART"));
    QCOMPARE(Named<QLabel>(&card, "lblSubTitle")->text(), QString("Müşteri / Tedarikçi Bilgileri"));
    QCOMPARE(Named<QLineEdit>(&card, "edtCariKodu")->text(), QString("C00005"));
    QCOMPARE(card.ProposedCode(), QString("C00005"));
    QCOMPARE(Named<QComboBox>(&card, "cmbCariTipi")->currentText(), QString("MUSTERI"));
    QCOMPARE(Named<QComboBox>(&card, "cmbParaBirimi")->currentText(), QString("TRY"));
    QVERIFY(Named<QCheckBox>(&card, "chkAktif")->isChecked());

    auto* pages = Named<QStackedWidget>(&card, "pcCari");
    const QList<std::pair<const char*, const char*>> tabs{{"btnTabGenel", "tabGenel"},
                                                          {"btnTabAdres", "tabAdres"},
                                                          {"btnTabVergi", "tabVergi"},
                                                          {"btnTabLimit", "tabLimit"},
                                                          {"btnTabNotlar", "tabNotlar"}};
    QCOMPARE(pages->count(), 5);
    for (const auto& [button, page] : tabs) {
        Named<TPOSButton>(&card, button)->click();
        QCOMPARE(pages->currentWidget()->objectName(), QString(page));
        QCOMPARE(Named<TPOSButton>(&card, button)->Look().Frame, POSPalette::Primary);
        QVERIFY(Named<TPOSButton>(&card, button)->font().bold());
    }
    QCOMPARE(Named<TPOSButton>(&card, "btnTabGenel")->Look().Frame, POSPalette::FrameLight);
    QCOMPARE(Named<TPOSButton>(&card, "btnTabAdres")->text(), QString("Adres & Iletisim"));

    QCOMPARE(Named<QLabel>(&card, "lblBakiyeValue")->text(), QString("0,00 TL"));
    QCOMPARE(Named<QLabel>(&card, "lblRiskValue")->text(), QString("0,00 TL"));
    QCOMPARE(Named<QLabel>(&card, "lblVadeValue")->text(), QString("0 gün"));
    QCOMPARE(Named<QLabel>(&card, "lblSonIslemValue")->text(), QString("-"));
    TypeInto(&card, "edtRiskLimiti", "1.500");
    QCOMPARE(Named<QLabel>(&card, "lblRiskValue")->text(), QString("1.500,00 TL"));
    TypeInto(&card, "edtRiskLimiti", "1,5");
    QCOMPARE(Named<QLabel>(&card, "lblRiskValue")->text(), QString("1,50 TL"));
    TypeInto(&card, "edtRiskLimiti", "abc-1e5");
    QCOMPARE(Named<QLabel>(&card, "lblRiskValue")->text(), QString("Okunamadı"));
    TypeInto(&card, "edtRiskLimiti", "1.500,00");
    QCOMPARE(Named<QLabel>(&card, "lblRiskValue")->text(), QString("1.500,00 TL"));
    TypeInto(&card, "edtRiskLimiti", "bin");
    QCOMPARE(Named<QLabel>(&card, "lblRiskValue")->text(), QString("Okunamadı"));
    TypeInto(&card, "edtVadeGunu", "45");
    QCOMPARE(Named<QLabel>(&card, "lblVadeValue")->text(), QString("45 gün"));

    TypeInto(&card, "edtCariAdi", "Silinecek");
    Named<TPOSButton>(&card, "btnYeniAction")->click();
    QCOMPARE(card.windowTitle(), QString("Yeni Cari Karti"));
    QCOMPARE(Named<QLabel>(&card, "lblTitle")->text(), QString("CARI KART"));
    QVERIFY(Named<QLineEdit>(&card, "edtCariAdi")->text().isEmpty());
    QCOMPARE(Named<QLineEdit>(&card, "edtRiskLimiti")->text(), QString("0,00"));
    QCOMPARE(Named<QLineEdit>(&card, "edtVadeGunu")->text(), QString("0"));
    QCOMPARE(pages->currentWidget()->objectName(), QString("tabGenel"));
    QVERIFY(!Named<TPOSButton>(&card, "btnSilAction")->isEnabled());
}

void TestCustomerForms::cardSavesNewAccount()
{
    TfrmNewCariCard card;
    TypeInto(&card, "edtCariAdi", "Deniz Gıda");
    Named<QComboBox>(&card, "cmbCariTipi")->setCurrentText("BAYI");
    TypeInto(&card, "edtVKN", "4540536920");
    TypeInto(&card, "edtIl", "İzmir");
    TypeInto(&card, "edtTCKN", "10000000146");
    Named<QCheckBox>(&card, "chkEIrsaliye")->setChecked(true);
    TypeInto(&card, "edtRiskLimiti", "2.500,50");
    TypeInto(&card, "edtVadeGunu", "30");
    Named<TPOSButton>(&card, "btnKaydet")->click();
    QCOMPARE(card.result(), int(mrOk));
    QCOMPARE(FShop
                 ->Scalar("SELECT CariKodu || '|' || CariTipi || '|' || Il || '|' || TCKN || '|' "
                          "|| EIrsaliyeMukellefi || '|' || RiskLimiti || '|' || VadeGunu FROM "
                          "CariKart WHERE CariAdi = 'Deniz Gıda'")
                 .toString(),
             QString("C00005|BAYI|İzmir|10000000146|1|2500.5|30"));
}

void TestCustomerForms::cardRefusalKeepsItOpen_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << "edtCariAdi"
                             << "  "
                             << "Cari adi zorunludur.";
    QTest::newRow("tax number")
        << "edtVKN"
        << "1234567891"
        << "Vergi No geçersiz: 1234567891. Vergi numarası 10 haneli olmalı ve son hanesi doğru "
           "olmalıdır.";
    QTest::newRow("national id")
        << "edtTCKN"
        << "12345678901"
        << "TCKN geçersiz: 12345678901. T.C. kimlik numarası 11 haneli olmalı, 0 ile "
           "başlamamalı ve son iki hanesi doğru olmalıdır.";
    QTest::newRow("risk limit") << "edtRiskLimiti"
                                << "bin lira"
                                << "Risk Limiti okunamadı: \"bin lira\". Tutarı 1.234,50 gibi "
                                   "yazınız.";
    QTest::newRow("code in use")
        << "edtCariKodu"
        << "C00002"
        << "Cari kodu C00002 başka bir cari kartta kullanılıyor. Farklı bir kod yazınız.";
}

// A refusal of the card is the card's own "Hata" message, not an unhandled error: nothing goes
// to the error log, nothing is written, and the card stays open with what was typed.
void TestCustomerForms::cardRefusalKeepsItOpen()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFile::remove(ErrorLogPath());
    TDialogAnswers answers;
    TfrmNewCariCard card;
    card.show();
    TypeInto(&card, "edtCariAdi", "Yeni Hesap");
    TypeInto(&card, qPrintable(field), typed);
    Named<TPOSButton>(&card, "btnKaydet")->click();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("TfrmCustomDialog"));
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(answers.Last().Text, message);
    QVERIFY(!QFile::exists(ErrorLogPath()));
    QVERIFY(card.isVisible());
    QCOMPARE(card.result(), 0);
    QCOMPARE(Named<QLineEdit>(&card, qPrintable(field))->text(), typed);
    QCOMPARE(FShop->Count("CariKart"), 4);
}

void TestCustomerForms::cardTellsTheCodeItGot()
{
    TDialogAnswers answers;
    TfrmNewCariCard card;
    QCOMPARE(card.ProposedCode(), QString("C00005"));
    AddAccount({"C00005", "Öteki Kasa"});
    TypeInto(&card, "edtCariAdi", "Bu Kasa");
    Named<TPOSButton>(&card, "btnKaydet")->click();
    QCOMPARE(card.result(), int(mrOk));
    QCOMPARE(answers.Last().Title, QString("Bilgi"));
    QCOMPARE(answers.Last().Text, QString("Cari kart C00006 koduyla kaydedildi; önerilen kod bu "
                                          "arada başka bir kartta kullanıldı."));
    QCOMPARE(FShop->Scalar("SELECT CariAdi FROM CariKart WHERE CariKodu = 'C00005'").toString(),
             QString("Öteki Kasa"));
    QCOMPARE(FShop->Scalar("SELECT CariAdi FROM CariKart WHERE CariKodu = 'C00006'").toString(),
             QString("Bu Kasa"));
}

void TestCustomerForms::cardEditsLoadedAccount()
{
    TDialogAnswers answers;
    answers.Step([](QDialog& card) {
        QCOMPARE(card.windowTitle(), QString("Cari Karti"));
        QCOMPARE(Named<QLabel>(&card, "lblTitle")->text(), QString("CARI KART"));
        QVERIFY(!Named<QLineEdit>(&card, "edtCariKodu")->isEnabled());
        QCOMPARE(Named<QLineEdit>(&card, "edtCariAdi")->text(), QString("Ayşe Yılmaz"));
        TypeInto(&card, "edtTelefon", "0532 111 22 33");
        Named<TPOSButton>(&card, "btnKaydet")->click();
    });
    QVERIFY(TfrmNewCariCard::Execute(" C00002 "));
    QCOMPARE(FShop->Scalar("SELECT Telefon FROM CariKart WHERE CariID = 2").toString(),
             QString("0532 111 22 33"));
    QCOMPARE(FShop->Count("CariKart"), 4);

    answers.Step([](QDialog& card) { Named<TPOSButton>(&card, "btnTopClose")->click(); });
    QVERIFY(!TfrmNewCariCard::Execute("C00001"));
}

QTEST_MAIN(TestCustomerForms)
#include "tst_CustomerForms.moc"
