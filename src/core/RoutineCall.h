#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

// One parameter of a server routine, named as on the server ("@VardiyaID").
struct TRoutineParam {
    QString Name;
    QVariant Value;
    bool Output = false;
    QMetaType::Type Type = QMetaType::UnknownType;
    int Size = 0; // length of a string output
};

// A call of a server routine: its name and its parameters in the order the routine declares
// them. The engine that runs it reads the in-values and sets the out-values.
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

private:
    QString FName;
    QList<TRoutineParam> FParams;
};
