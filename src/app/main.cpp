#include "app/ErrorLogger.h"
#include "core/DataModule.h"
#include "core/Exceptions.h"

#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <clocale>
#include <memory>

namespace {
// Stands in for the main window: shows which database the till works on.
std::unique_ptr<QWidget> CreateMainWindow(TdmMain& db)
{
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(kApplicationTitle);
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(new QLabel(QStringLiteral("Veritabanı: ") + db.Description(), window.get()));
    window->resize(640, 120);
    return window;
}

int Run(TKirveloApplication& app)
{
    TdmMain db(&app);
    try {
        db.Connect();
    } catch (const Exception& e) {
        QMessageBox::critical(nullptr, kApplicationTitle, QStringLiteral("Kritik Bağlantı Hatası: ") + e.Message());
        return 1;
    }
    auto window = CreateMainWindow(db);
    window->show();
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
