#include "core/TextColumns.h"

#include <algorithm>

namespace {
int Length(const QString& text)
{
    return int(text.size());
}

// The columns a field's text takes at `width`: a text that may be cut takes at most the width.
int Need(const TTextColumn& column, int width)
{
    return column.Whole ? Length(column.Text) : std::min(Length(column.Text), width);
}

QString Cell(const TTextColumn& column, int width)
{
    QString text = column.Text;
    if (Length(text) > width)
        text = column.Right ? text.right(width) : text.left(width);
    return column.Right ? text.rightJustified(width, u' ') : text.leftJustified(width, u' ');
}

QString Join(const QList<TTextColumn>& columns, const QList<int>& widths, const QString& separator)
{
    QStringList cells;
    for (int i = 0; i < columns.size(); ++i)
        cells << Cell(columns.at(i), widths.at(i));
    return cells.join(separator);
}

// The fields a field borrows blanks from: the nearest first, and of two as near the one on the
// side it grows towards (an amount to its left), so the columns further away stay in place.
QList<int> Lenders(int field, int count, bool right)
{
    QList<int> lenders;
    const int toward = right ? -1 : 1;
    for (int distance = 1; distance < count; ++distance) {
        for (const int side : {toward, -toward}) {
            const int j = field + side * distance;
            if (j >= 0 && j < count)
                lenders << j;
        }
    }
    return lenders;
}

// Widens every whole field that is longer than its width with the blanks of the others. False
// when the blanks are not enough; `widths` then holds what was lent so far.
bool Fit(const QList<TTextColumn>& columns, QList<int>& widths, bool touching)
{
    const int count = int(columns.size());
    for (int i = 0; i < count; ++i) {
        const TTextColumn& column = columns.at(i);
        int missing = Need(column, widths.at(i)) - widths.at(i);
        // Without a separator a field that grows keeps a blank on its open side, towards the
        // text of the field beside it.
        const bool neighbour = column.Right ? i > 0 : i + 1 < count;
        if (missing > 0 && touching && neighbour)
            ++missing;
        for (const int j : Lenders(i, count, column.Right)) {
            if (missing <= 0)
                break;
            const int need = Need(columns.at(j), widths.at(j));
            const int kept = touching && need > 0 ? 1 : 0;
            const int lent = std::min(missing, std::max(0, widths.at(j) - need - kept));
            widths[j] -= lent;
            widths[i] += lent;
            missing -= lent;
        }
        if (missing > 0)
            return false;
    }
    return true;
}

// One field alone on lines of `width`, in pieces where it is longer.
QStringList Alone(const TTextColumn& column, int width)
{
    if (width <= 0)
        return {column.Text};
    QStringList lines;
    QString rest = column.Text;
    while (Length(rest) > width) {
        lines << rest.left(width);
        rest = rest.mid(width);
    }
    lines << Cell({rest, width, column.Right, true}, width);
    return lines;
}

QList<int> Widths(const QList<TTextColumn>& columns)
{
    QList<int> widths;
    for (const TTextColumn& column : columns)
        widths << column.Width;
    return widths;
}

bool Blank(const QString& line)
{
    return line.trimmed().isEmpty();
}
} // namespace

QStringList TextColumns::Layout(const QList<TTextColumn>& Columns, const QString& Separator)
{
    const bool touching = Separator.isEmpty();
    QList<int> widths = Widths(Columns);
    if (Fit(Columns, widths, touching))
        return {Join(Columns, widths, Separator)};

    QList<TTextColumn> staying = Columns;
    QList<TTextColumn> moving = Columns;
    QList<int> moved;
    for (int i = 0; i < Columns.size(); ++i) {
        const TTextColumn& column = Columns.at(i);
        const bool moves = column.Whole && Length(column.Text) > column.Width;
        (moves ? staying : moving)[i].Text.clear();
        if (moves)
            moved << i;
    }
    QStringList lines;
    const QString first = Join(staying, Widths(Columns), Separator);
    if (!Blank(first))
        lines << first;
    widths = Widths(Columns);
    if (Fit(moving, widths, touching)) {
        lines << Join(moving, widths, Separator);
        return lines;
    }
    const int lineWidth = Length(first);
    for (const int i : moved)
        lines << Alone(Columns.at(i), lineWidth);
    return lines;
}

QStringList TextColumns::Wrap(const QString& Text, int Width)
{
    if (Width <= 0)
        return {};
    QStringList lines;
    QString line;
    for (QString word : Text.simplified().split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && Length(line) + 1 + Length(word) <= Width) {
            line += u' ' + word;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        while (Length(word) > Width) {
            lines << word.left(Width);
            word = word.mid(Width);
        }
        line = word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}
