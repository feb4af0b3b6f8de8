#pragma once

#include <QList>
#include <QString>

// One row of the parameters editor's grid: key, value and description as typed.
struct TParameterRow {
    QString Key;
    QString Value;
    QString Description;
};

// What the parameters editor reads and writes in table SistemParametre: the seconds of the
// barcode-not-found notice, which has a box of its own, and every parameter as a row.
class TParameterStore {
public:
    TParameterStore() = delete;

    static inline const QString MsgSecondsKey = QStringLiteral("BarcodeNotFoundMessageSeconds");
    static inline const QString MsgSecondsDescription =
        QStringLiteral("Barkod bulunamadı mesajının ekranda kalma süresi (saniye)");

    // The stored seconds as the sales screen reads them (3 by default, 1 to 60).
    static int MsgSeconds();
    // The box's text as seconds: 3 when it is no whole number, then held to 1 to 60.
    static int SecondsFromText(const QString& AText);

    // Every stored parameter, sorted by key; a missing description reads as empty.
    static QList<TParameterRow> Load();

    // The grid rows that a save writes, trimmed: rows with an empty key are left out, and so is
    // the box's own key in any letter case (the box decides that value).
    static QList<TParameterRow> RowsToSave(const QList<TParameterRow>& AGridRows);

    // Empty when every row may be stored; otherwise the message refusing the first row whose
    // value the program reads as a number but would not read as the number typed.
    static QString CheckRows(const QList<TParameterRow>& AGridRows);

    // Stores the box's seconds, then every row of RowsToSave (updated or inserted by key), a
    // number parameter in plain decimal digits. A row that CheckRows refuses raises
    // EConvertError with its message before anything is stored.
    static void Save(int ASeconds, const QList<TParameterRow>& AGridRows);
};
