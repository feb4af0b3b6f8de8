#include "ui/ReportPreviewParts.h"

#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ReportPreviewParts {
namespace {
constexpr int kCaptionRow = 80;
constexpr int kCaptionHeight = 24;
constexpr int kButtonWidth = 124;
constexpr int kButtonHeight = 40;
} // namespace

void PlaceCaptionPairs(std::initializer_list<TCaptionPair> pairs)
{
    for (const TCaptionPair& p : pairs) {
        p.Caption->setText(p.Text);
        p.Caption->setGeometry(p.X, kCaptionRow, p.CaptionWidth, kCaptionHeight);
        p.Value->setGeometry(p.X + p.CaptionWidth, kCaptionRow, p.ValueWidth, kCaptionHeight);
    }
}

void SetUpReportMemo(QWidget* content, QPlainTextEdit* memo)
{
    auto* body = new QVBoxLayout(content);
    body->setContentsMargins(16, 16, 16, 16);
    body->addWidget(memo);
    QFont mono(QStringLiteral("Consolas"), 9);
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFixedPitch(true);
    memo->setFont(mono);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setWordWrapMode(QTextOption::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void PlaceFooterButtons(QPushButton* print, QPushButton* close, int clientWidth, int footerHeight)
{
    const int top = (footerHeight - kButtonHeight) / 2;
    close->setGeometry(clientWidth - 24 - kButtonWidth, top, kButtonWidth, kButtonHeight);
    print->setGeometry(close->x() - 12 - kButtonWidth, top, kButtonWidth, kButtonHeight);
}
} // namespace ReportPreviewParts
