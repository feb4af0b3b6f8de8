#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// The rules of the stock image generator that need no network and no database: which picture
// a product already has and whether it is usable, the names of the picture files, and the
// colours and category of a substitute picture.
class TStockImageRules {
public:
    TStockImageRules() = delete;

    // Limits of the pictures the generator reads. A file is decoded only after its byte size
    // and the picture's size, read from its header, are within them.
    static constexpr qint64 MaxPictureBytes = 10 * 1024 * 1024;
    static constexpr int MaxPictureSide = 8000;
    static constexpr qint64 MaxPicturePixels = 40'000'000;
    // A picture file must hold at least this many bytes to count as a picture.
    static constexpr qint64 MinPictureBytes = 4096;

    // A product's current picture: Resim trimmed, or GorselYol trimmed when Resim is blank.
    static QString CurrentPicture(const QString& Resim, const QString& GorselYol);

    // Whether the file at `Path` (relative paths also against `ProgramFolder`) is a usable
    // picture: not a placeholder name, at least MinPictureBytes, loadable, at least 9 x 9
    // pixels and not blank.
    static bool HasUsableImage(const QString& Path, const QString& ProgramFolder);
    // The file name (without folder), in lower case, contains "blank", "placeholder",
    // "resimyok", "noimage" or "bos".
    static bool IsPlaceholderName(const QString& Path);
    // A null picture, one of 15 pixels or less in either direction, or one whose centre and
    // four points 2 pixels in from the corners all have the same colour.
    static bool IsBlankImage(const QImage& Image);

    // Reads a picture file whose format is told by its content. Null when the file is larger
    // than MaxPictureBytes, its header gives no size or a size beyond the limits, or it does
    // not decode.
    static QImage ReadPicture(const QString& Path);
    // Whether a picture of `Size` may be decoded.
    static bool PictureSizeAllowed(const QSize& Size);

    // The name a product's picture file is built from: the barcode when not blank, else the
    // stock code when not blank, else "STOK_" and the product id.
    static QString FileBaseName(const QString& Barkod, const QString& StokKodu, int StokID);
    // Trimmed; < > : " / \ | ? *, control characters and blanks become "_"; runs of "_" are
    // collapsed; an empty result becomes "STOK".
    static QString SanitizeFileName(const QString& Text);

    // The 32-bit FNV-1a hash of the text's UTF-16 code units.
    static quint32 Fnv1a(const QString& Text);
    // A colour from the hash of `Text`, every channel from 64 to 191.
    static QColor ColorFromText(const QString& Text);
    // The category a product's name suggests (ASCII letters lower-cased, first matching row).
    static QString CategoryOf(const QString& StokAdi);
};
