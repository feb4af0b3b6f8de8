#pragma once

#include "core/RoutineCall.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

// A call of a server routine with in- and out-parameters, named as on the server ("@VardiyaID").
// The engine of the program's connection runs it: SQL Server its stored procedure, the embedded
// engine the routine of the same name in C++, which reads the in-values and sets the out-values
// through the same call.
class TStoredProc {
public:
    explicit TStoredProc(QString name);

    TStoredProc& In(const QString& name, const QVariant& value);
    TStoredProc& Out(const QString& name, QMetaType::Type type, int size = 0);
    void Exec();

    const QString& Name() const { return FCall.Name(); }
    QVariant Value(const QString& name) const { return FCall.Value(name); }
    void SetValue(const QString& name, const QVariant& value) { FCall.SetValue(name, value); }

private:
    TRoutineCall FCall;
};
