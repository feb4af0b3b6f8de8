#include "admin/StockImagePainter.h"
#include "admin/StockImageRules.h"
#include "core/Exceptions.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A picture of random colours: it does not compress, so its file is as large as its pixels.
QImage Noise(int width, int height, quint32 seed = 1)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    return image;
}

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, format == QByteArray("JPG") ? 95 : -1);
    return bytes;
}

quint32 Crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(QByteArray& data, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = char((value >> (24 - 8 * i)) & 0xFF);
}

// A real PNG whose header then claims `width` x `height`, with the header's checksum mended.
QByteArray PngClaiming(int width, int height)
{
    QByteArray png = Encoded(Noise(64, 64), "PNG");
    PutBigEndian(png, 16, quint32(width));
    PutBigEndian(png, 20, quint32(height));
    PutBigEndian(png, 29, Crc32(png.mid(12, 17)));
    return png;
}

QColor At(const QImage& image, int x, int y)
{
    return QColor::fromRgba(image.pixel(x, y));
}
} // namespace

// The picture rules of the stock image generator on generated PNG and JPEG files, the
// substitute card and the transparent square.
class TestStockImageRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sanitizeFileName_data();
    void sanitizeFileName();
    void fileBaseName();
    void fnv1a_data();
    void fnv1a();
    void colorFromText_data();
    void colorFromText();
    void categoryOf_data();
    void categoryOf();
    void placeholderName_data();
    void placeholderName();
    void blankImage_data();
    void blankImage();
    void usableImage_data();
    void usableImage();
    void relativePathTriedAgainstProgramFolder();
    void pictureSizeCheckedBeforeDecoding_data();
    void pictureSizeCheckedBeforeDecoding();
    void transparentSquare_data();
    void transparentSquare();
    void nearWhiteBecomesTransparent();
    void convertsJpegFile();
    void undecodableSourceWritesNothing();
    void barcodeText_data();
    void barcodeText();
    void fallbackCard();
    void fallbackUnwritableRaises();

private:
    QString Write(const QString& name, const QByteArray& bytes);
    QTemporaryDir FDir;
};

void TestStockImageRules::initTestCase()
{
    QVERIFY(FDir.isValid());
}

QString TestStockImageRules::Write(const QString& name, const QByteArray& bytes)
{
    const QString path = FDir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestStockImageRules::sanitizeFileName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trimmed, blank inside") << "  8690 123  "
                                           << "8690_123";
    QTest::newRow("the nine characters") << "a<b>c:d\"e/f\\g|h?i*j"
                                         << "a_b_c_d_e_f_g_h_i_j";
    QTest::newRow("runs collapse") << "a  b__ _c"
                                   << "a_b_c";
    QTest::newRow("no folder climbing") << "../../etc/passwd"
                                        << ".._.._etc_passwd";
    QTest::newRow("control characters") << QString("a\nb") + QChar(0) + "c\x7F"
                                        << "a_b_c_";
    QTest::newRow("empty") << ""
                           << "STOK";
    QTest::newRow("blanks only") << "   "
                                 << "STOK";
    QTest::newRow("Turkish letters kept") << "Süt Ürünleri"
                                          << "Süt_Ürünleri";
}

void TestStockImageRules::sanitizeFileName()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(TStockImageRules::SanitizeFileName(text), expected);
}

void TestStockImageRules::fileBaseName()
{
    QCOMPARE(TStockImageRules::FileBaseName(" 869 ", "K1", 7), QString(" 869 "));
    QCOMPARE(TStockImageRules::FileBaseName("  ", "K1", 7), QString("K1"));
    QCOMPARE(TStockImageRules::FileBaseName("", " ", 7), QString("STOK_7"));
    QCOMPARE(TStockImageRules::CurrentPicture("  ", " b.png "), QString("b.png"));
    QCOMPARE(TStockImageRules::CurrentPicture(" a.png", "b.png"), QString("a.png"));
}

void TestStockImageRules::fnv1a_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("hash");
    QTest::newRow("empty: offset basis") << "" << 0x811C9DC5u;
    QTest::newRow("a") << "a" << 0xE40C292Cu;
    QTest::newRow("foobar") << "foobar" << 0xBF9CF968u;
    QTest::newRow("one UTF-16 unit, not its UTF-8 bytes") << "ü" << 0x790B80BBu;
    QTest::newRow("a surrogate pair is two units")
        << QString::fromUtf8("\xF0\x9F\x98\x80") << 0xCB31C4B8u;
}

void TestStockImageRules::fnv1a()
{
    QFETCH(QString, text);
    QFETCH(quint32, hash);
    QCOMPARE(TStockImageRules::Fnv1a(text), hash);
}

void TestStockImageRules::colorFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");
    QTest::newRow("empty") << "" << QColor(92, 93, 133);
    QTest::newRow("foobar") << "foobar" << QColor(92, 185, 168);
    QTest::newRow("Turkish name") << "Süt 1L" << QColor(157, 107, 99);
    QTest::newRow("border of code 12") << "12BORDER" << QColor(97, 119, 80);
}

void TestStockImageRules::colorFromText()
{
    QFETCH(QString, text);
    QFETCH(QColor, color);
    QCOMPARE(TStockImageRules::ColorFromText(text), color);
}

void TestStockImageRules::categoryOf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::newRow("sut") << "SUT 1L"
                         << "Sut Urunleri";
    QTest::newRow("first row wins") << "Peynirli Su Boregi"
                                    << "Sut Urunleri";
    QTest::newRow("Sucuk holds su") << "Sucuk"
                                    << "Icecek";
    QTest::newRow("kola") << "Kola 1 L"
                          << "Icecek";
    QTest::newRow("Turkish letters are not folded") << "Süt 1L"
                                                    << "Genel Urun";
    QTest::newRow("only ASCII is lower-cased") << "İÇECEK"
                                               << "Genel Urun";
    QTest::newRow("deterjan") << "Bulasik Deterjani"
                              << "Temizlik/Bakim";
    QTest::newRow("makarna") << "Makarna 500 g"
                             << "Gida";
    QTest::newRow("un") << "Un 1 kg"
                        << "Gida";
    QTest::newRow("pil") << "Kalem Pil AA"
                         << "Teknik";
    QTest::newRow("none") << "Tuz"
                          << "Genel Urun";
}

void TestStockImageRules::categoryOf()
{
    QFETCH(QString, name);
    QFETCH(QString, category);
    QCOMPARE(TStockImageRules::CategoryOf(name), category);
}

void TestStockImageRules::placeholderName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("placeholder");
    QTest::newRow("bos") << "/x/bos.png" << true;
    QTest::newRow("bos inside a word") << "/x/bostan.png" << true;
    QTest::newRow("letter case") << "/x/BLANK.JPG" << true;
    QTest::newRow("resimyok") << "resimYok.png" << true;
    QTest::newRow("noimage") << "noimage.jpg" << true;
    QTest::newRow("placeholder") << "placeholder.png" << true;
    QTest::newRow("a folder does not count") << "/bos/urun.png" << false;
    QTest::newRow("plain") << "8690504001010.png" << false;
}

void TestStockImageRules::placeholderName()
{
    QFETCH(QString, path);
    QFETCH(bool, placeholder);
    QCOMPARE(TStockImageRules::IsPlaceholderName(path), placeholder);
}

void TestStockImageRules::blankImage_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<bool>("blank");
    QImage uniform(40, 30, QImage::Format_RGB32);
    uniform.fill(QColor(10, 20, 30));
    QImage centreDiffers = uniform;
    centreDiffers.setPixel(20, 15, qRgb(0, 0, 0));
    QImage cornerDiffers = uniform;
    cornerDiffers.setPixel(37, 27, qRgb(0, 0, 0));
    QImage fivePointsAlike = Noise(40, 30);
    for (const QPoint p :
         {QPoint(20, 15), QPoint(2, 2), QPoint(37, 2), QPoint(2, 27), QPoint(37, 27)})
        fivePointsAlike.setPixel(p, qRgb(1, 2, 3));
    QImage alphaOnly(40, 30, QImage::Format_ARGB32);
    alphaOnly.fill(QColor(255, 255, 255, 0));
    alphaOnly.setPixel(20, 15, qRgba(255, 255, 255, 255));
    QTest::newRow("null") << QImage() << true;
    QTest::newRow("15 wide") << Noise(15, 100) << true;
    QTest::newRow("15 high") << Noise(100, 15) << true;
    QTest::newRow("16 x 16 of noise") << Noise(16, 16) << false;
    QTest::newRow("one colour") << uniform << true;
    QTest::newRow("centre differs") << centreDiffers << false;
    QTest::newRow("a corner point differs") << cornerDiffers << false;
    QTest::newRow("the five points alike, the rest not") << fivePointsAlike << true;
    QTest::newRow("transparency is no colour") << alphaOnly << true;
}

void TestStockImageRules::blankImage()
{
    QFETCH(QImage, image);
    QFETCH(bool, blank);
    QCOMPARE(TStockImageRules::IsBlankImage(image), blank);
}

void TestStockImageRules::usableImage_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("usable");
    QImage flat(300, 300, QImage::Format_RGB32);
    flat.fill(Qt::red);
    const QByteArray flatJpeg = Encoded(flat, "JPG");
    QTest::newRow("noise PNG") << Write("ok.png", Encoded(Noise(64, 64), "PNG")) << true;
    QTest::newRow("noise JPEG") << Write("ok.jpg", Encoded(Noise(200, 150), "JPG")) << true;
    QTest::newRow("JPEG named .png")
        << Write("jpeg-inside.png", Encoded(Noise(200, 150), "JPG")) << true;
    QTest::newRow("placeholder name")
        << Write("bostan.png", Encoded(Noise(64, 64), "PNG")) << false;
    QTest::newRow("under 4096 bytes") << Write("small.png", Encoded(Noise(20, 20), "PNG")) << false;
    QTest::newRow("15 pixels wide") << Write("narrow.png", Encoded(Noise(15, 200), "PNG")) << false;
    QTest::newRow("16 pixels wide") << Write("wide.png", Encoded(Noise(16, 200), "PNG")) << true;
    QTest::newRow("one colour, padded past 4096 bytes")
        << Write("flat.jpg", flatJpeg + QByteArray(4096, '\0')) << false;
    QTest::newRow("no picture") << Write("text.png", QByteArray(5000, 'x')) << false;
    QTest::newRow("missing") << FDir.filePath("missing.png") << false;
    QTest::newRow("blank path") << "   " << false;
    QTest::newRow("a folder") << FDir.path() << false;
}

void TestStockImageRules::usableImage()
{
    QFETCH(QString, path);
    QFETCH(bool, usable);
    QCOMPARE(TStockImageRules::HasUsableImage(path, FDir.path() + "/nowhere/"), usable);
}

void TestStockImageRules::relativePathTriedAgainstProgramFolder()
{
    Write("program/pics/rel.png", Encoded(Noise(64, 64), "PNG"));
    const QString programFolder = FDir.filePath("program") + "/";
    QVERIFY(TStockImageRules::HasUsableImage("pics/rel.png", programFolder));
    QVERIFY(!TStockImageRules::HasUsableImage("pics/rel.png", FDir.path() + "/"));
}

void TestStockImageRules::pictureSizeCheckedBeforeDecoding_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("read");
    QTest::newRow("header within limits") << Write("fine.png", PngClaiming(64, 64)) << true;
    QTest::newRow("header claims 20000 x 20000")
        << Write("huge.png", PngClaiming(20000, 20000)) << false;
    QTest::newRow("header claims 7000 x 7000, too many pixels")
        << Write("many.png", PngClaiming(7000, 7000)) << false;
    const QString big = Write("big.png", Encoded(Noise(64, 64), "PNG"));
    QFile file(big);
    QVERIFY(file.resize(TStockImageRules::MaxPictureBytes + 1));
    QTest::newRow("file over the byte limit") << big << false;
}

void TestStockImageRules::pictureSizeCheckedBeforeDecoding()
{
    QFETCH(QString, path);
    QFETCH(bool, read);
    QCOMPARE(!TStockImageRules::ReadPicture(path).isNull(), read);
    QCOMPARE(TStockImageRules::HasUsableImage(path, QString()), read);
}

void TestStockImageRules::transparentSquare_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QRect>("drawn");
    QTest::newRow("wide, scaled to 440") << QSize(1000, 500) << QRect(36, 146, 440, 220);
    QTest::newRow("small, never enlarged") << QSize(100, 50) << QRect(206, 231, 100, 50);
    QTest::newRow("half a pixel rounds to even") << QSize(880, 441) << QRect(36, 146, 440, 220);
    QTest::newRow("one pixel at least") << QSize(4000, 2) << QRect(36, 255, 440, 1);
}

void TestStockImageRules::transparentSquare()
{
    QFETCH(QSize, source);
    QFETCH(QRect, drawn);
    QImage red(source, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QImage square = TStockImagePainter::TransparentSquare(red);
    QCOMPARE(square.size(), QSize(512, 512));
    QVERIFY(square.hasAlphaChannel());
    QCOMPARE(At(square, drawn.left(), drawn.top()).alpha(), 255);
    QCOMPARE(At(square, drawn.right(), drawn.bottom()).alpha(), 255);
    QCOMPARE(At(square, drawn.left(), drawn.top()).red(), 255);
    QCOMPARE(At(square, drawn.left() - 1, drawn.top()).alpha(), 0);
    QCOMPARE(At(square, drawn.left(), drawn.top() - 1).alpha(), 0);
    QCOMPARE(At(square, drawn.right() + 1, drawn.bottom()).alpha(), 0);
    QCOMPARE(At(square, drawn.right(), drawn.bottom() + 1).alpha(), 0);
}

void TestStockImageRules::nearWhiteBecomesTransparent()
{
    QImage source(100, 100, QImage::Format_ARGB32);
    source.fill(QColor(238, 238, 238));
    source.setPixel(10, 10, qRgb(237, 255, 255));
    source.setPixel(20, 20, qRgba(0, 0, 0, 0)); // transparent: white once drawn on white
    const QImage square = TStockImagePainter::TransparentSquare(source);
    QCOMPARE(At(square, 206 + 50, 206 + 50).alpha(), 0);
    QCOMPARE(At(square, 206 + 10, 206 + 10).alpha(), 255);
    QCOMPARE(At(square, 206 + 20, 206 + 20).alpha(), 0);
}

void TestStockImageRules::convertsJpegFile()
{
    const QString source = Write("download.jpg", Encoded(Noise(600, 300), "JPG"));
    const QString target = FDir.filePath("out/converted.png");
    QDir().mkpath(FDir.filePath("out"));
    QVERIFY(TStockImagePainter::ConvertToTransparentPng(source, target));
    QImage written(target, "PNG");
    QCOMPARE(written.size(), QSize(512, 512));
    QVERIFY(written.hasAlphaChannel());
    QCOMPARE(At(written, 0, 0).alpha(), 0);
    QVERIFY(TStockImageRules::HasUsableImage(target, QString()));
}

void TestStockImageRules::undecodableSourceWritesNothing()
{
    const QString source = Write("broken.jpg", QByteArray(8000, 'j'));
    const QString target = FDir.filePath("never.png");
    QVERIFY(!TStockImagePainter::ConvertToTransparentPng(source, target));
    QVERIFY(!QFile::exists(target));
}

void TestStockImageRules::barcodeText_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded to 8") << "12"
                                 << "12000000";
    QTest::newRow("blank") << "  "
                           << "0000000000000";
    QTest::newRow("long kept") << " 123456789 "
                               << "123456789";
}

void TestStockImageRules::barcodeText()
{
    QFETCH(QString, code);
    QFETCH(QString, text);
    QCOMPARE(TStockImagePainter::BarcodeText(code), text);
}

void TestStockImageRules::fallbackCard()
{
    const QImage card = TStockImagePainter::FallbackImage("12", "Sucuk");
    QCOMPARE(card.size(), QSize(600, 600));
    QCOMPARE(At(card, 10, 10), QColor(Qt::white));
    QCOMPARE(At(card, 30, 300), QColor(0xF5, 0xF7, 0xFA));
    QCOMPARE(At(card, 24, 300), TStockImageRules::ColorFromText("12BORDER"));
    QCOMPARE(At(card, 50, 190), TStockImageRules::ColorFromText("12SucukA"));
    QCOMPARE(At(card, 50, 350), TStockImageRules::ColorFromText("Sucuk12B"));
    QCOMPARE(At(card, 300, 372), QColor(0xE6, 0xE9, 0xEE));
    // Code 12 is drawn as 1, 2 and six zeros: bars of 2, 3 and 1 pixels from x 68, with gaps
    // of 2 after a 1 and of 1 after the even digits.
    const QString expected = "BBWWBBBWBWBWBWBWBWB";
    QString row;
    for (int x = 68; x < 68 + expected.size(); ++x)
        row += At(card, x, 450) == QColor(Qt::black) ? u'B' : u'W';
    QCOMPARE(row, expected);
    QCOMPARE(At(card, 68 + expected.size() + 4, 450), QColor(Qt::white));
    QVERIFY(!TStockImageRules::IsBlankImage(card));
}

void TestStockImageRules::fallbackUnwritableRaises()
{
    QVERIFY_THROWS_EXCEPTION(EInOutError, TStockImagePainter::DrawFallbackImage(
                                              FDir.filePath("no/such/folder/x.png"), "1", "A"));
}

QTEST_MAIN(TestStockImageRules)
#include "tst_StockImageRules.moc"
