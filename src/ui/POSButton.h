#pragma once

#include "ui/Glyphs.h"

#include <QColor>
#include <QPushButton>
#include <QVariantAnimation>

// The visual states of a glyph button.
enum class TButtonState { Normal, Hot, Pressed, Focused, Disabled };

// Everything a glyph button needs to draw itself. Colours may carry alpha (the header buttons of
// the sales screen are a faint white over the navy band).
struct TButtonLook {
    QColor Fill, FillHot, FillPressed, FillFocused;
    QColor Frame, FrameHot, FramePressed, FrameFocused;
    QColor Text, TextHot, TextPressed;
    QColor FillDisabled, FrameDisabled, TextDisabled;
    int FrameWidth = 1;
    int Radius = 8;
    int GlyphSize = 17;
    qreal GlyphThickness = 2;
    int GlyphAlphaDisabled = 125; // of 255
    int GlyphSpacing = 5;         // pixels between the glyph and the caption

    QColor FillFor(TButtonState state) const;
    QColor FrameFor(TButtonState state) const;
    QColor TextFor(TButtonState state) const;
};

// A rounded button with an optional glyph left of its caption; the pair is centred. The theme
// sets its look (TPOSUITheme::StyleButton); screens with their own colours set a TButtonLook.
// It never takes the keyboard focus and hovering blends smoothly into the hot fill.
class TPOSButton : public QPushButton {
    Q_OBJECT
public:
    explicit TPOSButton(QWidget* parent = nullptr);
    explicit TPOSButton(const QString& caption, QWidget* parent = nullptr);

    void SetLook(const TButtonLook& look);
    const TButtonLook& Look() const { return FLook; }
    void SetGlyph(TGlyph glyph);
    TGlyph Glyph() const { return FGlyph; }

    // The state the button draws now (the hot blend aside).
    TButtonState State() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Init();
    QColor Blend(const QColor& from, const QColor& to) const;

    TButtonLook FLook;
    TGlyph FGlyph = TGlyph::None;
    QVariantAnimation FHotAnimation;
    qreal FHotLevel = 0; // 0 normal .. 1 hot
};
