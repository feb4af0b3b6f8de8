#pragma once

#include <QString>

#include <initializer_list>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The pieces the report preview windows share: the header's caption-and-value pairs, the
// fixed-pitch view of a 118-column report and the footer's two buttons.
namespace ReportPreviewParts {
struct TCaptionPair {
    QLabel* Caption;
    QLabel* Value;
    QString Text;
    int X;
    int CaptionWidth;
    int ValueWidth;
};

// Each caption at its x with its value right after it, all on the header row at y = 80.
void PlaceCaptionPairs(std::initializer_list<TCaptionPair> pairs);

// Fills `content` with `memo`, 16 px inside: read-only, never wrapping (a wrapped report line
// would read as two), both scroll bars always shown, a fixed-pitch 9 pt font.
void SetUpReportMemo(QWidget* content, QPlainTextEdit* memo);

// "Kapat" 24 px from the right edge, the print button 12 px to its left, both 124 × 40 and
// centred in the footer's height.
void PlaceFooterButtons(QPushButton* print, QPushButton* close, int clientWidth, int footerHeight);
} // namespace ReportPreviewParts
