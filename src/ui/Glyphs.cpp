#include "ui/Glyphs.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

namespace {
const QString kTablerFamily = QStringLiteral("tabler-icons");

// Characters of the tabler icon font; 0 where the painted stroke serves better.
char16_t TablerCode(TGlyph glyph)
{
    switch (glyph) {
    case TGlyph::Search:
        return 0xEB1C;
    case TGlyph::Close:
        return 0xEB55;
    case TGlyph::Reply:
        return 0xEB77;
    case TGlyph::CheckMark:
        return 0xEA5E;
    case TGlyph::User:
        return 0xEB4D;
    case TGlyph::Lock:
        return 0xEAE2;
    case TGlyph::Edit:
        return 0xEB04;
    case TGlyph::Delete:
        return 0xEB41;
    case TGlyph::ChevronDown:
        return 0xEA5F;
    case TGlyph::Print:
        return 0xEB0E;
    default:
        return 0;
    }
}

// The strokes of each glyph on a 24 x 24 grid, in the style of the tabler outline icons.
QPainterPath StrokePath(TGlyph glyph)
{
    QPainterPath p;
    switch (glyph) {
    case TGlyph::None:
        break;
    case TGlyph::Search:
        p.addEllipse(QPointF(10, 10), 7, 7);
        p.moveTo(21, 21);
        p.lineTo(15, 15);
        break;
    case TGlyph::Close:
        p.moveTo(18, 6);
        p.lineTo(6, 18);
        p.moveTo(6, 6);
        p.lineTo(18, 18);
        break;
    case TGlyph::Reply:
        p.moveTo(9, 14);
        p.lineTo(5, 10);
        p.lineTo(9, 6);
        p.moveTo(5, 10);
        p.lineTo(16, 10);
        p.arcTo(QRectF(12, 10, 8, 8), 90, -180);
        p.lineTo(15, 18);
        break;
    case TGlyph::CheckMark:
        p.moveTo(5, 12);
        p.lineTo(10, 17);
        p.lineTo(20, 7);
        break;
    case TGlyph::User:
        p.addEllipse(QPointF(12, 7), 4, 4);
        p.moveTo(6, 21);
        p.lineTo(6, 19);
        p.arcTo(QRectF(6, 15, 8, 8), 180, -90);
        p.lineTo(14, 15);
        p.arcTo(QRectF(10, 15, 8, 8), 90, -90);
        p.lineTo(18, 21);
        break;
    case TGlyph::Lock:
        p.addRoundedRect(QRectF(5, 11, 14, 10), 2, 2);
        p.addEllipse(QPointF(12, 16), 1, 1);
        p.moveTo(8, 11);
        p.lineTo(8, 7);
        p.arcTo(QRectF(8, 3, 8, 8), 180, -180);
        p.lineTo(16, 11);
        break;
    case TGlyph::Power:
        p.arcMoveTo(QRectF(4.25, 4.5, 15.5, 15.5), 130);
        p.arcTo(QRectF(4.25, 4.5, 15.5, 15.5), 130, 280);
        p.moveTo(12, 3);
        p.lineTo(12, 11);
        break;
    case TGlyph::Clock:
        p.addEllipse(QPointF(12, 12), 9, 9);
        p.moveTo(12, 7);
        p.lineTo(12, 12);
        p.lineTo(15, 15);
        break;
    case TGlyph::Chart:
        p.addRoundedRect(QRectF(3, 12, 5, 8), 1, 1);
        p.addRoundedRect(QRectF(9.5, 8, 5, 12), 1, 1);
        p.addRoundedRect(QRectF(16, 4, 5, 16), 1, 1);
        break;
    case TGlyph::Basket:
        p.moveTo(7, 10);
        p.lineTo(12, 4);
        p.lineTo(17, 10);
        p.moveTo(3, 10);
        p.lineTo(21, 10);
        p.lineTo(19, 19);
        p.lineTo(5, 19);
        p.closeSubpath();
        p.addEllipse(QPointF(12, 14.5), 1.8, 1.8);
        break;
    case TGlyph::Gear:
        p.addEllipse(QPointF(12, 12), 3, 3);
        p.addEllipse(QPointF(12, 12), 6.5, 6.5);
        for (int i = 0; i < 8; ++i) {
            QLineF tooth(QPointF(12, 12), QPointF(12, 2.5));
            tooth.setAngle(90 + i * 45);
            const QLineF outer(tooth.pointAt(6.5 / 9.5), tooth.p2());
            p.moveTo(outer.p1());
            p.lineTo(outer.p2());
        }
        break;
    case TGlyph::Letter:
        p.addRoundedRect(QRectF(5, 3, 14, 18), 2, 2);
        p.addRect(QRectF(8, 6, 8, 3));
        for (qreal y : {13.0, 17.0}) {
            for (qreal x : {8.5, 12.0, 15.5}) {
                p.moveTo(x, y);
                p.lineTo(x + 0.01, y);
            }
        }
        break;
    case TGlyph::Edit:
        p.moveTo(4, 20);
        p.lineTo(8, 20);
        p.lineTo(18.5, 9.5);
        p.lineTo(14.5, 5.5);
        p.lineTo(4, 16);
        p.closeSubpath();
        p.moveTo(13.5, 6.5);
        p.lineTo(17.5, 10.5);
        break;
    case TGlyph::Tag:
        p.moveTo(3, 3);
        p.lineTo(11, 3);
        p.lineTo(21, 13);
        p.lineTo(13, 21);
        p.lineTo(3, 11);
        p.closeSubpath();
        p.addEllipse(QPointF(7.5, 7.5), 1.5, 1.5);
        break;
    case TGlyph::Delete:
        p.moveTo(4, 7);
        p.lineTo(20, 7);
        p.moveTo(10, 11);
        p.lineTo(10, 17);
        p.moveTo(14, 11);
        p.lineTo(14, 17);
        p.moveTo(5, 7);
        p.lineTo(6, 21);
        p.lineTo(18, 21);
        p.lineTo(19, 7);
        p.moveTo(9, 7);
        p.lineTo(9, 3);
        p.lineTo(15, 3);
        p.lineTo(15, 7);
        break;
    case TGlyph::ChevronDown:
        p.moveTo(6, 9);
        p.lineTo(12, 15);
        p.lineTo(18, 9);
        break;
    case TGlyph::Print:
        p.moveTo(7, 17);
        p.lineTo(5, 17);
        p.lineTo(5, 9);
        p.lineTo(19, 9);
        p.lineTo(19, 17);
        p.lineTo(17, 17);
        p.moveTo(7, 9);
        p.lineTo(7, 3);
        p.lineTo(17, 3);
        p.lineTo(17, 9);
        p.addRect(QRectF(7, 13, 10, 8));
        break;
    case TGlyph::Plus:
        p.moveTo(12, 5);
        p.lineTo(12, 19);
        p.moveTo(5, 12);
        p.lineTo(19, 12);
        break;
    case TGlyph::Cart:
        p.addEllipse(QPointF(6, 19), 2, 2);
        p.addEllipse(QPointF(17, 19), 2, 2);
        p.moveTo(17, 17);
        p.lineTo(6, 17);
        p.lineTo(6, 3);
        p.lineTo(4, 3);
        p.moveTo(6, 5);
        p.lineTo(20, 6);
        p.lineTo(19, 13);
        p.lineTo(6, 13);
        break;
    case TGlyph::Save:
        p.moveTo(4, 6);
        p.lineTo(6, 4);
        p.lineTo(17, 4);
        p.lineTo(20, 7);
        p.lineTo(20, 18);
        p.lineTo(18, 20);
        p.lineTo(6, 20);
        p.lineTo(4, 18);
        p.closeSubpath();
        p.addEllipse(QPointF(12, 14), 2, 2);
        p.moveTo(14, 4);
        p.lineTo(14, 8);
        p.lineTo(8, 8);
        break;
    case TGlyph::NewFile:
        p.moveTo(14, 3);
        p.lineTo(14, 7);
        p.lineTo(18, 7);
        p.moveTo(14, 3);
        p.lineTo(7, 3);
        p.lineTo(5, 5);
        p.lineTo(5, 19);
        p.lineTo(7, 21);
        p.lineTo(17, 21);
        p.lineTo(19, 19);
        p.lineTo(19, 8);
        p.closeSubpath();
        p.moveTo(12, 11);
        p.lineTo(12, 17);
        p.moveTo(9, 14);
        p.lineTo(15, 14);
        break;
    case TGlyph::Undo:
        p.moveTo(9, 14);
        p.lineTo(5, 10);
        p.lineTo(9, 6);
        p.moveTo(5, 10);
        p.lineTo(15, 10);
        p.arcTo(QRectF(10, 10, 10, 10), 90, -180);
        p.lineTo(11, 20);
        break;
    case TGlyph::Details:
        for (qreal y : {6.0, 12.0, 18.0}) {
            p.moveTo(4, y);
            p.lineTo(4.01, y);
            p.moveTo(9, y);
            p.lineTo(20, y);
        }
        break;
    case TGlyph::Inbox:
        p.addRoundedRect(QRectF(4, 4, 16, 16), 2, 2);
        p.moveTo(4, 13);
        p.lineTo(8, 13);
        p.lineTo(11, 16);
        p.lineTo(13, 16);
        p.lineTo(16, 13);
        p.lineTo(20, 13);
        break;
    case TGlyph::Minimize:
        p.moveTo(5, 18);
        p.lineTo(19, 18);
        break;
    case TGlyph::Maximize:
        p.addRect(QRectF(5, 5, 14, 14));
        break;
    }
    return p;
}
} // namespace

namespace Glyphs {
TGlyph FromMdl2(char16_t code)
{
    switch (code) {
    case 0xE721:
        return TGlyph::Search;
    case 0xE711:
    case 0xE8BB:
        return TGlyph::Close;
    case 0xE97A:
        return TGlyph::Reply;
    case 0xE73E:
        return TGlyph::CheckMark;
    case 0xE77B:
        return TGlyph::User;
    case 0xE72E:
        return TGlyph::Lock;
    case 0xE7E8:
        return TGlyph::Power;
    case 0xE823:
        return TGlyph::Clock;
    case 0xE9D2:
        return TGlyph::Chart;
    case 0xE713:
        return TGlyph::Gear;
    case 0xE8EF:
        return TGlyph::Letter;
    case 0xE70F:
        return TGlyph::Edit;
    case 0xE8EC:
        return TGlyph::Tag;
    case 0xE74D:
        return TGlyph::Delete;
    case 0xE7BF:
        return TGlyph::Cart;
    case 0xE70D:
        return TGlyph::ChevronDown;
    case 0xE749:
        return TGlyph::Print;
    case 0xE74E:
        return TGlyph::Save;
    case 0xE710:
        return TGlyph::Plus;
    default:
        return TGlyph::None;
    }
}

bool TablerFontLoaded()
{
    return QFontDatabase::families().contains(kTablerFamily);
}

void Paint(QPainter& painter, const QRectF& box, TGlyph glyph, const QColor& color, qreal thickness)
{
    if (glyph == TGlyph::None || box.isEmpty())
        return;
    const qreal side = qMin(box.width(), box.height());
    const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const char16_t code = TablerCode(glyph);
    if (code != 0 && TablerFontLoaded()) {
        QFont font(kTablerFamily);
        font.setPixelSize(qRound(side));
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(square, Qt::AlignCenter, QString(QChar(code)));
        painter.restore();
        return;
    }
    QPen pen(color, thickness, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.translate(square.topLeft());
    painter.scale(side / 24.0, side / 24.0);
    painter.drawPath(StrokePath(glyph));
    painter.restore();
}
} // namespace Glyphs

TGlyphLabel::TGlyphLabel(TGlyph glyph, QWidget* parent)
    : QWidget(parent)
    , FGlyph(glyph)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TGlyphLabel::SetGlyph(TGlyph glyph)
{
    FGlyph = glyph;
    update();
}

void TGlyphLabel::SetColors(const QColor& color, const QColor& disabledColor)
{
    FColor = color;
    FDisabledColor = disabledColor;
    update();
}

void TGlyphLabel::SetGlyphSize(int size)
{
    FGlyphSize = size;
    update();
}

void TGlyphLabel::SetThickness(qreal thickness)
{
    FThickness = thickness;
    update();
}

void TGlyphLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF box(QPointF(0, 0), QSizeF(FGlyphSize, FGlyphSize));
    Glyphs::Paint(painter, box.translated(QRectF(rect()).center() - box.center()), FGlyph,
                  isEnabled() ? FColor : FDisabledColor, FThickness);
}
