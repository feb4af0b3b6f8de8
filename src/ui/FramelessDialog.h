#pragma once

#include <QColor>
#include <QDialog>

class QLabel;

// Base of the borderless modal windows: a frame of a given colour and width round the content,
// moved by dragging the parts registered with AddDragHandle, owned by the window that is active
// when it opens (so it is centred on it).
class TFramelessDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFramelessDialog(QWidget* parent = nullptr);

    void SetFrame(const QColor& color, int width);
    QColor FrameColor() const { return FFrameColor; }
    int FrameWidth() const { return FFrameWidth; }
    void AddDragHandle(QWidget* handle);

    // The window a new dialog is centred on and blocks: the active modal window, else the
    // active window.
    static QWidget* DialogOwner();

    // The three bands every message-style window is made of, stacked top to bottom and styled
    // by the theme: the header (also the drag handle), the content and the footer.
    struct TBands {
        QWidget* Header;
        int HeaderHeight;
        QWidget* Content;
        QWidget* Footer;
        int FooterHeight;
    };
    void SetUpBands(QSize size, int frame, const TBands& bands);
    // The header's caption: white, bold, 16 px, 15 px in from the left.
    void StyleHeaderTitle(QLabel* title, int headerHeight);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor FFrameColor;
    int FFrameWidth = 0;
};
