#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>

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
    ChevronDown,
    Print,
    // The customer card: its actions, field icons and window buttons.
    Save,
    NewFile,
    Undo,
    Details,
    Inbox,
    Minimize,
    Maximize,
    // The parameters editor.
    Plus,
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

// A glyph drawn as a small control (the icons beside edits and inside action buttons). Drawn
// greyed when disabled.
class TGlyphLabel : public QWidget {
    Q_OBJECT
public:
    explicit TGlyphLabel(TGlyph glyph = TGlyph::None, QWidget* parent = nullptr);
    void SetGlyph(TGlyph glyph);
    TGlyph Glyph() const { return FGlyph; }
    void SetColors(const QColor& color, const QColor& disabledColor);
    QColor Color() const { return FColor; }
    void SetGlyphSize(int size);
    void SetThickness(qreal thickness);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TGlyph FGlyph;
    QColor FColor = Qt::black;
    QColor FDisabledColor = Qt::gray;
    int FGlyphSize = 16;
    qreal FThickness = 2;
};
