#include "ui/MessageLabel.h"

#include "ui/FittedText.h"

#include <QPainter>

TMessageLabel::TMessageLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void TMessageLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    TFittedText::Draw(painter, contentsRect(), text(), font(), Qt::AlignLeft | Qt::AlignVCenter);
}
