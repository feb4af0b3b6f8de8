#include "core/StoredProc.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "database/EmbeddedDatabase.h"

#include <QSqlError>
#include <QSqlQuery>

TStoredProc::TStoredProc(QString name)
    : FName(std::move(name))
{
}

TStoredProc& TStoredProc::In(const QString& name, const QVariant& value)
{
    FParams.append({name, value, false, QMetaType::Type(value.metaType().id()), 0});
    return *this;
}

TStoredProc& TStoredProc::Out(const QString& name, QMetaType::Type type, int size)
{
    // ODBC writes string outputs into the bound buffer, so it must be as long as the answer.
    QVariant initial =
        type == QMetaType::QString ? QVariant(QString(size, u' ')) : QVariant(QMetaType(type));
    FParams.append({name, initial, true, type, size});
    return *this;
}

TStoredProc::TParam* TStoredProc::Find(const QString& name)
{
    for (auto& p : FParams) {
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

const TStoredProc::TParam* TStoredProc::Find(const QString& name) const
{
    return const_cast<TStoredProc*>(this)->Find(name);
}

QVariant TStoredProc::Value(const QString& name) const
{
    const TParam* p = Find(name);
    return p ? p->Value : QVariant();
}

void TStoredProc::SetValue(const QString& name, const QVariant& value)
{
    if (TParam* p = Find(name))
        p->Value = value;
}

void TStoredProc::Exec()
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    if (dmMain->Dialect().IsSqlite()) {
        EmbeddedDatabase::RunProcedure(*this);
        return;
    }
    ExecOnServer();
}

void TStoredProc::ExecOnServer()
{
    QStringList marks;
    for (qsizetype i = 0; i < FParams.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery query(dmMain->Database());
    if (!query.prepare(QStringLiteral("{CALL %1(%2)}").arg(FName, marks.join(u','))))
        throw EDatabaseError(query.lastError().text());
    for (qsizetype i = 0; i < FParams.size(); ++i)
        query.bindValue(int(i), FParams.at(i).Value, FParams.at(i).Output ? QSql::Out : QSql::In);
    if (!query.exec())
        throw EDatabaseError(query.lastError().databaseText().isEmpty()
                                 ? query.lastError().text()
                                 : query.lastError().databaseText());
    // Output parameters arrive only after every result set has been read.
    while (query.nextResult()) {
    }
    for (qsizetype i = 0; i < FParams.size(); ++i) {
        if (!FParams.at(i).Output)
            continue;
        QVariant v = query.boundValue(int(i));
        if (FParams.at(i).Type == QMetaType::QString)
            v = v.toString().trimmed();
        FParams[i].Value = v;
    }
}
