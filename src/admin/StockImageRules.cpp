#include "admin/StockImageRules.h"

#include <QFileInfo>
#include <QImageReader>

namespace {
constexpr int kBlankSide = 15;
constexpr int kMinUsableSide = 9;

struct TCategoryRow {
    const char* Fragments[3];
    const char* Category;
};

const TCategoryRow kCategories[] = {
    {{"sut", "peynir", "yogurt"}, "Sut Urunleri"},
    {{"su", "icecek", "kola"}, "Icecek"},
    {{"sabun", "deterjan", "sampuan"}, "Temizlik/Bakim"},
    {{"ekmek", "un", "makarna"}, "Gida"},
    {{"pil", "ampul", "kablo"}, "Teknik"},
};

const char* const kPlaceholderWords[] = {"blank", "placeholder", "resimyok", "noimage", "bos"};

QString AsciiLower(QString text)
{
    for (QChar& c : text)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return text;
}

bool IsForbiddenInFileName(QChar c)
{
    return QStringView(u"<>:\"/\\|?*").contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F ||
           c == u' ';
}

// The picture's own colour at a point; transparency is no colour of its own.
QRgb ColourAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & RGB_MASK;
}
} // namespace

QString TStockImageRules::CurrentPicture(const QString& Resim, const QString& GorselYol)
{
    const QString resim = Resim.trimmed();
    return resim.isEmpty() ? GorselYol.trimmed() : resim;
}

bool TStockImageRules::HasUsableImage(const QString& Path, const QString& ProgramFolder)
{
    QString path = Path.trimmed();
    if (path.isEmpty())
        return false;
    if (!QFileInfo(path).isFile())
        path = ProgramFolder + path;
    const QFileInfo file(path);
    if (!file.isFile() || IsPlaceholderName(path) || file.size() < MinPictureBytes)
        return false;
    const QImage image = ReadPicture(path);
    if (image.isNull() || image.width() < kMinUsableSide || image.height() < kMinUsableSide)
        return false;
    return !IsBlankImage(image);
}

bool TStockImageRules::IsPlaceholderName(const QString& Path)
{
    const QString name = QFileInfo(Path).fileName().toLower();
    for (const char* word : kPlaceholderWords)
        if (name.contains(QLatin1String(word)))
            return true;
    return false;
}

bool TStockImageRules::IsBlankImage(const QImage& Image)
{
    if (Image.isNull() || Image.width() <= kBlankSide || Image.height() <= kBlankSide)
        return true;
    const int w = Image.width();
    const int h = Image.height();
    const QRgb centre = ColourAt(Image, w / 2, h / 2);
    return ColourAt(Image, 2, 2) == centre && ColourAt(Image, w - 3, 2) == centre &&
           ColourAt(Image, 2, h - 3) == centre && ColourAt(Image, w - 3, h - 3) == centre;
}

bool TStockImageRules::PictureSizeAllowed(const QSize& Size)
{
    return Size.isValid() && !Size.isEmpty() && Size.width() <= MaxPictureSide &&
           Size.height() <= MaxPictureSide &&
           qint64(Size.width()) * Size.height() <= MaxPicturePixels;
}

QImage TStockImageRules::ReadPicture(const QString& Path)
{
    if (QFileInfo(Path).size() > MaxPictureBytes)
        return {};
    QImageReader reader(Path);
    reader.setDecideFormatFromContent(true);
    if (!PictureSizeAllowed(reader.size()))
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QString TStockImageRules::FileBaseName(const QString& Barkod, const QString& StokKodu, int StokID)
{
    if (!Barkod.trimmed().isEmpty())
        return Barkod;
    if (!StokKodu.trimmed().isEmpty())
        return StokKodu;
    return QStringLiteral("STOK_") + QString::number(StokID);
}

QString TStockImageRules::SanitizeFileName(const QString& Text)
{
    QString name = Text.trimmed();
    for (QChar& c : name)
        if (IsForbiddenInFileName(c))
            c = u'_';
    while (name.contains(QStringLiteral("__")))
        name.replace(QStringLiteral("__"), QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("STOK") : name;
}

quint32 TStockImageRules::Fnv1a(const QString& Text)
{
    quint32 h = 2166136261u;
    for (const QChar c : Text) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}

QColor TStockImageRules::ColorFromText(const QString& Text)
{
    const quint32 h = Fnv1a(Text);
    return QColor(int((h >> 16) & 127) + 64, int((h >> 8) & 127) + 64, int(h & 127) + 64);
}

QString TStockImageRules::CategoryOf(const QString& StokAdi)
{
    const QString name = AsciiLower(StokAdi);
    for (const TCategoryRow& row : kCategories)
        for (const char* fragment : row.Fragments)
            if (name.contains(QLatin1String(fragment)))
                return QLatin1String(row.Category);
    return QStringLiteral("Genel Urun");
}
