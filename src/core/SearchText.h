#pragma once

#include <QString>
#include <QStringView>

// Text as the product search compares it: letter case ignored the Turkish way, as SQL Server's
// Turkish case-insensitive collation compares ("I" and "ı" are one letter, "İ" and "i" another,
// "ü" stays apart from "u"), and the LIKE patterns of the search ("%" any run of characters,
// "_" exactly one character, everything else itself).
namespace SearchText {
// The lower-case form in which two texts are equal exactly when the collation finds them equal
// letter for letter: "I" becomes "ı", "İ" becomes "i", every other letter its lower case.
QString Fold(QStringView text);
} // namespace SearchText

// A LIKE pattern without an escape character, matched against text as SQLite's LIKE matches it
// once both sides are folded: "%" and "_" are the only special characters, "_" takes one whole
// character (a surrogate pair counts as one).
//
//   TLikePattern p(u"%s_t%");
//   p.Matches(u"süt") == true
class TLikePattern {
public:
    explicit TLikePattern(QString pattern);

    bool Matches(QStringView text) const;
    const QString& Pattern() const { return FPattern; }

private:
    QString FPattern;
};
