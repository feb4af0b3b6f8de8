#include "app/ErrorLogger.h"
#include "core/DataModule.h"
#include "core/SessionManager.h"
#include "printing/PrinterLayer.h"
#include "ui/LoginForm.h"
#include "ui/POSUITheme.h"
#include "ui/VardiyeMenuForm.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include <clocale>
#include <memory>

namespace {
// Stands in for the sales screen until it exists: names the logged-in user, branch, terminal
// and database, and ends the program when closed.
std::unique_ptr<QDialog> CreateMainScreen(QWidget* owner)
{
    auto screen = std::make_unique<QDialog>(owner);
    screen->setWindowTitle(QStringLiteral("KIRVELO - Satış Ekranı"));
    TPOSUITheme::StyleForm(screen.get());
    const TSessionInfo session = TSessionManager::Instance().GetSessionInfo();
    auto* layout = new QVBoxLayout(screen.get());
    layout->addWidget(new QLabel(QStringLiteral("Kullanıcı : ") + session.AdSoyad +
                                     QStringLiteral(" (") + session.RolAdi +
                                     QStringLiteral(")  |  Şube : ") + session.SubeAdi,
                                 screen.get()));
    layout->addWidget(
        new QLabel(QStringLiteral("Terminal : ") + session.TerminalAdi, screen.get()));
    layout->addWidget(
        new QLabel(QStringLiteral("Veritabanı: ") + dmMain->Description(), screen.get()));
    screen->resize(640, 160);
    return screen;
}

int Run(TKirveloApplication& app)
{
    RegisterFontSubstitutions();
    const TPrinterLayer printing;
    TdmMain db(&app);
    TfrmLogin login;
    login.SetMainScreenFactory(CreateMainScreen);
    new TMenuPopupForm(&login); // owned by the login window, which lives for the whole run
    QObject::connect(&login, &TfrmLogin::EndProgramRequested, &app,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    login.show();
    return app.exec();
}
} // namespace

int main(int argc, char** argv)
{
    TKirveloApplication app(argc, argv);
    // Numbers are formatted through QLocale only; the C library keeps "." for parsing.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("KIRVELO"));
    QCoreApplication::setApplicationName(QStringLiteral("KIRVELO"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KIRVELO_VERSION));
    auto logger = std::make_unique<TAppExceptionLogger>();
    app.SetExceptionLogger(logger.get());
    const int result = RunGuarded([&app] {
        QGuiApplication::setApplicationDisplayName(kApplicationTitle);
        return Run(app);
    });
    app.SetExceptionLogger(nullptr);
    return result;
}
