#include "DatabaseProbe.h"

#include "core/DbQuery.h"
#include "database/SqliteSearchKey.h"

namespace DatabaseProbe {
QStringList Tables()
{
    QStringList tables;
    TDbQuery q(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    q.Exec();
    while (q.Next())
        tables << q.Value(0).toString();
    return tables;
}

QStringList Columns(const QString& table)
{
    QStringList columns;
    TDbQuery q(QStringLiteral("SELECT name FROM pragma_table_info(:T) ORDER BY cid"));
    q.Param(QStringLiteral("T"), table).Exec();
    while (q.Next())
        columns << q.Value(0).toString();
    return columns;
}

QString Contents()
{
    QString dump;
    for (const QString& table : Tables()) {
        // The search key is made from Stok and SatisFis, which are dumped themselves.
        if (SqliteSearchKey::Tables().contains(table))
            continue;
        dump += u'[' + table + QStringLiteral("]\n");
        TDbQuery q(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY rowid"));
        q.Exec();
        while (q.Next()) {
            QStringList values;
            for (int i = 0; i < q.Record().count(); ++i)
                values << (q.Value(i).isNull() ? QStringLiteral("NULL") : q.Value(i).toString());
            dump += values.join(u'|') + u'\n';
        }
    }
    return dump;
}

QString Schema()
{
    QString dump;
    TDbQuery objects(
        QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"));
    objects.Exec();
    while (objects.Next())
        dump += objects.Value(0).toString() + u' ' + objects.Value(1).toString() + u' ' +
                objects.Value(2).toString() + u'\n';
    for (const QString& table : Tables()) {
        TDbQuery q(QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk FROM "
                                  "pragma_table_info(:T) ORDER BY cid"));
        q.Param(QStringLiteral("T"), table).Exec();
        while (q.Next())
            dump += table + u'.' + q.Value(0).toString() + u' ' + q.Value(1).toString() + u' ' +
                    q.Value(2).toString() + u' ' + q.Value(3).toString() + u' ' +
                    q.Value(4).toString() + u'\n';
    }
    return dump;
}
} // namespace DatabaseProbe
