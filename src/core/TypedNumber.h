#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// What a field takes beyond digits and the "." and "," marks.
struct TNumberRules {
    bool Signed = false;       // a leading "-" (the calculator's display, parameters)
    int MaxDecimals = -1;      // more decimals than this refuse the text; -1: any number
    bool CurrencyUnit = false; // a trailing "TL", as money is shown

    // Quantities, weights, discount rates: unsigned, any decimals.
    static TNumberRules Plain() { return {}; }
    // Money typed into a till: unsigned, to the kuruş, "TL" after it allowed.
    static TNumberRules Money() { return {false, 2, true}; }
    // Whole numbers (days, seconds, bounds); parameters may be negative.
    static TNumberRules Whole(bool Signed = false) { return {Signed, 0, false}; }
    // Any decimal number with its sign.
    static TNumberRules SignedDecimal() { return {true, -1, false}; }
};

// The one reading of a number a person typed, for every entry field of the program. No value
// when the text is not, as a whole, a number the field takes: it is never read in part.
//
// - Blanks around the text are ignored, and so is a trailing "TL" where the rules allow it.
// - What is left is ASCII digits with "." and "," marks, after an optional "-" where the rules
//   allow a sign; any other character (a letter, an exponent, a blank inside, "+") refuses it.
// - The decimal separator: with both marks, the one written last (it may appear once) while
//   the other groups; a mark written several times groups; a mark written once groups only
//   where the workstation groups digits with it and it stands as a thousands mark (one to three
//   digits before it, the first not 0, exactly three after it), else it is the decimal
//   separator. On Turkish settings "1.500" is 1500, "1,500", "1,5" and "1.5" are 1.5, and
//   "0.500" is 0.5.
// - Grouping marks stand only in proper groups before the decimal separator: the first group
//   one to three digits not starting with 0, every later group exactly three digits.
// - At least one digit; the separator may open (",5") or close ("7,") the number.
// The digits are converted as written, so "2,5" is the double 2.5 whatever the settings.
std::optional<double> ReadTypedNumber(const QString& Text, const TNumberRules& Rules = {},
                                      const QLocale& Locale = QLocale());
