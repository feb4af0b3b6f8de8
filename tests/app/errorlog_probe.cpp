// A small program that fails on purpose, so the tests can watch the error log of a real run.
//   errorlog_probe event    an event handler raises; the program must carry on and exit 0
//   errorlog_probe startup  the start-up raises; the program must end with exit code 1
#include "app/ErrorLogger.h"
#include "core/Exceptions.h"

#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    TKirveloApplication app(argc, argv);
    TAppExceptionLogger logger;
    app.SetExceptionLogger(&logger);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    // Answers the error box the way a user would.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(20);

    return RunGuarded([&]() -> int {
        if (mode == QStringLiteral("startup"))
            throw EDatabaseError(QStringLiteral("Başlangıç hatası"));
        QTimer::singleShot(
            0, [] { throw EConvertError(QStringLiteral("Olay hatası\nikinci satır")); });
        QTimer::singleShot(300, [] { QCoreApplication::exit(0); });
        return app.exec();
    });
}
