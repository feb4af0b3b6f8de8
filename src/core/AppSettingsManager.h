#pragma once

#include <QString>

// Tuning values kept in table SistemParametre, shared by all workstations. Nothing is cached:
// a change made on one till is seen by the next read on any other. Readers never raise.
class TAppSettingsManager {
public:
    static void EnsureSchema();
    static void EnsureDefaults();
    static QString GetValue(const QString& AKey, const QString& ADefaultValue);
    static int GetInt(const QString& AKey, int ADefaultValue, int AMinValue, int AMaxValue);
    static void SetValue(const QString& AKey, const QString& AValue, const QString& ADescription);

    TAppSettingsManager() = delete;
};
