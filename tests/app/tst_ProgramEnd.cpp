#include "app/ErrorLogger.h"
#include "core/ErrorLog.h"
#include "core/Exceptions.h"
#include "core/SessionManager.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/CustomInputForm.h"
#include "ui/MainPOSForm.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
const QString kWater = "8690000000001";
const QString kCola = "8690000000002";

// Counts every request to end the event loop that reaches the application (the automatic one
// when Qt takes the last window to be closed, and QCoreApplication::quit), and keeps it from
// ending the test's loop.
class TQuitWatch : public QObject {
public:
    TQuitWatch() { qApp->installEventFilter(this); }
    ~TQuitWatch() override { qApp->removeEventFilter(this); }
    int Requests() const { return FRequests; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != qApp || event->type() != QEvent::Quit)
            return false;
        ++FRequests;
        return true;
    }

private:
    int FRequests = 0;
};

// How the cashier answers a box: a button by its object name, or the window's close button
// (the window system's close, as Alt+F4 does).
using TAnswer = std::function<void(QWidget*)>;

TAnswer Click(const QString& button)
{
    return [button](QWidget* box) {
        if (auto* b = box->findChild<QAbstractButton*>(button))
            b->click();
        else
            box->close();
    };
}

TAnswer CloseWindow()
{
    return [](QWidget* box) {
        box->close();
    };
}

bool IsBox(QWidget* window)
{
    static const QStringList others{"frmMainPOS", "frmCustomerList", "frmNewCariCard"};
    return !others.contains(window->objectName());
}

std::function<bool(QWidget*)> WindowNamed(const char* name)
{
    return [name](QWidget* window) {
        return window->objectName() == QLatin1String(name);
    };
}

// What brings up the box over the sales screen.
enum class TBox { ErrorBox, Refusal, Message, Confirmation, Input, Ownerless, CustomerCard };
} // namespace

Q_DECLARE_METATYPE(TBox)

// The program's own application (TKirveloApplication) with the sales screen under a hidden
// main window, as after a login: every kind of box is run for real and answered as a cashier
// would, and closing it must neither ask the event loop to end nor close the sales screen.
class TestProgramEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void noBoxEndsTheProgram_data();
    void noBoxEndsTheProgram();

private:
    // Runs `trigger` over the sales screen while the event loop runs, then ends the screen.
    void RunOverSalesScreen(bool withLines, const std::function<void(TfrmMainPOS&)>& trigger);
    static void Trigger(TBox box, TfrmMainPOS& screen);

    std::unique_ptr<TShopFixture> FShop;
    bool FScreenShownAfterBox = false;
    bool FTimedOut = false;
    int FCartLinesAfterBox = -1;
};

void TestProgramEnd::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
    QGuiApplication::setApplicationDisplayName(kApplicationTitle);
}

void TestProgramEnd::init()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->AddProduct("SU 0,5 L", kWater, 10, 10, 100);
    FShop->AddProduct("KOLA 1 L", kCola, 36, 20, 50);
    FShop->LoginCashier();
    QFile::remove(ErrorLogPath());
}

void TestProgramEnd::cleanup()
{
    FShop.reset();
    TSessionManager::Instance().Logout();
}

void TestProgramEnd::Trigger(TBox box, TfrmMainPOS& screen)
{
    switch (box) {
    case TBox::ErrorBox:
        CallGuarded([] { throw EDatabaseError("Sorgu çalışmadı"); });
        return;
    case TBox::Refusal:
        CallGuarded([] { throw ERefusal("Cari adi zorunludur."); });
        return;
    case TBox::Message:
        TfrmCustomDialog::ShowDialog("Bilgi", "Vardiya açıldı.", dtInfo);
        return;
    case TBox::Confirmation:
        screen.btnTemizleClick();
        return;
    case TBox::Input: {
        QString value;
        TfrmCustomInput::ShowInput("İndirim Yap", "İndirim oranı (%):", "0", value);
        return;
    }
    case TBox::Ownerless: {
        TfrmCustomDialog dialog(nullptr);
        dialog.Setup("Bilgi", "Sahibi olmayan ileti", dtInfo, 0);
        dialog.ShowModal();
        return;
    }
    case TBox::CustomerCard:
        screen.btnMusteriSecClick();
        return;
    }
}

void TestProgramEnd::RunOverSalesScreen(bool withLines,
                                        const std::function<void(TfrmMainPOS&)>& trigger)
{
    // The login window: shown, then hidden while the sales screen runs under it.
    QDialog login;
    login.setObjectName("frmLogin");
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    login.hide();
    TfrmMainPOS screen(&login);
    const TQuantityPrompt noWeight = [](const QString&, const QString&, const QString&, QString&) {
        return false;
    };
    if (withLines) {
        QVERIFY(screen.Till().Scan(kWater, noWeight).Done());
        QVERIFY(screen.Till().Scan(kCola, noWeight).Done());
        screen.RefreshCart();
    }
    FScreenShownAfterBox = false;
    FCartLinesAfterBox = -1;
    FTimedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [this] {
        FTimedOut = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(10000);
    QTimer::singleShot(0, &login, [&] {
        // Once the screen runs: the box, then a look at the screen, then its end.
        QTimer::singleShot(0, &screen, [&] {
            trigger(screen);
            // Whatever the box asked of the event loop has been delivered by now.
            QTest::qWait(100);
            FScreenShownAfterBox = screen.isVisible();
            FCartLinesAfterBox = screen.Cart().Count();
            screen.done(QDialog::Rejected);
        });
        RunModal(screen);
        QCoreApplication::exit(0);
    });
    QCoreApplication::exec();
}

void TestProgramEnd::noBoxEndsTheProgram_data()
{
    QTest::addColumn<TBox>("box");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("withLines");
    const struct {
        const char* Name;
        TBox Box;
        const char* How;
    } cases[] = {
        {"error box, Kapat", TBox::ErrorBox, "btnOk"},
        {"error box, closed", TBox::ErrorBox, "close"},
        {"refusal, Kapat", TBox::Refusal, "btnOk"},
        {"message, Tamam", TBox::Message, "btnOk"},
        {"message, closed", TBox::Message, "close"},
        {"confirmation, Hayır", TBox::Confirmation, "btnCancel"},
        {"confirmation, Evet", TBox::Confirmation, "btnOk"},
        {"confirmation, closed", TBox::Confirmation, "close"},
        {"input, Tamam", TBox::Input, "btnOk"},
        {"input, İptal", TBox::Input, "btnCancel"},
        {"input, closed", TBox::Input, "close"},
        {"box without an owner, closed", TBox::Ownerless, "close"},
        {"customer card refusal, Kapat", TBox::CustomerCard, "btnOk"},
    };
    for (const auto& c : cases) {
        for (const bool lines : {false, true})
            QTest::addRow("%s, %s", c.Name, lines ? "lines in the cart" : "empty cart")
                << c.Box << QString(c.How) << lines;
    }
}

void TestProgramEnd::noBoxEndsTheProgram()
{
    QFETCH(TBox, box);
    QFETCH(QString, how);
    QFETCH(bool, withLines);
    const TAnswer answer = how == "close" ? CloseWindow() : Click(how);
    TQuitWatch quits;
    int boxes = 0;
    bool cardOpenAfterBox = false;
    bool cardLeft = false;

    if (box == TBox::CustomerCard) {
        // "Yeni Müşteri", a card with an invalid tax number, "Kaydet"; the refusal is answered,
        // the card is left with "Vazgec" and the list with "İptal".
        WhenModalOpens(WindowNamed("frmCustomerList"), [&](QWidget* list) {
            WhenModalOpens(WindowNamed("frmNewCariCard"), [&](QWidget* card) {
                Child<QLineEdit>(card, "edtCariAdi")->setText("Vergisi Yanlış");
                Child<QLineEdit>(card, "edtVKN")->setText("1234567891");
                WhenModalOpens(IsBox, [&, card = QPointer<QWidget>(card)](QWidget* shown) {
                    ++boxes;
                    answer(shown);
                    QTest::qWait(50);
                    cardOpenAfterBox = card && card->isVisible();
                    cardLeft = true;
                    if (card)
                        Child<QAbstractButton>(card, "btnIptal")->click();
                });
                Child<QAbstractButton>(card, "btnKaydet")->click();
            });
            WhenModalOpens(
                [&cardLeft](QWidget* w) { return cardLeft && WindowNamed("frmCustomerList")(w); },
                [](QWidget* again) { Child<QAbstractButton>(again, "btnCancel")->click(); });
            Child<QAbstractButton>(list, "btnAddCustomer")->click();
        });
    } else {
        WhenModalOpens(IsBox, [&](QWidget* shown) {
            ++boxes;
            answer(shown);
        });
    }
    RunOverSalesScreen(withLines, [box](TfrmMainPOS& screen) { Trigger(box, screen); });

    QVERIFY(!FTimedOut);
    QCOMPARE(boxes, 1);
    QCOMPARE(quits.Requests(), 0);
    QVERIFY(FScreenShownAfterBox);
    if (box == TBox::CustomerCard)
        QVERIFY(cardOpenAfterBox);
    const bool cleared = box == TBox::Confirmation && how == "btnOk";
    QCOMPARE(FCartLinesAfterBox, withLines && !cleared ? 2 : 0);
}

int main(int argc, char** argv)
{
    TKirveloApplication app(argc, argv);
    TAppExceptionLogger logger;
    app.SetExceptionLogger(&logger);
    TestProgramEnd test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ProgramEnd.moc"
