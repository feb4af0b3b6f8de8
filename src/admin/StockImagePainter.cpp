#include "admin/StockImagePainter.h"

#include "admin/StockImageRules.h"
#include "core/Exceptions.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QSaveFile>
#include <QTextLayout>

#include <cmath>

namespace {
// The colours of the substitute card, part of the picture itself (not of any window).
const QColor kCardBackground{0xFF, 0xFF, 0xFF};
const QColor kCardPanel{0xF5, 0xF7, 0xFA};
const QColor kCardText{0xFF, 0xFF, 0xFF};
const QColor kSeparator{0xE6, 0xE9, 0xEE};
const QColor kFooterText{0x78, 0x78, 0x78};
const QColor kBars{0x00, 0x00, 0x00};

constexpr int kNearWhite = 238;
constexpr int kNameLength = 44;
constexpr int kBarcodeMinLength = 8;
// The card is laid out for a 96-dpi canvas, where a point is 4/3 of a pixel.
constexpr int kDotsPerMeter = 3780;

// Delphi-style rectangles: left, top, right and bottom (exclusive).
QRect Box(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QFont CardFont(const char* family, int pointSize, bool bold)
{
    QFont font(QLatin1String(family), pointSize);
    font.setBold(bold);
    if (QLatin1String(family) == QLatin1String("Consolas"))
        font.setStyleHint(QFont::TypeWriter);
    return font;
}

// Halves to even, as the picture's drawn size is rounded.
int RoundHalfEven(double value)
{
    const double down = std::floor(value);
    const double rest = value - down;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(down, 2.0) != 0.0))
        return int(down) + 1;
    return int(down);
}

bool NearWhite(QRgb c)
{
    return qRed(c) >= kNearWhite && qGreen(c) >= kNearWhite && qBlue(c) >= kNearWhite;
}

// The name wrapped on word boundaries and centred in `rect`; the last line that fits ends in an
// ellipsis when more of the name is left.
void DrawWrappedName(QPainter& p, const QString& text, const QRect& rect)
{
    const QFontMetrics metrics(p.font(), p.device());
    QTextLayout layout(text, p.font(), p.device());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<QPair<int, int>> lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        lines.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    const int maxLines = qMax(1, rect.height() / metrics.lineSpacing());
    const int shown = qMin(int(lines.size()), maxLines);
    for (int i = 0; i < shown; ++i) {
        QString part = text.mid(lines[i].first, lines[i].second).trimmed();
        if (i == shown - 1 && shown < lines.size())
            part = metrics.elidedText(text.mid(lines[i].first).trimmed() + QChar(0x2026),
                                      Qt::ElideRight, rect.width());
        const QRect row(rect.left(), rect.top() + i * metrics.lineSpacing(), rect.width(),
                        metrics.lineSpacing());
        p.drawText(row, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, part);
    }
}
} // namespace

QImage TStockImagePainter::TransparentSquare(const QImage& Source)
{
    if (Source.isNull() || Source.width() <= 0 || Source.height() <= 0)
        return {};
    QImage flat(Source.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        p.drawImage(0, 0, Source);
    }
    const double scale = qMin(
        1.0, qMin(double(SquareContent) / Source.width(), double(SquareContent) / Source.height()));
    const int w = qMax(1, RoundHalfEven(Source.width() * scale));
    const int h = qMax(1, RoundHalfEven(Source.height() * scale));
    const QImage drawn = (w == flat.width() && h == flat.height())
                             ? flat
                             : flat.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage square(SquareSide, SquareSide, QImage::Format_ARGB32);
    square.fill(QColor(255, 255, 255, 0));
    const int left = (SquareSide - w) / 2;
    const int top = (SquareSide - h) / 2;
    for (int y = 0; y < h; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(square.scanLine(top + y)) + left;
        for (int x = 0; x < w; ++x)
            to[x] = (from[x] & RGB_MASK) | (NearWhite(from[x]) ? 0u : 0xFF000000u);
    }
    return square;
}

bool TStockImagePainter::ConvertToTransparentPng(const QString& SourcePath,
                                                 const QString& TargetPath)
{
    const QImage square = TransparentSquare(TStockImageRules::ReadPicture(SourcePath));
    return !square.isNull() && SavePng(square, TargetPath) && QFileInfo::exists(TargetPath);
}

QString TStockImagePainter::BarcodeText(const QString& StokKodu)
{
    QString text = StokKodu.trimmed();
    if (text.isEmpty())
        text = QStringLiteral("0000000000000");
    while (text.size() < kBarcodeMinLength)
        text += u'0';
    return text;
}

void TStockImagePainter::DrawBarcode(QPainter& Canvas, const QString& Text, const QRect& Rect)
{
    const int right = Rect.left() + Rect.width();
    const int bottom = Rect.top() + Rect.height();
    Canvas.fillRect(Rect, Qt::white);
    const int barHeight = Rect.height() - 20;
    const int barTop = Rect.top() + 4;
    int x = Rect.left() + 8;
    for (const QChar c : Text) {
        if (c < u'0' || c > u'9')
            continue;
        const int d = c.unicode() - u'0';
        const int width = d % 3 + 1;
        Canvas.fillRect(QRect(x, barTop, width, barHeight), kBars);
        x += width + 1 + d % 2;
        if (x > right - 12)
            break;
    }
    Canvas.setFont(CardFont("Consolas", 9, false));
    Canvas.setPen(kBars);
    Canvas.drawText(Box(Rect.left(), Rect.top(), right, bottom),
                    Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, Text);
}

QImage TStockImagePainter::FallbackImage(const QString& StokKodu, const QString& StokAdi)
{
    QImage image(CardSide, CardSide, QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.fill(kCardBackground);
    const QColor colourA = TStockImageRules::ColorFromText(StokKodu + StokAdi + u'A');
    const QColor colourB = TStockImageRules::ColorFromText(StokAdi + StokKodu + u'B');
    const QColor border = TStockImageRules::ColorFromText(StokKodu + QStringLiteral("BORDER"));

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(border, 3));
    p.setBrush(kCardPanel);
    p.drawRect(Box(24, 24, 576, 576));
    p.setPen(Qt::NoPen);
    p.setBrush(colourA);
    p.drawRoundedRect(Box(40, 40, 560, 200), 9, 9);
    p.setBrush(colourB);
    p.drawRoundedRect(Box(40, 210, 560, 360), 9, 9);

    p.setPen(kCardText);
    p.setFont(CardFont("Segoe UI Semibold", 24, true));
    p.drawText(Box(56, 66, 544, 114), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               TStockImageRules::CategoryOf(StokAdi));
    const QString code = StokKodu.trimmed();
    p.setFont(CardFont("Consolas", 16, true));
    p.drawText(Box(56, 124, 544, 170), Qt::AlignCenter | Qt::TextSingleLine,
               code.isEmpty() ? QStringLiteral("STOK") : code);
    QString name = StokAdi.trimmed();
    if (name.size() > kNameLength)
        name = name.left(kNameLength) + QStringLiteral("...");
    p.setFont(CardFont("Segoe UI", 17, false));
    DrawWrappedName(p, name, Box(56, 242, 544, 342));

    p.setRenderHint(QPainter::Antialiasing, false);
    DrawBarcode(p, BarcodeText(StokKodu), Box(60, 388, 540, 540));
    p.setPen(QPen(kSeparator, 2));
    p.drawLine(60, 372, 540, 372);
    p.setPen(kFooterText);
    p.setFont(CardFont("Segoe UI", 10, false));
    p.drawText(Box(40, 548, 560, 572), Qt::AlignCenter | Qt::TextSingleLine,
               QStringLiteral("KIRVELO STOCK IMAGE"));
    p.end();
    return image;
}

void TStockImagePainter::DrawFallbackImage(const QString& Path, const QString& StokKodu,
                                           const QString& StokAdi)
{
    if (!SavePng(FallbackImage(StokKodu, StokAdi), Path))
        throw EInOutError(QStringLiteral("Stok görseli kaydedilemedi: ") + Path);
}

bool TStockImagePainter::SavePng(const QImage& Image, const QString& Path)
{
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!Image.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
