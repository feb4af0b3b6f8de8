#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

class TDbQuery;

// Reading numbers without ever failing, folding Turkish text to an ASCII key, the display words
// of stored payment and status words, and the number display patterns. All of them follow the
// number format of QLocale() (the workstation's regional settings; tests pin tr_TR).

// A database or typed value as a double; Default when it is null, empty, a Boolean, a date or
// a text that does not read as a number ("." and "," both count as the decimal separator).
double VariantToFloatDef(const QVariant& Value, double Default);
// A result field as a double; Default when the field is absent or NULL.
double FieldToFloatDef(const TDbQuery& Query, const QString& Field, double Default);
// A signed decimal number typed by the user, read by ReadTypedNumber (core/TypedNumber);
// Default when the text is no such number.
double ParseDecimalText(const QString& Text, double Default);

// Upper-case ASCII key: spaces, "-" and "_" dropped, Turkish letters folded ('Parçalı' -> PARCALI).
QString FoldKey(const QString& Text);
// "NAKIT" -> "NAKİT"/"Nakit", "KART", and a split payment, "KARMA" as the till stores it or
// "PARCALI", -> "PARÇALI"/"Parçalı"; other words trimmed.
QString PaymentTypeDisplay(const QString& Value, bool UpperCase);
// "ACIK" -> "AÇIK"/"Açık", "KAPALI", "AKTIF", "PASIF", "IADE", "IPTAL"; other words trimmed.
QString StatusDisplay(const QString& Value, bool UpperCase);

// Formats Value with one of the display patterns: "#,##0.00 TL", "#,##0.00", "0.00 TL", "0.00",
// "0.##", "#,##0.###", "0.000", "#,##0", "#,##0.00## TL" (two to four decimals). Rounds at the
// last digit shown by the display rule (TMoney::ShownDigits), groups digits where the pattern has
// ",", and never shows a negative zero.
QString FormatFloat(const QString& Pattern, double Value);
// Money as shown everywhere: "#,##0.00 TL".
QString FormatMoney(double Value);

// A stored date and time: a QDateTime/QDate value, or the text SQLite keeps
// ("yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd", ISO with "T"). Invalid when it is none of these.
QDateTime VariantToDateTime(const QVariant& Value);
