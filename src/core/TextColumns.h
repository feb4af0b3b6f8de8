#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One field of a fixed-width text line (a receipt, a report): its text, the columns it is
// given, its alignment, and whether it may be cut.
struct TTextColumn {
    QString Text;
    int Width = 0;
    bool Right = false;
    // An amount, or a text that carries one: never cut. Other texts are cut to their width, a
    // left-aligned one keeping its first characters, a right-aligned one its last.
    bool Whole = false;

    static TTextColumn Plain(const QString& Text, int Width) { return {Text, Width, false, false}; }
    static TTextColumn Amount(const QString& Text, int Width) { return {Text, Width, true, true}; }
    // Left-aligned and never cut: a label with its amount ("Nakit Satış : 1.234,50 TL").
    static TTextColumn Labelled(const QString& Text, int Width)
    {
        return {Text, Width, false, true};
    }
};

// Fields side by side in fixed columns, joined by a separator. Every line is exactly the sum of
// the widths and separators wide.
//
// Where every text fits its width the line is laid out exactly as the widths say. A whole field
// that is longer takes the blanks of the other fields, the nearest first; of two neighbours as
// near, an amount (right aligned) takes from the one on its left first, a left-aligned field from
// the one on its right. Without a separator, a field that lends keeps one blank beside its text
// and a field that grows keeps one on its open side, so texts never touch.
// When the blanks are not enough, every whole field that is longer than its width moves to a
// line below, laid out the same way with the other fields blank; where even that does not fit,
// each takes a line of its own, and a field longer than a whole line is written in pieces of the
// line's width. A line left blank by the fields that moved is dropped.
namespace TextColumns {
QStringList Layout(const QList<TTextColumn>& Columns, const QString& Separator = QString());
// A text on lines of at most `Width` characters, broken between words (blanks and line breaks
// count as one blank); a word longer than a line is broken inside. No line for a blank text.
QStringList Wrap(const QString& Text, int Width);
} // namespace TextColumns
