#pragma once

#include "sales/Catalogue.h"
#include "ui/POSButton.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class QScrollArea;
class TCategoryGPButton;
class TProductTileView;

// The touch catalogue in the centre of the sales screen ("pnlCenter"): a column of category
// buttons ("pnlCategoryContainer", "scrollCategories"), each with an icon chosen by keywords of
// its name, and beside it the product tiles of the chosen category ("pnlProductContainer",
// "scrollProducts", "flowProducts"). "TÜMÜ" shows the first 50 products by name. A touch on a
// tile hands its StokID to the screen, which adds it to the cart.
//
// A category is read in parts: the first part is painted at once, the rest follows in steps
// while the cashier can already touch the tiles, so a large category never holds the window.
class TProductCatalogue : public QWidget {
    Q_OBJECT
public:
    static constexpr int CategoryColumnWidth = 213;

    TProductCatalogue(QWidget* parent, std::function<void(int StokID)> productTileClick);

    void LoadCategories();
    void LoadProducts(int CategoryID);
    void CategoryClick(int KategoriID);
    void UpdateCategoryButtons();
    // Gives every category button its rounded region again.
    void RoundCategoryButtons();
    void SetIconFontLoaded(bool loaded);

    int SelectedCategoryID() const { return FSelectedCategoryID; }
    TProductTileView* Tiles() const { return flowProducts; }
    QList<TCategoryGPButton*> CategoryButtons() const;
    // Whether parts of the chosen category are still to be read.
    bool LoadingParts() const { return FPartTimer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddCategoryButton(int tag, const QString& name, int top);
    void DrawCategoryButton(TCategoryGPButton& button, QPainter& painter, TButtonState state);
    void LoadNextPart();
    void FitTiles();

    QWidget* pnlCategoryContainer;
    QScrollArea* scrollCategories;
    QWidget* FCategoryList;
    QWidget* pnlProductContainer;
    QScrollArea* scrollProducts;
    TProductTileView* flowProducts;
    int FSelectedCategoryID = 0;
    bool FIconFontLoaded = false;
    int FPartsCategory = 0;
    TTileCursor FCursor;
    QTimer FPartTimer;
};
