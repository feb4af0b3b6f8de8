#include "ui/ProductTileView.h"

#include "core/AppPaths.h"
#include "core/POSTextUtils.h"
#include "sales/CatalogueRules.h"
#include "ui/CatalogueIcons.h"
#include "ui/POSUITheme.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImageReader>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kCell = TProductTileView::TileWidth + 2 * TProductTileView::TileMargin;
constexpr int kRow = TProductTileView::TileHeight + 2 * TProductTileView::TileMargin;
constexpr int kOrigin = TProductTileView::Padding + TProductTileView::TileMargin;
// Regions of the Windows tiles have corners of 10 x 10: a radius of 5.
constexpr qreal kCorner = 5;
// Card parts, relative to the card at (1, 1) of the tile.
const QRect kCard(1, 1, 150, 186);
const QRect kPicture(13, 10, 124, 88);
const QRect kName(10, 127, 130, 24);
const QRect kPrice(0, 154, 150, 28);
constexpr int kBadgeLeft = 10;
constexpr int kBadgeTop = 104;
constexpr int kBadgeHeight = 18;
constexpr int kNameSize = 9;
constexpr int kNameMinimum = 7;
// A picture step never holds the window longer than this.
constexpr int kPictureStepMs = 15;
// Scaled pictures kept, in bytes.
constexpr int kPictureCacheBytes = 48 * 1024 * 1024;

QString BadgeText(const TCatalogueTile& tile)
{
    const QString category = tile.KategoriAdi.trimmed();
    return category.isEmpty() ? tile.Birim : category;
}

QFont NameFont(int pointSize)
{
    return TPOSUITheme::SemiboldFont(pointSize, false);
}

QRect InCard(const QRect& part, const QPoint& card)
{
    return part.translated(card);
}

void RoundedFill(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.fillPath(path, fill);
}
} // namespace

TProductTileView::TProductTileView(QWidget* parent)
    : QWidget(parent)
    , FPictures(kPictureCacheBytes)
{
    setObjectName(QStringLiteral("flowProducts"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FPictureTimer.setSingleShot(true);
    FPictureTimer.setInterval(0);
    connect(&FPictureTimer, &QTimer::timeout, this, &TProductTileView::LoadPictures);
}

void TProductTileView::SetTiles(const QList<TCatalogueTile>& tiles)
{
    FTiles.clear();
    FPendingPictures.clear();
    FPressedTile = -1;
    AppendTiles(tiles);
}

void TProductTileView::AppendTiles(const QList<TCatalogueTile>& tiles)
{
    for (const TCatalogueTile& tile : tiles)
        FTiles.push_back({tile, TPictureState::Unknown, {}, {}, 0});
    const int height = HeightForWidth(width());
    if (height != this->height())
        resize(width(), height);
    update();
}

void TProductTileView::SetIconFontLoaded(bool loaded)
{
    FIconFontLoaded = loaded;
    update();
}

void TProductTileView::SetClickHandler(std::function<void(int)> handler)
{
    FClickHandler = std::move(handler);
}

int TProductTileView::Columns() const
{
    return qMax(1, (width() - 2 * Padding) / kCell);
}

int TProductTileView::HeightForWidth(int width) const
{
    const int columns = qMax(1, (width - 2 * Padding) / kCell);
    const int rows = (int(FTiles.size()) + columns - 1) / columns;
    return 2 * Padding + rows * kRow;
}

QRect TProductTileView::TileRect(int index) const
{
    if (index < 0 || index >= TileCount())
        return {};
    const int columns = Columns();
    return {kOrigin + (index % columns) * kCell, kOrigin + (index / columns) * kRow, TileWidth,
            TileHeight};
}

int TProductTileView::TileAt(const QPoint& point) const
{
    const int x = point.x() - Padding;
    const int y = point.y() - Padding;
    if (x < 0 || y < 0 || x / kCell >= Columns())
        return -1;
    const int index = (y / kRow) * Columns() + x / kCell;
    return TileRect(index).contains(point) ? index : -1;
}

bool TProductTileView::PictureSettled(int index) const
{
    const TPictureState state = FTiles.at(index).Picture;
    return state == TPictureState::Picture || state == TPictureState::Placeholder;
}

bool TProductTileView::HasPicture(int index) const
{
    return FTiles.at(index).Picture == TPictureState::Picture;
}

void TProductTileView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), POSPalette::ScreenBackground);
    painter.setRenderHint(QPainter::Antialiasing);
    const int columns = Columns();
    const int firstRow = qMax(0, (event->rect().top() - Padding) / kRow);
    const int lastRow = (event->rect().bottom() - Padding) / kRow;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int index = row * columns + column;
            if (index >= TileCount())
                return;
            DrawTile(painter, FTiles[index], TileRect(index));
            if (FTiles.at(index).Picture == TPictureState::Unknown)
                QueuePicture(index);
        }
    }
}

void TProductTileView::DrawTile(QPainter& painter, TTileEntry& tile, const QRect& outer)
{
    RoundedFill(painter, outer, kCorner, POSPalette::TileRimOuter);
    RoundedFill(painter, QRect(outer.topLeft(), QSize(TileWidth - 2, TileHeight - 2)), kCorner,
                POSPalette::TileRimInner);
    const QRect card = kCard.translated(outer.topLeft());
    RoundedFill(painter, card, kCorner, POSPalette::Content);
    const QPoint origin = card.topLeft();
    DrawPicture(painter, tile, InCard(kPicture, origin));

    const QString badge = BadgeText(tile.Data);
    const QFont badgeMeasure = TPOSUITheme::SemiboldFont(6, false);
    const int badgeWidth =
        qMin(94, qMax(22, QFontMetrics(badgeMeasure).horizontalAdvance(badge)) + 12);
    const QRect badgeRect(origin.x() + kBadgeLeft, origin.y() + kBadgeTop, badgeWidth,
                          kBadgeHeight);
    RoundedFill(painter, badgeRect, kCorner, CatalogueIcons::CategoryBadgeColor(badge));
    painter.save();
    painter.setClipRect(badgeRect);
    painter.setFont(TPOSUITheme::SemiboldFont(7, true));
    painter.setPen(POSPalette::HeaderText);
    painter.drawText(badgeRect, Qt::AlignCenter | Qt::TextSingleLine, badge);
    painter.restore();

    FitName(tile);
    painter.setFont(NameFont(tile.NameSize));
    painter.setPen(POSPalette::TileName);
    painter.drawText(InCard(kName, origin), Qt::AlignCenter | Qt::TextSingleLine, tile.Name);

    painter.setFont(TPOSUITheme::SemiboldFont(12, true));
    painter.setPen(POSPalette::Accent);
    painter.drawText(InCard(kPrice, origin), Qt::AlignCenter | Qt::TextSingleLine,
                     FormatFloat(QStringLiteral("#,##0.00 TL"), tile.Data.SatisFiyati));
}

void TProductTileView::DrawPicture(QPainter& painter, TTileEntry& tile, const QRect& box)
{
    if (tile.Picture == TPictureState::Picture) {
        if (const QPixmap* picture = FPictures.object(tile.PicturePath)) {
            const QSize size = picture->size();
            painter.drawPixmap(box.x() + (box.width() - size.width()) / 2,
                               box.y() + (box.height() - size.height()) / 2, *picture);
            return;
        }
        // Pushed out of the cache by other categories' pictures: loaded again in a step.
        tile.Picture = TPictureState::Unknown;
    }
    painter.save();
    QPainterPath frame;
    frame.addRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    painter.fillPath(frame, POSPalette::PlaceholderFill);
    painter.setPen(QPen(POSPalette::PlaceholderFrame, 1));
    painter.drawPath(frame);
    painter.restore();
    if (tile.Picture != TPictureState::Placeholder)
        return;
    const QString badge = BadgeText(tile.Data);
    QColor color = CatalogueIcons::CategoryIconColor(badge, false);
    color.setAlpha(POSPalette::PlaceholderGlyphAlpha);
    CatalogueIcons::DrawPlaceholder(painter, box, CatalogueRules::PlaceholderGlyph(badge), color,
                                    34, 2, FIconFontLoaded);
}

// The name in size 9, smaller down to 7 while it is too wide, then cut with "...".
void TProductTileView::FitName(TTileEntry& tile) const
{
    if (tile.NameSize > 0)
        return;
    const int room = kName.width() - 4;
    int size = kNameSize;
    QString text = tile.Data.StokAdi;
    while (QFontMetrics(NameFont(size)).horizontalAdvance(text) > room && size > kNameMinimum)
        --size;
    const QFontMetrics metrics(NameFont(size));
    if (metrics.horizontalAdvance(text) > room) {
        const QString dots = QStringLiteral("...");
        while (text.size() >= 4 && metrics.horizontalAdvance(text + dots) > room)
            text.chop(1);
        if (text.size() > 3)
            text += dots;
    }
    tile.Name = text;
    tile.NameSize = size;
}

void TProductTileView::QueuePicture(int index)
{
    FTiles[index].Picture = TPictureState::Pending;
    FPendingPictures.append(index);
    if (!FPictureTimer.isActive())
        FPictureTimer.start();
}

void TProductTileView::LoadPictures()
{
    QElapsedTimer step;
    step.start();
    const QString programFolder = AppPaths::ProgramFolder();
    while (!FPendingPictures.isEmpty() && step.elapsed() < kPictureStepMs) {
        const int index = FPendingPictures.takeFirst();
        if (index >= TileCount() || FTiles.at(index).Picture != TPictureState::Pending)
            continue;
        TTileEntry& tile = FTiles[index];
        tile.PicturePath =
            CatalogueRules::ResolveImagePath(tile.Data.Resim, tile.Data.StokAdi, programFolder);
        tile.Picture = TPictureState::Placeholder;
        if (!tile.PicturePath.isEmpty()) {
            if (!FPictures.contains(tile.PicturePath))
                CachePicture(tile.PicturePath);
            if (FPictures.contains(tile.PicturePath))
                tile.Picture = TPictureState::Picture;
        }
        update(TileRect(index));
    }
    if (!FPendingPictures.isEmpty())
        FPictureTimer.start();
}

// The picture scaled to fit its box once, as it is read; an unreadable file is not kept.
void TProductTileView::CachePicture(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid())
        reader.setScaledSize(size.scaled(kPicture.size(), Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return;
    if (image.width() > kPicture.width() || image.height() > kPicture.height())
        image = image.scaled(kPicture.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    FPictures.insert(path, new QPixmap(QPixmap::fromImage(image)),
                     qMax(1, int(image.sizeInBytes())));
}

void TProductTileView::mousePressEvent(QMouseEvent* event)
{
    FPressedTile = event->button() == Qt::LeftButton ? TileAt(event->position().toPoint()) : -1;
    QWidget::mousePressEvent(event);
}

void TProductTileView::mouseReleaseEvent(QMouseEvent* event)
{
    const int pressed = FPressedTile;
    FPressedTile = -1;
    QWidget::mouseReleaseEvent(event);
    if (pressed < 0 || event->button() != Qt::LeftButton ||
        TileAt(event->position().toPoint()) != pressed || !FClickHandler)
        return;
    FClickHandler(FTiles.at(pressed).Data.StokID);
}

// The hand over every part of a tile but its picture.
void TProductTileView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const int index = TileAt(point);
    const bool onPicture =
        index >= 0 &&
        InCard(kPicture, kCard.translated(TileRect(index).topLeft()).topLeft()).contains(point);
    setCursor(index >= 0 && !onPicture ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}
