#include "ui/FittedText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace {
struct TLineSpan {
    int Start;
    int Length;
};

QString LaidOut(const QString& text)
{
    QString laidOut = text;
    laidOut.replace(u'\n', QChar::LineSeparator);
    return laidOut;
}

QList<TLineSpan> Wrap(const QString& laidOut, const QFont& font, int width)
{
    QTextLayout layout(laidOut, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QList<TLineSpan> spans;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        spans.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    return spans;
}

// Most cells hold one short line: they need no text layout.
bool FitsOneLine(const QString& text, const QFont& font, int width)
{
    return !text.contains(u'\n') && QFontMetrics(font).horizontalAdvance(text) <= width;
}

QString Shown(const QString& laidOut, const TLineSpan& span)
{
    QString line = laidOut.mid(span.Start, span.Length);
    line.remove(QChar::LineSeparator);
    return line.trimmed();
}
} // namespace

QStringList TFittedText::Lines(const QString& text, const QFont& font, const QSize& box)
{
    if (FitsOneLine(text, font, box.width()))
        return {text};
    const QString laidOut = LaidOut(text);
    const QList<TLineSpan> spans = Wrap(laidOut, font, box.width());
    const QFontMetrics metrics(font);
    const int fitting = qMax(1, box.height() / metrics.lineSpacing());
    QStringList lines;
    for (int i = 0; i < spans.size() && i < fitting - 1; ++i)
        lines << Shown(laidOut, spans.at(i));
    if (spans.size() < fitting)
        return lines;
    if (spans.size() == fitting) {
        lines << Shown(laidOut, spans.last());
        return lines;
    }
    QString rest = laidOut.mid(spans.at(fitting - 1).Start);
    rest.replace(QChar::LineSeparator, u' ');
    lines << metrics.elidedText(rest.trimmed(), Qt::ElideRight, box.width());
    return lines;
}

int TFittedText::LineCount(const QString& text, const QFont& font, int width)
{
    if (FitsOneLine(text, font, width))
        return 1;
    return int(Wrap(LaidOut(text), font, width).size());
}

void TFittedText::Draw(QPainter& painter, const QRect& box, const QString& text, const QFont& font,
                       Qt::Alignment alignment)
{
    const QStringList lines = Lines(text, font, box.size());
    const QFontMetrics metrics(font);
    const int height = int(lines.size()) * metrics.lineSpacing();
    int top = box.top();
    if (alignment & Qt::AlignVCenter)
        top += (box.height() - height) / 2;
    else if (alignment & Qt::AlignBottom)
        top += box.height() - height;
    painter.setFont(font);
    for (const QString& line : lines) {
        const QRect row(box.left(), top, box.width(), metrics.lineSpacing());
        painter.drawText(row, int((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter), line);
        top += metrics.lineSpacing();
    }
}
