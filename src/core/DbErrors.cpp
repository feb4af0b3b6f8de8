#include "core/DbErrors.h"

namespace DbErrors {
QString StatementText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("Bilinmeyen veritabanı hatası") : text;
}

QString ConnectionText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}
} // namespace DbErrors
