#pragma once

#include "core/RoutineCall.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <source_location>

// A call of a server routine with in- and out-parameters, named as on the server ("@VardiyaID"),
// and the rows of the result sets it returns. The engine of the program's connection runs it:
// SQL Server its stored procedure, in a batch that hands the outputs back as a row, the embedded
// engine the routine of the same name in C++, which reads the in-values and sets the out-values
// through the same call.
class TStoredProc {
public:
    // `origin` is where the call is made from, for the SQL text log.
    explicit TStoredProc(QString name,
                         std::source_location origin = std::source_location::current());

    TStoredProc& In(const QString& name, const QVariant& value);
    // An output; a string output's `size` is its length on the server (0: no limit).
    TStoredProc& Out(const QString& name, QMetaType::Type type, int size = 0);
    void Exec();

    const QString& Name() const { return FCall.Name(); }
    QVariant Value(const QString& name) const { return FCall.Value(name); }
    void SetValue(const QString& name, const QVariant& value) { FCall.SetValue(name, value); }
    const QList<QSqlRecord>& Rows() const { return FCall.Rows(); }

private:
    TRoutineCall FCall;
    std::source_location FOrigin;
};
