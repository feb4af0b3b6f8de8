#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Text as the product search compares it: letter case ignored the Turkish way, as SQL Server's
// Turkish case-insensitive collation compares ("I" and "ı" are one letter, "İ" and "i" another,
// "ü" stays apart from "u"), and the pieces of a search term that the search key is asked for
// (the term is a LIKE pattern: "%" any run of characters, "_" exactly one character).

// A piece of a folded term that the search key can be asked for: three characters of one of its
// literal runs (between "%" and "_"), and where it starts in the term, counted in characters.
struct TKeyPiece {
    QString Text;
    int Start = 0;
};

namespace SearchText {
// The lower-case form in which two texts are equal exactly when the collation finds them equal
// letter for letter: "I" becomes "ı", "İ" becomes "i", every other letter its lower case.
QString Fold(QStringView text);

// The folding of the search key, as the database applies it to the pieces it stores (with
// replace() and lower(), which SQLite applies to ASCII letters only): "I" becomes "ı", "İ" "i",
// the other Turkish capitals and the Kelvin sign their small letters, A to Z a to z; every other
// character stays as it is.
QString KeyFold(QStringView text);

// The distinct three-character pieces of a folded term that every text holding the term holds
// as a key piece, whatever its letter case: pieces of characters that KeyFold folds exactly as
// Fold does from every spelling (ASCII, the Turkish letters, characters without letter case).
// A piece with any other character (é, whose capital KeyFold keeps) is left out.
QList<TKeyPiece> KeyPieces(QStringView folded);

// For a term without key pieces: the first three characters of its longest literal run, which
// some stored piece holds in every text that holds the term; empty for a term of wildcards only.
QString ShortRun(QStringView folded);
} // namespace SearchText
