#pragma once

#include <QLabel>

// The text of a message dialog: plain text, left-aligned and vertically centred in its box and
// fitted into it (TFittedText), so a long word wraps and a text too long for the box ends with
// "…". text() stays the whole message.
class TMessageLabel : public QLabel {
    Q_OBJECT
public:
    explicit TMessageLabel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
