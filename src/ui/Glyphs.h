#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

// The small line icons of the screens. They are drawn from the tabler icon font when a screen
// has loaded it ("tabler-icons" family), otherwise painted as vector strokes, so every screen
// looks the same whether or not the optional font file is installed.
enum class TGlyph {
    None,
    Search,
    Close,
    Reply,
    CheckMark,
    User,
    Lock,
    Power,
    Clock,
    Chart,
    Basket,
    Gear,
    Letter,
    Edit,
    Tag,
    Delete,
    Cart,
};

namespace Glyphs {
// The glyph the screens name by its "Segoe MDL2 Assets" character (U+E77B user, U+E72E lock,
// U+E7E8 power, U+E73E check mark, U+E70F edit, U+E8EC tag, U+E74D delete, U+E7BF cart, ...).
// Unknown characters give TGlyph::None.
TGlyph FromMdl2(char16_t code);

// Draws `glyph` centred in `box` with strokes of `thickness` pixels. Nothing for TGlyph::None.
void Paint(QPainter& painter, const QRectF& box, TGlyph glyph, const QColor& color,
           qreal thickness = 2.0);

// Whether the tabler icon font is available to the process (the sales screen loads it).
bool TablerFontLoaded();
} // namespace Glyphs
