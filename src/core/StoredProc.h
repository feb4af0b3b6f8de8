#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

// A call of a server routine with in- and out-parameters, named as on the server ("@VardiyaID").
// On SQL Server it runs the stored procedure; on the embedded engine the routine of the same
// name in C++, which reads the in-values and sets the out-values through the same object.
class TStoredProc {
public:
    explicit TStoredProc(QString name);

    TStoredProc& In(const QString& name, const QVariant& value);
    TStoredProc& Out(const QString& name, QMetaType::Type type, int size = 0);
    void Exec();

    const QString& Name() const { return FName; }
    QVariant Value(const QString& name) const;
    void SetValue(const QString& name, const QVariant& value);

private:
    struct TParam {
        QString Name;
        QVariant Value;
        bool Output = false;
        QMetaType::Type Type = QMetaType::UnknownType;
        int Size = 0;
    };
    void ExecOnServer();
    TParam* Find(const QString& name);
    const TParam* Find(const QString& name) const;

    QString FName;
    QList<TParam> FParams;
};
