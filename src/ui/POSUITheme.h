#pragma once

#include "ui/Glyphs.h"

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QList>
#include <QRect>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>

class QLabel;

class QDateEdit;
class QLineEdit;
class QPainter;
class QTableView;
class TPOSButton;
struct TButtonLook;

// The till's palette: every colour of the windows, named by its role, so that no window keeps
// colour constants or colour texts of its own (style sheets are written from these).
namespace POSPalette {
// The theme: bands, content, grids and buttons.
inline const QColor Header{0x1A, 0x3A, 0x5F};       // navy: headers, default button text
inline const QColor Footer{0xF5, 0xF7, 0xFA};       // footers, hot default button
inline const QColor Content{0xFF, 0xFF, 0xFF};      // content, grids, light panels
inline const QColor Text{0x15, 0x1C, 0x25};         // edits, grids, date pickers
inline const QColor GridTitle{0xEC, 0xF1, 0xF5};    // grid title cells
inline const QColor Selected{0xB3, 0xD7, 0xF6};     // selected grid row
inline const QColor FrameLight{0xC9, 0xD8, 0xE4};   // frames, pressed default/danger buttons
inline const QColor Primary{0x22, 0x4A, 0x78};      // primary button fill and frame
inline const QColor PrimaryText{0xFF, 0xFF, 0xFF};  // primary button text and glyph
inline const QColor PrimaryHot{0x2B, 0x56, 0x8A};   // hot primary button
inline const QColor Danger{0xD8, 0x35, 0x3C};       // danger button text and glyph
inline const QColor DangerHot{0xEE, 0xEE, 0xF4};    // hot danger button
inline const QColor DisabledFill{0xEC, 0xEC, 0xEC}; // disabled button
inline const QColor DisabledFrame{0xCF, 0xCF, 0xCF};
inline const QColor DisabledText{0x90, 0x90, 0x90};

// Windows: headers, bodies and frames.
inline const QColor HeaderText{0xFF, 0xFF, 0xFF};    // titles and captions on the navy header
inline const QColor HeaderSubText{0xC9, 0xD8, 0xE4}; // subtitles and amount titles on it
inline const QColor HeaderFigure{0xE3, 0xBE, 0x3E};  // figures named in the header
inline const QColor Body{0xF5, 0xF7, 0xFA};          // light grey body of the shift windows
inline const QColor ErrorHeader{0xFF, 0x00, 0x00};   // header and frame of an error message
inline const QColor WarningHeader{0xFF, 0x80, 0x00}; // header and frame of a warning (BGR 33023)

// Windows: text and figures on light panels.
inline const QColor CaptionText{0x63, 0x6D, 0x7B};    // row captions, instructions, hints
inline const QColor MenuDetailText{0x6D, 0x6D, 0x6D}; // the system's grey text under an item
inline const QColor Success{0x16, 0x78, 0x40};        // completed sale, payment settled
inline const QColor AmountDue{0xD8, 0x35, 0x3C};      // payment still due
inline const QColor ChangeDue{0x1E, 0x6F, 0xD0};      // change to give back
inline const QColor ShiftClosed{0xFF, 0x00, 0x00};    // "Durum: Kapalı"
inline const QColor ShiftOpen{0x00, 0x80, 0x00};      // "Durum: Açık"
inline const QColor CashFigure{0x34, 0x8B, 0x66};     // cash in the drawer, net turnover
inline const QColor HandOverFigure{0xDD, 0x73, 0xC8}; // cash the cashier hands over

// Windows: glyphs on coloured grounds.
inline const QColor LogoBackdrop{0xFF, 0xFF, 0xFF, 38}; // the faint square behind the logo
inline const QColor LogoTile{0xFF, 0xFF, 0xFF};         // the logo's own square
inline const QColor FieldGlyph{0x22, 0x4A, 0x78};       // the icon in a login field's frame
inline const QColor BadgeGlyph{0xFF, 0xFF, 0xFF};       // the check mark on the success badge
inline const QColor StripGlyph{0xFF, 0xFF, 0xFF, 200};  // the menus' navy strip
inline const QColor StripGlyphDisabled{0xFF, 0xFF, 0xFF, 90};

// The sales screen.
inline const QColor ScreenBackground{0xF5, 0xF7, 0xFA}; // behind the catalogue
inline const QColor CashierPanel{0xF0, 0xF3, 0xF8};     // the cart and control column
inline const QColor ShiftState{0xF0, 0xA5, 0x00};       // amber shift caption in the header
inline const QColor Accent{0x14, 0x5C, 0xA8};           // "Seç", pay button, action glyphs
inline const QColor AccentHot{0x1C, 0x69, 0xBC};
inline const QColor AccentPressed{0x10, 0x4D, 0x91};
inline const QColor ActionText{0x16, 0x3E, 0x6E};
inline const QColor ActionGlyphDisabled{0x96, 0xA2, 0xB0};
inline const QColor ActionTextDisabled{0x87, 0x94, 0xA3};
inline const QColor ActionFillHot{0xF9, 0xFB, 0xFD};
inline const QColor ActionFillPressed{0xEE, 0xF4, 0xFB};
inline const QColor ActionFrame{0xDB, 0xE2, 0xEB};
inline const QColor ActionFrameHot{0x9B, 0xBD, 0xE2};
inline const QColor ActionFramePressed{0x69, 0x9D, 0xD6}; // also the focused barcode field
inline const QColor ActionFrameDisabled{0xE4, 0xE9, 0xEF};
inline const QColor PayDisabledFill{0xE7, 0xED, 0xF5};
inline const QColor MutedText{0x5C, 0x6B, 0x7E}; // total captions, disabled pay caption; amount
                                                 // titles, card captions, version
inline const QColor CartText{0x1C, 0x2A, 0x3D};
inline const QColor CartTitle{0xF2, 0xF6, 0xFB};
inline const QColor CartSelected{0xE1, 0xEF, 0xFF};
inline const QColor CartLines{0xE1, 0xE6, 0xED};
inline const QColor GrandTotal{0x16, 0x78, 0x40};
inline const QColor HeaderButtonHot{255, 255, 255, 24}; // faint white over the navy band
inline const QColor HeaderButtonPressed{255, 255, 255, 42};
inline const QColor HeaderButtonDisabledText{255, 255, 255, 125};

// Focus marks of controls that draw their own frame (the login's branch picker).
inline const QColor FocusFrame{0x22, 0x4A, 0x78};

// Customers: the customer list and the customer card.
inline const QColor ListSubTitle{0xEE, 0xEE, 0xEE};   // the list's subtitle on the header
inline const QColor ListFooterText{0x63, 0x4D, 0x7B}; // the list's key hint and count
inline const QColor CardSubTitle{0xEA, 0xEC, 0xEE};   // the card's subtitle on the header
inline const QColor BalanceFigure{0x67, 0xA3, 0x3A};  // the card's balance
inline const QColor RiskFigure{0xD8, 0x35, 0x3C};     // the card's risk limit

// Refunds and receipts: the refund screen, the receipt search, viewer and preview.
inline const QColor ReceiptSubTitle{0xEE, 0xEE, 0xEE};    // subtitles on their headers
inline const QColor ReceiptFooterText{0x63, 0x4D, 0x7B};  // key hints, counts, total captions
inline const QColor RefundTotal{0x1A, 0x3A, 0x5F};        // "İade Toplamı"
inline const QColor ReceiptGrandTotal{0x34, 0x8B, 0x66};  // the viewer's grand total
inline const QColor ReceiptTextBack{0xF8, 0xF8, 0xF8};    // the preview's receipt text
inline const QColor ReceiptStatusText{0x7B, 0x6D, 0x63};  // the preview's status, cancelled
inline const QColor ReceiptPrinted{0x2C, 0x90, 0x66};     // sent to the printer
inline const QColor ReceiptPrintFailed{0xFF, 0x00, 0x00}; // a printing error

// The administration tools (parameters editor, stock image generator).
inline const QColor AdminSubTitle{0xEE, 0xEE, 0xEE}; // subtitle on the navy header
inline const QColor AdminHelpText{0x63, 0x4D, 0x7B}; // help line under a setting

// The report windows.
inline const QColor CardTitle{0x63, 0x6D, 0x7B};        // titles of the totals cards
inline const QColor CardAccentCount{0x97, 0x66, 0x24};  // "Fiş Sayısı"
inline const QColor CardAccentCash{0x27, 0x7E, 0x52};   // "Nakit"
inline const QColor CardAccentCard{0x2A, 0x65, 0xB0};   // "Kredi Kartı"
inline const QColor CardAccentRefund{0xD8, 0x35, 0x3C}; // "İade", also its figure
inline const QColor CardAccentTotal{0x34, 0x8B, 0x66};  // "Toplam", also its figure
inline const QColor ChartBar{0x22, 0x4A, 0x78};         // a day's net turnover
inline const QColor ChartBarNegative{0xD8, 0x35, 0x3C}; // a day whose refunds outweigh its sales
inline const QColor ChartAxis{0x63, 0x6D, 0x7B};        // axis labels
inline const QColor ChartGrid{0xE1, 0xE6, 0xED};        // value grid lines
} // namespace POSPalette

// Registers installed fonts that stand in for the fonts the screens name ("Segoe UI",
// "Segoe UI Semibold", "Tahoma" of the popup menus, "Consolas").
void RegisterFontSubstitutions();

enum class TButtonVariant { Default, Primary, Danger };

// How a grid cell is drawn: a title (fixed) cell or a data cell, selected or not.
struct TGridCellState {
    bool Fixed = false;
    bool Selected = false;
};

// Brush, text colour and weight of one grid cell.
struct TGridCellLook {
    QColor Brush;
    QColor TextColor;
    bool Bold = false;
};

// Draws one cell of an owner-drawn grid: column, row (-1 for the title row), rectangle, state.
using TGridCellDrawer = std::function<void(QPainter*, int, int, const QRect&, TGridCellState)>;

// The shared look of the secondary screens. Stateless: every operation styles the control it is
// given and ignores a null one.
class TPOSUITheme {
public:
    TPOSUITheme() = delete;

    static void StyleForm(QWidget* form);
    static void StyleHeaderPanel(QWidget* panel);
    static void StyleLightPanel(QWidget* panel);
    static void StyleFooterPanel(QWidget* panel);
    // An invisible rounded container; with StyleRoundShape on a TRoundShape behind its content
    // it shows as a white rounded box with a light outline whose corners have `radius`.
    static void StyleRoundFrame(QWidget* panel, int radius);
    static void StyleRoundShape(class TRoundShape* shape);
    static void StyleEdit(QLineEdit* edit);
    static void StyleDatePicker(QDateEdit* picker);
    static void StyleGrid(QTableView* grid);
    static void StyleButton(TPOSButton* button, const QString& caption, TGlyph glyph, bool primary,
                            bool danger);
    static void StyleHeaderButton(TPOSButton* button, const QString& caption, TGlyph glyph);
    // Draws one cell of `grid`: its text (the header text for a title cell), the grid's font,
    // white-or-grid colour brush and font colour, the theme's title and selection looks, 8/2
    // pixel insets, one line cut at the inset edge, right-aligned in `rightAlignedCols`.
    static void DrawGridCell(QTableView* grid, QPainter* painter, int col, int row,
                             const QRect& rect, TGridCellState state,
                             const QList<int>& rightAlignedCols);

    // Hands every cell of `grid`, title row included, to DrawGridCell.
    static void InstallGridCellDrawing(QTableView* grid, const QList<int>& rightAlignedCols);
    // Hands every cell of `grid`, title row included, to a screen's own cell drawing.
    static void InstallGridCellDrawer(QTableView* grid, TGridCellDrawer drawer);

    // Clips `widget` to a rounded rectangle of its current size (the rounded window region of
    // the category buttons and other shaped controls); run again after a resize.
    static void SetRoundedRegion(QWidget* widget, int radius);

    static TButtonVariant ButtonVariant(bool primary, bool danger);
    static TButtonLook ButtonLook(TButtonVariant variant);
    // The sales screen's own buttons: transparent ones over the header band, the white ones of
    // the control area, and the filled accent ones ("Seç", the pay button).
    static TButtonLook HeaderButtonLook();
    static TButtonLook ActionButtonLook();
    static TButtonLook AccentButtonLook(int radius);
    static TGridCellLook GridCellLook(TGridCellState state, const QColor& gridColor,
                                      const QColor& fontColor);
    // The text box of a cell: the rectangle inset 8 pixels left and right, 2 top and bottom.
    static QRect GridCellTextRect(const QRect& cell);

    static QFont TextFont(int pointSize);     // "Segoe UI"
    static QFont SemiboldFont(int pointSize); // "Segoe UI Semibold"

    // A plain-text label in "Segoe UI" of the given point size, coloured through its palette.
    static QLabel* CreateLabel(QWidget* parent, const char* name, int pointSize, bool bold,
                               const QColor& color);
    static void SetColor(QWidget* widget, QPalette::ColorRole role, const QColor& color);
    // Fills a panel's background with `color`.
    static void FillBackground(QWidget* panel, const QColor& color);
    // A plain-text label (names from the database never render as markup) with its own font,
    // whose text colour is set through its style sheet (see SetLabelColor).
    static QLabel* CreateStyledLabel(QWidget* parent, const QString& name, const QString& text,
                                     const QFont& font, const QColor& color);
    // A glyph button of a screen's own look that never takes the focus or the default role.
    static TPOSButton* CreateLookButton(QWidget* parent, const QString& name,
                                        const QString& caption, TGlyph glyph,
                                        const TButtonLook& look);
    // "Segoe UI Semibold" of the given point size, bold when asked.
    static QFont SemiboldFont(int pointSize, bool bold);
    // `base` at a size in pixels.
    static QFont PixelFont(const QFont& base, int pixelSize);
    // A label's text colour through its style sheet, over whatever panel lies behind it.
    static void SetLabelColor(QLabel* label, const QColor& color);
    // Shows `text` at `pixelSize`, or smaller where it would not fit the label's width: an
    // amount is never cut.
    static void SetFittedText(QLabel* label, const QString& text, int pixelSize);
};

// A plain shape behind the content of a rounded frame (StyleRoundShape).
class TRoundShape : public QWidget {
    Q_OBJECT
public:
    explicit TRoundShape(QWidget* parent = nullptr);
    void SetShape(const QColor& fill, const QColor& outline, int outlineWidth, int radius);
    QColor Fill() const { return FFill; }
    QColor Outline() const { return FOutline; }
    int Radius() const { return FRadius; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor FFill = Qt::white;
    QColor FOutline = Qt::black;
    int FOutlineWidth = 1;
    int FRadius = 0;
};

// Item delegate and title row of an owner-drawn grid; both call one cell drawer.
class TGridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TGridCellDelegate(TGridCellDrawer drawer, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    TGridCellDrawer FDrawer;
};

class TGridTitleRow : public QHeaderView {
    Q_OBJECT
public:
    TGridTitleRow(TGridCellDrawer drawer, QWidget* parent);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    TGridCellDrawer FDrawer;
};
