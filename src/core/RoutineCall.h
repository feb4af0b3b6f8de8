#pragma once

#include <QList>
#include <QMetaType>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

// One parameter of a server routine, named as on the server ("@VardiyaID").
struct TRoutineParam {
    QString Name;
    QVariant Value;
    bool Output = false;
    QMetaType::Type Type = QMetaType::UnknownType;
    int Size = 0; // length of a string output; 0 for no limit
};

// A call of a server routine: its name, its parameters in the order the routine declares them
// and the rows of the result sets it returns. The engine that runs it reads the in-values, sets
// the out-values and adds the rows.
class TRoutineCall {
public:
    explicit TRoutineCall(QString name);

    const QString& Name() const { return FName; }
    const QList<TRoutineParam>& Params() const { return FParams; }
    void Add(TRoutineParam param) { FParams.append(std::move(param)); }

    // A parameter's value by name, without regard to letter case; null when there is none.
    QVariant Value(const QString& name) const;
    // Sets a parameter's value; a name the call does not have is ignored.
    void SetValue(const QString& name, const QVariant& value);

    // The rows of every result set the routine returned, in order.
    const QList<QSqlRecord>& Rows() const { return FRows; }
    void AddRow(const QSqlRecord& row) { FRows.append(row); }

private:
    QString FName;
    QList<TRoutineParam> FParams;
    QList<QSqlRecord> FRows;
};
