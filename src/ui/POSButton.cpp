#include "ui/POSButton.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kHotFadeMs = 120;
}

QColor TButtonLook::FillFor(TButtonState state) const
{
    switch (state) {
    case TButtonState::Hot:
        return FillHot;
    case TButtonState::Pressed:
        return FillPressed;
    case TButtonState::Focused:
        return FillFocused;
    case TButtonState::Disabled:
        return FillDisabled;
    case TButtonState::Normal:
        break;
    }
    return Fill;
}

QColor TButtonLook::FrameFor(TButtonState state) const
{
    switch (state) {
    case TButtonState::Hot:
        return FrameHot;
    case TButtonState::Pressed:
        return FramePressed;
    case TButtonState::Focused:
        return FrameFocused;
    case TButtonState::Disabled:
        return FrameDisabled;
    case TButtonState::Normal:
        break;
    }
    return Frame;
}

QColor TButtonLook::TextFor(TButtonState state) const
{
    switch (state) {
    case TButtonState::Hot:
        return TextHot;
    case TButtonState::Pressed:
        return TextPressed;
    case TButtonState::Disabled:
        return TextDisabled;
    case TButtonState::Focused:
    case TButtonState::Normal:
        break;
    }
    return Text;
}

TPOSButton::TPOSButton(QWidget* parent)
    : QPushButton(parent)
{
    Init();
}

TPOSButton::TPOSButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    Init();
}

void TPOSButton::Init()
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoDefault(false);
    setFlat(true);
    FHotAnimation.setDuration(kHotFadeMs);
    FHotAnimation.setStartValue(0.0);
    FHotAnimation.setEndValue(1.0);
    connect(&FHotAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        FHotLevel = value.toReal();
        update();
    });
}

void TPOSButton::SetLook(const TButtonLook& look)
{
    FLook = look;
    update();
}

void TPOSButton::SetGlyph(TGlyph glyph)
{
    FGlyph = glyph;
    updateGeometry();
    update();
}

TButtonState TPOSButton::State() const
{
    if (!isEnabled())
        return TButtonState::Disabled;
    if (isDown())
        return TButtonState::Pressed;
    if (underMouse())
        return TButtonState::Hot;
    if (hasFocus())
        return TButtonState::Focused;
    return TButtonState::Normal;
}

QSize TPOSButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(text()) + 24;
    if (FGlyph != TGlyph::None)
        width += FLook.GlyphSize + FLook.GlyphSpacing;
    return {width, qMax(metrics.height(), FLook.GlyphSize) + 16};
}

void TPOSButton::enterEvent(QEnterEvent* event)
{
    FHotAnimation.setDirection(QAbstractAnimation::Forward);
    if (FHotAnimation.state() != QAbstractAnimation::Running)
        FHotAnimation.start();
    QPushButton::enterEvent(event);
}

void TPOSButton::leaveEvent(QEvent* event)
{
    FHotAnimation.setDirection(QAbstractAnimation::Backward);
    if (FHotAnimation.state() != QAbstractAnimation::Running)
        FHotAnimation.start();
    QPushButton::leaveEvent(event);
}

QColor TPOSButton::Blend(const QColor& from, const QColor& to) const
{
    const qreal t = qBound(0.0, FHotLevel, 1.0);
    auto mix = [t](float a, float b) {
        return a + (b - a) * float(t);
    };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()),
                            mix(from.blueF(), to.blueF()), mix(from.alphaF(), to.alphaF()));
}

void TPOSButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const TButtonState state = State();
    QColor fill = FLook.FillFor(state);
    QColor frame = FLook.FrameFor(state);
    QColor ink = FLook.TextFor(state);
    if (state == TButtonState::Normal || state == TButtonState::Hot) {
        fill = Blend(FLook.Fill, FLook.FillHot);
        frame = Blend(FLook.Frame, FLook.FrameHot);
        ink = Blend(FLook.Text, FLook.TextHot);
    }

    const qreal half = FLook.FrameWidth / 2.0;
    const QRectF shape = QRectF(rect()).adjusted(half, half, -half, -half);
    QPainterPath outline;
    outline.addRoundedRect(shape, FLook.Radius, FLook.Radius);
    painter.fillPath(outline, fill);
    if (FLook.FrameWidth > 0 && frame.alpha() > 0)
        painter.strokePath(outline, QPen(frame, FLook.FrameWidth));

    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    const bool withGlyph = FGlyph != TGlyph::None;
    const int glyphWidth = withGlyph ? FLook.GlyphSize : 0;
    const int gap = withGlyph && !text().isEmpty() ? FLook.GlyphSpacing : 0;
    const int contentWidth = glyphWidth + gap + textWidth;
    const qreal left = (width() - contentWidth) / 2.0;
    if (withGlyph) {
        QColor glyphColor = ink;
        if (state == TButtonState::Disabled)
            glyphColor.setAlpha(FLook.GlyphAlphaDisabled);
        const QRectF box(left, (height() - FLook.GlyphSize) / 2.0, FLook.GlyphSize,
                         FLook.GlyphSize);
        Glyphs::Paint(painter, box, FGlyph, glyphColor, FLook.GlyphThickness);
    }
    painter.setPen(ink);
    painter.setFont(font());
    const QRectF textBox(left + glyphWidth + gap, 0, textWidth + 1, height());
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}
