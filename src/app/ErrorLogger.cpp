#include "app/ErrorLogger.h"

#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/Exceptions.h"

#include <QDateTime>
#include <QFile>
#include <QMessageBox>

const QString kApplicationTitle = QStringLiteral("KIRVELO - Perakende Satış Sistemi");

QString ErrorLogPath()
{
    return AppPaths::WritableFolder() + QStringLiteral("KIRVELO_error.log");
}

void WriteErrorLog(const QString& context, const QString& className, const QString& message)
{
    QFile file(ErrorLogPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString stamp = TClock::Now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString entry = u'[' + stamp + QStringLiteral("] ") + context + u'\n' + className +
                          QStringLiteral(": ") + message + QStringLiteral("\n\n");
    file.write(entry.toUtf8());
}

void WriteErrorLog(const QString& context, const std::exception& e)
{
    WriteErrorLog(context, ErrorClassName(e), ErrorMessage(e));
}

void TAppExceptionLogger::AppException(QObject* sender, const std::exception& e)
{
    AppException(sender, ErrorClassName(e), ErrorMessage(e));
}

void TAppExceptionLogger::AppException(QObject*, const QString& className, const QString& message)
{
    WriteErrorLog(QStringLiteral("Application.OnException"), className, message);
    QMessageBox::critical(nullptr, kApplicationTitle, message);
}

TKirveloApplication::TKirveloApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TKirveloApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (!FLogger)
            throw;
        FLogger->AppException(receiver, e);
    } catch (...) {
        if (!FLogger)
            throw;
        FLogger->AppException(receiver, QStringLiteral("Exception"),
                              QStringLiteral("Bilinmeyen hata"));
    }
    return false;
}

int RunGuarded(const std::function<int()>& startup)
{
    try {
        return startup();
    } catch (const std::exception& e) {
        WriteErrorLog(QStringLiteral("Startup exception"), e);
        QMessageBox::critical(nullptr, kApplicationTitle, ErrorMessage(e));
        return 1;
    }
}
