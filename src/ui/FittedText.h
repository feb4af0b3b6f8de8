#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

class QPainter;

// Text fitted into a box instead of running past its edge: wrapped at word boundaries and,
// where one word is longer than a line (a 300-digit code), inside the word; text that needs
// more lines than the box holds ends with "…" on its last line.
class TFittedText {
public:
    TFittedText() = delete;

    // The lines `text` is shown as in a box of `box` pixels in `font`.
    static QStringList Lines(const QString& text, const QFont& font, const QSize& box);
    // How many lines `text` wraps into at `width` pixels, however many a box would hold.
    static int LineCount(const QString& text, const QFont& font, int width);
    // Draws the fitted lines in `box`, each aligned by `alignment`'s horizontal part, the block
    // by its vertical part.
    static void Draw(QPainter& painter, const QRect& box, const QString& text, const QFont& font,
                     Qt::Alignment alignment);
};
