#pragma once

#include "sales/CatalogueRules.h"

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

// The catalogue's icons: the category icons and the glyphs of tiles without a picture. Each is
// drawn as a character of the tabler icon font while that font is loaded, else as strokes in a
// 24 x 24 box in the outline style of that font, so the catalogue looks the same either way.
namespace CatalogueIcons {
// The colour of a category's icon and of the badges of its products, by the keywords of its
// name (CatalogueRules::FoldKeyword), in the order the rules are tried.
QColor CategoryIconColor(const QString& name, bool isAll);
QColor CategoryBadgeColor(const QString& name);

// The outline icon `name` ("grid-dots", "user", "spray", "droplet", "bottle", "milk",
// "pepper", "bowl", "leaf", "basket", "flag", "star", "brand-peanut", "seeding", "sausage",
// "bread"; a box for any other name) in the 24 x 24 box at the painter's origin, with a 2 px
// solid pen in `color` and no fill.
void DrawLineIcon(QPainter& painter, const QString& name, const QColor& color);

// A category icon centred in `box`: the font's character at 22 px while the font is loaded and
// the name has one, else the line icon.
void DrawCategoryIcon(QPainter& painter, const QRectF& box, const QString& name,
                      const QColor& color, bool fontLoaded);

// The placeholder glyph of a tile, `size` pixels, strokes `thickness` wide, centred in `box`.
void DrawPlaceholder(QPainter& painter, const QRectF& box, CatalogueRules::TPlaceholder glyph,
                     const QColor& color, int size, qreal thickness, bool fontLoaded);
} // namespace CatalogueIcons

// The optional icon font of the catalogue, loaded for this process only. Every window that
// loads it unloads it again; the font goes when the last of them does.
class TIconFont {
public:
    TIconFont() = delete;

    static const QString& Family();
    // Adds the font file to the fonts of this process (once, however many windows ask); true
    // when the font is there. The open windows repaint with it.
    static bool Load(const QString& path);
    // Removes it again and repaints the windows.
    static void Unload();
    static bool Loaded();
};
