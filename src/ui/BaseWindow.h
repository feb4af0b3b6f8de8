#pragma once

#include "ui/Glyphs.h"
#include "ui/ModalRunner.h"
#include "ui/POSUITheme.h"

#include <QColor>
#include <QDialog>
#include <QSize>

class QLabel;
class TPOSButton;

// A dialog is a modal window over the window that opens it. A main window (the login, the
// sales screen) is a top-level window of its own, and Esc does not close it.
enum class TWindowKind { Dialog, Main };

// The shape of a window: its outer size, the width of the frame round it, and the object names
// and heights of its three bands, top to bottom. A window without a header band places its own
// panels. A window that fills the screen has no frame and no bands; Size is its design size.
// A window with the system frame has the system's title bar and border round it instead of a
// painted frame (the stock image generator); Size is then its client area.
struct TWindowLayout {
    QSize Size;
    int Frame = 0;
    const char* Header = nullptr;
    int HeaderHeight = 0;
    const char* Content = nullptr;
    const char* Footer = nullptr;
    int FooterHeight = 0;
    bool FillsScreen = false;
    bool SystemFrame = false;

    // The shape of the sales screen: the whole screen, designed at `designSize`.
    static TWindowLayout Screen(QSize designSize)
    {
        return {designSize, 0, nullptr, 0, nullptr, nullptr, 0, true};
    }
};

// The base of every window of the program: a borderless QDialog (or one with the system frame) with
// a frame of the header's colour round it, the header, content and footer bands styled by the theme
// (dragging the header with the left button moves the window), the title of the header, the buttons
// the theme styles, and the modal run through the modal seam (ShowModal), where tests take over.
//
//   TfrmExample::TfrmExample(QWidget* parent)
//       : TBaseWindow(parent, TWindowKind::Dialog,
//                     {{400, 220}, 2, "pnlTop", 40, "pnlContent", "pnlBottom", 60})
//       , lblTitle(CreateTitle("lblTitle"))
//       , btnOk(CreateButton(Footer(), "btnOk", "Tamam", TGlyph::None, TButtonVariant::Primary))
//
// The controls of a window are private; tests find them by their object names, which are
// unique within a window.
class TBaseWindow : public QDialog {
    Q_OBJECT
public:
    TBaseWindow(QWidget* parent, TWindowKind kind, const TWindowLayout& layout);

    // Runs the window modally through RunModal and returns its result.
    int ShowModal();

    // The window a new dialog is centred on and blocks: the active modal window, else the
    // active window.
    static QWidget* DialogOwner();

    void SetFrame(const QColor& color, int width);
    QColor FrameColor() const { return FFrameColor; }
    int FrameWidth() const { return FFrameWidth; }

protected:
    QWidget* Header() const { return FHeader; }
    QWidget* Content() const { return FContent; }
    QWidget* Footer() const { return FFooter; }

    // Dragging `handle` with the left button moves the window; the header band does so from
    // the start, and so do the labels on it, which leave mouse presses to the band.
    void AddDragHandle(QWidget* handle);

    // The title of a message window: across the header, white, bold, 16 px, 15 px in from the
    // left, vertically centred.
    QLabel* CreateTitle(const char* name);
    // The title and subtitle of a screen window's header, placed by the window: "Segoe UI" 18
    // bold in the header's text colour, and 10 in its subtitle colour.
    QLabel* CreateScreenTitle(const char* name);
    QLabel* CreateSubTitle(const char* name);
    // A glyph button on `band`, styled by the theme. It never takes the focus, so it is never
    // the default button that Enter presses.
    TPOSButton* CreateButton(QWidget* band, const char* name, const QString& caption, TGlyph glyph,
                             TButtonVariant variant);

    // Centres the window over its owner's window. Every dialog does so when it shows; QDialog's
    // own placement guesses a window-manager frame and lands above and left of the centre.
    void CentreOnOwner();
    // Centres the window on the primary screen (the login).
    void CentreOnScreen();

    // For a notice that a scan may cut short: a keyboard-wedge scanner does not wait for it to
    // close. A printable character typed into the notice starts a scan passing through; it and
    // every key after it, Enter included, go on to the focused control of the owner's window,
    // so the code reaches the barcode field and its Enter adds the line. Enter alone starts
    // nothing. True when `event` was handed on; the notice then closes itself.
    bool PassScanToOwner(QKeyEvent* event);

    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void SetUpBands(const TWindowLayout& layout);
    void FillScreen(QSize designSize);

    TWindowKind FKind;
    QWidget* FHeader = nullptr;
    QWidget* FContent = nullptr;
    QWidget* FFooter = nullptr;
    QColor FFrameColor;
    int FFrameWidth = 0;
    bool FScanPassing = false;
};
