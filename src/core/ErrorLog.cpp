#include "core/ErrorLog.h"

#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/Exceptions.h"

#include <QFile>

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
