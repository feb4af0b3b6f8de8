#include "ui/CatalogueIcons.h"

#include "ui/POSUITheme.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QWidget>

namespace {
using TPlaceholder = CatalogueRules::TPlaceholder;

int FontID = -1;
int FontUsers = 0;

QPolygonF Polygon(std::initializer_list<QPointF> points)
{
    return QPolygonF(QList<QPointF>(points));
}

QPainterPath BoxPath()
{
    QPainterPath p;
    p.addPolygon(Polygon({{12, 3}, {20, 7.5}, {20, 16.5}, {12, 21}, {4, 16.5}, {4, 7.5}, {12, 3}}));
    p.moveTo(12, 12);
    p.lineTo(20, 7.5);
    p.moveTo(12, 12);
    p.lineTo(12, 21);
    p.moveTo(12, 12);
    p.lineTo(4, 7.5);
    return p;
}

QPainterPath PackagePath()
{
    QPainterPath p = BoxPath();
    p.moveTo(16, 5.25);
    p.lineTo(8, 9.75);
    return p;
}

QPainterPath UserPath()
{
    QPainterPath p;
    p.addEllipse(QPointF(12, 7), 4, 4);
    p.moveTo(6, 21);
    p.lineTo(6, 19);
    p.arcTo(QRectF(6, 15, 8, 8), 180, -90);
    p.lineTo(14, 15);
    p.arcTo(QRectF(10, 15, 8, 8), 90, -90);
    p.lineTo(18, 21);
    return p;
}

QPainterPath BasketPath()
{
    QPainterPath p;
    p.moveTo(7, 10);
    p.lineTo(12, 4);
    p.lineTo(17, 10);
    p.addPolygon(Polygon({{3, 10}, {21, 10}, {19, 19}, {5, 19}, {3, 10}}));
    p.addEllipse(QPointF(12, 14.5), 1.8, 1.8);
    return p;
}

QPainterPath FlagPath()
{
    QPainterPath p;
    p.moveTo(5, 21);
    p.lineTo(5, 4);
    p.lineTo(17, 4);
    p.lineTo(14, 8.5);
    p.lineTo(17, 13);
    p.lineTo(5, 13);
    return p;
}

QPainterPath StarPath()
{
    QPainterPath p;
    p.addPolygon(Polygon({{12, 3},
                          {15, 9},
                          {22, 9},
                          {17, 13},
                          {19, 20},
                          {12, 16},
                          {5, 20},
                          {7, 13},
                          {2, 9},
                          {9, 9},
                          {12, 3}}));
    return p;
}

QPainterPath DropletPath()
{
    QPainterPath p;
    p.addPolygon(Polygon({{12, 3}, {17, 10}, {17, 16}, {12, 21}, {7, 16}, {7, 10}, {12, 3}}));
    return p;
}

QPainterPath SprayPath()
{
    QPainterPath p;
    p.addRoundedRect(QRectF(5, 10, 8, 11), 2, 2);
    p.addRect(QRectF(7, 6, 4, 4));
    p.moveTo(11, 7);
    p.lineTo(14, 7);
    for (const QPointF dot :
         {QPointF(17, 5), QPointF(17, 9), QPointF(20, 3), QPointF(20, 7), QPointF(20, 11)}) {
        p.moveTo(dot);
        p.lineTo(dot + QPointF(0.01, 0));
    }
    return p;
}

QPainterPath BottlePath()
{
    QPainterPath p;
    p.addRect(QRectF(10, 3, 4, 3));
    p.moveTo(10, 6);
    p.lineTo(10, 8);
    p.quadTo(7, 10, 7, 13);
    p.lineTo(7, 20);
    p.quadTo(7, 21, 8, 21);
    p.lineTo(16, 21);
    p.quadTo(17, 21, 17, 20);
    p.lineTo(17, 13);
    p.quadTo(17, 10, 14, 8);
    p.lineTo(14, 6);
    p.moveTo(7, 14);
    p.lineTo(17, 14);
    return p;
}

QPainterPath MilkPath()
{
    QPainterPath p;
    p.addRect(QRectF(8, 3, 8, 3));
    p.moveTo(8, 6);
    p.lineTo(6, 10);
    p.lineTo(6, 21);
    p.lineTo(18, 21);
    p.lineTo(18, 10);
    p.lineTo(16, 6);
    p.moveTo(6, 10);
    p.lineTo(18, 10);
    p.moveTo(6, 15);
    p.quadTo(9, 13, 12, 15);
    p.quadTo(15, 17, 18, 15);
    return p;
}

QPainterPath PepperPath()
{
    QPainterPath p;
    p.moveTo(13, 7);
    p.cubicTo(17, 7, 19, 11, 17, 15);
    p.cubicTo(15, 19, 9, 22, 5, 20);
    p.cubicTo(9, 18, 10, 15, 10, 12);
    p.cubicTo(10, 9, 11, 7, 13, 7);
    p.moveTo(13, 7);
    p.cubicTo(13, 5, 14, 4, 16, 3);
    return p;
}

QPainterPath BowlPath()
{
    QPainterPath p;
    p.moveTo(4, 11);
    p.lineTo(20, 11);
    p.arcTo(QRectF(4, 3, 16, 16), 0, -180);
    p.moveTo(9, 20);
    p.lineTo(15, 20);
    return p;
}

QPainterPath LeafPath()
{
    QPainterPath p;
    p.moveTo(5, 21);
    p.cubicTo(5, 11, 11, 5, 20, 4);
    p.cubicTo(19, 13, 13, 19, 5, 19);
    p.moveTo(5, 21);
    p.lineTo(13, 12);
    return p;
}

QPainterPath PeanutPath()
{
    QPainterPath p;
    p.moveTo(12, 3);
    p.cubicTo(8.5, 3, 7, 6, 8, 9);
    p.cubicTo(8.6, 10.8, 8.6, 13.2, 8, 15);
    p.cubicTo(7, 18, 8.5, 21, 12, 21);
    p.cubicTo(15.5, 21, 17, 18, 16, 15);
    p.cubicTo(15.4, 13.2, 15.4, 10.8, 16, 9);
    p.cubicTo(17, 6, 15.5, 3, 12, 3);
    p.moveTo(11, 7);
    p.lineTo(13, 8);
    p.moveTo(11, 16);
    p.lineTo(13, 17);
    return p;
}

QPainterPath SeedingPath()
{
    QPainterPath p;
    p.moveTo(12, 21);
    p.lineTo(12, 10);
    p.cubicTo(12, 6, 9, 4, 5, 4);
    p.cubicTo(5, 8, 8, 10, 12, 10);
    p.moveTo(12, 13);
    p.cubicTo(12, 9, 15, 7, 19, 7);
    p.cubicTo(19, 11, 16, 13, 12, 13);
    return p;
}

QPainterPath SausagePath()
{
    QPainterPath p;
    p.moveTo(5, 8);
    p.cubicTo(5, 15, 10, 19, 17, 19);
    p.cubicTo(19.5, 19, 19.5, 15, 17, 15);
    p.cubicTo(12, 15, 9, 12, 9, 8);
    p.cubicTo(9, 5.5, 5, 5.5, 5, 8);
    p.moveTo(6, 5.5);
    p.lineTo(5, 3.5);
    p.moveTo(19.5, 18);
    p.lineTo(21.5, 19);
    return p;
}

QPainterPath BreadPath()
{
    QPainterPath p;
    p.moveTo(6, 20);
    p.lineTo(6, 11);
    p.cubicTo(3.5, 10.5, 3.5, 5, 8, 5);
    p.lineTo(16, 5);
    p.cubicTo(20.5, 5, 20.5, 10.5, 18, 11);
    p.lineTo(18, 20);
    p.closeSubpath();
    return p;
}

QPainterPath EraserPath()
{
    QPainterPath p;
    p.moveTo(19, 20);
    p.lineTo(8.5, 20);
    p.lineTo(4.5, 16);
    p.cubicTo(3.7, 15.2, 3.7, 13.8, 4.5, 13);
    p.lineTo(14, 3.5);
    p.cubicTo(14.8, 2.7, 16.2, 2.7, 17, 3.5);
    p.lineTo(20.5, 7);
    p.cubicTo(21.3, 7.8, 21.3, 9.2, 20.5, 10);
    p.lineTo(11, 19.5);
    p.moveTo(18, 12.5);
    p.lineTo(11.5, 6);
    return p;
}

QPainterPath MarkerPath()
{
    QPainterPath p;
    p.addPolygon(Polygon({{4, 20}, {4, 16}, {14, 6}, {18, 10}, {8, 20}, {4, 20}}));
    p.moveTo(12.5, 7.5);
    p.lineTo(16.5, 11.5);
    p.moveTo(16, 4);
    p.lineTo(17, 3);
    p.cubicTo(17.8, 2.2, 19.2, 2.2, 20, 3);
    p.lineTo(21, 4);
    p.cubicTo(21.8, 4.8, 21.8, 6.2, 21, 7);
    p.lineTo(20, 8);
    p.moveTo(12, 20);
    p.lineTo(20, 20);
    return p;
}

QPainterPath TrayPath()
{
    QPainterPath p;
    p.addRoundedRect(QRectF(4, 4, 16, 16), 2, 2);
    p.moveTo(4, 13);
    p.lineTo(8, 13);
    p.lineTo(11, 16);
    p.lineTo(13, 16);
    p.lineTo(16, 13);
    p.lineTo(20, 13);
    return p;
}

QPainterPath LineIconPath(const QString& name)
{
    static const QList<QPair<QStringList, QPainterPath (*)()>> paths{
        {{QStringLiteral("user")}, UserPath},
        {{QStringLiteral("spray")}, SprayPath},
        {{QStringLiteral("drop"), QStringLiteral("droplet")}, DropletPath},
        {{QStringLiteral("bottle")}, BottlePath},
        {{QStringLiteral("milk")}, MilkPath},
        {{QStringLiteral("pepper")}, PepperPath},
        {{QStringLiteral("bowl"), QStringLiteral("bowl-spoon")}, BowlPath},
        {{QStringLiteral("leaf")}, LeafPath},
        {{QStringLiteral("basket")}, BasketPath},
        {{QStringLiteral("flag")}, FlagPath},
        {{QStringLiteral("star")}, StarPath},
        {{QStringLiteral("brand-peanut")}, PeanutPath},
        {{QStringLiteral("seeding")}, SeedingPath},
        {{QStringLiteral("sausage")}, SausagePath},
        {{QStringLiteral("bread")}, BreadPath}};
    for (const auto& [names, path] : paths) {
        if (names.contains(name))
            return path();
    }
    return PackagePath();
}

// "grid" and "grid-dots": four rounded squares, two of them filled.
void DrawGrid(QPainter& painter)
{
    const QColor color = painter.pen().color();
    const QRectF squares[] = {{4, 4, 6, 6}, {14, 4, 6, 6}, {4, 14, 6, 6}, {14, 14, 6, 6}};
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(i == 0 || i == 3 ? QBrush(color) : QBrush(Qt::NoBrush));
        painter.drawRoundedRect(squares[i], 1.5, 1.5);
    }
    painter.setBrush(Qt::NoBrush);
}

void StrokeIn(QPainter& painter, const QRectF& box, qreal thickness, const QColor& color,
              const std::function<void(QPainter&)>& draw)
{
    const qreal side = qMin(box.width(), box.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(side / 24.0, side / 24.0);
    QPen pen(color, thickness * 24.0 / side, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    draw(painter);
    painter.restore();
}

void DrawCharacter(QPainter& painter, const QRectF& box, char16_t code, int pixelSize,
                   const QColor& color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(TIconFont::Family());
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, Qt::AlignCenter, QString(QChar(code)));
    painter.restore();
}

char16_t PlaceholderCode(TPlaceholder glyph)
{
    switch (glyph) {
    case TPlaceholder::Clear:
        return 0xEB8B; // eraser
    case TPlaceholder::ColorMarker:
        return 0xEF3F; // highlight
    case TPlaceholder::InBoxTray:
        return 0xEAC4; // inbox
    case TPlaceholder::Star:
        return 0xEB2E;
    case TPlaceholder::User:
        return 0xEB4D;
    case TPlaceholder::ShoppingBasket:
        return 0xEBE1; // basket
    case TPlaceholder::Flag:
        return 0xEAA6;
    case TPlaceholder::Objects:
        return 0xEA45; // box
    }
    return 0;
}

QPainterPath PlaceholderPath(TPlaceholder glyph)
{
    switch (glyph) {
    case TPlaceholder::Clear:
        return EraserPath();
    case TPlaceholder::ColorMarker:
        return MarkerPath();
    case TPlaceholder::InBoxTray:
        return TrayPath();
    case TPlaceholder::Star:
        return StarPath();
    case TPlaceholder::User:
        return UserPath();
    case TPlaceholder::ShoppingBasket:
        return BasketPath();
    case TPlaceholder::Flag:
        return FlagPath();
    case TPlaceholder::Objects:
        return BoxPath();
    }
    return BoxPath();
}

void RepaintWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        window->update();
}
} // namespace

namespace CatalogueIcons {
QColor CategoryIconColor(const QString& name, bool isAll)
{
    using CatalogueRules::HasKeyword;
    if (isAll)
        return POSPalette::IconAllProducts;
    const QString key = CatalogueRules::FoldKeyword(name);
    if (HasKeyword(key, {"temiz"}))
        return POSPalette::IconCleaning;
    if (HasKeyword(key, {"icecek", "mesrubat", "meyve suyu"}))
        return POSPalette::IconDrinks;
    if (HasKeyword(key, {"sut"}))
        return POSPalette::IconDairy;
    if (HasKeyword(key, {"su"}))
        return POSPalette::IconWater;
    if (HasKeyword(key, {"baharat", "gida"}))
        return POSPalette::IconFood;
    if (HasKeyword(key, {"bakliyat"}))
        return POSPalette::IconPulses;
    if (HasKeyword(key, {"kuruyemis", "fistik", "findik", "cekirdek"}))
        return POSPalette::IconNuts;
    if (HasKeyword(key, {"kisisel"}))
        return POSPalette::IconPersonalCare;
    if (HasKeyword(key, {"ekmek", "unlu"}))
        return POSPalette::IconBakery;
    if (HasKeyword(key, {"et", "sarkuteri"}))
        return POSPalette::IconMeat;
    return POSPalette::IconDairy;
}

QColor CategoryBadgeColor(const QString& name)
{
    using CatalogueRules::HasKeyword;
    const QString key = CatalogueRules::FoldKeyword(name);
    if (HasKeyword(key, {"temiz"}))
        return POSPalette::BadgeCleaning;
    if (HasKeyword(key, {"icecek", "mesrubat"}))
        return POSPalette::BadgeDrinks;
    if (HasKeyword(key, {"su"}))
        return POSPalette::BadgeWater;
    if (HasKeyword(key, {"bakliyat"}))
        return POSPalette::BadgePulses;
    if (HasKeyword(key, {"kuruyemis", "fistik", "cekirdek"}))
        return POSPalette::BadgeNuts;
    if (HasKeyword(key, {"baharat", "gida"}))
        return POSPalette::BadgeFood;
    if (HasKeyword(key, {"kisisel"}))
        return POSPalette::BadgePersonalCare;
    return POSPalette::BadgeOther;
}

void DrawLineIcon(QPainter& painter, const QString& name, const QColor& color)
{
    StrokeIn(painter, QRectF(0, 0, 24, 24), 2, color, [&name](QPainter& p) {
        if (name == u"grid" || name == u"grid-dots")
            DrawGrid(p);
        else
            p.drawPath(LineIconPath(name));
    });
}

void DrawCategoryIcon(QPainter& painter, const QRectF& box, const QString& name,
                      const QColor& color, bool fontLoaded)
{
    const char16_t code = CatalogueRules::IconCodepoint(name);
    if (fontLoaded && code != 0) {
        DrawCharacter(painter, box, code, 22, color);
        return;
    }
    painter.save();
    painter.translate(box.center().x() - 12, box.center().y() - 12);
    DrawLineIcon(painter, name, color);
    painter.restore();
}

void DrawPlaceholder(QPainter& painter, const QRectF& box, CatalogueRules::TPlaceholder glyph,
                     const QColor& color, int size, qreal thickness, bool fontLoaded)
{
    if (fontLoaded) {
        DrawCharacter(painter, box, PlaceholderCode(glyph), size, color);
        return;
    }
    const QRectF square(box.center().x() - size / 2.0, box.center().y() - size / 2.0, size, size);
    StrokeIn(painter, square, thickness, color,
             [glyph](QPainter& p) { p.drawPath(PlaceholderPath(glyph)); });
}
} // namespace CatalogueIcons

const QString& TIconFont::Family()
{
    static const QString family = QStringLiteral("tabler-icons");
    return family;
}

bool TIconFont::Load(const QString& path)
{
    if (FontID < 0 && !path.isEmpty())
        FontID = QFontDatabase::addApplicationFont(path);
    if (FontID < 0)
        return false;
    if (FontUsers++ == 0)
        RepaintWindows();
    return true;
}

void TIconFont::Unload()
{
    if (FontID < 0 || --FontUsers > 0)
        return;
    QFontDatabase::removeApplicationFont(FontID);
    FontID = -1;
    FontUsers = 0;
    RepaintWindows();
}

bool TIconFont::Loaded()
{
    return FontID >= 0;
}
