#pragma once

#include "sales/Catalogue.h"

#include <QCache>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

// The product tiles of the catalogue ("flowProducts"): tiles of 154 x 190 pixels with 8 pixels
// round each, flowing left to right and top to bottom inside a padding of 8. Each tile shows
// its picture (or the placeholder glyph of its category), its badge, its fitted name and its
// price; a touch anywhere on a tile hands its StokID to the click handler.
//
// The tiles are painted, not built of controls, and only those in sight are painted, so a
// category of thousands of products opens as fast as one of ten. Pictures are loaded in steps
// of a few milliseconds after the tiles are painted, scaled once and kept in a cache shared by
// every category, so no picture holds the window.
class TProductTileView : public QWidget {
    Q_OBJECT
public:
    static constexpr int TileWidth = 154;
    static constexpr int TileHeight = 190;
    static constexpr int TileMargin = 8;
    static constexpr int Padding = 8;

    explicit TProductTileView(QWidget* parent = nullptr);

    void SetTiles(const QList<TCatalogueTile>& tiles);
    void AppendTiles(const QList<TCatalogueTile>& tiles);
    int TileCount() const { return int(FTiles.size()); }
    const TCatalogueTile& Tile(int index) const { return FTiles.at(index).Data; }
    // The tile's outer rectangle in this widget; -1 where no tile is.
    QRect TileRect(int index) const;
    int TileAt(const QPoint& point) const;
    // Whether the tile's picture has been looked for and loaded (or found missing).
    bool PictureSettled(int index) const;
    bool HasPicture(int index) const;

    void SetIconFontLoaded(bool loaded);
    void SetClickHandler(std::function<void(int StokID)> handler);
    // The height the tiles need at this width.
    int HeightForWidth(int width) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    enum class TPictureState { Unknown, Pending, Picture, Placeholder };
    struct TTileEntry {
        TCatalogueTile Data;
        TPictureState Picture = TPictureState::Unknown;
        QString PicturePath;
        QString Name;     // fitted
        int NameSize = 0; // point size of the fitted name, 0 until fitted
    };

    int Columns() const;
    void DrawTile(class QPainter& painter, TTileEntry& tile, const QRect& outer);
    void DrawPicture(QPainter& painter, TTileEntry& tile, const QRect& box);
    void FitName(TTileEntry& tile) const;
    void QueuePicture(int index);
    void LoadPictures();
    void CachePicture(const QString& path);

    // A deque, so that a part appended to a category of 200,000 tiles never copies the others.
    std::deque<TTileEntry> FTiles;
    QList<int> FPendingPictures;
    QCache<QString, QPixmap> FPictures;
    QTimer FPictureTimer;
    bool FIconFontLoaded = false;
    int FPressedTile = -1;
    std::function<void(int)> FClickHandler;
};
