#include "app/ErrorLogger.h"
#include "core/DataModule.h"
#include "database/SqliteEngine.h"
#include "printing/PrinterLayer.h"
#include "ui/LoginForm.h"
#include "ui/MainPOSForm.h"
#include "ui/POSUITheme.h"
#include "ui/VardiyeMenuForm.h"

#include <clocale>
#include <memory>

namespace {
std::unique_ptr<QDialog> CreateMainScreen(QWidget* owner)
{
    return std::make_unique<TfrmMainPOS>(owner);
}

int Run(TKirveloApplication& app)
{
    RegisterFontSubstitutions();
    const TPrinterLayer printing;
    TSqliteEngine::Register();
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
