#pragma once

#include <QList>
#include <QString>

#include <optional>

// A parameter the program reads as a whole number: its key, and the default and range its
// readers pass to GetInt. Stored text that is no whole number is read as the default.
struct TNumberParameter {
    QString Key;
    int Default = 0;
    int Min = 0;
    int Max = 0;
};

// Tuning values kept in table SistemParametre, shared by all workstations. Nothing is cached:
// a change made on one till is seen by the next read on any other. Readers never raise.
class TAppSettingsManager {
public:
    static void EnsureSchema();
    static void EnsureDefaults();
    static QString GetValue(const QString& AKey, const QString& ADefaultValue);
    static int GetInt(const QString& AKey, int ADefaultValue, int AMinValue, int AMaxValue);
    static void SetValue(const QString& AKey, const QString& AValue, const QString& ADescription);

    // A stored or typed value as a whole number, read as every typed number is
    // (ReadTypedNumber: "1.500" is 1500 on Turkish settings, a "-" is taken); none when it is
    // no whole number or beyond an int.
    static std::optional<int> ReadWholeNumber(const QString& AText);

    // The parameters read as numbers and seeded by EnsureDefaults: the two display durations,
    // in seconds, and the quantity bounds of a cart line (MaxQuantityUnits, MaxQuantityKg).
    static QList<TNumberParameter> NumberParameters();
    // The number parameter named `AKey`, letter case and surrounding blanks aside.
    static std::optional<TNumberParameter> FindNumberParameter(const QString& AKey);

    TAppSettingsManager() = delete;
};
