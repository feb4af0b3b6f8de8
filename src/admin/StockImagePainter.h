#pragma once

#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

// The pictures the stock image generator writes: a downloaded picture made into a square PNG
// with a transparent background, and the substitute card drawn from a product's code and name.
class TStockImagePainter {
public:
    TStockImagePainter() = delete;

    static constexpr int SquareSide = 512;
    static constexpr int SquareContent = 440;
    static constexpr int CardSide = 600;

    // The downloaded picture `Source` centred in a 512 x 512 square, never enlarged, scaled to
    // fit 440 x 440; near-white pixels (red, green and blue each at least 238) and everything
    // outside the picture transparent. Null for a null source.
    static QImage TransparentSquare(const QImage& Source);
    // Reads `SourcePath` (size-checked, see TStockImageRules::ReadPicture) and saves its
    // TransparentSquare as PNG at `TargetPath`; true when the file then exists.
    static bool ConvertToTransparentPng(const QString& SourcePath, const QString& TargetPath);

    // The 600 x 600 substitute card of a product (code and name as stored).
    static QImage FallbackImage(const QString& StokKodu, const QString& StokAdi);
    // Saves FallbackImage as PNG at `Path`; raises EInOutError when it cannot be written.
    static void DrawFallbackImage(const QString& Path, const QString& StokKodu,
                                  const QString& StokAdi);
    // The bar picture of the digits of `Text` in `Rect`, with the text centred below.
    static void DrawBarcode(QPainter& Canvas, const QString& Text, const QRect& Rect);
    // The text DrawBarcode is given for a stock code: trimmed, "0000000000000" when blank,
    // padded on the right with "0" to at least 8 characters.
    static QString BarcodeText(const QString& StokKodu);

    // Writes `Image` as PNG at `Path`, replacing the file only once the whole picture is
    // written; false when it could not be.
    static bool SavePng(const QImage& Image, const QString& Path);
};
